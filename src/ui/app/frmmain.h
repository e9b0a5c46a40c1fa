#pragma once

#include "windowregistry.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>
#include <functional>

class NavGroupBar;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class TFrmBtnImage;

// The program's main window: an MDI frame with the numbered actions (Action101 ...
// Action711), the main menu, the tool bar, the navigation bar, the status bar
// with its clock, and the open-or-raise rule for child windows.
//
// Adding a window for an action (document entry, master data, reports ...):
//   1. build the window as a QWidget (it becomes an MDI child) or a dialog;
//   2. add one line to registerProgramWindows() in windowcatalog.cpp:
//        WindowRegistry::registerWindow(203, "TFrmGoodGl", [] { return new TFrmGoodGl; });
//      or, for a modal window or a command,
//        WindowRegistry::registerHandler(104, [] { ... });
//   The action is then enabled; until then it stays disabled. Other windows open a
//   registered class with TFrmMain::instance()->openOrRaise("TFrmGoodGl") and ask
//   isActionVisible(code) before doing so (the role's rights).
class TFrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The main window of the run; nullptr when there is none.
    static TFrmMain* instance();

    QMdiArea* mdiArea() const { return m_mdi; }
    NavGroupBar* navBar() const { return m_nav; }
    QToolBar* toolBar() const { return m_toolBar; }
    TFrmBtnImage* desktop() const { return m_desktop; }

    static QString caption() { return QStringLiteral("Kelmora仓库管理软件") + QStringLiteral("v3.85(网络版) "); }
    static QString productName() { return QStringLiteral("Kelmora仓库管理软件"); }
    static QString closeQuestion();
    static QString backupQuestion() { return QStringLiteral("软件关闭，要备份当前数据吗？"); }

    // The numbered action (objectName "Action" + code); nullptr for an unknown code.
    QAction* action(int code) const { return m_actions.value(code); }
    // The action is shown to the logged-in operator (the role's right).
    bool isActionVisible(int code) const;
    // Runs the action as the menu would; false when it is disabled or hidden.
    bool runAction(int code);

    // Registry shortcuts that also enable the action at once.
    void registerWindow(int actionCode, const QString& windowClass, const WindowRegistry::Factory& factory);
    void registerHandler(int actionCode, const WindowRegistry::Handler& handler);
    // Enables every action that has something registered, disables the others.
    void refreshActions();

    // Open-or-raise: the one instance of the window class is brought to the front
    // (restored when minimised); without one, a new instance is made by the
    // factory registered for the class (or the one given) and shown as an MDI child.
    QWidget* openOrRaise(const QString& windowClass);
    QWidget* openOrRaise(const QString& windowClass, const WindowRegistry::Factory& factory);
    template <class T> T* openOrRaise(const QString& windowClass) { return qobject_cast<T*>(openOrRaise(windowClass)); }
    QWidget* findWindow(const QString& windowClass) const;
    QList<QWidget*> childWindows() const;
    // Closes every child, last to first; false when one refused to close.
    bool closeAllChildren();

    // Applies the session's role to actions, menus, navigation groups and tool buttons.
    void SetLimits();
    // After a successful login: SetLimits and the status bar panels.
    void applySession();
    // The login in re-login mode; true when another operator logged in.
    bool relogin();

    // Status bar panel text, 0 to 4.
    QString statusPanelText(int index) const;
    void setStatusPanelText(int index, const QString& text);
    // The clock's tick (Timer1), exposed for tests.
    void updateClock();

    // Exit-time backup: the maintenance window sets this hook; until it is set,
    // no backup is offered at exit.
    using ExitBackup = std::function<void(QWidget* parent)>;
    static void setExitBackup(const ExitBackup& hook);

    // How the auxiliary functions start programs and open pages; tests replace them.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    using UrlOpener = std::function<bool(const QUrl& url)>;
    static void setLauncher(const Launcher& launcher);
    static void setUrlOpener(const UrlOpener& opener);
    // Opens a page or a mail address with the desktop's handler.
    static bool openUrl(const QUrl& url);
    // The first installed program of the candidates; empty when none is.
    static QString findProgram(const QStringList& candidates);
    static QStringList calculatorPrograms();
    static QStringList textEditorPrograms();
    // The help page: help/index.html beside the program, else the copy in the resources.
    static QString helpFile();

    void tileHorizontally();
    void tileVertically();
    void openHelp();
    void startCalculator();
    void startTextEditor();
    void showAbout();

signals:
    void sessionApplied();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createNavBar();
    void createStatusBar();
    QAction* proxyFor(int code, const QString& text, const QString& objectName);
    QAction* makeAction(const QString& objectName, const QString& text, const QString& iconName = QString());
    void fillWindowMenu();
    void saveGeometryToConfig();
    void restoreGeometryFromConfig();
    void tile(Qt::Orientation orientation);
    void startProgram(const QStringList& candidates, const QString& missingText);
    QMdiSubWindow* subWindowOf(const QString& windowClass) const;

    QMdiArea* m_mdi = nullptr;
    NavGroupBar* m_nav = nullptr;
    QToolBar* m_toolBar = nullptr;
    TFrmBtnImage* m_desktop = nullptr;
    QTimer* m_timer = nullptr;
    QHash<int, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_importMenu = nullptr;
    QList<QAction*> m_windowMenuFixed;
    QLabel* m_panels[5] = {};
    bool m_shownOnce = false;
};
