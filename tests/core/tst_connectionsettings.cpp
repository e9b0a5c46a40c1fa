#include "app/inifile.h"
#include "data/connectionsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestConnectionSettings : public QObject
{
    Q_OBJECT
private slots:
    void backendFromDbconn_data();
    void backendFromDbconn();
    void noFileGivesDefaults();
    void passwordKeptExactly();
};

void TestConnectionSettings::backendFromDbconn_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QString>("sqliteFile"); // relative to the ini's folder
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::newRow("local bare name") << "[DBconn]\nserver=(Local)\nDatabase=kelmora\n"
                                     << false << "kelmora.db"
                                     << "" << 5432 << "sa";
    QTest::newRow("empty server") << "[DBconn]\nserver=\nDatabase=k.sqlite\n"
                                  << false << "k.sqlite"
                                  << "" << 5432 << "sa";
    QTest::newRow("local, other case") << "[dbconn]\nSERVER=(local)\ndatabase=data/k.db\n"
                                       << false << "data/k.db"
                                       << "" << 5432 << "sa";
    QTest::newRow("server with port") << "[DBconn]\nserver=db.example:6543\nDatabase=stock\nuser=kel\n"
                                      << true << ""
                                      << "db.example" << 6543 << "kel";
    QTest::newRow("server default port") << "[DBconn]\nserver=10.0.0.5\nDatabase=stock\n"
                                         << true << ""
                                         << "10.0.0.5" << 5432 << "sa";
    QTest::newRow("server, port key") << "[DBconn]\nserver=10.0.0.5\nport=5444\nDatabase=stock\n"
                                      << true << ""
                                      << "10.0.0.5" << 5444 << "sa";
}

void TestConnectionSettings::backendFromDbconn()
{
    QFETCH(QString, ini);
    QFETCH(bool, postgres);
    QFETCH(QString, sqliteFile);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, user);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini.toUtf8());
    f.close();
    const ConnectionSettings s = ConnectionSettings::fromIni(IniFile(path));
    QCOMPARE(s.isPostgres(), postgres);
    if (postgres) {
        QCOMPARE(s.host, host);
        QCOMPARE(s.port, port);
        QCOMPARE(s.user, user);
    } else {
        QCOMPARE(s.sqlitePath, QDir(dir.path()).absoluteFilePath(sqliteFile));
    }
}

void TestConnectionSettings::noFileGivesDefaults()
{
    QTemporaryDir dir;
    const ConnectionSettings s = ConnectionSettings::fromIni(IniFile(dir.filePath(QStringLiteral("Config.ini"))));
    QCOMPARE(s.server, QStringLiteral("(Local)"));
    QCOMPARE(s.database, QStringLiteral("klSQLdept"));
    QCOMPARE(s.user, QStringLiteral("sa"));
    QCOMPARE(s.password, QString());
    QVERIFY(!s.isPostgres());
    QCOMPARE(s.sqlitePath, QDir(dir.path()).absoluteFilePath(QStringLiteral("klSQLdept.db")));
}

void TestConnectionSettings::passwordKeptExactly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    IniFile ini(path);
    // Our INI trims around "=", so surrounding blanks need the stored form to keep them inside the value.
    QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("password"), QStringLiteral("p a'ss")));
    QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("server"), QStringLiteral("h")));
    QCOMPARE(ConnectionSettings::fromIni(IniFile(path)).password, QStringLiteral("p a'ss"));
}

QTEST_GUILESS_MAIN(TestConnectionSettings)
#include "tst_connectionsettings.moc"
