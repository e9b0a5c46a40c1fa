// kelmora-test: pg
#include "app/frmmain.h"
#include "app/frmoperlogin.h"
#include "app/inifile.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/password.h"
#include "app/session.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
using Message = QPair<QString, int>;

void addOperator(const QString& code, const QString& name, const QString& password, int flag = 0)
{
    QVERIFY(dm().ExecSql(QStringLiteral("insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_new, "
                                        "F_price) values (:c, :n, :p, 'R1', :f, 1, 0)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("p"), SavePass(password)},
            {QStringLiteral("f"), flag}}));
}

QLineEdit* edit(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(QLatin1String(name));
}

void clickOk(QWidget* w)
{
    w->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
}
} // namespace

class TestLoginWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void layout();
    void cases_data();
    void cases();
    void reloginFailureKeepsSession();
    void successLoadsSessionEverywhere();
    void lastOperatorOffered();
    void cancel_data();
    void cancel();
    void closingIsSwallowed();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestLoginWindow::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    // Reconnect through a Config.ini, as the program does, so the login can remember the operator.
    QVERIFY(m_db->dataModule().connectFromConfig(m_db->configPath()));
    addOperator(QStringLiteral("101"), QStringLiteral("张三"), QStringLiteral("Abc1"));
    addOperator(QStringLiteral("102"), QStringLiteral("李四"), QStringLiteral("pw"), 1);
    Session::current() = Session();
}

void TestLoginWindow::cleanup()
{
    m_db.reset();
    Session::current() = Session();
}

void TestLoginWindow::layout()
{
    TfrmOperLogin w(TfrmOperLogin::StartupMode);
    QCOMPARE(w.windowTitle(), QStringLiteral("登录窗口"));
    QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(edit(&w, "edtOperName")->isReadOnly());
    QCOMPARE(edit(&w, "edtPassWord")->echoMode(), QLineEdit::Password);
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("btnOk"))->text(), QStringLiteral("确定"));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("btnCancel"))->text(), QStringLiteral("取消"));
    QCOMPARE(w.failures(), 0);
    // The name follows the code when the code box is left.
    edit(&w, "edtOperCode")->setText(QStringLiteral("101"));
    emit edit(&w, "edtOperCode")->editingFinished();
    QCOMPARE(edit(&w, "edtOperName")->text(), QStringLiteral("张三"));
    edit(&w, "edtOperCode")->setText(QStringLiteral("999"));
    emit edit(&w, "edtOperCode")->editingFinished();
    QCOMPARE(edit(&w, "edtOperName")->text(), QString());
}

void TestLoginWindow::cases_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("passwords");
    QTest::addColumn<QList<Message>>("messages");
    QTest::addColumn<int>("result"); // -1 still open, else QDialog::Accepted / Rejected
    const int startup = TfrmOperLogin::StartupMode;
    const int relogin = TfrmOperLogin::ReloginMode;
    const Message wrong(LoginService::wrongPasswordText(), 0);
    const QStringList fourWrong = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
    QTest::newRow("empty code") << startup << "" << QStringList({QString()})
                                << QList<Message>({Message(QStringLiteral("请选择用户！"), 0)}) << -1;
    QTest::newRow("unknown code") << startup << "999" << QStringList({QString()})
                                  << QList<Message>(
                                         {Message(QStringLiteral("此操作员并不存在，请重新选择操作员！"), 0)})
                                  << -1;
    QTest::newRow("000, empty password") << startup << "000" << QStringList({QString()}) << QList<Message>()
                                         << int(QDialog::Accepted);
    QTest::newRow("trimmed password") << relogin << "101" << QStringList({QStringLiteral(" Abc1  ")})
                                      << QList<Message>() << int(QDialog::Accepted);
    QTest::newRow("letter case counts") << startup << "101" << QStringList({QStringLiteral("ABC1")})
                                        << QList<Message>({wrong}) << -1;
    QTest::newRow("disabled operator") << startup << "102" << QStringList({QStringLiteral("pw")})
                                       << QList<Message>({Message(QStringLiteral("此操作员已被停用！"), 2)}) << -1;
    QTest::newRow("three wrong, then right")
        << startup << "101"
        << QStringList({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("Abc1")})
        << QList<Message>({wrong, wrong, wrong}) << int(QDialog::Accepted);
    QTest::newRow("fourth wrong at start-up")
        << startup << "101" << fourWrong
        << QList<Message>({wrong, wrong, wrong, Message(QStringLiteral("非法操作员!"), 3)}) << int(QDialog::Rejected);
    QTest::newRow("fourth wrong at re-login")
        << relogin << "101" << fourWrong
        << QList<Message>({wrong, wrong, wrong, Message(QStringLiteral("更换操作员失败!"), 3)})
        << int(QDialog::Rejected);
}

void TestLoginWindow::cases()
{
    QFETCH(int, mode);
    QFETCH(QString, code);
    QFETCH(QStringList, passwords);
    QFETCH(QList<Message>, messages);
    QFETCH(int, result);
    ScriptedMessenger messenger;
    TfrmOperLogin w {TfrmOperLogin::Mode(mode)};
    w.show();
    edit(&w, "edtOperCode")->setText(code);
    for (const QString& p : passwords) {
        QVERIFY(w.isVisible());
        edit(&w, "edtPassWord")->setText(p);
        clickOk(&w);
    }
    QCOMPARE(messenger.messages(), messages);
    if (result < 0) {
        QVERIFY(w.isVisible());
        QVERIFY(Session::current().operCode.isEmpty());
    } else {
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), result);
        QCOMPARE(Session::current().operCode, result == QDialog::Accepted ? code : QString());
    }
}

void TestLoginWindow::reloginFailureKeepsSession()
{
    LoginService::loadSession(QStringLiteral("000"), Session::current());
    ScriptedMessenger messenger;
    TfrmOperLogin w(TfrmOperLogin::ReloginMode);
    w.show();
    edit(&w, "edtOperCode")->setText(QStringLiteral("101"));
    for (int i = 0; i < 4; ++i) {
        edit(&w, "edtPassWord")->setText(QStringLiteral("bad"));
        clickOk(&w);
    }
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(Session::current().operCode, QStringLiteral("000"));
    QVERIFY(Session::current().rPrice);
    // A new window starts counting again.
    TfrmOperLogin again(TfrmOperLogin::ReloginMode);
    QCOMPARE(again.failures(), 0);
}

void TestLoginWindow::successLoadsSessionEverywhere()
{
    TFrmMain main;
    LoginService::loadSession(QStringLiteral("000"), Session::current());
    main.SetLimits();
    QVERIFY(main.isActionVisible(301));
    ScriptedMessenger messenger;
    TfrmOperLogin w(TfrmOperLogin::ReloginMode, &main);
    edit(&w, "edtOperCode")->setText(QStringLiteral("101"));
    edit(&w, "edtPassWord")->setText(QStringLiteral("Abc1"));
    clickOk(&w);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(messenger.count(), 0);
    const Session& s = Session::current();
    QCOMPARE(s.operCode, QStringLiteral("101"));
    QCOMPARE(s.operName, QStringLiteral("张三"));
    QVERIFY(s.rNew);
    QVERIFY(!s.rPrice); // nothing of the administrator's is left
    QCOMPARE(s.templateSuffix(), QStringLiteral("1"));
    QCOMPARE(main.statusPanelText(1), QStringLiteral(" 张三"));
    QVERIFY(!main.isActionVisible(301)); // role R1 has no rights
    IniFile ini(m_db->configPath());
    QCOMPARE(ini.readString(QStringLiteral("config"), QStringLiteral("CurOperCode")), QStringLiteral("101"));
}

void TestLoginWindow::lastOperatorOffered()
{
    {
        ScriptedMessenger messenger;
        TfrmOperLogin w(TfrmOperLogin::StartupMode);
        edit(&w, "edtOperCode")->setText(QStringLiteral("101"));
        edit(&w, "edtPassWord")->setText(QStringLiteral("Abc1"));
        clickOk(&w);
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }
    TfrmOperLogin next(TfrmOperLogin::StartupMode);
    QCOMPARE(edit(&next, "edtOperCode")->text(), QStringLiteral("101"));
    QCOMPARE(edit(&next, "edtOperName")->text(), QStringLiteral("张三"));
}

void TestLoginWindow::cancel_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("start-up") << int(TfrmOperLogin::StartupMode);
    QTest::newRow("re-login") << int(TfrmOperLogin::ReloginMode);
}

void TestLoginWindow::cancel()
{
    QFETCH(int, mode);
    LoginService::loadSession(QStringLiteral("000"), Session::current());
    ScriptedMessenger messenger;
    TfrmOperLogin w {TfrmOperLogin::Mode(mode)};
    w.show();
    edit(&w, "edtOperCode")->setText(QStringLiteral("101"));
    edit(&w, "edtPassWord")->setText(QStringLiteral("Abc1"));
    w.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(Session::current().operCode, QStringLiteral("000"));
    QCOMPARE(messenger.count(), 0);
}

void TestLoginWindow::closingIsSwallowed()
{
    TfrmOperLogin w(TfrmOperLogin::StartupMode);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
}

QTEST_MAIN(TestLoginWindow)
#include "tst_login.moc"
