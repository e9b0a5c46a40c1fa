#include "pickerstocktable.h"

#include "app/session.h"
#include "data/connection.h"
#include "worktables.h"

PickerStockTable::PickerStockTable(Connection& connection)
    : m_connection(connection)
{ }

bool PickerStockTable::build(int costingMode, const std::function<void(int)>& progress)
{
    WorkTables w(m_connection);
    w.setProgress(progress);
    const QString table = QStringLiteral("tempGood");
    const QStringList cols {QStringLiteral("F_code"), QStringLiteral("F_dept"), QStringLiteral("F_amount"),
        QStringLiteral("F_price"), QStringLiteral("F_totalPrice"), QStringLiteral("F_flag")};
    // Until valuation F_price carries the summed cost and F_totalPrice the summed line
    // amount. Every line becomes one raw row and the consolidation does all the summing:
    // grouping inside each source made both engines walk the goods index row by row.
    // Classes A, B and C share one pass over the lines; transfers add their class D rows.
    auto raw = [&](const WorkTables::ClassSql& s) {
        return w.insertRaw(table, cols,
            QStringLiteral("select d.F_goodcode,") + s.depot + QLatin1Char(',')
                + s.signedColumn(QStringLiteral("d.F_Amount")) + QLatin1Char(',')
                + s.signedColumn(QStringLiteral("d.F_CBprice")) + QLatin1Char(',')
                + s.signedColumn(QStringLiteral("d.F_totalPrice")) + QStringLiteral(",0 from ")
                + WorkTables::documentSource() + QStringLiteral("Where ") + s.where);
    };
    const QString opening
        = QStringLiteral("Select d.F_goodcode,d.F_depot,d.F_Amount,d.F_totalPrice,d.F_totalPrice,0 from t_begDept as "
                         "d Left join t_goods as g on d.F_goodcode = g.F_code ");
    const bool ok = w.clear(table) && w.insertRaw(table, cols, opening) && raw(WorkTables::lineClassesABC())
        && raw(WorkTables::lineClass(WorkTables::LineClass::D))
        && w.consolidate(table, {QStringLiteral("F_code"), QStringLiteral("F_dept")},
            {QStringLiteral("F_amount"), QStringLiteral("F_price"), QStringLiteral("F_totalPrice")})
        && w.exec(QStringLiteral("delete from tempGood where ((F_flag = 0)or(F_amount = 0 and F_price = 0 and "
                                 "F_totalprice = 0))"))
        && [&] {
               if (costingMode == 0)
                   return w.exec(QStringLiteral("update tempGood set F_price = g.F_enterPrice, F_totalPrice = "
                                                "g.F_enterPrice * tempGood.F_amount from t_goods as g where "
                                                "tempGood.F_code = g.F_code "));
               if (costingMode == 1)
                   return w.exec(QStringLiteral("update tempGood set F_totalPrice = F_price, F_price = ")
                       + WorkTables::unitValue(QStringLiteral("F_price"), QStringLiteral("F_amount")));
               return w.exec(QStringLiteral("update tempGood set F_price = ")
                   + WorkTables::unitValue(QStringLiteral("F_totalPrice"), QStringLiteral("F_amount")));
           }();
    if (!ok)
        m_error = w.errorString();
    return ok;
}

QString PickerStockTable::stockRowsSql(const Session& session)
{
    QString sql = QStringLiteral("select * from tempGood where F_code = :F_code ");
    if (session.restricted())
        sql += QStringLiteral("and ((F_dept in (:sessionDepots))Or(F_dept = '')or(F_dept is Null)) ");
    return sql;
}
