#include "stocklookup.h"

#include "app/sysoptions.h"
#include "data/datamodule.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
void setLookupError(QString* error, const QSqlQuery& q)
{
    if (error)
        *error = q.lastError().text();
}

void clearLookupError(QString* error)
{
    if (error)
        error->clear();
}

// One statement, the five sources one branch each, summed here; an empty sum counts 0.
const QString& stockAmountSql(bool leaveOut)
{
    static const auto build = [](bool lo) {
        const QString tail = lo ? QStringLiteral("and m.F_code <> :leaveOut ") : QString();
        return QStringLiteral("select sum(F_amount) as F_amount from t_begDept where (F_goodcode = :goods) and "
                              "F_depot = :depot ")
            + QStringLiteral(" union all ")
            + QStringLiteral("select sum(d.F_amount * m.F_operFlag) as F_amount from depotD as d left join depotM as m "
                             "on d.F_code = m.F_code where (COALESCE(d.F_flag,0) <> 1)and(m.F_flag <> 12 and "
                             "m.F_flag <> 13) and d.F_goodCode = :goods and m.F_depot = :depot ")
            + tail + QStringLiteral(" union all ")
            + QStringLiteral("select sum(d.F_amount * m.F_operFlag) as F_amount from depotD as d left join depotM as m "
                             "on d.F_code = m.F_code where (COALESCE(d.F_flag,0) <> 1)and(m.F_flag = 12 or "
                             "m.F_flag = 13) and d.F_goodCode = :goods and m.F_client = :depot ")
            + tail + QStringLiteral(" union all ")
            + QStringLiteral("select sum(-d.F_amount * m.F_operFlag) as F_amount from depotD as d left join depotM as "
                             "m on d.F_code = m.F_code where (COALESCE(d.F_flag,0) = 1) and d.F_goodCode = :goods "
                             "and m.F_depot = :depot ")
            + tail + QStringLiteral(" union all ")
            + QStringLiteral("select sum(-d.F_amount) as F_amount from depotD as d left join depotM as m on d.F_code "
                             "= m.F_code where (m.F_flag = 10) and d.F_goodCode = :goods and m.F_client = :depot ")
            + tail;
    };
    static const QString with = build(true);
    static const QString without = build(false);
    return leaveOut ? with : without;
}
} // namespace

double StockLookup::GetStockAmount(
    const QString& depot, const QString& goodsCode, const QString& leaveOutCode, QString* error)
{
    const bool leaveOut = !leaveOutCode.isEmpty();
    SqlParams p {{QStringLiteral("goods"), goodsCode}, {QStringLiteral("depot"), depot}};
    if (leaveOut)
        p.insert(QStringLiteral("leaveOut"), leaveOutCode);
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, stockAmountSql(leaveOut), p)) {
        setLookupError(error, q);
        return 0.0;
    }
    double total = 0.0;
    while (q.next())
        total += q.value(0).toDouble();
    clearLookupError(error);
    return total;
}

double StockLookup::enterPrice(const QString& goodsCode, QString* error)
{
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, QStringLiteral("select F_enterPrice from t_goods where F_code = :goods "),
            {{QStringLiteral("goods"), goodsCode}})) {
        setLookupError(error, q);
        return 0.0;
    }
    clearLookupError(error);
    return q.next() ? q.value(0).toDouble() : 0.0;
}

StockLookup::Totals StockLookup::costTotals(
    const QString& depot0, const QString& goods0, const QString& leaveOut0, QString* error)
{
    const QString depot = depot0.trimmed();
    const QString goods = goods0.trimmed();
    const QString leaveOut = leaveOut0.trimmed();
    SqlParams p;
    QString opening, depotSide, clientSide;
    if (!goods.isEmpty()) {
        opening += QStringLiteral("and g.F_code = :goods ");
        depotSide += QStringLiteral("and d.F_goodcode = :goods ");
        p.insert(QStringLiteral("goods"), goods);
    }
    if (!depot.isEmpty()) {
        opening += QStringLiteral("and d.F_depot = :depot ");
        p.insert(QStringLiteral("depot"), depot);
    }
    if (!leaveOut.isEmpty()) {
        depotSide += QStringLiteral("and (m.F_code <> :leaveOut) ");
        p.insert(QStringLiteral("leaveOut"), leaveOut);
    }
    clientSide = depotSide;
    if (!depot.isEmpty()) {
        depotSide += QStringLiteral("and m.F_depot = :depot ");
        clientSide += QStringLiteral("and m.F_client = :depot ");
    }
    const QString sql
        = QStringLiteral("select sum(d.F_Amount) As Q,sum(d.F_totalPrice) as V,sum(d.F_totalPrice) as C from "
                         "t_begDept As D Left Join t_goods As g On d.F_goodCode = g.F_code Where (1=1) ")
        + opening + QStringLiteral(" union all ")
        + QStringLiteral("select sum(m.F_OperFlag * d.F_Amount) As Q,sum(m.F_OperFlag * d.F_totalPrice) as V, "
                         "sum(m.F_OperFlag * d.F_CBprice) as C from DepotD As D Left Join DepotM As M On D.F_Code = "
                         "M.F_Code Where (COALESCE(d.F_flag,0) <> 1)and(m.F_flag <> 12 and m.F_flag <> 13) ")
        + depotSide + QStringLiteral(" union all ")
        + QStringLiteral("select sum(m.F_OperFlag * d.F_Amount) As Q,sum(m.F_OperFlag * d.F_totalPrice) as V, "
                         "sum(m.F_OperFlag * d.F_CBprice) as C from DepotD As D Left Join DepotM As M On D.F_Code = "
                         "M.F_Code Where (COALESCE(d.F_flag,0) <> 1)and(m.F_flag = 12 Or m.F_flag = 13) ")
        + clientSide + QStringLiteral(" union all ")
        + QStringLiteral("select sum(-m.F_OperFlag * d.F_Amount) As Q,sum(-M.F_OperFlag * d.F_totalprice) as V, "
                         "sum(-m.F_OperFlag * d.F_CBprice) as C from DepotD As D Left Join DepotM As M On D.F_Code = "
                         "M.F_Code Where (d.F_flag = 1) ")
        + depotSide + QStringLiteral(" union all ")
        + QStringLiteral("select sum(-d.F_Amount) As Q,sum(-d.F_totalprice) as V,sum(-d.F_CBprice) as C from DepotD "
                         "As D Left Join DepotM As M On D.F_Code = M.F_Code Where (m.F_flag=10) ")
        + clientSide;
    Totals t;
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, sql, p)) {
        setLookupError(error, q);
        return t;
    }
    while (q.next()) {
        t.quantity += q.value(0).toDouble();
        t.value += q.value(1).toDouble();
        t.cost += q.value(2).toDouble();
    }
    clearLookupError(error);
    return t;
}

double StockLookup::GetCostPrice(
    const QString& depot, const QString& goodsCode, const QString& leaveOutCode, QString* error)
{
    return GetCostPrice(SysOptions::current().costingMode, depot, goodsCode, leaveOutCode, error);
}

double StockLookup::GetCostPrice(
    int costingMode, const QString& depot, const QString& goodsCode, const QString& leaveOutCode, QString* error)
{
    if (costingMode == 0)
        return enterPrice(goodsCode, error);
    QString err;
    const Totals t = costTotals(depot, goodsCode, leaveOutCode, &err);
    if (!err.isEmpty()) {
        if (error)
            *error = err;
        return 0.0;
    }
    if (t.quantity == 0.0)
        return enterPrice(goodsCode, error);
    clearLookupError(error);
    return costingMode == 2 ? t.value / t.quantity : t.cost / t.quantity;
}

double StockLookup::GetLastPrice(const QString& goodsCode, const QString& client, int kind, int mode, QString* error)
{
    SqlParams p {{QStringLiteral("kind"), kind}, {QStringLiteral("goods"), goodsCode}};
    QString sql = QStringLiteral("select d.F_price from depotM as m Left join depotD as d on m.F_code = d.F_code "
                                 "where m.F_flag = :kind ");
    if (mode == 3) {
        sql += QStringLiteral("and m.F_client = :client ");
        p.insert(QStringLiteral("client"), client);
    }
    sql += QStringLiteral("and d.F_goodcode = :goods order by d.F_ID desc LIMIT 1");
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, sql, p)) {
        setLookupError(error, q);
        return 0.0;
    }
    clearLookupError(error);
    return q.next() ? q.value(0).toDouble() : 0.0;
}
