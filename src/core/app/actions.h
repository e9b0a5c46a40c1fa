#pragma once

#include <QList>
#include <QString>

// The numbered actions of the main window: each code is also a right of the role system.
struct ActionInfo
{
    int code;
    QString category;
    QString caption;
    QString windowClass; // empty when the action opens no window of its own
    bool mdi; // opened by open-or-raise (an MDI child) rather than modally
};

namespace Actions {
const QList<ActionInfo>& all();
const ActionInfo* find(int code);
} // namespace Actions
