#pragma once

#include <QString>

class Connection;

// RAII transaction: begin in the constructor, explicit commit(), rollback in the
// destructor. Guards nest: an inner guard joins the outer transaction, and an
// inner rollback makes the outer commit fail.
//
// Serialized mode orders writers that check stock before writing: SQLite takes
// the write lock at BEGIN (BEGIN IMMEDIATE), PostgreSQL a transaction-scoped
// advisory lock, so two workstations never both pass the check on the same stock.
class Transaction
{
public:
    enum Mode { Normal, Serialized };

    explicit Transaction(Connection& connection, Mode mode = Normal);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    QString errorString() const { return m_error; }
    bool commit();
    void rollback();

    static constexpr qint64 StockLockKey = 0x4b656c6d6f7261; // "Kelmora"

private:
    Connection& m_connection;
    bool m_active = false;
    bool m_outer = false;
    QString m_error;
};
