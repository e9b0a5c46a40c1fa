#include "reportdataset.h"

#include <QAbstractItemModel>
#include <QSqlQuery>
#include <QSqlRecord>

ReportDataSet ReportDataSet::fromQuery(QSqlQuery& query)
{
    ReportDataSet ds;
    const QSqlRecord rec = query.record();
    for (int i = 0; i < rec.count(); ++i)
        ds.m_columns << rec.fieldName(i);
    if (!query.isActive() || !query.isSelect())
        return ds;
    // A forward-only query can only be read once, from before its first row.
    const bool atFirst = query.isForwardOnly() ? (query.at() == QSql::BeforeFirstRow && query.next()) : query.first();
    if (atFirst) {
        do {
            QVariantList row;
            row.reserve(rec.count());
            for (int i = 0; i < rec.count(); ++i)
                row << query.value(i);
            ds.m_rows << row;
        } while (query.next());
    }
    return ds;
}

ReportDataSet ReportDataSet::fromModel(
    const QAbstractItemModel& model, const QList<int>& columns, const QStringList& names)
{
    ReportDataSet ds(names);
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantList row;
        for (int c : columns)
            row << model.index(r, c).data(Qt::DisplayRole).toString();
        ds.m_rows << row;
    }
    return ds;
}

int ReportDataSet::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant ReportDataSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_rows[row].size())
        return {};
    return m_rows[row][column];
}

QVariant ReportDataSet::value(int row, const QString& column) const
{
    return value(row, columnIndex(column));
}

void ReportDataSet::addColumn(const QString& name)
{
    m_columns << name;
    for (auto& r : m_rows)
        r << QVariant();
}

void ReportDataSet::addRow(const QVariantList& values)
{
    QVariantList r = values;
    while (r.size() < m_columns.size())
        r << QVariant();
    m_rows << r;
}
