// kelmora-test: pg
#include "app/frmmain.h"
#include "app/frmsysinfogl.h"
#include "app/frmuserinfo.h"
#include "app/inifile.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/sysoptionsservice.h"
#include "app/uiservices.h"
#include "app/windowregistry.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {
template <class T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qWarning("no child %s", name);
    return c;
}

void click(QWidget* w, const char* name)
{
    child<QPushButton>(w, name)->click();
}
} // namespace

class TestOptionsWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void optionsLoadedWhenMainWindowShown();
    void optionsWindowShowsCurrentValues();
    void lastPriceOptionsExcludeEachOther();
    void captionBoxFollowsCheckBox();
    void saveOptions_data();
    void saveOptions();
    void closeDoesNotSave();
    void actionsOpenTheWindows_data();
    void actionsOpenTheWindows();
    void companyLoadAndSave();
    void companyClear();
    void email_data();
    void email();
    void webAddress();
    void fillCombo();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestOptionsWindows::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    QVERIFY(m_db->dataModule().connectFromConfig(m_db->configPath()));
    Session::current() = Session();
    LoginService::loadSession(QStringLiteral("000"), Session::current());
    SysOptions::current() = SysOptions();
    QVERIFY(SysOptionsService::load(SysOptions::current(), dm().config()));
}

void TestOptionsWindows::cleanup()
{
    m_db.reset();
    WindowRegistry::clear();
    Session::current() = Session();
    SysOptions::current() = SysOptions();
}

void TestOptionsWindows::optionsLoadedWhenMainWindowShown()
{
    SysOptions::current() = SysOptions();
    QVERIFY(dm().config()->writeInteger(QStringLiteral("config"), QStringLiteral("iPrintNum"), 8));
    QVERIFY(dm().config()->writeInteger(QStringLiteral("config"), QStringLiteral("ibak"), 2));
    QVERIFY(dm().ExecSql(QStringLiteral("update SysInfo set F_iPrice = 4, F_iMode = 0, F_b4 = 1")));
    TFrmMain main;
    QCOMPARE(SysOptions::current().printNum, 5); // not before the window is shown
    main.show();
    QCOMPARE(SysOptions::current().printNum, 8);
    QCOMPARE(SysOptions::current().backupSchedule, 2);
    QCOMPARE(SysOptions::current().priceFormat(), QStringLiteral(",0.00##"));
    QCOMPARE(SysOptions::current().costingMode, 0);
    QCOMPARE(SysOptions::current().lastPriceMode(), 3);
}

void TestOptionsWindows::optionsWindowShowsCurrentValues()
{
    SysOptions& o = SysOptions::current();
    o.iAmount = 1;
    o.iPrice = 3;
    o.iTotal = 0;
    o.negativeStock = true;
    o.lastPrice = true;
    o.costingMode = 2;
    o.printNum = 12;
    o.barcodeInput = true;
    Session::current().zfCaptions[5] = QStringLiteral("重量");
    Session::current().zfShown[5] = true;
    TfrmSysInfoGl w;
    QCOMPARE(w.windowTitle(), QStringLiteral("软件当前设置"));
    QCOMPARE(child<QSpinBox>(&w, "rceAmount")->value(), 1);
    QCOMPARE(child<QSpinBox>(&w, "rcePrice")->value(), 3);
    QCOMPARE(child<QSpinBox>(&w, "rceTotal")->value(), 0);
    QCOMPARE(child<QSpinBox>(&w, "rceTotal")->maximum(), 10);
    QVERIFY(child<QCheckBox>(&w, "cbB1")->isChecked());
    QVERIFY(!child<QCheckBox>(&w, "cbB2")->isChecked());
    QVERIFY(child<QCheckBox>(&w, "cbB3")->isChecked());
    QVERIFY(child<QCheckBox>(&w, "cbTM")->isChecked());
    QVERIFY(child<QRadioButton>(&w, "rbMode2")->isChecked());
    QCOMPARE(child<QSpinBox>(&w, "rsPrintNum")->value(), 12);
    QCOMPARE(child<QSpinBox>(&w, "rsPrintNum")->minimum(), 5);
    QCOMPARE(child<QSpinBox>(&w, "rsPrintNum")->maximum(), 20);
    QCOMPARE(child<QLineEdit>(&w, "edtSZ1")->text(), QStringLiteral("重量"));
    QVERIFY(child<QLineEdit>(&w, "edtSZ1")->isEnabled());
    QVERIFY(child<QCheckBox>(&w, "cbSZ1")->isChecked());
    QVERIFY(!child<QLineEdit>(&w, "edtZF1")->isEnabled());
}

void TestOptionsWindows::lastPriceOptionsExcludeEachOther()
{
    TfrmSysInfoGl w;
    auto* b3 = child<QCheckBox>(&w, "cbB3");
    auto* b4 = child<QCheckBox>(&w, "cbB4");
    b3->click();
    QVERIFY(b3->isChecked());
    b4->click();
    QVERIFY(b4->isChecked());
    QVERIFY(!b3->isChecked());
    b3->click();
    QVERIFY(!b4->isChecked());
}

void TestOptionsWindows::captionBoxFollowsCheckBox()
{
    TfrmSysInfoGl w;
    auto* check = child<QCheckBox>(&w, "cbRQ3");
    auto* caption = child<QLineEdit>(&w, "edtRQ3");
    QVERIFY(!caption->isEnabled());
    check->click();
    QVERIFY(caption->isEnabled());
    check->click();
    QVERIFY(!caption->isEnabled());
}

void TestOptionsWindows::saveOptions_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("quantityFormat");
    QTest::addColumn<QString>("moneyFormat");
    QTest::addColumn<int>("mode");
    QTest::newRow("0 decimals, fixed price") << 0 << "0."
                                             << ",0." << 0;
    QTest::newRow("4 decimals, average cost") << 4 << "0.####"
                                              << ",0.00##" << 2;
}

void TestOptionsWindows::saveOptions()
{
    QFETCH(int, decimals);
    QFETCH(QString, quantityFormat);
    QFETCH(QString, moneyFormat);
    QFETCH(int, mode);
    ScriptedMessenger messenger;
    TfrmSysInfoGl w;
    w.show();
    for (const char* name : {"rceAmount", "rcePrice", "rceTotal"})
        child<QSpinBox>(&w, name)->setValue(decimals);
    child<QRadioButton>(&w, QStringLiteral("rbMode%1").arg(mode).toLatin1().constData())->click();
    child<QCheckBox>(&w, "cbB3")->click();
    child<QCheckBox>(&w, "cbB4")->click();
    child<QCheckBox>(&w, "cbTM")->click();
    child<QSpinBox>(&w, "rsPrintNum")->setValue(15);
    child<QCheckBox>(&w, "cbZF2")->click();
    child<QLineEdit>(&w, "edtZF2")->setText(QStringLiteral("颜色"));
    click(&w, "btnOk");

    QCOMPARE(messenger.texts(), QStringList({QStringLiteral("当前软件设置更改成功！")}));
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    // In memory, for the windows opened from now on.
    const SysOptions& o = SysOptions::current();
    QCOMPARE(o.quantityFormat(), quantityFormat);
    QCOMPARE(o.priceFormat(), moneyFormat);
    QCOMPARE(o.amountFormat(), moneyFormat);
    QCOMPARE(o.costingMode, mode);
    QCOMPARE(o.lastPriceMode(), 3);
    QVERIFY(o.barcodeInput);
    QCOMPARE(Session::current().zfCaptions[1], QStringLiteral("颜色"));
    // And stored: a fresh load gives the same.
    SysOptions back;
    QVERIFY(SysOptionsService::load(back, dm().config()));
    QCOMPARE(back.iPrice, decimals);
    QCOMPARE(back.costingMode, mode);
    QVERIFY(!back.lastPrice);
    QVERIFY(back.lastPriceClient);
    QCOMPARE(back.printNum, 15);
    QVERIFY(back.barcodeInput);
    IniFile ini(m_db->configPath());
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("IPRINTNUM"), 0), 15);
    QCOMPARE(ini.readString(QStringLiteral("config"), QStringLiteral("bTM")), QStringLiteral("1"));
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Value from KeyValue where F_ID = 2")), QStringLiteral("颜色"));
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select F_Flag from KeyValue where F_ID = 2")), qint64(1));
}

void TestOptionsWindows::closeDoesNotSave()
{
    ScriptedMessenger messenger;
    TfrmSysInfoGl w;
    w.show();
    child<QSpinBox>(&w, "rcePrice")->setValue(6);
    click(&w, "btnClose");
    QVERIFY(!w.isVisible());
    QCOMPARE(SysOptions::current().iPrice, 2);
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select F_iPrice from SysInfo")), qint64(2));
    QCOMPARE(messenger.count(), 0);
}

void TestOptionsWindows::actionsOpenTheWindows_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("window");
    QTest::newRow("101 company") << 101 << "FrmUserInfo";
    QTest::newRow("109 options") << 109 << "frmSysInfoGl";
}

void TestOptionsWindows::actionsOpenTheWindows()
{
    QFETCH(int, code);
    QFETCH(QString, window);
    TFrmMain main;
    main.SetLimits();
    main.show();
    QString seen;
    QTimer::singleShot(0, this, [&seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            seen = modal->objectName();
            modal->close();
        }
    });
    QVERIFY(main.runAction(code));
    QCOMPARE(seen, window);
}

void TestOptionsWindows::companyLoadAndSave()
{
    QVERIFY(dm().ExecSql(QStringLiteral("update SysInfo set F_Code = :c, F_Phone = :p, F_Mem = :m"),
        {{QStringLiteral("c"), QStringLiteral("老公司")}, {QStringLiteral("p"), QStringLiteral("123")},
            {QStringLiteral("m"), QStringLiteral("简介")}}));
    ScriptedMessenger messenger;
    TFrmUserInfo w;
    QCOMPARE(w.windowTitle(), QStringLiteral("公司信息"));
    QCOMPARE(child<QLineEdit>(&w, "edtCode")->text(), QStringLiteral("老公司"));
    QCOMPARE(child<QPlainTextEdit>(&w, "Mem")->toPlainText(), QStringLiteral("简介"));
    child<QLineEdit>(&w, "edtCode")->setText(QStringLiteral("  新公司'有限 "));
    child<QLineEdit>(&w, "edtPhone")->setText(QStringLiteral(" 0571-8888 "));
    child<QLineEdit>(&w, "edtEmail")->setText(QStringLiteral("info@kelmora.com"));
    click(&w, "btnSave");
    QCOMPARE(messenger.texts(), QStringList({QStringLiteral("当前更改成功！")}));
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Code from SysInfo")), QStringLiteral("新公司'有限"));
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Email from SysInfo")), QStringLiteral("info@kelmora.com"));
    // The report title is built as at login.
    QCOMPARE(Session::current().companyTitle, QStringLiteral("新公司'有限(0571-8888)"));
    // "修改" reads the stored row again.
    child<QLineEdit>(&w, "edtCode")->setText(QStringLiteral("未保存"));
    click(&w, "btnEdit");
    QCOMPARE(child<QLineEdit>(&w, "edtCode")->text(), QStringLiteral("新公司'有限"));
}

void TestOptionsWindows::companyClear()
{
    TFrmUserInfo w;
    QVERIFY(!child<QLineEdit>(&w, "edtCode")->text().isEmpty());
    click(&w, "btnClear");
    for (const char* name :
        {"edtCode", "edtName", "edtManager", "edtPhone", "edtHomepage", "edtEmail", "edtMovePhone", "edtEnroler"})
        QVERIFY2(child<QLineEdit>(&w, name)->text().isEmpty(), name);
    QVERIFY(child<QPlainTextEdit>(&w, "Mem")->toPlainText().isEmpty());
    // Nothing is written until "保存".
    QVERIFY(!dm().GetSqlStr(QStringLiteral("select F_Code from SysInfo")).isEmpty());
}

void TestOptionsWindows::email_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "info@kelmora.com" << true;
    QTest::newRow("dots and dashes") << "a.b-c_d@mail.example.org" << true;
    QTest::newRow("two after the dot") << "a@ab.cn" << false;
    QTest::newRow("three after the dot") << "a@abc.com" << true;
    QTest::newRow("blank inside") << "a b@kelmora.com" << false;
    QTest::newRow("no at sign") << "kelmora.com" << false;
    QTest::newRow("nothing before at") << "@kelmora.com" << false;
    QTest::newRow("double dot") << "a..b@kelmora.com" << false;
    QTest::newRow("no dot after at") << "a@kelmoracom" << false;
    QTest::newRow("short domain") << "a@b.c" << false;
    QTest::newRow("empty") << "" << false;
}

void TestOptionsWindows::email()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    QCOMPARE(TFrmUserInfo::CheckEmail(address), valid);
}

void TestOptionsWindows::webAddress()
{
    QCOMPARE(TFrmUserInfo::webAddress(QStringLiteral(" www.kelmora.com ")), QStringLiteral("http://www.kelmora.com"));
    QCOMPARE(TFrmUserInfo::webAddress(QStringLiteral("https://kelmora.com")), QStringLiteral("https://kelmora.com"));
    QCOMPARE(TFrmUserInfo::webAddress(QStringLiteral("  ")), QString());
}

void TestOptionsWindows::fillCombo()
{
    QVERIFY(dm().ExecSql(QStringLiteral("insert into OperList (F_Code, F_Name, F_PartCode) values ('101', :n, 'R1')"),
        {{QStringLiteral("n"), QStringLiteral("张三")}}));
    QVERIFY(
        dm().ExecSql(QStringLiteral("insert into OperList (F_Code, F_Name, F_PartCode) values ('102', '  ', 'R1')")));
    QComboBox box;
    box.setEditable(true);
    box.setEditText(QStringLiteral("正在输入"));
    QVERIFY(
        UiServices::fillCombo(&box, QStringLiteral("select F_Name from OperList where F_PartCode = :p order by F_Code"),
            {{QStringLiteral("p"), QStringLiteral("R1")}}));
    QCOMPARE(box.count(), 1); // blank names are left out
    QCOMPARE(box.itemText(0), QStringLiteral("张三"));
    QCOMPARE(box.currentText(), QStringLiteral("正在输入"));
    // A failing statement is reported and leaves the items as they were.
    ScriptedMessenger messenger;
    QVERIFY(!UiServices::fillCombo(&box, QStringLiteral("select F_Nope from OperList")));
    QCOMPARE(box.count(), 1);
    QCOMPARE(messenger.count(), 1);
}

QTEST_MAIN(TestOptionsWindows)
#include "tst_mainwindow_options.moc"
