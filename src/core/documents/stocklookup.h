#pragma once

#include <QString>

// Stock on hand, cost price and last price of a good, computed from the opening
// stock and every document line (the balance rule, line classes A to D) each time
// they are asked: nothing is cached, so every workstation's saves count at once.
//
// On a database error the result is 0 and *error holds the database's message;
// callers stop what they are doing and show it.
class StockLookup
{
public:
    // Stock of a good in one depot over every document of every date and audit
    // state; the lines of leaveOutCode (when not empty) are left out.
    static double GetStockAmount(
        const QString& depot, const QString& goodsCode, const QString& leaveOutCode = {}, QString* error = nullptr);

    // Cost price of one unit under the costing method: in one depot, or over all
    // depots when depot is empty. Fixed unit price, or no stock at all: the good's
    // F_enterPrice.
    static double GetCostPrice(
        const QString& depot, const QString& goodsCode, const QString& leaveOutCode = {}, QString* error = nullptr);
    static double GetCostPrice(int costingMode, const QString& depot, const QString& goodsCode,
        const QString& leaveOutCode, QString* error = nullptr);

    // Unit price of the newest line (highest F_ID) of the good in documents of the
    // kind; mode 3 only this client's documents, mode 2 everybody's. 0 when none.
    static double GetLastPrice(
        const QString& goodsCode, const QString& client, int kind, int mode, QString* error = nullptr);

    // The three sums the cost price is made of.
    struct Totals
    {
        double quantity = 0, value = 0, cost = 0;
    };
    static Totals costTotals(
        const QString& depot, const QString& goodsCode, const QString& leaveOutCode, QString* error = nullptr);
    // The good's reference purchase price (0 when it has none or is unknown).
    static double enterPrice(const QString& goodsCode, QString* error = nullptr);
};
