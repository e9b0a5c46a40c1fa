#include "app/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void missingFileGivesDefaults();
    void caseInsensitiveLookup_data();
    void caseInsensitiveLookup();
    void writesReachFileAtOnce();
    void twoObjectsOnOneFile();
    void utf8AndBom();
    void booleansAsDigits();
};

void TestIniFile::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("none.ini")));
    QVERIFY(!ini.exists());
    QVERIFY(ini.readable());
    QCOMPARE(ini.readString(QStringLiteral("DBconn"), QStringLiteral("Database"), QStringLiteral("klSQLdept")),
        QStringLiteral("klSQLdept"));
    QCOMPARE(ini.readInteger(QStringLiteral("config"), QStringLiteral("iPrintNum"), 5), 5);
    QCOMPARE(ini.readBool(QStringLiteral("config"), QStringLiteral("bTM"), false), false);
}

void TestIniFile::caseInsensitiveLookup_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("as written") << "Config"
                                << "iprintNum";
    QTest::newRow("other case") << "config"
                                << "iPrintNum";
    QTest::newRow("upper") << "CONFIG"
                           << "IPRINTNUM";
}

void TestIniFile::caseInsensitiveLookup()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\niprintNum = 7\r\n");
    f.close();
    IniFile ini(path);
    QCOMPARE(ini.readInteger(section, key, 5), 7);
}

void TestIniFile::writesReachFileAtOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    IniFile ini(path);
    QVERIFY(ini.writeInteger(QStringLiteral("config"), QStringLiteral("iprintNum"), 9));
    IniFile other(path);
    QCOMPARE(other.readInteger(QStringLiteral("Config"), QStringLiteral("iPrintNum"), 5), 9);
    // Rewriting a key under another case keeps one key.
    QVERIFY(ini.writeInteger(QStringLiteral("Config"), QStringLiteral("IPRINTNUM"), 3));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QCOMPARE(text.toLower().count("iprintnum"), 1);
    QCOMPARE(IniFile(path).readInteger(QStringLiteral("config"), QStringLiteral("iPrintNum")), 3);
}

void TestIniFile::twoObjectsOnOneFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    IniFile a(path);
    IniFile b(path);
    QVERIFY(a.writeString(QStringLiteral("config"), QStringLiteral("CurOperCode"), QStringLiteral("001")));
    QVERIFY(b.writeInteger(QStringLiteral("config"), QStringLiteral("ibak"), 2));
    IniFile c(path);
    QCOMPARE(c.readString(QStringLiteral("config"), QStringLiteral("CurOperCode")), QStringLiteral("001"));
    QCOMPARE(c.readInteger(QStringLiteral("config"), QStringLiteral("ibak")), 2);
}

void TestIniFile::utf8AndBom()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF[DBconn]\nDatabase=仓库数据\n; comment\nserver=(Local)\n");
    f.close();
    IniFile ini(path);
    QCOMPARE(ini.readString(QStringLiteral("dbconn"), QStringLiteral("database")), QStringLiteral("仓库数据"));
    QVERIFY(ini.writeString(QStringLiteral("DBconn"), QStringLiteral("password"), QStringLiteral("密 码")));
    QCOMPARE(IniFile(path).readString(QStringLiteral("DBCONN"), QStringLiteral("PASSWORD")), QStringLiteral("密 码"));
    QCOMPARE(IniFile(path).readString(QStringLiteral("DBconn"), QStringLiteral("server")), QStringLiteral("(Local)"));
}

void TestIniFile::booleansAsDigits()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    IniFile ini(path);
    QVERIFY(ini.writeBool(QStringLiteral("config"), QStringLiteral("bTM"), true));
    QCOMPARE(IniFile(path).readString(QStringLiteral("config"), QStringLiteral("bTM")), QStringLiteral("1"));
    QCOMPARE(IniFile(path).readBool(QStringLiteral("config"), QStringLiteral("btm")), true);
    QVERIFY(ini.writeBool(QStringLiteral("config"), QStringLiteral("bTM"), false));
    QCOMPARE(IniFile(path).readBool(QStringLiteral("config"), QStringLiteral("bTM"), true), false);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
