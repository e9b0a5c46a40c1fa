#include "entrystocktable.h"

#include "data/connection.h"
#include "reports/worktables.h"

EntryStockTable::EntryStockTable(Connection& connection)
    : m_connection(connection)
{ }

bool EntryStockTable::run(const QString& sql, const QString& goodsCode)
{
    if (m_connection.exec(sql, {{QStringLiteral("goodsCode"), goodsCode}}))
        return true;
    m_error = m_connection.errorString();
    return false;
}

bool EntryStockTable::clear()
{
    if (m_connection.exec(QStringLiteral("delete from tempGood")))
        return true;
    m_error = m_connection.errorString();
    return false;
}

bool EntryStockTable::fill(const QString& goodsCode, int costingMode)
{
    m_error.clear();
    const QString insert = QStringLiteral("insert into tempGood(F_code,F_dept,F_amount,F_price,F_totalPrice,F_flag) ");
    if (!run(QStringLiteral("delete from tempGood where F_code = :goodsCode"), goodsCode))
        return false;
    // Opening stock: its value counts as both cost and value.
    if (!run(insert
                + QStringLiteral(
                    "select d.F_goodcode,d.F_depot,sum(d.F_Amount),sum(d.F_totalPrice),sum(d.F_totalPrice),0 "
                    "from t_begDept as d where d.F_goodcode = :goodsCode group by d.F_goodcode,d.F_depot"),
            goodsCode))
        return false;
    // Until valuation F_price carries the summed cost and F_totalPrice the summed line amount.
    for (WorkTables::LineClass c : WorkTables::allClasses()) {
        const WorkTables::ClassSql s = WorkTables::lineClass(c);
        const QString sql = insert + QStringLiteral("select d.F_goodcode,") + s.depot + QStringLiteral(",sum")
            + s.signedColumn(QStringLiteral("d.F_Amount")) + QStringLiteral(",sum")
            + s.signedColumn(QStringLiteral("d.F_CBprice")) + QStringLiteral(",sum")
            + s.signedColumn(QStringLiteral("d.F_totalPrice")) + QStringLiteral(",0 from ")
            + WorkTables::documentSource() + QStringLiteral("Where ") + s.where
            + QStringLiteral("and d.F_goodcode = :goodsCode group by d.F_goodcode,") + s.depot;
        if (!run(sql, goodsCode))
            return false;
    }
    if (!run(insert
                + QStringLiteral(
                    "select F_code,F_dept,sum(COALESCE(F_amount,0)),sum(COALESCE(F_price,0)),"
                    "sum(COALESCE(F_totalPrice,0)),1 from tempGood where F_flag = 0 and F_code = :goodsCode "
                    "group by F_code,F_dept"),
            goodsCode))
        return false;
    if (!run(QStringLiteral("delete from tempGood where F_code = :goodsCode and ((F_flag = 0)or(F_amount = 0 and "
                            "F_price = 0 and F_totalPrice = 0))"),
            goodsCode))
        return false;
    QString valuate;
    if (costingMode == 0)
        valuate
            = QStringLiteral("update tempGood set F_price = (select g.F_enterPrice from t_goods as g where g.F_code = "
                             ":goodsCode), F_totalPrice = F_amount * (select g.F_enterPrice from t_goods as g where "
                             "g.F_code = :goodsCode) where F_code = :goodsCode");
    else if (costingMode == 1)
        valuate = QStringLiteral("update tempGood set F_totalPrice = F_price, F_price = ")
            + WorkTables::unitValue(QStringLiteral("F_price"), QStringLiteral("F_amount"))
            + QStringLiteral(" where F_code = :goodsCode");
    else
        valuate = QStringLiteral("update tempGood set F_price = ")
            + WorkTables::unitValue(QStringLiteral("F_totalPrice"), QStringLiteral("F_amount"))
            + QStringLiteral(" where F_code = :goodsCode");
    return run(valuate, goodsCode);
}
