// kelmora-test: pg
#include "app/actions.h"
#include "app/clock.h"
#include "app/frmbtnimage.h"
#include "app/frmmain.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/navgroupbar.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/windowregistry.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {
QStringList strs(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

// What a menu holds, in order: action names, "-" for separators, submenu names.
QStringList menuEntries(const QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (a->menu())
            out << a->menu()->objectName();
        else
            out << a->objectName();
    }
    return out;
}

QStringList actionNames(std::initializer_list<int> codes)
{
    QStringList out;
    for (int c : codes)
        out << (c == 0 ? QStringLiteral("-") : QStringLiteral("Action%1").arg(c));
    return out;
}

void grantRole(const QString& role, const QList<int>& codes)
{
    for (int c : codes)
        QVERIFY(dm().ExecSql(QStringLiteral("insert into PartLimit (F_PartCode, F_LmtCode) values (:p, :c)"),
            {{QStringLiteral("p"), role}, {QStringLiteral("c"), QString::number(c)}}));
}

void addOperator(const QString& code, const QString& name, const QString& role)
{
    QVERIFY(
        dm().ExecSql(QStringLiteral("insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_price) "
                                    "values (:c, :n, '', :r, 0, 1)"),
            {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("r"), role}}));
}

void loginAs(const QString& code)
{
    Session s;
    LoginService::loadSession(code, s);
    Session::current() = s;
}

// A child window standing in for the windows later work builds.
QWidget* makeFakeWindow(const QString& title, QList<QString>* closed = nullptr)
{
    auto* w = new QWidget;
    w->setWindowTitle(title);
    if (closed)
        QObject::connect(w, &QObject::destroyed, [closed, title] { closed->append(title); });
    return w;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyActionNamedAndCaptioned();
    void menus_data();
    void menus();
    void toolBar();
    void navigationBar();
    void captionFontAndStatusBar();
    void setLimits_data();
    void setLimits();
    void reloginReplacesLimits();
    void actionsWithoutWindowsAreDisabled();
    void openOrRaise();
    void sharedWindowClass();
    void windowMenu();
    void closeSequence_data();
    void closeSequence();
    void closeRefusedByChild();
    void auxiliaryPrograms_data();
    void auxiliaryPrograms();
    void help();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TFrmMain> m_main;
};

void TestMainWindow::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    Session::current() = Session();
    SysOptions::current() = SysOptions();
    WindowRegistry::clear();
    m_main = std::make_unique<TFrmMain>();
}

void TestMainWindow::cleanup()
{
    m_main.reset();
    m_db.reset();
    WindowRegistry::clear();
    TFrmMain::setExitBackup({});
    TFrmMain::setLauncher({});
    TFrmMain::setUrlOpener({});
    Clock::setFixed(QDateTime());
}

void TestMainWindow::everyActionNamedAndCaptioned()
{
    QCOMPARE(Actions::all().size(), 61);
    for (const ActionInfo& info : Actions::all()) {
        auto* a = m_main->findChild<QAction*>(QStringLiteral("Action%1").arg(info.code));
        QVERIFY2(a, qPrintable(QString::number(info.code)));
        QCOMPARE(a->text(), info.caption);
        QVERIFY2(!a->icon().isNull(), qPrintable(QString::number(info.code)));
        QCOMPARE(m_main->action(info.code), a);
    }
    QCOMPARE(m_main->action(113), nullptr);
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("mi100") << "mi100"
                           << "系统管理"
                           << actionNames({101, 102, 103, 108, 109, 0, 104, 105, 111, 112})
            + QStringList({QStringLiteral("nImport"), QStringLiteral("-"), QStringLiteral("miExit")});
    QTest::newRow("nImport") << "nImport"
                             << "Excel 数据导入" << actionNames({106, 107, 110});
    QTest::newRow("mi200") << "mi200"
                           << "基本资料" << actionNames({201, 202, 206, 203, 0, 205, 204});
    QTest::newRow("mi300") << "mi300"
                           << "仓库收货" << actionNames({301, 302, 303, 304, 305, 0, 306});
    QTest::newRow("mi400") << "mi400"
                           << "仓库出货" << actionNames({401, 402, 403, 404, 0, 405});
    QTest::newRow("mi500") << "mi500"
                           << "其他登记" << actionNames({501, 502, 0, 505});
    QTest::newRow("mi600") << "mi600"
                           << "报表中心"
                           << actionNames({601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 611, 612, 613, 614});
    QTest::newRow("mi700") << "mi700"
                           << "经营分析" << actionNames({707, 708, 709, 701, 702, 703, 704, 705, 706, 711});
    QTest::newRow("vWindows") << "vWindows"
                              << "窗体"
                              << strs({"miCascade", "miTileHorizontal", "miTileVertical", "-", "miNext", "miClose",
                                     "miCloseAll"});
    QTest::newRow("nFz") << "nFz"
                         << "辅助功能"
                         << strs(
                                {"miUpgrade", "miCalculator", "miNotepad", "-", "miHelp", "miAbout", "-", "miWebSite"});
}

void TestMainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, entries);
    auto* m = m_main->findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), title);
    QCOMPARE(menuEntries(m), entries);
    // The menu bar holds the nine menus in order.
    QStringList bar;
    for (QAction* a : m_main->menuBar()->actions())
        bar << a->menu()->title();
    QCOMPARE(bar,
        strs({"系统管理", "基本资料", "仓库收货", "仓库出货", "其他登记", "报表中心", "经营分析", "窗体", "辅助功能"}));
    QCOMPARE(m_main->findChild<QAction*>(QStringLiteral("miExit"))->text(), QStringLiteral("退出系统"));
}

void TestMainWindow::toolBar()
{
    QToolBar* bar = m_main->toolBar();
    QCOMPARE(bar->objectName(), QStringLiteral("ToolBar1"));
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QStringList names;
    QStringList captions;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            names << QStringLiteral("-");
            continue;
        }
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        QVERIFY(button);
        QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
        names << button->objectName();
        captions << button->text();
    }
    QCOMPARE(names,
        strs({"ToolButton7", "ToolButton1", "-", "ToolButton2", "ToolButton3", "ToolButton5", "ToolButton6",
            "ToolButton8", "-", "ToolButton12", "-", "ToolButton10"}));
    QCOMPARE(captions,
        strs({"导航", "重新登录", "库存汇总", "库存明细", "库存查询", "库存报警", "货品资料", "帮助", "关闭"}));
    // "导航" shows and hides the navigation bar.
    m_main->show();
    auto* nav = m_main->findChild<QToolButton*>(QStringLiteral("ToolButton7"));
    QVERIFY(m_main->navBar()->isVisible());
    nav->click();
    QVERIFY(!m_main->navBar()->isVisible());
    nav->click();
    QVERIFY(m_main->navBar()->isVisible());
}

void TestMainWindow::navigationBar()
{
    NavGroupBar* nav = m_main->navBar();
    QCOMPARE(nav->objectName(), QStringLiteral("RzGroupBar1"));
    QCOMPARE(nav->width(), 153);
    struct G
    {
        const char* name;
        const char* caption;
        QList<int> codes;
    };
    const QList<G> groups = {
        {"rzg300", "仓库收货", {301, 302, 303, 304, 305, 306}},
        {"rzg400", "仓库出货", {401, 402, 403, 404, 405}},
        {"rzg500", "其他登记", {501, 502, 505}},
        {"rzg600", "报表中心", {601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 611, 612, 613, 614}},
        {"rzg700", "经营分析", {701, 702, 703, 704, 705, 706, 707, 708, 709, 711}},
        {"rzg200", "基本资料", {201, 202, 203, 205, 206, 204}},
    };
    int lastY = -1;
    m_main->show();
    for (const G& g : groups) {
        const QString name = QString::fromLatin1(g.name);
        QVERIFY(nav->group(name));
        QCOMPARE(nav->header(name)->text(), QString::fromUtf8(g.caption));
        QList<int> codes;
        for (QToolButton* b : nav->items(name))
            codes << b->defaultAction()->data().toInt();
        QCOMPARE(codes, g.codes);
        QVERIFY(nav->group(name)->y() > lastY); // top to bottom
        lastY = nav->group(name)->y();
    }
    QCOMPARE(nav->openGroupName(), QStringLiteral("rzg300"));
    nav->header(QStringLiteral("rzg600"))->click();
    QVERIFY(nav->isGroupOpen(QStringLiteral("rzg600")));
    QVERIFY(!nav->isGroupOpen(QStringLiteral("rzg300")));
}

void TestMainWindow::captionFontAndStatusBar()
{
    Clock::setFixed(QDateTime(QDate(2026, 3, 2), QTime(9, 5, 7)));
    addOperator(QStringLiteral("101"), QStringLiteral("张三"), QStringLiteral("R1"));
    loginAs(QStringLiteral("101"));
    m_main->applySession();
    QCOMPARE(m_main->statusPanelText(0), QStringLiteral(" 当前用户"));
    QCOMPARE(m_main->statusPanelText(1), QStringLiteral(" 张三"));
    QCOMPARE(m_main->statusPanelText(2), QStringLiteral(" 当前日期时间"));
    QCOMPARE(m_main->statusPanelText(3), QStringLiteral(" 2026-03-02 09:05:07"));
    QCOMPARE(m_main->statusPanelText(4), QStringLiteral("Kelmora仓库管理软件(网络版)"));
    m_main->show();
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Kelmora仓库管理软件v3.85(网络版) "));
    auto* timer = m_main->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    Clock::setFixed(QDateTime(QDate(2026, 3, 2), QTime(9, 5, 8)));
    m_main->updateClock();
    QCOMPARE(m_main->statusPanelText(3), QStringLiteral(" 2026-03-02 09:05:08"));
    // Every Chinese caption has glyphs in the window's font.
    const QFontMetrics fm(m_main->font());
    for (QAction* a : m_main->menuBar()->actions())
        for (const QChar c : a->text())
            QVERIFY2(fm.inFont(c), qPrintable(a->text()));
    QVERIFY(m_main->desktop() && m_main->desktop()->isVisible());
    QCOMPARE(m_main->desktop()->windowTitle(), QStringLiteral("桌面"));
}

void TestMainWindow::setLimits_data()
{
    QTest::addColumn<QString>("oper");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<QStringList>("menus");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("import");
    const QStringList always = strs({"ToolButton7", "ToolButton1", "ToolButton12", "ToolButton10"});
    QTest::newRow("no rights") << "101" << QList<int>() << strs({"vWindows", "nFz"}) << strs({"rzg200"}) << always
                               << false;
    QTest::newRow("some rights") << "101" << QList<int>({203, 301, 306, 705, 106})
                                 << strs({"mi100", "mi200", "mi300", "mi700", "vWindows", "nFz"})
                                 << strs({"rzg300", "rzg700", "rzg200"})
                                 << always + strs({"ToolButton5", "ToolButton8"}) << false;
    // 710 has no entry of its own, yet it counts for its menu.
    QTest::newRow("only 710") << "101" << QList<int>({710}) << strs({"mi700", "vWindows", "nFz"})
                              << strs({"rzg700", "rzg200"}) << always << false;
    QTest::newRow("administrator")
        << "000" << QList<int>()
        << strs({"mi100", "mi200", "mi300", "mi400", "mi500", "mi600", "mi700", "vWindows", "nFz"})
        << strs({"rzg300", "rzg400", "rzg500", "rzg600", "rzg700", "rzg200"})
        << always + strs({"ToolButton2", "ToolButton3", "ToolButton5", "ToolButton6", "ToolButton8"}) << true;
}

void TestMainWindow::setLimits()
{
    QFETCH(QString, oper);
    QFETCH(QList<int>, rights);
    QFETCH(QStringList, menus);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, buttons);
    QFETCH(bool, import);
    QVERIFY(dm().ExecSql(QStringLiteral("delete from PartLimit where F_PartCode = '000'")));
    addOperator(QStringLiteral("101"), QStringLiteral("张三"), QStringLiteral("R1"));
    grantRole(QStringLiteral("R1"), rights);
    loginAs(oper);
    m_main->SetLimits();
    m_main->show();

    for (const ActionInfo& info : Actions::all()) {
        const bool want = oper == QLatin1String("000") || rights.contains(info.code);
        QCOMPARE(m_main->isActionVisible(info.code), want);
    }
    QStringList shownMenus;
    for (QAction* a : m_main->menuBar()->actions())
        if (a->isVisible())
            shownMenus << a->menu()->objectName();
    QCOMPARE(shownMenus, menus);
    QCOMPARE(m_main->findChild<QMenu*>(QStringLiteral("nImport"))->menuAction()->isVisible(), import);

    NavGroupBar* nav = m_main->navBar();
    QStringList shownGroups;
    for (const char* g : {"rzg300", "rzg400", "rzg500", "rzg600", "rzg700", "rzg200"})
        if (!nav->group(QString::fromLatin1(g))->isHidden())
            shownGroups << QString::fromLatin1(g);
    QCOMPARE(shownGroups, groups);
    // Group items follow their actions.
    for (const QString& g : groups)
        for (QToolButton* b : nav->items(g))
            QCOMPARE(!b->isHidden(), b->defaultAction()->isVisible());
    QVERIFY(!nav->openGroupName().isEmpty());
    QVERIFY(!nav->group(nav->openGroupName())->isHidden());

    QStringList shownButtons;
    for (QAction* a : m_main->toolBar()->actions())
        if (!a->isSeparator() && a->isVisible())
            shownButtons << m_main->toolBar()->widgetForAction(a)->objectName();
    QStringList want = buttons;
    want.sort();
    shownButtons.sort();
    QCOMPARE(shownButtons, want);
}

void TestMainWindow::reloginReplacesLimits()
{
    addOperator(QStringLiteral("101"), QStringLiteral("张三"), QStringLiteral("R1"));
    grantRole(QStringLiteral("R1"), {203});
    loginAs(QStringLiteral("000"));
    m_main->SetLimits();
    QVERIFY(m_main->isActionVisible(301));
    loginAs(QStringLiteral("101"));
    m_main->SetLimits();
    QVERIFY(!m_main->isActionVisible(301));
    QVERIFY(m_main->isActionVisible(203));
    QVERIFY(!m_main->findChild<QMenu*>(QStringLiteral("mi300"))->menuAction()->isVisible());
    QVERIFY(!m_main->findChild<QMenu*>(QStringLiteral("nImport"))->menuAction()->isVisible());
}

void TestMainWindow::actionsWithoutWindowsAreDisabled()
{
    loginAs(QStringLiteral("000"));
    // 203 stands for an action whose window is not there yet.
    WindowRegistry::unregister(203);
    m_main->refreshActions();
    m_main->SetLimits();
    QVERIFY(m_main->action(101)->isEnabled());
    QVERIFY(m_main->action(109)->isEnabled());
    QVERIFY(m_main->action(301)->isEnabled());
    // Actions whose windows are not built (or were unregistered above) stay disabled.
    for (int code : {102, 103, 104, 203, 601, 703, 710, 711})
        QVERIFY2(!m_main->action(code)->isEnabled(), qPrintable(QString::number(code)));
    QVERIFY(!m_main->runAction(203));
    QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
    auto* button = m_main->findChild<QToolButton*>(QStringLiteral("ToolButton8"));
    QVERIFY(!button->isEnabled());
    m_main->registerWindow(203, QStringLiteral("TFrmGoodGl"), [] { return makeFakeWindow(QStringLiteral("货品")); });
    QVERIFY(m_main->action(203)->isEnabled());
    QVERIFY(button->isEnabled());
    button->click();
    QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
}

void TestMainWindow::openOrRaise()
{
    loginAs(QStringLiteral("000"));
    m_main->SetLimits();
    m_main->show();
    int made = 0;
    m_main->registerWindow(203, QStringLiteral("TFrmGoodGl"), [&made] {
        ++made;
        return makeFakeWindow(QStringLiteral("货品资料"));
    });
    m_main->registerWindow(
        301, QStringLiteral("TFrmInCaiGouDeptGl"), [] { return makeFakeWindow(QStringLiteral("采购进货")); });
    QMdiArea* mdi = m_main->mdiArea();
    QVERIFY(m_main->runAction(203));
    QWidget* first = m_main->findWindow(QStringLiteral("TFrmGoodGl"));
    QVERIFY(first);
    QVERIFY(m_main->runAction(301));
    QCOMPARE(mdi->activeSubWindow()->widget()->windowTitle(), QStringLiteral("采购进货"));
    // A second request raises the one instance.
    QVERIFY(m_main->runAction(203));
    QCOMPARE(made, 1);
    QCOMPARE(mdi->subWindowList().size(), 2);
    QCOMPARE(mdi->activeSubWindow()->widget(), first);
    // Minimised: restored.
    mdi->activeSubWindow()->showMinimized();
    QVERIFY(mdi->subWindowList().first()->isMinimized());
    m_main->action(203)->trigger();
    QVERIFY(!mdi->subWindowList().first()->isMinimized());
    QCOMPARE(made, 1);
    // Other windows open a class by its name.
    QCOMPARE(m_main->openOrRaise(QStringLiteral("TFrmGoodGl")), first);
    QCOMPARE(m_main->openOrRaise(QStringLiteral("TNoSuchWindow")), nullptr);
    // Closed: the next request makes a new one.
    QPointer<QWidget> gone = first;
    mdi->subWindowList().first()->close();
    QTRY_VERIFY(gone.isNull());
    QVERIFY(m_main->runAction(203));
    QCOMPARE(made, 2);
    // A hidden action (no right) does not run.
    m_main->action(203)->setVisible(false);
    QVERIFY(!m_main->runAction(203));
}

void TestMainWindow::sharedWindowClass()
{
    loginAs(QStringLiteral("000"));
    m_main->SetLimits();
    int made = 0;
    QStringList modes;
    auto partner = [this, &made, &modes](const QString& mode) {
        QWidget* w = m_main->openOrRaise(QStringLiteral("TfrmCltMan"), [&made] {
            ++made;
            return makeFakeWindow(QStringLiteral("往来单位"));
        });
        w->setWindowTitle(mode);
        modes << mode;
    };
    m_main->registerHandler(202, [&partner] { partner(QStringLiteral("供应商资料管理")); });
    m_main->registerHandler(206, [&partner] { partner(QStringLiteral("客户资料管理")); });
    QVERIFY(m_main->runAction(202));
    QVERIFY(m_main->runAction(206));
    QCOMPARE(made, 1);
    QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(m_main->findWindow(QStringLiteral("TfrmCltMan"))->windowTitle(), QStringLiteral("客户资料管理"));
}

void TestMainWindow::windowMenu()
{
    loginAs(QStringLiteral("000"));
    m_main->SetLimits();
    m_main->show();
    QList<QString> closed;
    m_main->registerWindow(
        601, QStringLiteral("A"), [&closed] { return makeFakeWindow(QStringLiteral("A"), &closed); });
    m_main->registerWindow(
        602, QStringLiteral("B"), [&closed] { return makeFakeWindow(QStringLiteral("B"), &closed); });
    m_main->registerWindow(
        603, QStringLiteral("C"), [&closed] { return makeFakeWindow(QStringLiteral("C"), &closed); });
    for (int code : {601, 602, 603})
        QVERIFY(m_main->runAction(code));
    QMdiArea* mdi = m_main->mdiArea();
    const QRect area = mdi->viewport()->rect();

    m_main->tileHorizontally();
    for (QMdiSubWindow* sub : mdi->subWindowList()) {
        QCOMPARE(sub->width(), area.width());
        QVERIFY(qAbs(sub->height() - area.height() / 3) <= 2);
    }
    m_main->tileVertically();
    for (QMdiSubWindow* sub : mdi->subWindowList()) {
        QCOMPARE(sub->height(), area.height());
        QVERIFY(qAbs(sub->width() - area.width() / 3) <= 2);
    }
    // The open windows are listed at the end of the window menu.
    auto* menu = m_main->findChild<QMenu*>(QStringLiteral("vWindows"));
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QStringList listed;
    for (QAction* a : menu->actions())
        if (a->isCheckable())
            listed << a->text();
    QCOMPARE(listed, strs({"&1 A", "&2 B", "&3 C"}));

    m_main->findChild<QAction*>(QStringLiteral("miCloseAll"))->trigger();
    QTRY_COMPARE(closed.size(), 3);
    QCOMPARE(closed, strs({"C", "B", "A"})); // last to first
}

void TestMainWindow::closeSequence_data()
{
    QTest::addColumn<int>("quit");
    QTest::addColumn<int>("schedule");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("hook");
    QTest::addColumn<int>("backupAnswer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("backedUp");
    const QDate monday(2026, 12, 7);
    const QDate thursday(2026, 12, 10);
    const int yes = Messenger::Yes;
    const int no = Messenger::No;
    QTest::newRow("no: stays, nothing about backup") << no << 1 << monday << true << yes << false << false << false;
    QTest::newRow("yes, schedule 0") << yes << 0 << monday << true << yes << true << false << false;
    QTest::newRow("yes, schedule 1, backup yes") << yes << 1 << thursday << true << yes << true << true << true;
    QTest::newRow("yes, schedule 1, backup no") << yes << 1 << thursday << true << no << true << true << false;
    QTest::newRow("weekly on Monday") << yes << 2 << monday << true << yes << true << true << true;
    QTest::newRow("weekly on Thursday") << yes << 2 << thursday << true << yes << true << false << false;
    QTest::newRow("monthly on the 1st") << yes << 3 << QDate(2026, 12, 1) << true << yes << true << true << true;
    QTest::newRow("no backup service yet") << yes << 1 << monday << false << yes << true << false << false;
}

void TestMainWindow::closeSequence()
{
    QFETCH(int, quit);
    QFETCH(int, schedule);
    QFETCH(QDate, day);
    QFETCH(bool, hook);
    QFETCH(int, backupAnswer);
    QFETCH(bool, closed);
    QFETCH(bool, asked);
    QFETCH(bool, backedUp);
    Clock::setFixedDate(day);
    m_main->show();
    SysOptions::current().backupSchedule = schedule;
    int backups = 0;
    if (hook)
        TFrmMain::setExitBackup([&backups](QWidget*) { ++backups; });
    ScriptedMessenger messenger;
    messenger.setNextAnswer(quit);
    messenger.setNextAnswer(backupAnswer);
    m_main->findChild<QToolButton*>(QStringLiteral("ToolButton10"))->click();
    QCOMPARE(m_main->isVisible(), !closed);
    QCOMPARE(messenger.messages().first(), qMakePair(TFrmMain::closeQuestion(), int(Messenger::Question)));
    QCOMPARE(TFrmMain::closeQuestion(), QStringLiteral("真的要退出“Kelmora仓库管理软件”软件吗？"));
    QCOMPARE(messenger.texts().contains(TFrmMain::backupQuestion()), asked);
    QCOMPARE(backups, backedUp ? 1 : 0);
}

void TestMainWindow::closeRefusedByChild()
{
    // A child that refuses to close (unsaved work) keeps the program running.
    class Stubborn : public QWidget
    {
    protected:
        void closeEvent(QCloseEvent* e) override { e->ignore(); }
    };
    loginAs(QStringLiteral("000"));
    m_main->SetLimits();
    m_main->show();
    m_main->registerWindow(301, QStringLiteral("TFrmInCaiGouDeptGl"), [] { return new Stubborn; });
    QVERIFY(m_main->runAction(301));
    ScriptedMessenger messenger;
    messenger.setNextAnswer(Messenger::Yes);
    m_main->findChild<QAction*>(QStringLiteral("miExit"))->trigger();
    QVERIFY(m_main->isVisible());
}

void TestMainWindow::auxiliaryPrograms_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("missing");
    QTest::newRow("calculator") << "miCalculator"
                                << "galculator"
                                << "系统中没有安装计算器程序！";
    QTest::newRow("text editor") << "miNotepad"
                                 << "mousepad"
                                 << "系统中没有安装文本编辑器程序！";
}

void TestMainWindow::auxiliaryPrograms()
{
    QFETCH(QString, item);
    QFETCH(QString, program);
    QFETCH(QString, missing);
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    QStringList started;
    TFrmMain::setLauncher([&started](const QString& p, const QStringList&) {
        started << p;
        return true;
    });
    ScriptedMessenger messenger;
    QAction* a = m_main->findChild<QAction*>(item);
    a->trigger();
    QVERIFY(started.isEmpty());
    QCOMPARE(messenger.texts(), QStringList({missing}));

    // Once the desktop has one, it is started.
    QFile f(bin.filePath(program));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    a->trigger();
    qputenv("PATH", oldPath);
    QCOMPARE(started, QStringList({bin.filePath(program)}));
    QCOMPARE(messenger.count(), 1);
}

void TestMainWindow::help()
{
    QList<QUrl> opened;
    TFrmMain::setUrlOpener([&opened](const QUrl& u) {
        opened << u;
        return true;
    });
    ScriptedMessenger messenger;
    m_main->findChild<QToolButton*>(QStringLiteral("ToolButton12"))->click();
    m_main->findChild<QAction*>(QStringLiteral("miHelp"))->trigger();
    QCOMPARE(opened.size(), 2);
    QVERIFY(opened[0].isLocalFile());
    QFile page(opened[0].toLocalFile());
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY(text.contains(QStringLiteral("Kelmora仓库管理软件")));
    QVERIFY(text.contains(QStringLiteral("登录")));
    QCOMPARE(messenger.count(), 0);
    // "升级工具" has no function: it is there but cannot be chosen.
    QVERIFY(!m_main->findChild<QAction*>(QStringLiteral("miUpgrade"))->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
