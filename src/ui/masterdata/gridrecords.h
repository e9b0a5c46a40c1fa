#pragma once

#include "data/gridlayout.h"
#include "reportdataset.h"

#include <QList>
#include <QSqlRecord>
#include <QString>

class DataGrid;

// What the master-data windows read from their data grids: a row as a record,
// the row of a code, all rows for the report engine, the designed columns.
class GridRecords
{
public:
    static QSqlRecord recordAt(const DataGrid* grid, int row);
    // The first row whose field equals value (every row is read first); -1 when none.
    static int rowOf(DataGrid* grid, const QString& field, const QString& value);
    // Every field of every row.
    static ReportDataSet dataSet(DataGrid* grid);
    // The designed columns of a grid key (used when cfg_grid has none).
    static QList<GridColumnDef> designedColumns(const QString& gridKey);
};
