#include "gridmodel.h"

#include "data/datamodule.h"
#include "data/gridformat.h"

#include <QCollator>
#include <QDateTime>
#include <QLocale>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>
#include <optional>
#include <vector>

namespace {
constexpr int gmFetchBatch = 256;

int gmCompare(const QVariant& a, const QVariant& b)
{
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    double da = 0, db = 0;
    if (GridFormat::isNumber(a, false, &da) && GridFormat::isNumber(b, false, &db))
        return da < db ? -1 : (da > db ? 1 : 0);
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() < b.toDateTime() ? -1 : (a.toDateTime() > b.toDateTime() ? 1 : 0);
    return a.toString().compare(b.toString());
}
} // namespace

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

GridModel::~GridModel() = default;

void GridModel::setColumns(const QList<GridColumnDef>& columns)
{
    beginResetModel();
    m_columns = columns;
    bindColumns();
    endResetModel();
}

void GridModel::bindColumns()
{
    m_columnField.clear();
    for (const GridColumnDef& c : m_columns)
        m_columnField << fieldIndex(c.fieldName);
}

int GridModel::columnOf(const QString& fieldName) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void GridModel::updateColumn(int column, const GridColumnDef& def)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const bool fieldChanged = m_columns.at(column).fieldName != def.fieldName;
    m_columns[column] = def;
    if (fieldChanged)
        m_columnField[column] = fieldIndex(def.fieldName);
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, column), index(int(m_rows.size()) - 1, column));
}

Qt::Alignment GridModel::alignment(int column) const
{
    const int a = m_columns.at(column).alignment;
    if (a == GridColumnDef::AlignLeft)
        return Qt::AlignLeft | Qt::AlignVCenter;
    if (a == GridColumnDef::AlignCenter)
        return Qt::AlignCenter;
    if (a == GridColumnDef::AlignRight)
        return Qt::AlignRight | Qt::AlignVCenter;
    // Default: numbers to the right, like every spreadsheet.
    const int f = m_columnField.value(column, -1);
    if (f >= 0) {
        for (int r = 0; r < qMin<qsizetype>(m_rows.size(), 16); ++r) {
            const QVariant& v = m_rows.at(r).at(f);
            if (!v.isNull())
                return GridFormat::isNumber(v) ? (Qt::AlignRight | Qt::AlignVCenter)
                                               : (Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    return m_columns.at(column).displayFormat.isEmpty() ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                        : (Qt::AlignRight | Qt::AlignVCenter);
}

bool GridModel::openQuery(const QString& sql, const SqlParams& params)
{
    beginResetModel();
    m_query.reset();
    m_rows.clear();
    m_fields.clear();
    m_open = false;
    m_error.clear();
    auto q = std::make_unique<QSqlQuery>(dm().db());
    // SQLite steps a forward-only statement as rows are read, while other statements
    // run beside it. PostgreSQL's driver would stream it in single-row mode and the
    // next statement on the connection would cut it short, so there the driver
    // takes the whole result at once and rows are copied over as needed.
    q->setForwardOnly(!dm().connection().isPostgres());
    if (!Sql::exec(*q, sql, params)) {
        m_error = q->lastError().text();
        bindColumns();
        endResetModel();
        return false;
    }
    const QSqlRecord rec = q->record();
    for (int i = 0; i < rec.count(); ++i)
        m_fields << rec.fieldName(i);
    m_query = std::move(q);
    m_open = true;
    bindColumns();
    // The first screenful right away; the view asks for more as it scrolls.
    const int want = gmFetchBatch;
    while (m_rows.size() < want && m_query) {
        if (!m_query->next()) {
            finishQuery();
            break;
        }
        QVariantList row;
        row.reserve(m_fields.size());
        for (int i = 0; i < m_fields.size(); ++i)
            row << m_query->value(i);
        m_rows << row;
    }
    endResetModel();
    if (!m_query)
        emit fetchedAll();
    return m_error.isEmpty();
}

void GridModel::finishQuery()
{
    if (!m_query)
        return;
    if (m_query->lastError().isValid())
        m_error = m_query->lastError().text();
    m_query->finish();
    m_query.reset();
}

void GridModel::setRows(const QStringList& fields, const QList<QVariantList>& rows)
{
    beginResetModel();
    m_query.reset();
    m_fields = fields;
    m_rows = rows;
    for (QVariantList& r : m_rows) {
        while (r.size() < m_fields.size())
            r << QVariant();
    }
    m_open = true;
    m_error.clear();
    bindColumns();
    endResetModel();
    emit fetchedAll();
}

void GridModel::clear()
{
    beginResetModel();
    m_query.reset();
    m_rows.clear();
    m_fields.clear();
    m_open = false;
    bindColumns();
    endResetModel();
}

int GridModel::fieldIndex(const QString& fieldName) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int GridModel::fetchRows(int n)
{
    if (!m_query || n <= 0)
        return 0;
    QList<QVariantList> more;
    more.reserve(n);
    const int nf = int(m_fields.size());
    while (more.size() < n) {
        if (!m_query->next()) {
            finishQuery();
            break;
        }
        QVariantList row;
        row.reserve(nf);
        for (int i = 0; i < nf; ++i)
            row << m_query->value(i);
        more << row;
    }
    if (!more.isEmpty()) {
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(more.size()) - 1);
        m_rows += more;
        endInsertRows();
    }
    if (!m_query)
        emit fetchedAll();
    return int(more.size());
}

void GridModel::fetchAll()
{
    while (m_query)
        fetchRows(8192);
}

int GridModel::appendRow(const QVariantList& values)
{
    const int r = int(m_rows.size());
    insertRowAt(r, values);
    return r;
}

void GridModel::insertRowAt(int row, const QVariantList& values)
{
    fetchAll();
    row = qBound(0, row, int(m_rows.size()));
    QVariantList v = values;
    while (v.size() < m_fields.size())
        v << QVariant();
    beginInsertRows({}, row, row);
    m_rows.insert(row, v);
    endInsertRows();
}

bool GridModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    return true;
}

QVariant GridModel::value(int row, const QString& fieldName) const
{
    return value(row, fieldIndex(fieldName));
}

QVariant GridModel::value(int row, int f) const
{
    if (row < 0 || row >= m_rows.size() || f < 0 || f >= m_fields.size())
        return {};
    return m_rows.at(row).at(f);
}

bool GridModel::setValue(int row, const QString& fieldName, const QVariant& v)
{
    const int f = fieldIndex(fieldName);
    if (row < 0 || row >= m_rows.size() || f < 0)
        return false;
    m_rows[row][f] = v;
    for (int c = 0; c < m_columnField.size(); ++c) {
        if (m_columnField.at(c) == f)
            emit dataChanged(index(row, c), index(row, c));
    }
    return true;
}

QVariant GridModel::cell(int row, int column) const
{
    return value(row, m_columnField.value(column, -1));
}

void GridModel::sortByField(const QString& fieldName, Qt::SortOrder order)
{
    const int f = fieldIndex(fieldName);
    if (f < 0)
        return;
    fetchAll();
    const qsizetype n = m_rows.size();
    bool allNumbers = true;
    for (const QVariantList& r : m_rows) {
        const QVariant& v = r.at(f);
        if (!v.isNull() && !GridFormat::isNumber(v)) {
            allNumbers = false;
            break;
        }
    }
    // Text sorts the way people read it (Chinese by pinyin), through sort keys made
    // once per row so 100,000 rows stay quick.
    std::vector<std::optional<QCollatorSortKey>> keys;
    if (!allNumbers) {
        QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        keys.reserve(size_t(n));
        for (const QVariantList& r : m_rows) {
            const QVariant& v = r.at(f);
            if (v.isNull())
                keys.emplace_back(std::nullopt);
            else
                keys.emplace_back(collator.sortKey(GridFormat::displayText(v, QString())));
        }
    }
    auto compare = [&](qsizetype a, qsizetype b) -> int {
        if (allNumbers)
            return gmCompare(m_rows.at(a).at(f), m_rows.at(b).at(f));
        const auto& ka = keys[size_t(a)];
        const auto& kb = keys[size_t(b)];
        if (!ka || !kb)
            return bool(ka) == bool(kb) ? 0 : (ka ? 1 : -1);
        return ka->compare(*kb);
    };
    std::vector<qsizetype> idx(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        idx[size_t(i)] = i;
    std::stable_sort(idx.begin(), idx.end(), [&](qsizetype a, qsizetype b) {
        const int c = compare(a, b);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<QVariantList> sorted;
    sorted.reserve(n);
    for (qsizetype i : idx)
        sorted.append(std::move(m_rows[i]));
    m_rows = std::move(sorted);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

double GridModel::sum(const QString& fieldName) const
{
    const int f = fieldIndex(fieldName);
    if (f < 0)
        return 0;
    double s = 0;
    for (const QVariantList& r : m_rows) {
        double d = 0;
        if (GridFormat::isNumber(r.at(f), true, &d))
            s += d;
    }
    return s;
}

void GridModel::setRowColorHook(RowColorHook hook)
{
    m_rowColor = std::move(hook);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return GridFormat::displayText(cell(index.row(), index.column()), m_columns.at(index.column()).displayFormat);
    case Qt::EditRole:
        return cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(index.column()));
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
        if (m_rowColor) {
            QColor text, background;
            m_rowColor(index.row(), text, background);
            const QColor& c = role == Qt::ForegroundRole ? text : background;
            if (c.isValid())
                return c;
        }
        return {};
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int f = m_columnField.value(index.column(), -1);
    if (f < 0)
        return false;
    return setValue(index.row(), m_fields.at(f), value);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable && !m_columns.at(index.column()).readOnly && m_columnField.value(index.column(), -1) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns.at(section).caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

bool GridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_query != nullptr;
}

void GridModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid())
        fetchRows(gmFetchBatch);
}
