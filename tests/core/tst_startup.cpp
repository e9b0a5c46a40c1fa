#include "app/inifile.h"
#include "app/messenger.h"
#include "app/startup.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void configPath_data();
    void configPath();
    void noConfigUsesDefaults();
    void blankDatabaseAsksWithoutConnecting();
    void refusedConnection();
    void connectsAndReportsSplashTexts();
    void setupQuestion_data();
    void setupQuestion();
};

void TestStartup::configPath_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the program") << QStringList({QStringLiteral("kelmora")}) << "/opt/k/Config.ini";
    QTest::newRow("--config FILE") << QStringList(
        {QStringLiteral("kelmora"), QStringLiteral("--config"), QStringLiteral("/tmp/x.ini")})
                                   << "/tmp/x.ini";
    QTest::newRow("--config=FILE") << QStringList({QStringLiteral("kelmora"), QStringLiteral("--config=/tmp/y.ini")})
                                   << "/tmp/y.ini";
}

void TestStartup::configPath()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    qunsetenv("KELMORA_CONFIG");
    QCOMPARE(Startup::configPath(arguments, QStringLiteral("/opt/k")), expected);
}

void TestStartup::noConfigUsesDefaults()
{
    QTemporaryDir dir;
    ScriptedMessenger messenger;
    DataModule dm;
    QStringList splash;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QCOMPARE(Startup::connect(dm, path, [&splash](const QString& t) { splash << t; }), Startup::ConnectFailed);
    // The default database is tried (and is not there): klSQLdept beside Config.ini.
    QCOMPARE(dm.databaseName(), QStringLiteral("klSQLdept"));
    QVERIFY2(dm.errorString().contains(QStringLiteral("klSQLdept")), qPrintable(dm.errorString()));
    QVERIFY(splash.contains(Startup::connectingText()));
    QVERIFY(!dm.connected());
    QCOMPARE(messenger.count(), 0); // no error detail at start-up
    QVERIFY(!QFile::exists(path)); // the program never writes the DBconn keys
}

void TestStartup::blankDatabaseAsksWithoutConnecting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    {
        IniFile ini(path);
        QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("Database"), QStringLiteral("   ")));
    }
    ScriptedMessenger messenger;
    DataModule dm;
    QStringList splash;
    QCOMPARE(Startup::connect(dm, path, [&splash](const QString& t) { splash << t; }), Startup::ConnectFailed);
    QVERIFY(!splash.contains(Startup::connectingText()));
    QVERIFY(!dm.connected());
    QCOMPARE(messenger.count(), 0);
}

void TestStartup::refusedConnection()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    {
        IniFile ini(path);
        // Port 1 on the loopback: nothing listens, the connection is refused at once.
        QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("server"), QStringLiteral("127.0.0.1:1")));
        QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("Database"), QStringLiteral("kelmora")));
    }
    ScriptedMessenger messenger;
    DataModule dm;
    QCOMPARE(Startup::connect(dm, path, {}), Startup::ConnectFailed);
    QVERIFY(!dm.connected());
    QCOMPARE(messenger.count(), 0);
    // Then the setup question; no answers no.
    QStringList started;
    QVERIFY(!Startup::offerSetup([&started](const QString& p) {
        started << p;
        return true;
    }));
    QCOMPARE(messenger.lastText(), Startup::setupQuestion());
    QCOMPARE(messenger.lastKind(), int(Messenger::Question));
    QVERIFY(started.isEmpty());
}

void TestStartup::connectsAndReportsSplashTexts()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    DataModule dm;
    QStringList splash;
    QCOMPARE(Startup::connect(dm, tdb.configPath(), [&splash](const QString& t) { splash << t; }), Startup::Connected);
    QVERIFY(dm.connected());
    QCOMPARE(splash, QStringList({Startup::firstText(), Startup::connectingText(), Startup::connectedText3()}));
    QVERIFY(dm.config());
}

void TestStartup::setupQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("started");
    QTest::newRow("yes starts the setup program") << int(Messenger::Yes) << true;
    QTest::newRow("no starts nothing") << int(Messenger::No) << false;
}

void TestStartup::setupQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, started);
    ScriptedMessenger messenger;
    messenger.setNextAnswer(answer);
    QStringList programs;
    const bool result = Startup::offerSetup([&programs](const QString& p) {
        programs << p;
        return true;
    });
    QCOMPARE(result, started);
    QCOMPARE(messenger.texts(), QStringList({Startup::setupQuestion()}));
    QCOMPARE(programs, started ? QStringList({QStringLiteral("tavrin")}) : QStringList());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
