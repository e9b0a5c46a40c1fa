// kelmora-test: pg
#include "app/inifile.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/sysoptionsservice.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QtTest>

class TestSysOptions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void displayFormats_data();
    void displayFormats();
    void lastPriceMode_data();
    void lastPriceMode();
    void loadDefaults();
    void loadFromConfigAndSysInfo();
    void loadWithoutSysInfoRow();
    void saveRoundTrip();
    void saveWithoutKeyValueRows();
    void failedSaveChangesNothing();
    void exitBackupDue_data();
    void exitBackupDue();
    void companyRoundTrip();
    void companyWithoutSysInfoRow();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<IniFile> m_ini;
};

void TestSysOptions::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    m_ini = std::make_unique<IniFile>(m_db->dir() + QStringLiteral("/Options.ini"));
}

void TestSysOptions::cleanup()
{
    m_ini.reset();
    m_db.reset();
}

void TestSysOptions::displayFormats_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("money");
    QTest::newRow("0") << 0 << "0."
                       << ",0.";
    QTest::newRow("1") << 1 << "0.#"
                       << ",0.0";
    QTest::newRow("2") << 2 << "0.##"
                       << ",0.00";
    QTest::newRow("4") << 4 << "0.####"
                       << ",0.00##";
}

void TestSysOptions::displayFormats()
{
    QFETCH(int, decimals);
    QFETCH(QString, quantity);
    QFETCH(QString, money);
    SysOptions o;
    o.iAmount = decimals;
    o.iPrice = decimals;
    o.iTotal = decimals;
    QCOMPARE(o.quantityFormat(), quantity);
    QCOMPARE(o.priceFormat(), money);
    QCOMPARE(o.amountFormat(), money);
}

void TestSysOptions::lastPriceMode_data()
{
    QTest::addColumn<bool>("b3");
    QTest::addColumn<bool>("b4");
    QTest::addColumn<int>("mode");
    QTest::newRow("neither") << false << false << 1;
    QTest::newRow("last price") << true << false << 2;
    QTest::newRow("last price of client") << false << true << 3;
    QTest::newRow("both stored: b3 wins") << true << true << 2;
}

void TestSysOptions::lastPriceMode()
{
    QFETCH(bool, b3);
    QFETCH(bool, b4);
    QFETCH(int, mode);
    QVERIFY(dm().ExecSql(QStringLiteral("update SysInfo set F_b3 = :b3, F_b4 = :b4"),
        {{QStringLiteral("b3"), b3 ? 1 : 0}, {QStringLiteral("b4"), b4 ? 1 : 0}}));
    SysOptions o;
    QVERIFY(SysOptionsService::load(o, m_ini.get()));
    QCOMPARE(o.lastPriceMode(), mode);
}

void TestSysOptions::loadDefaults()
{
    SysOptions o;
    o.printNum = 99;
    o.barcodeInput = true;
    o.backupSchedule = 3;
    QVERIFY(SysOptionsService::load(o, m_ini.get()));
    QCOMPARE(o.printNum, 5);
    QCOMPARE(o.barcodeInput, false);
    QCOMPARE(o.backupSchedule, 0);
    // The first rows of a new database.
    QCOMPARE(o.iAmount, 2);
    QCOMPARE(o.costingMode, 1);
}

void TestSysOptions::loadFromConfigAndSysInfo()
{
    // Keys written in other letter cases than they are read.
    QVERIFY(m_ini->writeInteger(QStringLiteral("Config"), QStringLiteral("iprintNum"), 12));
    QVERIFY(m_ini->writeBool(QStringLiteral("CONFIG"), QStringLiteral("btm"), true));
    QVERIFY(m_ini->writeInteger(QStringLiteral("config"), QStringLiteral("IBAK"), 2));
    QVERIFY(dm().ExecSql(QStringLiteral("update SysInfo set F_iAmount = 0, F_iPrice = 4, F_iTotal = 3, F_b1 = 1, "
                                        "F_b2 = NULL, F_iMode = 2")));
    SysOptions o;
    QVERIFY(SysOptionsService::load(o, m_ini.get()));
    QCOMPARE(o.printNum, 12);
    QCOMPARE(o.barcodeInput, true);
    QCOMPARE(o.backupSchedule, 2);
    QCOMPARE(o.quantityFormat(), QStringLiteral("0."));
    QCOMPARE(o.priceFormat(), QStringLiteral(",0.00##"));
    QCOMPARE(o.amountFormat(), QStringLiteral(",0.00#"));
    QVERIFY(o.negativeStock);
    QVERIFY(!o.autoGoodsCode); // NULL bit means off
    QCOMPARE(o.costingMode, 2);
}

void TestSysOptions::loadWithoutSysInfoRow()
{
    QVERIFY(dm().ExecSql(QStringLiteral("delete from SysInfo")));
    SysOptions o;
    o.iPrice = 7;
    o.negativeStock = true;
    QVERIFY(SysOptionsService::load(o, m_ini.get()));
    QCOMPARE(o.iPrice, 0);
    QCOMPARE(o.negativeStock, false);
    QCOMPARE(o.costingMode, 0);
}

void TestSysOptions::saveRoundTrip()
{
    ScriptedMessenger messenger;
    SysOptions current;
    current.backupSchedule = 3;
    Session session;
    SysOptions o = current;
    o.iAmount = 0;
    o.iPrice = 4;
    o.iTotal = 1;
    o.negativeStock = true;
    o.lastPriceClient = true;
    o.costingMode = 2;
    o.printNum = 9;
    o.barcodeInput = true;
    o.backupSchedule = 0; // not this window's to change
    QString captions[11];
    bool shown[11] = {};
    captions[0] = QStringLiteral("颜色");
    shown[0] = true;
    captions[10] = QStringLiteral("生产日期");
    shown[10] = true;
    QVERIFY(SysOptionsService::save(o, captions, shown, m_ini.get(), current, session));
    QCOMPARE(messenger.count(), 0);
    QCOMPARE(current.priceFormat(), QStringLiteral(",0.00##"));
    QCOMPARE(current.lastPriceMode(), 3);
    QCOMPARE(current.backupSchedule, 3);
    QCOMPARE(session.zfCaptions[0], QStringLiteral("颜色"));

    SysOptions back;
    QVERIFY(SysOptionsService::load(back, m_ini.get()));
    QCOMPARE(back.iAmount, 0);
    QCOMPARE(back.iPrice, 4);
    QCOMPARE(back.iTotal, 1);
    QVERIFY(back.negativeStock);
    QVERIFY(!back.lastPrice);
    QVERIFY(back.lastPriceClient);
    QCOMPARE(back.costingMode, 2);
    QCOMPARE(back.printNum, 9);
    QVERIFY(back.barcodeInput);
    QVERIFY(m_ini->hasKey(QStringLiteral("config"), QStringLiteral("iPrintNum")));

    Session fresh;
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), fresh));
    QCOMPARE(fresh.zfCaptions[0], QStringLiteral("颜色"));
    QVERIFY(fresh.zfShown[0]);
    QCOMPARE(fresh.zfCaptions[1], QString());
    QVERIFY(!fresh.zfShown[1]);
    QCOMPARE(fresh.zfCaptions[10], QStringLiteral("生产日期"));
}

void TestSysOptions::saveWithoutKeyValueRows()
{
    QVERIFY(dm().ExecSql(QStringLiteral("delete from KeyValue")));
    SysOptions current;
    Session session;
    SysOptions o;
    o.iTotal = 3;
    o.printNum = 20;
    QString captions[11];
    bool shown[11] = {};
    QVERIFY(SysOptionsService::save(o, captions, shown, m_ini.get(), current, session));
    SysOptions back;
    QVERIFY(SysOptionsService::load(back, m_ini.get()));
    QCOMPARE(back.iTotal, 3);
    QCOMPARE(back.printNum, 20);
}

void TestSysOptions::failedSaveChangesNothing()
{
    // SysInfo gone: the KeyValue rows written before must not stay, nor the values in memory change.
    QVERIFY(dm().ExecSql(QStringLiteral("drop table SysInfo")));
    ScriptedMessenger messenger;
    SysOptions current;
    current.iPrice = 2;
    Session session;
    session.zfCaptions[0] = QStringLiteral("旧");
    SysOptions o = current;
    o.iPrice = 5;
    o.printNum = 17;
    QString captions[11];
    bool shown[11] = {};
    captions[0] = QStringLiteral("新");
    QVERIFY(!SysOptionsService::save(o, captions, shown, m_ini.get(), current, session));
    QCOMPARE(messenger.lastText(), SysOptionsService::saveFailText());
    QCOMPARE(messenger.lastKind(), int(Messenger::Error));
    QCOMPARE(current.iPrice, 2);
    QCOMPARE(session.zfCaptions[0], QStringLiteral("旧"));
    QVERIFY(!m_ini->hasKey(QStringLiteral("config"), QStringLiteral("iPrintNum")));
    QCOMPARE(
        dm().GetSqlStr(QStringLiteral("select F_Value from KeyValue where F_ID = 1")), QStringLiteral("自定义文本1"));
}

void TestSysOptions::exitBackupDue_data()
{
    QTest::addColumn<int>("schedule");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("due");
    const QDate monday(2026, 12, 7);
    const QDate first(2026, 12, 1); // a Tuesday
    const QDate other(2026, 12, 10);
    QTest::newRow("never") << 0 << monday << false;
    QTest::newRow("always") << 1 << other << true;
    QTest::newRow("weekly on Monday") << 2 << monday << true;
    QTest::newRow("weekly otherwise") << 2 << first << false;
    QTest::newRow("monthly on the 1st") << 3 << first << true;
    QTest::newRow("monthly otherwise") << 3 << monday << false;
    QTest::newRow("unknown schedule") << 7 << first << false;
}

void TestSysOptions::exitBackupDue()
{
    QFETCH(int, schedule);
    QFETCH(QDate, day);
    QFETCH(bool, due);
    QCOMPARE(SysOptionsService::exitBackupDue(schedule, day), due);
}

void TestSysOptions::companyRoundTrip()
{
    SysOptionsService::Company c;
    c.code = QStringLiteral("  O'Brien 商贸 ");
    c.name = QStringLiteral("滨江路1号");
    c.phone = QStringLiteral(" 0571-1 ");
    c.email = QStringLiteral("a@b.com");
    c.mem = QStringLiteral("简介'; drop table SysInfo; --");
    QVERIFY(SysOptionsService::saveCompany(c));
    SysOptionsService::Company back;
    QVERIFY(SysOptionsService::loadCompany(back));
    QCOMPARE(back.code, QStringLiteral("O'Brien 商贸"));
    QCOMPARE(back.phone, QStringLiteral("0571-1"));
    QCOMPARE(back.mem, c.mem.trimmed());
    QCOMPARE(LoginService::companyTitle(), QStringLiteral("O'Brien 商贸(0571-1)"));
    // The options in the same row are untouched.
    SysOptions o;
    QVERIFY(SysOptionsService::load(o, m_ini.get()));
    QCOMPARE(o.costingMode, 1);
}

void TestSysOptions::companyWithoutSysInfoRow()
{
    QVERIFY(dm().ExecSql(QStringLiteral("delete from SysInfo")));
    SysOptionsService::Company c;
    c.code = QStringLiteral("新公司");
    QVERIFY(SysOptionsService::saveCompany(c));
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from SysInfo")), qint64(1));
    QCOMPARE(LoginService::companyTitle(), QStringLiteral("新公司"));
}

QTEST_GUILESS_MAIN(TestSysOptions)
#include "tst_sysoptions.moc"
