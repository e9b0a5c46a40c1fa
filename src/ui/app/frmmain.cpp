#include "frmmain.h"

#include "app/actions.h"
#include "app/clock.h"
#include "app/inifile.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/sysoptionsservice.h"
#include "appicons.h"
#include "data/datamodule.h"
#include "dispformpos.h"
#include "frmabout.h"
#include "frmbtnimage.h"
#include "frmoperlogin.h"
#include "navgroupbar.h"
#include "windowcatalog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {
TFrmMain* g_mainWindow = nullptr;
TFrmMain::ExitBackup g_exitBackup;
TFrmMain::Launcher g_launcher;
TFrmMain::UrlOpener g_urlOpener;

// The property open-or-raise keys child windows by.
const char* const kMainWindowClassProperty = "kelmoraWindowClass";
const QString kMainConfigSection = QStringLiteral("config");

IniFile* mainConfig()
{
    DataModule* d = DataModule::instance();
    return d ? d->config() : nullptr;
}

QString mainNowText()
{
    return Clock::now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// Menus and the action ranges that decide whether they are shown.
struct MainMenuRange
{
    const char* name;
    int from;
    int to;
};
const MainMenuRange kMenuRanges[] = {{"mi100", 101, 112}, {"mi200", 201, 206}, {"mi300", 301, 306}, {"mi400", 401, 405},
    {"mi500", 501, 505}, {"mi600", 601, 616}, {"mi700", 701, 711}};
} // namespace

TFrmMain::TFrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(caption());
    setWindowIcon(AppIcons::icon(QStringLiteral("emblem-package")));

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(0x3a, 0x6e, 0xa5));

    registerProgramWindows();
    createActions();
    createMenus();
    createToolBar();
    createNavBar();
    createStatusBar();
    refreshActions();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &TFrmMain::updateClock);

    DispFormPos(this, 2);
    restoreGeometryFromConfig();
}

TFrmMain::~TFrmMain()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

TFrmMain* TFrmMain::instance()
{
    return g_mainWindow;
}

QString TFrmMain::closeQuestion()
{
    return QStringLiteral("真的要退出“") + productName() + QStringLiteral("”软件吗？");
}

QAction* TFrmMain::makeAction(const QString& objectName, const QString& text, const QString& iconName)
{
    auto* a = new QAction(text, this);
    a->setObjectName(objectName);
    if (!iconName.isEmpty())
        a->setIcon(AppIcons::icon(iconName));
    return a;
}

void TFrmMain::createActions()
{
    for (const ActionInfo& info : Actions::all()) {
        QAction* a = makeAction(QStringLiteral("Action%1").arg(info.code), info.caption);
        a->setIcon(AppIcons::forAction(info.code));
        a->setData(info.code);
        a->setVisible(false); // nothing is shown before a login decides it
        const int code = info.code;
        connect(a, &QAction::triggered, this, [this, code] { runAction(code); });
        m_actions.insert(info.code, a);
    }
}

bool TFrmMain::runAction(int code)
{
    QAction* a = action(code);
    if (!a || !a->isEnabled() || !a->isVisible())
        return false;
    if (const WindowRegistry::Handler h = WindowRegistry::handler(code)) {
        h();
        return true;
    }
    const QString cls = WindowRegistry::windowClass(code);
    if (cls.isEmpty())
        return false;
    return openOrRaise(cls, WindowRegistry::factory(code)) != nullptr;
}

void TFrmMain::registerWindow(int actionCode, const QString& windowClass, const WindowRegistry::Factory& factory)
{
    WindowRegistry::registerWindow(actionCode, windowClass, factory);
    refreshActions();
}

void TFrmMain::registerHandler(int actionCode, const WindowRegistry::Handler& handler)
{
    WindowRegistry::registerHandler(actionCode, handler);
    refreshActions();
}

void TFrmMain::refreshActions()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(WindowRegistry::has(it.key()));
}

void TFrmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto addMenu = [this, bar](const QString& name, const QString& title) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("Action"));
        m_menus.insert(name, m);
        return m;
    };
    auto addCodes = [this](QMenu* m, std::initializer_list<int> codes) {
        for (int code : codes) {
            if (code == 0)
                m->addSeparator();
            else
                m->addAction(action(code));
        }
    };

    QMenu* m100 = addMenu(QStringLiteral("mi100"), QStringLiteral("系统管理"));
    addCodes(m100, {101, 102, 103, 108, 109, 0, 104, 105, 111, 112});
    m_importMenu = m100->addMenu(QStringLiteral("Excel 数据导入"));
    m_importMenu->setObjectName(QStringLiteral("nImport"));
    m_importMenu->setIcon(AppIcons::icon(QStringLiteral("document-open")));
    m_importMenu->menuAction()->setObjectName(QStringLiteral("nImportAction"));
    addCodes(m_importMenu, {106, 107, 110});
    m100->addSeparator();
    QAction* exitAction
        = makeAction(QStringLiteral("miExit"), QStringLiteral("退出系统"), QStringLiteral("application-exit"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    m100->addAction(exitAction);

    addCodes(addMenu(QStringLiteral("mi200"), QStringLiteral("基本资料")), {201, 202, 206, 203, 0, 205, 204});
    addCodes(addMenu(QStringLiteral("mi300"), QStringLiteral("仓库收货")), {301, 302, 303, 304, 305, 0, 306});
    addCodes(addMenu(QStringLiteral("mi400"), QStringLiteral("仓库出货")), {401, 402, 403, 404, 0, 405});
    addCodes(addMenu(QStringLiteral("mi500"), QStringLiteral("其他登记")), {501, 502, 0, 505});
    QMenu* m600 = addMenu(QStringLiteral("mi600"), QStringLiteral("报表中心"));
    for (int code = 601; code <= 614; ++code)
        m600->addAction(action(code));
    addCodes(addMenu(QStringLiteral("mi700"), QStringLiteral("经营分析")),
        {707, 708, 709, 701, 702, 703, 704, 705, 706, 711});

    m_windowMenu = addMenu(QStringLiteral("vWindows"), QStringLiteral("窗体"));
    QAction* cascade = makeAction(QStringLiteral("miCascade"), QStringLiteral("重叠"));
    connect(cascade, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    QAction* tileH = makeAction(QStringLiteral("miTileHorizontal"), QStringLiteral("横向重排"));
    connect(tileH, &QAction::triggered, this, &TFrmMain::tileHorizontally);
    QAction* tileV = makeAction(QStringLiteral("miTileVertical"), QStringLiteral("纵向重排"));
    connect(tileV, &QAction::triggered, this, &TFrmMain::tileVertically);
    QAction* next = makeAction(QStringLiteral("miNext"), QStringLiteral("切换"));
    connect(next, &QAction::triggered, m_mdi, &QMdiArea::activateNextSubWindow);
    QAction* closeOne = makeAction(QStringLiteral("miClose"), QStringLiteral("关闭"), QStringLiteral("window-close"));
    connect(closeOne, &QAction::triggered, m_mdi, &QMdiArea::closeActiveSubWindow);
    QAction* closeAll = makeAction(QStringLiteral("miCloseAll"), QStringLiteral("全部关闭"));
    connect(closeAll, &QAction::triggered, this, [this] { closeAllChildren(); });
    m_windowMenu->addAction(cascade);
    m_windowMenu->addAction(tileH);
    m_windowMenu->addAction(tileV);
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(next);
    m_windowMenu->addAction(closeOne);
    m_windowMenu->addAction(closeAll);
    m_windowMenuFixed = m_windowMenu->actions();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TFrmMain::fillWindowMenu);

    QMenu* fz = addMenu(QStringLiteral("nFz"), QStringLiteral("辅助功能"));
    // No upgrade tool exists: the entry is shown as in the menu but cannot be chosen.
    QAction* upgrade = makeAction(
        QStringLiteral("miUpgrade"), QStringLiteral("升级工具"), QStringLiteral("software-update-available"));
    upgrade->setEnabled(false);
    QAction* calc = makeAction(
        QStringLiteral("miCalculator"), QStringLiteral("计算器"), QStringLiteral("accessories-calculator"));
    connect(calc, &QAction::triggered, this, &TFrmMain::startCalculator);
    QAction* notepad
        = makeAction(QStringLiteral("miNotepad"), QStringLiteral("记事本"), QStringLiteral("accessories-text-editor"));
    connect(notepad, &QAction::triggered, this, &TFrmMain::startTextEditor);
    QAction* help = makeAction(QStringLiteral("miHelp"), QStringLiteral("软件帮助"), QStringLiteral("help-contents"));
    connect(help, &QAction::triggered, this, &TFrmMain::openHelp);
    QAction* about = makeAction(QStringLiteral("miAbout"), QStringLiteral("关于我们"), QStringLiteral("help-about"));
    connect(about, &QAction::triggered, this, &TFrmMain::showAbout);
    QAction* site
        = makeAction(QStringLiteral("miWebSite"), QStringLiteral("访问我们的网站"), QStringLiteral("web-browser"));
    // The product's address comes from Config.ini (config/WebSite); without one the entry is disabled.
    const IniFile* ini = mainConfig();
    const QString address = ini ? ini->readString(kMainConfigSection, QStringLiteral("WebSite")).trimmed() : QString();
    site->setEnabled(!address.isEmpty());
    connect(site, &QAction::triggered, this, [address] { openUrl(QUrl::fromUserInput(address)); });
    fz->addAction(upgrade);
    fz->addAction(calc);
    fz->addAction(notepad);
    fz->addSeparator();
    fz->addAction(help);
    fz->addAction(about);
    fz->addSeparator();
    fz->addAction(site);
}

QAction* TFrmMain::proxyFor(int code, const QString& text, const QString& objectName)
{
    QAction* target = action(code);
    QAction* proxy = makeAction(objectName + QStringLiteral("Action"), text);
    proxy->setIcon(target->icon());
    proxy->setToolTip(target->text());
    auto sync = [proxy, target] {
        proxy->setVisible(target->isVisible());
        proxy->setEnabled(target->isEnabled());
    };
    sync();
    connect(target, &QAction::changed, proxy, sync);
    connect(proxy, &QAction::triggered, target, &QAction::trigger);
    return proxy;
}

void TFrmMain::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(32, 32));
    auto add = [this](QAction* a, const QString& name) {
        m_toolBar->addAction(a);
        if (QWidget* w = m_toolBar->widgetForAction(a)) {
            w->setObjectName(name);
            w->setMinimumSize(59, 52);
        }
    };
    QAction* nav = makeAction(
        QStringLiteral("ToolButton7Action"), QStringLiteral("导航"), QStringLiteral("preferences-system-windows"));
    connect(nav, &QAction::triggered, this, [this] { m_nav->setVisible(!m_nav->isVisible()); });
    add(nav, QStringLiteral("ToolButton7"));
    QAction* relog
        = makeAction(QStringLiteral("ToolButton1Action"), QStringLiteral("重新登录"), QStringLiteral("system-log-out"));
    connect(relog, &QAction::triggered, this, [this] { relogin(); });
    add(relog, QStringLiteral("ToolButton1"));
    m_toolBar->addSeparator();
    add(proxyFor(703, QStringLiteral("库存汇总"), QStringLiteral("ToolButton2")), QStringLiteral("ToolButton2"));
    add(proxyFor(704, QStringLiteral("库存明细"), QStringLiteral("ToolButton3")), QStringLiteral("ToolButton3"));
    add(proxyFor(705, QStringLiteral("库存查询"), QStringLiteral("ToolButton5")), QStringLiteral("ToolButton5"));
    add(proxyFor(706, QStringLiteral("库存报警"), QStringLiteral("ToolButton6")), QStringLiteral("ToolButton6"));
    add(proxyFor(203, QStringLiteral("货品资料"), QStringLiteral("ToolButton8")), QStringLiteral("ToolButton8"));
    m_toolBar->addSeparator();
    QAction* help
        = makeAction(QStringLiteral("ToolButton12Action"), QStringLiteral("帮助"), QStringLiteral("help-browser"));
    connect(help, &QAction::triggered, this, &TFrmMain::openHelp);
    add(help, QStringLiteral("ToolButton12"));
    m_toolBar->addSeparator();
    QAction* closeMain
        = makeAction(QStringLiteral("ToolButton10Action"), QStringLiteral("关闭"), QStringLiteral("application-exit"));
    connect(closeMain, &QAction::triggered, this, &QWidget::close);
    add(closeMain, QStringLiteral("ToolButton10"));
}

void TFrmMain::createNavBar()
{
    m_nav = new NavGroupBar(this);
    m_nav->setObjectName(QStringLiteral("RzGroupBar1"));
    m_nav->setFixedWidth(153);
    struct NavGroupDef
    {
        const char* name;
        const char* caption;
        QList<int> codes;
    };
    const QList<NavGroupDef> groups = {
        {"rzg300", "仓库收货", {301, 302, 303, 304, 305, 306}},
        {"rzg400", "仓库出货", {401, 402, 403, 404, 405}},
        {"rzg500", "其他登记", {501, 502, 505}},
        {"rzg600", "报表中心", {601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 611, 612, 613, 614}},
        {"rzg700", "经营分析", {701, 702, 703, 704, 705, 706, 707, 708, 709, 711}},
        {"rzg200", "基本资料", {201, 202, 203, 205, 206, 204}},
    };
    for (const NavGroupDef& g : groups) {
        const QString name = QString::fromLatin1(g.name);
        m_nav->addGroup(name, QString::fromUtf8(g.caption));
        for (int code : g.codes)
            m_nav->addItem(name, action(code));
    }
    m_nav->openGroup(QStringLiteral("rzg300"));
    // The bar sits left of the MDI area in one row.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralArea"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_mdi->setParent(central);
    row->addWidget(m_nav);
    row->addWidget(m_mdi, 1);
    setCentralWidget(central);
}

void TFrmMain::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const int widths[5] = {60, 80, 100, 140, 0};
    const QString texts[5] = {QStringLiteral(" 当前用户"), QString(), QStringLiteral(" 当前日期时间"), QString(),
        QStringLiteral("Kelmora仓库管理软件(网络版)")};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(texts[i], bar);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0) {
            l->setMinimumWidth(widths[i]);
            bar->addWidget(l);
        } else {
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            bar->addWidget(l, 1);
        }
        m_panels[i] = l;
    }
}

QString TFrmMain::statusPanelText(int index) const
{
    return index >= 0 && index < 5 ? m_panels[index]->text() : QString();
}

void TFrmMain::setStatusPanelText(int index, const QString& text)
{
    if (index >= 0 && index < 5)
        m_panels[index]->setText(text);
}

void TFrmMain::updateClock()
{
    m_panels[3]->setText(QLatin1Char(' ') + mainNowText());
}

bool TFrmMain::isActionVisible(int code) const
{
    const QAction* a = action(code);
    return a && a->isVisible();
}

void TFrmMain::SetLimits()
{
    const Session& s = Session::current();
    const bool admin = s.isAdmin();
    QSet<int> granted;
    if (!admin)
        granted = LoginService::grantedActions(s.partCode);
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setVisible(admin || granted.contains(it.key()));
    // Excel import is for the built-in administrator only, whatever the role grants.
    m_importMenu->menuAction()->setVisible(admin);
    for (const MainMenuRange& r : kMenuRanges) {
        bool any = false;
        for (int code = r.from; code <= r.to && !any; ++code)
            any = isActionVisible(code);
        m_menus.value(QString::fromLatin1(r.name))->menuAction()->setVisible(any);
    }
    // Navigation groups follow their menus; the master-data group always stays.
    for (const char* g : {"300", "400", "500", "600", "700"}) {
        const QString menu = QStringLiteral("mi") + QLatin1String(g);
        m_nav->setGroupVisible(
            QStringLiteral("rzg") + QLatin1String(g), m_menus.value(menu)->menuAction()->isVisible());
    }
    m_nav->setGroupVisible(QStringLiteral("rzg200"), true);
}

void TFrmMain::applySession()
{
    SetLimits();
    m_panels[1]->setText(QLatin1Char(' ') + Session::current().operName);
    updateClock();
    emit sessionApplied();
}

bool TFrmMain::relogin()
{
    return TfrmOperLogin::Run(TfrmOperLogin::ReloginMode, this);
}

QMdiSubWindow* TFrmMain::subWindowOf(const QString& windowClass) const
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        QWidget* w = sub->widget();
        if (!w)
            continue;
        const QVariant cls = w->property(kMainWindowClassProperty);
        if (cls.isValid() ? cls.toString() == windowClass : QLatin1String(w->metaObject()->className()) == windowClass)
            return sub;
    }
    return nullptr;
}

QWidget* TFrmMain::findWindow(const QString& windowClass) const
{
    QMdiSubWindow* sub = subWindowOf(windowClass);
    return sub ? sub->widget() : nullptr;
}

QList<QWidget*> TFrmMain::childWindows() const
{
    QList<QWidget*> out;
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (sub->widget())
            out << sub->widget();
    return out;
}

QWidget* TFrmMain::openOrRaise(const QString& windowClass)
{
    return openOrRaise(windowClass, WindowRegistry::factoryForClass(windowClass));
}

QWidget* TFrmMain::openOrRaise(const QString& windowClass, const WindowRegistry::Factory& factory)
{
    if (QMdiSubWindow* sub = subWindowOf(windowClass)) {
        if (sub->isMinimized())
            sub->showNormal();
        else
            sub->show();
        sub->raise();
        m_mdi->setActiveSubWindow(sub);
        sub->widget()->setFocus();
        return sub->widget();
    }
    if (!factory)
        return nullptr;
    QWidget* w = factory();
    if (!w)
        return nullptr;
    w->setProperty(kMainWindowClassProperty, windowClass);
    w->setAttribute(Qt::WA_DeleteOnClose);
    // A size the window gave itself wins over the frame's guess from the size hint.
    const QSize wanted = w->testAttribute(Qt::WA_Resized) ? w->size() : QSize();
    QMdiSubWindow* sub = m_mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(w->windowIcon().isNull() ? windowIcon() : w->windowIcon());
    w->show();
    sub->show();
    if (wanted.isValid() && w->size() != wanted)
        sub->resize(wanted + (sub->size() - w->size()));
    // A child never opens partly outside the frame: shrink it to the area and move it in.
    const QSize area = m_mdi->viewport()->size();
    if (area.width() > 100 && area.height() > 100) {
        const QSize fitted = sub->size().boundedTo(area);
        if (fitted != sub->size())
            sub->resize(fitted);
        QPoint pos = sub->pos();
        pos.setX(qBound(0, pos.x(), area.width() - sub->width()));
        pos.setY(qBound(0, pos.y(), area.height() - sub->height()));
        sub->move(pos);
    }
    m_mdi->setActiveSubWindow(sub);
    return w;
}

bool TFrmMain::closeAllChildren()
{
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.crbegin(); it != subs.crend(); ++it)
        (*it)->close();
    // Deletion is deferred; count the windows that refused to close.
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (sub->isVisible())
            return false;
    return true;
}

void TFrmMain::fillWindowMenu()
{
    for (QAction* a : m_windowMenu->actions())
        if (!m_windowMenuFixed.contains(a)) {
            m_windowMenu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    m_windowMenu->addSeparator();
    int n = 1;
    for (QMdiSubWindow* sub : subs) {
        QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] {
            if (sub->isMinimized())
                sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
        });
    }
}

void TFrmMain::tileHorizontally()
{
    tile(Qt::Horizontal);
}

void TFrmMain::tileVertically()
{
    tile(Qt::Vertical);
}

void TFrmMain::tile(Qt::Orientation orientation)
{
    // Horizontal: full-width bands one below the other; vertical: columns side by side.
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::StackingOrder))
        if (sub->isVisible() && !sub->isMinimized())
            subs << sub;
    if (subs.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = subs[n - 1 - i]; // the active window first
        if (sub->isMaximized())
            sub->showNormal();
        QRect r;
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            r = QRect(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        } else {
            const int w = area.width() / n;
            r = QRect(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
        }
        sub->setGeometry(r);
    }
}

void TFrmMain::setExitBackup(const ExitBackup& hook)
{
    g_exitBackup = hook;
}

void TFrmMain::setLauncher(const Launcher& launcher)
{
    g_launcher = launcher;
}

void TFrmMain::setUrlOpener(const UrlOpener& opener)
{
    g_urlOpener = opener;
}

bool TFrmMain::openUrl(const QUrl& url)
{
    return g_urlOpener ? g_urlOpener(url) : QDesktopServices::openUrl(url);
}

QString TFrmMain::findProgram(const QStringList& candidates)
{
    for (const QString& c : candidates) {
        const QString path = QStandardPaths::findExecutable(c);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

QStringList TFrmMain::calculatorPrograms()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("mate-calc"),
        QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
}

QStringList TFrmMain::textEditorPrograms()
{
    return {QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kate"),
        QStringLiteral("kwrite"), QStringLiteral("mousepad"), QStringLiteral("pluma"), QStringLiteral("xed"),
        QStringLiteral("featherpad"), QStringLiteral("leafpad")};
}

void TFrmMain::startProgram(const QStringList& candidates, const QString& missingText)
{
    const QString program = findProgram(candidates);
    if (program.isEmpty()) {
        ShowMess(missingText, Messenger::Information);
        return;
    }
    if (g_launcher)
        g_launcher(program, {});
    else
        QProcess::startDetached(program, {});
}

void TFrmMain::startCalculator()
{
    startProgram(calculatorPrograms(), QStringLiteral("系统中没有安装计算器程序！"));
}

void TFrmMain::startTextEditor()
{
    startProgram(textEditorPrograms(), QStringLiteral("系统中没有安装文本编辑器程序！"));
}

QString TFrmMain::helpFile()
{
    const QString beside
        = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("help/index.html"));
    if (QFile::exists(beside))
        return beside;
    // Not installed beside the program: a copy of the built-in page, so the browser can open it.
    AppIcons::initResources();
    const QString dir = QDir(QDir::tempPath()).absoluteFilePath(QStringLiteral("kelmora-help"));
    QDir().mkpath(dir);
    const QString target = QDir(dir).absoluteFilePath(QStringLiteral("index.html"));
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(":/help/index.html"), target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

void TFrmMain::openHelp()
{
    const QString file = helpFile();
    const QUrl url = QUrl::fromLocalFile(file);
    const bool opened = !file.isEmpty() && openUrl(url);
    if (!opened)
        ShowMess(QStringLiteral("无法打开帮助文件！"), Messenger::Warning);
}

void TFrmMain::showAbout()
{
    TFrmAbout about(this);
    DispFormPos(&about, 1);
    about.exec();
}

void TFrmMain::showEvent(QShowEvent* event)
{
    setWindowTitle(caption());
    QMainWindow::showEvent(event);
    if (event->spontaneous() || m_shownOnce)
        return;
    m_shownOnce = true;
    if (!m_desktop)
        m_desktop = new TFrmBtnImage(m_mdi->viewport());
    m_desktop->show();
    m_panels[1]->setText(QLatin1Char(' ') + Session::current().operName);
    updateClock();
    m_timer->start();
    if (DataModule::instance() && DataModule::instance()->connected())
        SysOptionsService::load(SysOptions::current(), mainConfig());
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    if (ShowMess(closeQuestion(), Messenger::Question) != Messenger::Yes) {
        event->ignore();
        return;
    }
    // Children first: a window with unsaved work may refuse, and then the program stays.
    if (!closeAllChildren()) {
        event->ignore();
        return;
    }
    if (g_exitBackup && SysOptionsService::exitBackupDue(SysOptions::current().backupSchedule, Clock::today())
        && ShowMess(backupQuestion(), Messenger::Question) == Messenger::Yes)
        g_exitBackup(this);
    saveGeometryToConfig();
    m_timer->stop();
    event->accept();
}

void TFrmMain::saveGeometryToConfig()
{
    if (IniFile* ini = mainConfig())
        ini->writeString(
            kMainConfigSection, QStringLiteral("MainGeometry"), QString::fromLatin1(saveGeometry().toBase64()));
}

void TFrmMain::restoreGeometryFromConfig()
{
    const IniFile* ini = mainConfig();
    if (!ini)
        return;
    const QString g = ini->readString(kMainConfigSection, QStringLiteral("MainGeometry"));
    if (!g.isEmpty())
        restoreGeometry(QByteArray::fromBase64(g.toLatin1()));
}
