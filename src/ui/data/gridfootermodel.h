#pragma once

#include <QAbstractTableModel>

class GridModel;

// The one footer row under a data grid: per column a sum of its field, a fixed
// text, or nothing, in the column's display format and alignment.
class GridFooterModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit GridFooterModel(GridModel* rows, QObject* parent = nullptr);

    // The footer text of a column and its sum (0 unless the footer is a sum).
    QString text(int column) const;
    double sum(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void invalidate();

    GridModel* m_rows;
    mutable QList<double> m_sums;
    mutable bool m_dirty = true;
};
