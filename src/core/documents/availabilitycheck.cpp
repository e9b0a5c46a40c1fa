#include "availabilitycheck.h"

#include "app/messenger.h"
#include "documentkinds.h"
#include "quantities.h"
#include "stocklookup.h"

#include <QHash>

namespace {
QString availabilityShortfallHead(const AvailabilityCheck::Shortfall& s, int decimals)
{
    return QStringLiteral("货品 \"") + s.goodsCode + QStringLiteral("\" 在仓库 \"") + s.depotText
        + QStringLiteral("\" 中已经不足，操作会造成库存为 \"") + Quantities::format(s.remaining, decimals)
        + QStringLiteral("\"，");
}
} // namespace

QString AvailabilityCheck::refusalText(const Shortfall& s, int decimals)
{
    return availabilityShortfallHead(s, decimals) + QStringLiteral("当前操作不能继续！");
}

QString AvailabilityCheck::questionText(const Shortfall& s, int decimals)
{
    return availabilityShortfallHead(s, decimals) + QStringLiteral("当前操作继续吗？");
}

AvailabilityCheck::Outcome AvailabilityCheck::run(
    const Document& doc, const QString& code, Mode mode, int decimals, Shortfall* first, QString* error)
{
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    if (!k || k->check == StockCheck::None)
        return Passed;

    struct Item
    {
        QString goods;
        double amount;
    };
    QList<Item> items;
    QString depotText;
    switch (k->check) {
    case StockCheck::HeaderDepot:
    case StockCheck::Counted:
        depotText = doc.depot;
        break;
    case StockCheck::SendingDepot:
    case StockCheck::Components:
        depotText = doc.client;
        break;
    case StockCheck::Product:
        depotText = doc.depot;
        break;
    case StockCheck::None:
        break;
    }
    if (k->check == StockCheck::Product) {
        if (doc.product)
            items.append({doc.product->goodCode.trimmed(), doc.product->amount});
    } else {
        for (const DocumentLine& l : doc.lines)
            items.append({k->check == StockCheck::Components ? l.goodCode.trimmed() : l.goodCode, l.amount});
    }
    const bool rounded = k->check != StockCheck::Components && k->check != StockCheck::Product;
    const QString depot = depotText.trimmed();
    QHash<QString, double> earlier; // what the document's earlier lines already took
    for (const Item& it : items) {
        QString err;
        double stock = StockLookup::GetStockAmount(depot, it.goods, code.trimmed(), &err);
        if (!err.isEmpty()) {
            if (error)
                *error = err;
            return Failed;
        }
        if (rounded)
            stock = Quantities::round(stock, decimals);
        double& taken = earlier[it.goods];
        double remaining;
        if (k->check == StockCheck::Counted) {
            taken -= it.amount;
            remaining = Quantities::round(stock - taken, decimals);
        } else {
            taken += it.amount;
            remaining = stock - taken;
        }
        if (remaining >= 0)
            continue;
        const Shortfall s {it.goods, depotText, remaining};
        if (first)
            *first = s;
        if (mode == Silent)
            return Refused;
        if (mode == Refuse) {
            ShowMess(refusalText(s, decimals), Messenger::Error);
            return Refused;
        }
        if (ShowMess(questionText(s, decimals), Messenger::Question) == Messenger::No)
            return Declined;
    }
    return Passed;
}
