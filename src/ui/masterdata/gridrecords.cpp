#include "gridrecords.h"

#include "data/datagrid.h"
#include "masterdata/mastergridseed.h"

#include <QSqlField>

QSqlRecord GridRecords::recordAt(const DataGrid* grid, int row)
{
    QSqlRecord r;
    const GridModel* m = grid->model();
    if (row < 0 || row >= m->rowCount())
        return r;
    for (int i = 0; i < m->fields().size(); ++i) {
        const QVariant v = m->value(row, i);
        QSqlField f(m->fields().at(i), v.metaType());
        f.setValue(v);
        r.append(f);
    }
    return r;
}

int GridRecords::rowOf(DataGrid* grid, const QString& field, const QString& value)
{
    grid->fetchAll();
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->value(r, field).toString() == value)
            return r;
    return -1;
}

ReportDataSet GridRecords::dataSet(DataGrid* grid)
{
    grid->fetchAll();
    const GridModel* m = grid->model();
    ReportDataSet out(m->fields());
    for (int r = 0; r < m->rowCount(); ++r) {
        QVariantList values;
        for (int i = 0; i < m->fields().size(); ++i)
            values << m->value(r, i);
        out.addRow(values);
    }
    return out;
}

QList<GridColumnDef> GridRecords::designedColumns(const QString& gridKey)
{
    QList<GridColumnDef> out;
    for (const GridColumnSeed& s : MasterGridSeed::columns(gridKey)) {
        GridColumnDef d;
        d.fieldName = s.field;
        d.caption = s.caption;
        d.width = s.width;
        d.visible = s.visible;
        d.footerType = s.footerType;
        d.footerValue = s.footerValue;
        d.alignment = s.alignment;
        out << d;
    }
    return out;
}
