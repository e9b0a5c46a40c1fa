#pragma once

#include "data/sqlparams.h"

#include <QString>
#include <functional>

class Connection;
struct Session;

// The goods picker's stock table: stock, unit value and value of every good in
// every depot, built once per opening of the picker into tempGood.
class PickerStockTable
{
public:
    static constexpr int Steps = 7; // statements of a build, for a progress bar

    explicit PickerStockTable(Connection& connection);

    // Empties tempGood and fills it; progress gets the step number after each
    // statement. Stops at the first failing statement (errorString()).
    bool build(int costingMode, const std::function<void(int)>& progress = {});
    QString errorString() const { return m_error; }

    // The stock grid's select for one good (bind :F_code), limited to the
    // operator's depots; bind the session's depotParams() with it.
    static QString stockRowsSql(const Session& session);

private:
    Connection& m_connection;
    QString m_error;
};
