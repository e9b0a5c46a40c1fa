#include "worktables.h"

#include "data/connection.h"
#include "data/dates.h"

QString WorkTables::ClassSql::signedColumn(const QString& column) const
{
    return QLatin1Char('(') + sign + column + QLatin1Char(')');
}

WorkTables::ClassSql WorkTables::lineClass(LineClass c)
{
    switch (c) {
    case LineClass::A:
        return {QStringLiteral("m.F_depot"),
            QStringLiteral(
                "(COALESCE(d.F_flag,0) <> 1)and(COALESCE(m.F_flag,0) <> 12 and COALESCE(m.F_flag,0) <> 13) "),
            QStringLiteral("m.F_OperFlag * ")};
    case LineClass::B:
        return {QStringLiteral("m.F_client"),
            QStringLiteral("(COALESCE(d.F_flag,0) <> 1)and(COALESCE(m.F_flag,0) = 12 or COALESCE(m.F_flag,0) = 13) "),
            QStringLiteral("m.F_OperFlag * ")};
    case LineClass::C:
        return {QStringLiteral("m.F_depot"), QStringLiteral("(COALESCE(d.F_flag,0) = 1) "),
            QStringLiteral("-m.F_OperFlag * ")};
    case LineClass::D:
        return {QStringLiteral("m.F_client"), QStringLiteral("(COALESCE(m.F_flag,0) = 10) "), QStringLiteral("-")};
    }
    return {};
}

WorkTables::ClassSql WorkTables::lineClassesABC()
{
    return {QStringLiteral("(case when COALESCE(d.F_flag,0) = 1 then m.F_depot when COALESCE(m.F_flag,0) = 12 or "
                           "COALESCE(m.F_flag,0) = 13 then m.F_client else m.F_depot end)"),
        QStringLiteral("(1=1) "),
        QStringLiteral("(case when COALESCE(d.F_flag,0) = 1 then -1 else 1 end) * m.F_OperFlag * ")};
}

QString WorkTables::dateLimit(const QDate& from, const QDate& to, SqlParams& params, const QString& column)
{
    const QString col = column.isEmpty() ? QStringLiteral("m.F_MakeDate") : column;
    QString out;
    if (from.isValid()) {
        out += QStringLiteral("and ") + col + QStringLiteral(" >= :dateFrom ");
        params.insert(QStringLiteral("dateFrom"), Dates::sqlDate(from));
    }
    if (to.isValid()) {
        out += QStringLiteral("and ") + col + QStringLiteral(" <= :dateTo ");
        params.insert(QStringLiteral("dateTo"), Dates::sqlDate(to));
    }
    return out;
}

QString WorkTables::goodsInUse(const QString& codeColumn, bool nullCountsAsInUse)
{
    return codeColumn
        + (nullCountsAsInUse ? QStringLiteral(" in (select F_code from t_goods where COALESCE(F_flag,0) = 0)")
                             : QStringLiteral(" in (select F_code from t_goods where F_flag = 0)"));
}

QString WorkTables::unitValue(const QString& value, const QString& quantity)
{
    return QStringLiteral("(") + value + QStringLiteral("/(case when ") + quantity + QStringLiteral(" = 0 then 1 else ")
        + quantity + QStringLiteral(" end))");
}

WorkTables::WorkTables(Connection& connection)
    : m_connection(connection)
{ }

bool WorkTables::exec(const QString& sql, const SqlParams& params)
{
    if (!m_connection.exec(sql, params)) {
        m_error = m_connection.errorString();
        return false;
    }
    ++m_step;
    if (m_progress)
        m_progress(m_step);
    return true;
}

bool WorkTables::clear(const QString& table)
{
    return exec(QStringLiteral("delete from ") + table);
}

bool WorkTables::insertRaw(
    const QString& table, const QStringList& columns, const QString& select, const SqlParams& params)
{
    return exec(QStringLiteral("insert into ") + table + QLatin1Char('(') + columns.join(QLatin1Char(','))
            + QStringLiteral(") ") + select,
        params);
}

bool WorkTables::consolidate(const QString& table, const QStringList& keys, const QStringList& measures,
    const QString& where, const SqlParams& params)
{
    QStringList sums;
    for (const QString& m : measures)
        sums << QStringLiteral("sum(COALESCE(") + m + QStringLiteral(",0))");
    const QString keyList = keys.join(QLatin1Char(','));
    return exec(QStringLiteral("insert into ") + table + QLatin1Char('(') + keyList + QLatin1Char(',')
            + measures.join(QLatin1Char(',')) + QStringLiteral(",F_flag) select ") + keyList + QLatin1Char(',')
            + sums.join(QLatin1Char(',')) + QStringLiteral(",1 from ") + table + QStringLiteral(" where F_flag = 0 ")
            + where + QStringLiteral(" group by ") + keyList,
        params);
}

bool WorkTables::dropRaw(const QString& table, const QString& extraOr, const SqlParams& params)
{
    return exec(
        QStringLiteral("delete from ") + table + QStringLiteral(" where (F_flag = 0 ") + extraOr + QStringLiteral(") "),
        params);
}

bool WorkTables::valuate(const QString& table, const QString& codeColumn, const QList<Group>& groups, int costingMode)
{
    QStringList sets;
    for (const Group& g : groups) {
        if (costingMode == 0)
            sets << g.value + QStringLiteral(" = g.F_enterPrice * ") + table + QLatin1Char('.') + g.quantity;
        else if (costingMode == 1)
            sets << g.value + QStringLiteral(" = ") + g.cost;
    }
    if (sets.isEmpty())
        return true;
    if (costingMode == 0)
        return exec(QStringLiteral("update ") + table + QStringLiteral(" set ") + sets.join(QLatin1Char(','))
            + QStringLiteral(" from t_goods as g where ") + table + QLatin1Char('.') + codeColumn
            + QStringLiteral(" = g.F_code"));
    return exec(QStringLiteral("update ") + table + QStringLiteral(" set ") + sets.join(QLatin1Char(',')));
}
