#include "recordnavigator.h"

#include "data/datagrid.h"
#include "gridrecords.h"

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
