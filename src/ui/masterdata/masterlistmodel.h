#pragma once

#include "masterdata/mastergridseed.h"
#include "reportdataset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSqlRecord>
#include <QVariantMap>

// The rows of a master-data list, held client-side like a static cursor, shown
// through the grid key's column layout (cfg_grid, else the designed columns).
class MasterListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit MasterListModel(QObject* parent = nullptr);

    // Columns from cfg_grid for the key, or the designed ones when it has none.
    void loadLayout(const QString& gridKey);
    QList<GridColumnSeed>& columns() { return m_columns; }
    const QList<GridColumnSeed>& columns() const { return m_columns; }
    int columnOf(const QString& field) const; // -1 when absent
    void removeColumnOf(const QString& field);
    void setDisplayFormat(const QString& field, int decimals);
    // Writes the current columns back to cfg_grid (existing rows only).
    bool saveLayout(const QString& gridKey) const;

    // Runs the statement; false (message shown) on a database error.
    bool open(const QString& sql, const QVariantMap& params);
    bool reopen() { return open(m_sql, m_params); }
    QSqlRecord recordAt(int row) const { return m_rows.value(row); }
    int rowOf(const QString& field, const QVariant& value) const;
    // The field that marks a row as disabled (drawn in red).
    void setDisabledField(const QString& field) { m_disabledField = field; }
    bool rowDisabled(int row) const;
    double sum(const QString& field) const;
    // Every field of every row, for the report engine.
    ReportDataSet dataSet() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    QList<GridColumnSeed> m_columns;
    QHash<QString, int> m_decimals;
    QList<QSqlRecord> m_rows;
    QSqlRecord m_header;
    QString m_sql;
    QVariantMap m_params;
    QString m_disabledField;
};
