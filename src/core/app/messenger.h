#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Every message to the user goes through a Messenger. Core code never shows a
// window: the program installs a message-box implementation, tests a scripted one.
class Messenger
{
public:
    enum Kind { Information = 0, Question = 1, Warning = 2, Error = 3 };
    enum Answer { Yes = 1, No = 2 };

    virtual ~Messenger() = default;
    // Kind 1 returns 1 (yes) or 2 (no); other kinds return 0.
    virtual int showMess(const QString& text, int kind) = 0;

    static Messenger* instance();
    // Does not take ownership; nullptr restores the default (stderr) messenger.
    static void setInstance(Messenger* messenger);
};

// Shortcut used throughout the program, after the library function of the same name.
int ShowMess(const QString& text, int kind);

// Writes messages to stderr and answers questions with "no".
class StderrMessenger : public Messenger
{
public:
    int showMess(const QString& text, int kind) override;
};

// Records every message and answers questions from a queue (default: no).
// Installs itself on construction and restores the previous messenger when destroyed.
class ScriptedMessenger : public Messenger
{
public:
    ScriptedMessenger();
    ~ScriptedMessenger() override;

    int showMess(const QString& text, int kind) override;

    void setNextAnswer(int answer) { m_answers.append(answer); }
    void setDefaultAnswer(int answer) { m_defaultAnswer = answer; }
    void clear() { m_messages.clear(); }

    const QList<QPair<QString, int>>& messages() const { return m_messages; }
    QStringList texts() const;
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().first; }
    int lastKind() const { return m_messages.isEmpty() ? -1 : m_messages.last().second; }
    int count() const { return int(m_messages.size()); }

private:
    QList<QPair<QString, int>> m_messages;
    QList<int> m_answers;
    int m_defaultAnswer = Messenger::No;
    Messenger* m_previous = nullptr;
};
