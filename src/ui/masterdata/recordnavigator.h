#pragma once

#include <QSqlRecord>
#include <QString>

// What an edit window needs from the list it was opened from: the rows to move
// through with its navigator, and a way to reopen the list on a saved record.
class RecordNavigator
{
public:
    virtual ~RecordNavigator() = default;
    virtual int rowCount() const = 0;
    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;
    virtual QSqlRecord recordAt(int row) const = 0;
    // Re-runs the list's statement and moves to the row whose code is code.
    virtual void reopenAt(const QString& code) = 0;
};
