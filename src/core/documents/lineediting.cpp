#include "lineediting.h"

#include "app/messenger.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "documentkinds.h"
#include "stocklookup.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
QVariant lineGoodValue(const QSqlRecord& r, const char* name)
{
    const int i = r.indexOf(QString::fromLatin1(name));
    return i < 0 ? QVariant() : r.value(i);
}

bool lineFindGood(const QString& where, const SqlParams& params, QSqlRecord& out, QString* error)
{
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q,
            QStringLiteral("select ") + LineEditing::goodsColumns() + QStringLiteral(" from t_goods where ") + where,
            params)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (error)
        error->clear();
    if (!q.next())
        return false;
    out = q.record();
    return true;
}

// The depot a kind's cost price is looked up in: the product depot for
// assembly and dismantling, else the window's depot field.
QString lineCostDepot(const Document& doc)
{
    return doc.depot.trimmed();
}
} // namespace

QString LineEditing::goodsColumns()
{
    return QStringLiteral("F_code,f_name,f_type,f_spec,f_address,f_unit,f_Enterprice, F_barCode,F_salePrice,F_mem,"
                          "F_ZF1,F_ZF2,F_ZF3,F_ZF4,F_ZF5,F_SZ1,F_SZ2,F_SZ3,F_RQ1,F_RQ2,F_RQ3");
}

void LineEditing::copyGoods(const QSqlRecord& g, DocumentLine& line, bool userFields, bool barcode)
{
    line.goodCode = lineGoodValue(g, "F_code").toString();
    line.goodName = lineGoodValue(g, "F_name").toString();
    line.type = lineGoodValue(g, "F_type").toString();
    line.spec = lineGoodValue(g, "F_spec").toString();
    line.unit = lineGoodValue(g, "F_unit").toString();
    line.address = lineGoodValue(g, "F_address").toString();
    if (barcode)
        line.tmCode = lineGoodValue(g, "F_barCode").toString();
    if (!userFields)
        return;
    for (int i = 0; i < 5; ++i)
        line.zf[i] = g.value(g.indexOf(QStringLiteral("F_ZF%1").arg(i + 1))).toString();
    for (int i = 0; i < 3; ++i) {
        const QVariant v = g.value(g.indexOf(QStringLiteral("F_SZ%1").arg(i + 1)));
        line.sz[i] = v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
        const QVariant d = g.value(g.indexOf(QStringLiteral("F_RQ%1").arg(i + 1)));
        line.rq[i] = d.isNull() ? QDate() : Dates::toDate(d);
    }
}

double LineEditing::defaultUnitPrice(
    const Document& doc, const QString& goodsCode, double salePrice, Entry entry, QString* error)
{
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    const int mode = SysOptions::current().lastPriceMode();
    const QString client = doc.client.trimmed();
    auto cost = [&] { return StockLookup::GetCostPrice(lineCostDepot(doc), goodsCode, doc.code, error); };
    PriceSource src = k ? k->price : PriceSource::Cost;
    if ((doc.kind == 5 || doc.kind == -5) && entry == Entry::Barcode)
        src = PriceSource::Purchase;
    switch (src) {
    case PriceSource::Purchase: {
        if (mode == 1)
            return cost();
        const double last = StockLookup::GetLastPrice(goodsCode, client, 1, mode, error);
        if (error && !error->isEmpty())
            return 0.0;
        return last != 0.0 ? last : cost();
    }
    case PriceSource::Sales: {
        if (mode == 1)
            return salePrice;
        const double last = StockLookup::GetLastPrice(goodsCode, client, -2, mode, error);
        if (error && !error->isEmpty())
            return 0.0;
        return last != 0.0 ? last : salePrice;
    }
    case PriceSource::Cost:
    case PriceSource::ProductDepotCost:
        return cost();
    }
    return 0.0;
}

double LineEditing::lineCost(const Document& doc, const DocumentLine& line, QString* error)
{
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    if (k && k->costFromPrice)
        return line.amount * line.price;
    if (doc.kind == 12 || doc.kind == 13) {
        double c
            = line.amount * StockLookup::GetCostPrice(doc.depot.trimmed(), line.goodCode, doc.code.trimmed(), error);
        // A component without a factor counts once: a missing factor must not zero the cost.
        if (doc.kind == 13)
            c *= line.rate.value_or(1.0);
        return c;
    }
    return line.amount * StockLookup::GetCostPrice(QString(), line.goodCode, doc.code, error);
}

bool LineEditing::amountChanged(const Document& doc, DocumentLine& line, QString* error)
{
    line.totalPrice = line.amount * line.price;
    QString err;
    const double c = lineCost(doc, line, &err);
    if (error)
        *error = err;
    if (!err.isEmpty())
        return false;
    line.cbPrice = c;
    return true;
}

void LineEditing::priceChanged(const Document& doc, DocumentLine& line)
{
    line.totalPrice = line.amount * line.price;
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    if (k && k->costFromPrice)
        line.cbPrice = line.amount * line.price;
}

bool LineEditing::countChanged(const Document& doc, DocumentLine& line, QString* error)
{
    line.amount = line.sjAmount.value_or(0.0) - line.curAmount.value_or(0.0);
    return amountChanged(doc, line, error);
}

bool LineEditing::fillByCode(const Document& doc, DocumentLine& line, const QString& goodsCode, QString* error)
{
    QSqlRecord g;
    QString err;
    if (!lineFindGood(QStringLiteral("f_code = :code "), {{QStringLiteral("code"), goodsCode}}, g, &err)) {
        if (error)
            *error = err;
        if (err.isEmpty()) {
            const QString word = doc.isAssemblyKind() ? QStringLiteral("商品") : QStringLiteral("货品");
            ShowMess(
                word + QLatin1Char('"') + goodsCode + QStringLiteral("\"不存在，请检查输入？"), Messenger::Information);
        }
        return false;
    }
    const bool assembly = doc.isAssemblyKind();
    copyGoods(g, line, !assembly, !assembly);
    line.code = doc.code;
    const double sale = lineGoodValue(g, "F_salePrice").toDouble();
    line.price = defaultUnitPrice(doc, line.goodCode, sale, Entry::TypedCode, &err);
    if (!err.isEmpty()) {
        if (error)
            *error = err;
        return false;
    }
    if (assembly)
        line.rate = 1.0;
    if (doc.kind == 11) {
        line.curAmount = StockLookup::GetStockAmount(doc.depot, line.goodCode, doc.code, &err);
        line.sjAmount = line.curAmount;
        line.amount = 0;
    }
    if (!err.isEmpty() || !amountChanged(doc, line, &err)) {
        if (error)
            *error = err;
        return false;
    }
    return true;
}

std::optional<DocumentLine> LineEditing::lineFromBarcode(
    const Document& doc, const QString& barcode0, double quantity, QString* error)
{
    const QString barcode = barcode0.trimmed();
    if (barcode.isEmpty()) {
        ShowMess(QStringLiteral("请输入条码！"), Messenger::Information);
        return std::nullopt;
    }
    QSqlRecord g;
    QString err;
    // Stocktaking counts stopped goods too; every other kind scans only goods in use.
    const QString where = doc.kind == 11 ? QStringLiteral("F_barCode = :code ")
                                         : QStringLiteral("COALESCE(F_flag,0) = 0 and F_barCode = :code ");
    if (!lineFindGood(where, {{QStringLiteral("code"), barcode}}, g, &err)) {
        if (error)
            *error = err;
        if (err.isEmpty())
            ShowMess(
                QStringLiteral("条码\"") + barcode + QStringLiteral("\"不存在，请检查输入？"), Messenger::Information);
        return std::nullopt;
    }
    DocumentLine line;
    copyGoods(g, line, true, true);
    line.code = doc.code;
    line.price = defaultUnitPrice(doc, line.goodCode, lineGoodValue(g, "F_salePrice").toDouble(), Entry::Barcode, &err);
    line.amount = quantity;
    if (err.isEmpty() && doc.kind == 11) {
        line.curAmount = StockLookup::GetStockAmount(doc.depot, line.goodCode, doc.code, &err);
        line.sjAmount = *line.curAmount + quantity;
    }
    if (!err.isEmpty() || !amountChanged(doc, line, &err)) {
        if (error)
            *error = err;
        return std::nullopt;
    }
    return line;
}

std::optional<DocumentLine> LineEditing::lineFromPicker(const Document& doc, const QString& goodsCode, QString* error)
{
    QSqlRecord g;
    QString err;
    if (!lineFindGood(QStringLiteral("f_code = :code "), {{QStringLiteral("code"), goodsCode}}, g, &err)) {
        if (error)
            *error = err;
        return std::nullopt;
    }
    const bool assembly = doc.isAssemblyKind();
    DocumentLine line;
    copyGoods(g, line, !assembly, false);
    line.mem = lineGoodValue(g, "F_mem").toString();
    line.code = doc.code;
    line.price = defaultUnitPrice(doc, line.goodCode, lineGoodValue(g, "F_salePrice").toDouble(), Entry::Picker, &err);
    if (err.isEmpty()) {
        if (doc.kind == 11) {
            line.curAmount = StockLookup::GetStockAmount(doc.depot, line.goodCode, doc.code, &err);
            line.sjAmount = line.curAmount;
            line.amount = 0;
        } else if (!assembly) {
            line.amount = 1;
        }
    }
    if (!err.isEmpty() || !amountChanged(doc, line, &err)) {
        if (error)
            *error = err;
        return std::nullopt;
    }
    return line;
}
