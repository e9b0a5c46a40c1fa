#include "messenger.h"

#include <cstdio>

namespace {
StderrMessenger g_stderrMessenger;
Messenger* g_messenger = nullptr;
} // namespace

Messenger* Messenger::instance()
{
    return g_messenger ? g_messenger : &g_stderrMessenger;
}

void Messenger::setInstance(Messenger* messenger)
{
    g_messenger = messenger;
}

int ShowMess(const QString& text, int kind)
{
    return Messenger::instance()->showMess(text, kind);
}

int StderrMessenger::showMess(const QString& text, int kind)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return kind == Question ? No : 0;
}

ScriptedMessenger::ScriptedMessenger()
    : m_previous(g_messenger)
{
    Messenger::setInstance(this);
}

ScriptedMessenger::~ScriptedMessenger()
{
    if (g_messenger == this)
        Messenger::setInstance(m_previous);
}

int ScriptedMessenger::showMess(const QString& text, int kind)
{
    m_messages.append({text, kind});
    if (kind != Question)
        return 0;
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return m_defaultAnswer;
}

QStringList ScriptedMessenger::texts() const
{
    QStringList out;
    for (const auto& m : m_messages)
        out << m.first;
    return out;
}
