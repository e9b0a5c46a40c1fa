#pragma once

#include "data/gridlayout.h"
#include "data/sqlparams.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QSqlQuery>
#include <QStringList>
#include <functional>
#include <memory>

// The rows of a data grid and its columns. Rows come from a query, read forward
// in batches as the view needs them (SQLite cannot tell the row count up front),
// or are held in memory and edited in place (document lines). Each model column
// is one grid column bound to a field by name, matched without regard to case
// because PostgreSQL returns names in lower case.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Colours a row: set text and/or background; leave them invalid for the default.
    using RowColorHook = std::function<void(int row, QColor& text, QColor& background)>;

    explicit GridModel(QObject* parent = nullptr);
    ~GridModel() override;

    // Columns
    void setColumns(const QList<GridColumnDef>& columns);
    const QList<GridColumnDef>& columns() const { return m_columns; }
    int columnOf(const QString& fieldName) const;
    void updateColumn(int column, const GridColumnDef& def);
    // The effective alignment of a column (its own, else right for numbers, left for text).
    Qt::Alignment alignment(int column) const;

    // Rows
    // Runs the select on the data module's connection; false with errorString() on failure.
    bool openQuery(const QString& sql, const SqlParams& params = {});
    // In-memory rows; fields name the values of each row.
    void setRows(const QStringList& fields, const QList<QVariantList>& rows);
    void clear();
    bool isOpen() const { return m_open; }
    QString errorString() const { return m_error; }
    const QStringList& fields() const { return m_fields; }
    int fieldIndex(const QString& fieldName) const;
    // Reads every row that is still in the query.
    void fetchAll();
    bool allFetched() const { return !m_query; }
    // Reads up to n more rows; returns how many came.
    int fetchRows(int n);

    int appendRow(const QVariantList& values = {});
    void insertRowAt(int row, const QVariantList& values = {});
    bool removeRowAt(int row);

    QVariant value(int row, const QString& fieldName) const;
    QVariant value(int row, int fieldIndex) const;
    bool setValue(int row, const QString& fieldName, const QVariant& v);
    QVariant cell(int row, int column) const;

    // Sorts the rows held (all are read first) by a field; nulls come first ascending.
    void sortByField(const QString& fieldName, Qt::SortOrder order);
    // Sum of a field over all rows held; numeric text counts.
    double sum(const QString& fieldName) const;

    void setEditable(bool on) { m_editable = on; }
    bool editable() const { return m_editable; }
    void setRowColorHook(RowColorHook hook);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    void fetchedAll();

private:
    void bindColumns();
    void finishQuery();

    QList<GridColumnDef> m_columns;
    QList<int> m_columnField; // field index per column, -1 when the field is missing
    QStringList m_fields;
    QList<QVariantList> m_rows;
    std::unique_ptr<QSqlQuery> m_query;
    bool m_open = false;
    bool m_editable = false;
    QString m_error;
    RowColorHook m_rowColor;
};
