#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlQuery;
class QAbstractItemModel;

// An in-memory table the report engine reads: column names and rows of values.
// Callers fill it from any query or model; names match without regard to case
// (PostgreSQL hands back lower-case column names).
class ReportDataSet
{
public:
    ReportDataSet() = default;
    explicit ReportDataSet(const QStringList& columns)
        : m_columns(columns)
    { }

    // Every row of an active select, from the first; the query's position is not kept.
    // A forward-only query must not have been read yet.
    static ReportDataSet fromQuery(QSqlQuery& query);
    // The display texts of a model's rows for the given columns.
    static ReportDataSet fromModel(
        const QAbstractItemModel& model, const QList<int>& columns, const QStringList& names);

    const QStringList& columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int columnIndex(const QString& name) const;
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString& column) const;
    void addColumn(const QString& name);
    void addRow(const QVariantList& values);
    const QVariantList& row(int r) const { return m_rows.at(r); }

private:
    QStringList m_columns;
    QList<QVariantList> m_rows;
};
