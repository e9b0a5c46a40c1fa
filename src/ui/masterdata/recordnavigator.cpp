#include "recordnavigator.h"

#include "data/datagrid.h"
#include "gridrecords.h"

#include <QAction>

int GridRecordNavigator::rowCount() const
{
    return navigatorGrid()->rowCount();
}

int GridRecordNavigator::currentRow() const
{
    return navigatorGrid()->currentRow();
}

void GridRecordNavigator::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    navigatorGrid()->setCurrentRow(row);
    currentRowMoved();
}

QSqlRecord GridRecordNavigator::recordAt(int row) const
{
    return GridRecords::recordAt(navigatorGrid(), row);
}

void GridRecordNavigator::reopenAt(const QString& code)
{
    search();
    setCurrentRow(GridRecords::rowOf(navigatorGrid(), QStringLiteral("F_Code"), code));
}

void GridRecordNavigator::setNavigationActions(
    QAction* first, QAction* prior, QAction* next, QAction* last, const QList<QAction*>& rowActions)
{
    m_navFirst = first;
    m_navPrior = prior;
    m_navNext = next;
    m_navLast = last;
    m_navRowActions = rowActions;
}

void GridRecordNavigator::updateNavigation()
{
    const int n = rowCount(), r = currentRow();
    const bool back = n > 0 && r > 0;
    const bool forward = n > 0 && r < n - 1;
    for (QAction* a : {m_navFirst, m_navPrior})
        if (a)
            a->setEnabled(back);
    for (QAction* a : {m_navNext, m_navLast})
        if (a)
            a->setEnabled(forward);
    for (QAction* a : m_navRowActions)
        a->setEnabled(n > 0);
}
