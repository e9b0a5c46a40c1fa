// kelmora-test: pg
#include "app/inifile.h"
#include "data/connection.h"
#include "data/connectionsettings.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class TestTavrin : public QObject
{
    Q_OBJECT
private slots:
    void createsDatabaseAndConfig();
    void refusesExistingWithoutForce();
    void readOnlyFolderLeavesNothing();
    void embeddedPathDatabase();

private:
    int run(const QStringList& args, QString* err = nullptr);
    QStringList backendArgs(const ConnectionSettings& s) const;
    void dropIfPostgres(const ConnectionSettings& s);
};

int TestTavrin::run(const QStringList& args, QString* err)
{
    QProcess p;
    p.setProgram(QStringLiteral(KELMORA_BIN_DIR "/tavrin"));
    p.setArguments(args);
    p.start();
    if (!p.waitForFinished(120000))
        return -1;
    if (err)
        *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList TestTavrin::backendArgs(const ConnectionSettings& s) const
{
    if (s.isPostgres())
        return {QStringLiteral("--server"), s.host + QLatin1Char(':') + QString::number(s.port),
            QStringLiteral("--user"), s.user, QStringLiteral("--database"), s.database};
    return {QStringLiteral("--database"), s.database};
}

void TestTavrin::dropIfPostgres(const ConnectionSettings& s)
{
    if (!s.isPostgres())
        return;
    ConnectionSettings admin = s;
    admin.database = QStringLiteral("postgres");
    Connection a;
    if (a.open(admin))
        a.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(s.database));
}

void TestTavrin::createsDatabaseAndConfig()
{
    if (TestDatabase::wantPostgres() && qEnvironmentVariableIsEmpty("KELMORA_TEST_PG"))
        QSKIP("KELMORA_TEST_PG is not set");
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("k/Config.ini"));
    const ConnectionSettings want = TestDatabase::freshSettings(dir.filePath(QStringLiteral("k")));
    QString err;
    QCOMPARE(run(QStringList {QStringLiteral("--config"), cfg, QStringLiteral("--demo")} + backendArgs(want), &err), 0);
    const IniFile ini(cfg);
    QVERIFY(ini.exists());
    const ConnectionSettings s = ConnectionSettings::fromIni(ini);
    QCOMPARE(s.isPostgres(), want.isPostgres());
    Connection c;
    QVERIFY2(c.open(s), qPrintable(c.errorString()));
    QSqlQuery q(c.db());
    QVERIFY(q.exec(QStringLiteral("select count(*) from t_goods")));
    QVERIFY(q.next());
    QVERIFY(q.value(0).toInt() >= 30);
    QVERIFY(q.exec(QStringLiteral("select count(*) from t_begDept")));
    QVERIFY(q.next());
    QVERIFY(q.value(0).toInt() >= 30);
    QVERIFY(q.exec(QStringLiteral("select count(*) from t_treecode where F_flag = 'goodtype'")));
    QVERIFY(q.next());
    QVERIFY(q.value(0).toInt() >= 5);
    q.finish();
    c.close();
    dropIfPostgres(s);
}

void TestTavrin::refusesExistingWithoutForce()
{
    if (TestDatabase::wantPostgres() && qEnvironmentVariableIsEmpty("KELMORA_TEST_PG"))
        QSKIP("KELMORA_TEST_PG is not set");
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("Config.ini"));
    const ConnectionSettings want = TestDatabase::freshSettings(dir.path());
    QCOMPARE(run(QStringList {QStringLiteral("--config"), cfg, QStringLiteral("--demo")} + backendArgs(want)), 0);
    QString err;
    QCOMPARE(run(QStringList {QStringLiteral("--config"), cfg} + backendArgs(want), &err), 1);
    QVERIFY(err.contains(QStringLiteral("--force")));
    const ConnectionSettings s = ConnectionSettings::fromIni(IniFile(cfg));
    {
        Connection c;
        QVERIFY(c.open(s));
        QSqlQuery q(c.db());
        QVERIFY(q.exec(QStringLiteral("select count(*) from t_goods")));
        QVERIFY(q.next());
        QVERIFY(q.value(0).toInt() >= 30); // untouched
    }
    QCOMPARE(run(QStringList {QStringLiteral("--config"), cfg, QStringLiteral("--force")} + backendArgs(want)), 0);
    {
        Connection c;
        QVERIFY(c.open(s));
        QSqlQuery q(c.db());
        QVERIFY(q.exec(QStringLiteral("select count(*) from t_goods")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0); // a fresh database without the demo
    }
    dropIfPostgres(s);
}

void TestTavrin::readOnlyFolderLeavesNothing()
{
    if (TestDatabase::wantPostgres())
        QSKIP("a folder matters to the embedded database only");
    if (geteuid() == 0)
        QSKIP("root writes into read-only folders");
    QTemporaryDir dir;
    const QString ro = dir.filePath(QStringLiteral("ro"));
    QVERIFY(QDir().mkpath(ro));
    QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner);
    QString err;
    QCOMPARE(run({QStringLiteral("--config"), ro + QStringLiteral("/Config.ini"), QStringLiteral("--database"),
                     QStringLiteral("k")},
                 &err),
        1);
    QVERIFY(!err.isEmpty());
    QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QDir(ro).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestTavrin::embeddedPathDatabase()
{
    if (TestDatabase::wantPostgres())
        QSKIP("embedded database only");
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("cfg/Config.ini"));
    const QString db = dir.filePath(QStringLiteral("data/k.db"));
    QCOMPARE(run({QStringLiteral("--config"), cfg, QStringLiteral("--database"), db}), 0);
    QVERIFY(QFile::exists(db));
    QCOMPARE(ConnectionSettings::fromIni(IniFile(cfg)).sqlitePath, db);
    // A file that is not a database is refused when opened.
    QFile junk(dir.filePath(QStringLiteral("junk.db")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    ConnectionSettings s;
    s.sqlitePath = junk.fileName();
    s.database = junk.fileName();
    Connection c;
    QVERIFY(!c.open(s));
    QVERIFY(!c.errorString().isEmpty());
}

QTEST_GUILESS_MAIN(TestTavrin)
#include "tst_tavrin.moc"
