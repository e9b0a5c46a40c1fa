#include "stocklookup.h"

#include "app/sysoptions.h"
#include "data/datamodule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
void clearLookupError(QString* error)
{
    if (error)
        error->clear();
}

// Runs a look-up on a statement the connection keeps prepared: these run for
// every line typed and every line checked, so they are parsed once.
QSqlQuery* runStockLookup(const QString& sql, const SqlParams& params, QString* error)
{
    Connection& c = dm().connection();
    QSqlQuery* q = c.prepared(sql);
    if (!q) {
        if (error)
            *error = c.errorString();
        return nullptr;
    }
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q->bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q->exec()) {
        if (error)
            *error = q->lastError().text();
        q->finish();
        return nullptr;
    }
    return q;
}

// The five sums in one statement: the opening stock, and one pass over the
// good's lines in which each line class's clause picks the lines it counts, so
// the lines are read once instead of once per class.
const QString& stockAmountSql(bool leaveOut)
{
    static const auto build = [](bool lo) {
        return QStringLiteral("select o.F_amount, x.A, x.B, x.C, x.D from (select sum(F_amount) as F_amount from "
                              "t_begDept where (F_goodcode = :goods) and F_depot = :depot ) o, (select ")
            + QStringLiteral("sum(case when (COALESCE(d.F_flag,0) <> 1)and(m.F_flag <> 12 and m.F_flag <> 13) and "
                             "m.F_depot = :depot then d.F_amount * m.F_operFlag end) as A, ")
            + QStringLiteral("sum(case when (COALESCE(d.F_flag,0) <> 1)and(m.F_flag = 12 or m.F_flag = 13) and "
                             "m.F_client = :depot then d.F_amount * m.F_operFlag end) as B, ")
            + QStringLiteral("sum(case when (COALESCE(d.F_flag,0) = 1) and m.F_depot = :depot then -d.F_amount * "
                             "m.F_operFlag end) as C, ")
            + QStringLiteral("sum(case when (m.F_flag = 10) and m.F_client = :depot then -d.F_amount end) as D ")
            + QStringLiteral("from depotD as d left join depotM as m on d.F_code = m.F_code where d.F_goodCode = "
                             ":goods ")
            + (lo ? QStringLiteral("and m.F_code <> :leaveOut ") : QString()) + QStringLiteral(") x");
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
    QString err;
    QSqlQuery* q = runStockLookup(stockAmountSql(leaveOut), p, &err);
    if (!q) {
        if (error)
            *error = err;
        return 0.0;
    }
    double total = 0.0;
    if (q->next())
        for (int i = 0; i < 5; ++i)
            total += q->value(i).toDouble(); // an empty sum counts 0
    q->finish();
    clearLookupError(error);
    return total;
}

double StockLookup::enterPrice(const QString& goodsCode, QString* error)
{
    QString err;
    QSqlQuery* q = runStockLookup(QStringLiteral("select F_enterPrice from t_goods where F_code = :goods "),
        {{QStringLiteral("goods"), goodsCode}}, &err);
    if (!q) {
        if (error)
            *error = err;
        return 0.0;
    }
    const double v = q->next() ? q->value(0).toDouble() : 0.0;
    q->finish();
    clearLookupError(error);
    return v;
}

StockLookup::Totals StockLookup::costTotals(
    const QString& depot0, const QString& goods0, const QString& leaveOut0, QString* error)
{
    const QString depot = depot0.trimmed();
    const QString goods = goods0.trimmed();
    const QString leaveOut = leaveOut0.trimmed();
    SqlParams p;
    QString opening, lines;
    if (!goods.isEmpty()) {
        opening += QStringLiteral("and g.F_code = :goods ");
        lines += QStringLiteral("and d.F_goodcode = :goods ");
        p.insert(QStringLiteral("goods"), goods);
    }
    QString depotSide, clientSide;
    if (!depot.isEmpty()) {
        opening += QStringLiteral("and d.F_depot = :depot ");
        depotSide = QStringLiteral("and m.F_depot = :depot ");
        clientSide = QStringLiteral("and m.F_client = :depot ");
        p.insert(QStringLiteral("depot"), depot);
    }
    if (!leaveOut.isEmpty()) {
        lines += QStringLiteral("and (m.F_code <> :leaveOut) ");
        p.insert(QStringLiteral("leaveOut"), leaveOut);
    }
    // Each class sums quantity, value and cost of the lines its clause picks; the
    // lines of the good are read once.
    const struct
    {
        const char* test;
        const QString& side;
        const char* sign;
    } classes[] = {
        {"(COALESCE(d.F_flag,0) <> 1)and(m.F_flag <> 12 and m.F_flag <> 13) ", depotSide, "m.F_OperFlag * "},
        {"(COALESCE(d.F_flag,0) <> 1)and(m.F_flag = 12 Or m.F_flag = 13) ", clientSide, "m.F_OperFlag * "},
        {"(d.F_flag = 1) ", depotSide, "-m.F_OperFlag * "},
        {"(m.F_flag=10) ", clientSide, "-"},
    };
    QStringList sums;
    for (const auto& c : classes) {
        const QString when
            = QStringLiteral("case when ") + QString::fromLatin1(c.test) + c.side + QStringLiteral("then ");
        for (const char* col : {"d.F_Amount", "d.F_totalPrice", "d.F_CBprice"})
            sums << QStringLiteral("sum(") + when + QString::fromLatin1(c.sign) + QString::fromLatin1(col)
                    + QStringLiteral(" end)");
    }
    const QString sql
        = QStringLiteral("select o.Q, o.V, x.* from (select sum(d.F_Amount) As Q,sum(d.F_totalPrice) as V from "
                         "t_begDept As D Left Join t_goods As g On d.F_goodCode = g.F_code Where (1=1) ")
        + opening + QStringLiteral(") o, (select ") + sums.join(QLatin1Char(','))
        + QStringLiteral(" from DepotD As D Left Join DepotM As M On D.F_Code = M.F_Code Where (1=1) ") + lines
        + QStringLiteral(") x");
    Totals t;
    QString err;
    QSqlQuery* q = runStockLookup(sql, p, &err);
    if (!q) {
        if (error)
            *error = err;
        return t;
    }
    if (q->next()) {
        // The opening value counts as both value and cost.
        t.quantity = q->value(0).toDouble();
        t.value = t.cost = q->value(1).toDouble();
        for (int c = 0; c < 4; ++c) {
            t.quantity += q->value(2 + 3 * c).toDouble();
            t.value += q->value(3 + 3 * c).toDouble();
            t.cost += q->value(4 + 3 * c).toDouble();
        }
    }
    q->finish();
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
    QString err;
    QSqlQuery* q = runStockLookup(sql, p, &err);
    if (!q) {
        if (error)
            *error = err;
        return 0.0;
    }
    const double v = q->next() ? q->value(0).toDouble() : 0.0;
    q->finish();
    clearLookupError(error);
    return v;
}
