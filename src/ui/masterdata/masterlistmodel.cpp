#include "masterlistmodel.h"

#include "data/datamodule.h"
#include "data/dates.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <QSqlQuery>
#include <algorithm>

MasterListModel::MasterListModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

void MasterListModel::loadLayout(const QString& gridKey)
{
    beginResetModel();
    m_columns.clear();
    QSqlQuery q(dm().db());
    if (dm().OpenQry(q,
            QStringLiteral("Select * from cfg_Grid Where (F_name = :key and F_fieldname <> '') order by "
                           "F_Order"),
            {{QStringLiteral("key"), gridKey}})) {
        while (q.next()) {
            GridColumnSeed c;
            c.field = q.value(QStringLiteral("F_fieldname")).toString();
            c.caption = q.value(QStringLiteral("F_Caption")).toString();
            c.width = q.value(QStringLiteral("F_Width")).toInt();
            c.visible = q.value(QStringLiteral("F_Visible")).toInt() != 0;
            c.footerType = q.value(QStringLiteral("F_FooterType")).toInt();
            c.footerValue = q.value(QStringLiteral("F_FooterValue")).toString();
            c.alignment = q.value(QStringLiteral("F_Alignment")).toInt();
            m_columns << c;
        }
    }
    if (m_columns.isEmpty())
        m_columns = MasterGridSeed::columns(gridKey);
    endResetModel();
}

int MasterListModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void MasterListModel::removeColumnOf(const QString& field)
{
    const int c = columnOf(field);
    if (c < 0)
        return;
    beginRemoveColumns(QModelIndex(), c, c);
    m_columns.removeAt(c);
    endRemoveColumns();
}

void MasterListModel::setDisplayFormat(const QString& field, int decimals)
{
    m_decimals.insert(field.toLower(), decimals);
}

bool MasterListModel::saveLayout(const QString& gridKey) const
{
    bool ok = true;
    for (int i = 0; i < m_columns.size(); ++i) {
        const GridColumnSeed& c = m_columns.at(i);
        ok = dm().ExecSql(QStringLiteral("update cfg_grid set F_caption = :cap,F_width = :w,F_visible = :v,F_order = "
                                         ":ord,F_alignMent = :al,F_footerValue = :fv,F_footerType = :ft where (F_name "
                                         "= :key and F_fieldname = :field) "),
                 {{QStringLiteral("cap"), c.caption}, {QStringLiteral("w"), c.width},
                     {QStringLiteral("v"), c.visible ? 1 : 0}, {QStringLiteral("ord"), i},
                     {QStringLiteral("al"), c.alignment}, {QStringLiteral("fv"), c.footerValue},
                     {QStringLiteral("ft"), c.footerType}, {QStringLiteral("key"), gridKey.toLower()},
                     {QStringLiteral("field"), c.field}})
            && ok;
    }
    return ok;
}

bool MasterListModel::open(const QString& sql, const QVariantMap& params)
{
    m_sql = sql;
    m_params = params;
    beginResetModel();
    m_rows.clear();
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    const bool ok = dm().OpenQry(q, sql, params);
    m_header = ok ? q.record() : QSqlRecord();
    if (ok)
        while (q.next())
            m_rows << q.record();
    endResetModel();
    return ok;
}

int MasterListModel::rowOf(const QString& field, const QVariant& value) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows.at(r).value(field).toString() == value.toString())
            return r;
    return -1;
}

bool MasterListModel::rowDisabled(int row) const
{
    return !m_disabledField.isEmpty() && m_rows.value(row).value(m_disabledField).toInt() != 0;
}

double MasterListModel::sum(const QString& field) const
{
    double s = 0;
    for (const QSqlRecord& r : m_rows)
        s += r.value(field).toDouble();
    return s;
}

ReportDataSet MasterListModel::dataSet() const
{
    QStringList names;
    for (int i = 0; i < m_header.count(); ++i)
        names << m_header.fieldName(i);
    ReportDataSet out(names);
    for (const QSqlRecord& r : m_rows) {
        QVariantList values;
        for (int i = 0; i < r.count(); ++i)
            values << r.value(i);
        out.addRow(values);
    }
    return out;
}

int MasterListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MasterListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant MasterListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const GridColumnSeed& c = m_columns.at(index.column());
    const QSqlRecord& r = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = r.value(c.field);
        if (v.isNull())
            return QString();
        if (c.field.startsWith(QLatin1String("F_RQ"), Qt::CaseInsensitive)) {
            const QDate d = Dates::toDate(v);
            return Dates::isBlank(d) ? QString() : Dates::formatDate(d);
        }
        const auto dec = m_decimals.constFind(c.field.toLower());
        if (dec != m_decimals.cend())
            return QString::number(v.toDouble(), 'f', *dec);
        return v.toString();
    }
    case Qt::TextAlignmentRole:
        return int((c.alignment == 2          ? Qt::AlignRight
                           : c.alignment == 1 ? Qt::AlignHCenter
                                              : Qt::AlignLeft)
            | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return rowDisabled(index.row()) ? QVariant(QBrush(Qt::red)) : QVariant();
    case Qt::BackgroundRole:
        return rowDisabled(index.row()) ? QVariant(QGuiApplication::palette().button()) : QVariant();
    default:
        return {};
    }
}

QVariant MasterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
        return m_columns.at(section).caption;
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void MasterListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const QString field = m_columns.at(column).field;
    // Remarks are not sorted.
    if (field.contains(QLatin1String("mem"), Qt::CaseInsensitive))
        return;
    const bool numeric = m_decimals.contains(field.toLower());
    emit layoutAboutToBeChanged();
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const QSqlRecord& a, const QSqlRecord& b) {
        const QVariant va = a.value(field), vb = b.value(field);
        const bool less = numeric ? va.toDouble() < vb.toDouble() : va.toString() < vb.toString();
        const bool greater = numeric ? vb.toDouble() < va.toDouble() : vb.toString() < va.toString();
        return order == Qt::AscendingOrder ? less : greater;
    });
    emit layoutChanged();
}
