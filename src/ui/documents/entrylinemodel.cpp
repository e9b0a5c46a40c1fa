#include "entrylinemodel.h"

#include "data/dates.h"
#include "documents/lineediting.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>

EntryLineModel::EntryLineModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

void EntryLineModel::setColumns(const QList<EntryLineColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

int EntryLineModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString EntryLineModel::fieldAt(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns.at(column).field : QString();
}

void EntryLineModel::setDocumentHeader(const Document& header)
{
    m_header = header;
    m_header.lines.clear();
}

void EntryLineModel::setLines(const QList<DocumentLine>& lines)
{
    beginResetModel();
    m_lines = lines;
    endResetModel();
    emit linesChanged();
}

void EntryLineModel::replaceLine(int row, const DocumentLine& line)
{
    if (row < 0 || row >= m_lines.size())
        return;
    m_lines[row] = line;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit linesChanged();
}

int EntryLineModel::appendLine(const DocumentLine& line)
{
    const int row = int(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.append(line);
    endInsertRows();
    emit linesChanged();
    return row;
}

void EntryLineModel::removeLine(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows({}, row, row);
    m_lines.removeAt(row);
    endRemoveRows();
    emit linesChanged();
}

Document EntryLineModel::document() const
{
    Document d = m_header;
    d.lines = m_lines;
    return d;
}

void EntryLineModel::setEditable(bool editable)
{
    if (m_editable == editable)
        return;
    m_editable = editable;
    if (!m_lines.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

double EntryLineModel::columnSum(const QString& field) const
{
    double s = 0;
    for (const DocumentLine& l : m_lines)
        s += EntryLineFields::value(l, field).toDouble();
    return s;
}

int EntryLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int EntryLineModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant EntryLineModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size() || index.column() >= m_columns.size())
        return {};
    const DocumentLine& l = m_lines.at(index.row());
    const EntryLineColumn& col = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = EntryLineFields::value(l, col.field);
        if (EntryLineFields::isDate(col.field)) {
            const QDate d = v.toDate();
            return d.isValid() && !Dates::isBlank(d) ? Dates::formatDate(d) : QString();
        }
        if (EntryLineFields::isNumeric(col.field)) {
            if (v.isNull())
                return QString();
            return m_format ? m_format(col.field, v.toDouble()) : QString::number(v.toDouble(), 'g', 15);
        }
        return v;
    }
    case Qt::EditRole: {
        const QVariant v = EntryLineFields::value(l, col.field);
        if (EntryLineFields::isDate(col.field))
            return v.toDate().isValid() ? Dates::formatDate(v.toDate()) : QString();
        if (EntryLineFields::isNumeric(col.field))
            return v.isNull() ? QString() : QString::number(v.toDouble(), 'g', 15);
        return v;
    }
    case Qt::TextAlignmentRole:
        if (col.alignment == 2 || (col.alignment == 0 && EntryLineFields::isNumeric(col.field)))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (col.alignment == 1)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        // Returned goods stand out: negative quantities (as whole numbers) are red.
        if (std::round(l.amount) < 0)
            return QBrush(Qt::red);
        return {};
    case Qt::BackgroundRole:
        if (std::round(l.amount) < 0)
            return QGuiApplication::palette().brush(QPalette::Button);
        return {};
    default:
        return {};
    }
}

bool EntryLineModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString field = m_columns.at(index.column()).field;
    DocumentLine l = m_lines.at(index.row());
    if (EntryLineFields::value(l, field) == value)
        return true;
    if (!EntryLineFields::setValue(l, field, value))
        return false;
    Document doc = m_header;
    QString err;
    const QString f = field.toLower();
    bool ok = true;
    if (f == QLatin1String("f_amount"))
        ok = LineEditing::amountChanged(doc, l, &err);
    else if (f == QLatin1String("f_price"))
        LineEditing::priceChanged(doc, l);
    else if (f == QLatin1String("f_curamount") || f == QLatin1String("f_sjamount"))
        ok = LineEditing::countChanged(doc, l, &err);
    m_lines[index.row()] = l;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    emit linesChanged();
    if (!ok && !err.isEmpty())
        emit lookupFailed(err);
    return true;
}

QVariant EntryLineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).caption;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags EntryLineModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const EntryLineColumn& col = m_columns.at(index.column());
    // Whatever the stored layout says, the goods' own fields stay as the goods master has them.
    if (m_editable && !EntryLineFields::isGoodsDescriptive(col.field))
        f |= Qt::ItemIsEditable;
    return f;
}
