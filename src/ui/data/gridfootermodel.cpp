#include "gridfootermodel.h"

#include "data/gridformat.h"
#include "gridmodel.h"

#include <QBrush>
#include <QColor>

GridFooterModel::GridFooterModel(GridModel* rows, QObject* parent)
    : QAbstractTableModel(parent)
    , m_rows(rows)
{
    connect(rows, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(rows, &QAbstractItemModel::modelReset, this, [this] {
        m_dirty = true;
        endResetModel();
    });
    connect(rows, &QAbstractItemModel::headerDataChanged, this, [this] { invalidate(); });
    connect(rows, &QAbstractItemModel::dataChanged, this, [this] { invalidate(); });
    connect(rows, &QAbstractItemModel::rowsInserted, this, [this] { invalidate(); });
    connect(rows, &QAbstractItemModel::rowsRemoved, this, [this] { invalidate(); });
}

void GridFooterModel::invalidate()
{
    m_dirty = true;
    if (columnCount() > 0)
        emit dataChanged(index(0, 0), index(0, columnCount() - 1));
}

double GridFooterModel::sum(int column) const
{
    if (column < 0 || column >= m_rows->columns().size())
        return 0;
    if (m_dirty) {
        m_sums.clear();
        for (const GridColumnDef& c : m_rows->columns())
            m_sums << (c.footerType == GridColumnDef::FooterSum ? m_rows->sum(c.fieldName) : 0.0);
        m_dirty = false;
    }
    return m_sums.value(column);
}

QString GridFooterModel::text(int column) const
{
    if (column < 0 || column >= m_rows->columns().size())
        return {};
    const GridColumnDef& c = m_rows->columns().at(column);
    if (c.footerType == GridColumnDef::FooterText)
        return c.footerValue;
    if (c.footerType == GridColumnDef::FooterSum)
        return GridFormat::formatNumber(sum(column), c.displayFormat);
    return {};
}

int GridFooterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

int GridFooterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows->columns().size());
}

QVariant GridFooterModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_rows->alignment(index.column()));
    case Qt::BackgroundRole:
        return QBrush(QColor(0, 255, 255)); // aqua, as the lists have always had it
    default:
        return {};
    }
}
