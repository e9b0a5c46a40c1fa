#include "windowregistry.h"

QHash<int, WindowRegistry::Entry>& WindowRegistry::entries()
{
    static QHash<int, Entry> map;
    return map;
}

void WindowRegistry::registerWindow(int actionCode, const QString& windowClass, const Factory& factory)
{
    entries().insert(actionCode, Entry {windowClass, factory, {}});
}

void WindowRegistry::registerHandler(int actionCode, const Handler& handler)
{
    entries().insert(actionCode, Entry {QString(), {}, handler});
}

void WindowRegistry::unregister(int actionCode)
{
    entries().remove(actionCode);
}

void WindowRegistry::clear()
{
    entries().clear();
}

bool WindowRegistry::has(int actionCode)
{
    const auto it = entries().constFind(actionCode);
    return it != entries().cend() && (it->factory || it->handler);
}

QString WindowRegistry::windowClass(int actionCode)
{
    return entries().value(actionCode).windowClass;
}

WindowRegistry::Factory WindowRegistry::factory(int actionCode)
{
    return entries().value(actionCode).factory;
}

WindowRegistry::Factory WindowRegistry::factoryForClass(const QString& windowClass)
{
    for (const Entry& e : std::as_const(entries()))
        if (e.factory && e.windowClass == windowClass)
            return e.factory;
    return {};
}

WindowRegistry::Handler WindowRegistry::handler(int actionCode)
{
    return entries().value(actionCode).handler;
}
