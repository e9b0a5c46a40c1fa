#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>

class DataGrid;
class QAction;

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

// A list shown in a DataGrid: the navigator moves through the grid's rows, and
// reopening runs the list's search again.
class GridRecordNavigator : public RecordNavigator
{
public:
    int rowCount() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    QSqlRecord recordAt(int row) const override;
    void reopenAt(const QString& code) override;

    // Re-runs the list's statement.
    virtual void search() = 0;

protected:
    virtual DataGrid* navigatorGrid() const = 0;
    // Called after the current row was moved; the navigation actions follow it.
    virtual void currentRowMoved() { updateNavigation(); }

    // The tool bar actions that follow the current row; rowActions need any row.
    void setNavigationActions(
        QAction* first, QAction* prior, QAction* next, QAction* last, const QList<QAction*>& rowActions);
    void updateNavigation();

private:
    QAction* m_navFirst = nullptr;
    QAction* m_navPrior = nullptr;
    QAction* m_navNext = nullptr;
    QAction* m_navLast = nullptr;
    QList<QAction*> m_navRowActions;
};
