#pragma once

#include <QString>

class Connection;

// The goods picker's stock rows (tempGood) of one good: stock, unit value and
// value per depot by the balance rule, valued by the costing method. Filled for
// a good when the picker first shows it: the look-ups use the goods-code index,
// so the cost does not grow with the number of documents the way a build of
// every good at once does (seconds at a million lines). tempGood is a working
// table of the connection, so pickers on several workstations never meet.
class EntryStockTable
{
public:
    explicit EntryStockTable(Connection& connection);

    // Empties tempGood (a new opening of the picker).
    bool clear();
    // Replaces the good's rows: raw rows per source, consolidated, the all-zero
    // rows dropped, valued. Stops at the first failing statement.
    bool fill(const QString& goodsCode, int costingMode);
    QString errorString() const { return m_error; }

private:
    bool run(const QString& sql, const QString& goodsCode);

    Connection& m_connection;
    QString m_error;
};
