#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QWidget;

// What each numbered action of the main window runs. Issues that build a window
// register it here; an action with nothing registered stays disabled, so the
// program never offers a function that does not exist yet.
//
//  - registerWindow(code, "TFrmGoodGl", factory): the action opens an MDI child by
//    the open-or-raise rule; the factory makes a new instance (its parent is set
//    by the main window). Query and report windows can then open the same class
//    by name through TFrmMain::openOrRaise("TFrmGoodGl").
//  - registerHandler(code, handler): anything else (a modal window, a command, or
//    an MDI window that needs more work after opening, like 202/206 switching the
//    partner window between suppliers and clients).
//
// Registrations are collected in one place, registerProgramWindows() in
// windowcatalog.cpp, which the main window calls when it is created.
class WindowRegistry
{
public:
    using Factory = std::function<QWidget*()>;
    using Handler = std::function<void()>;

    static void registerWindow(int actionCode, const QString& windowClass, const Factory& factory);
    static void registerHandler(int actionCode, const Handler& handler);
    static void unregister(int actionCode);
    static void clear();

    static bool has(int actionCode);
    // The window class an action opens by open-or-raise; empty for handlers.
    static QString windowClass(int actionCode);
    static Factory factory(int actionCode);
    static Factory factoryForClass(const QString& windowClass);
    static Handler handler(int actionCode);

private:
    struct Entry
    {
        QString windowClass;
        Factory factory;
        Handler handler;
    };
    static QHash<int, Entry>& entries();
};
