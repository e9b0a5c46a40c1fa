#pragma once

#include "connectionsettings.h"
#include "sqldialect.h"
#include "sqlparams.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <unordered_map>

// One open database connection of the run (or of a test), with its dialect.
// Opening it also creates the per-connection working tables.
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the database; false with errorString() on failure. An SQLite file
    // that is missing is not created unless createIfMissing is set.
    bool open(const ConnectionSettings& settings, bool createIfMissing = false);
    void close();
    bool isOpen() const;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    QString connectionName() const { return m_name; }
    const ConnectionSettings& settings() const { return m_settings; }
    const SqlDialect& dialect() const { return m_dialect; }
    bool isPostgres() const { return m_dialect.isPostgres(); }
    QString errorString() const { return m_error; }

    QSqlQuery query() const { return QSqlQuery(db()); }
    // Runs one statement; false with errorString() on failure.
    bool exec(const QString& sql, const SqlParams& params = {});
    // Inserts one row and returns its F_ID (or -1 with errorString()).
    qint64 insertReturningId(const QString& sql, const SqlParams& params = {});

    // A statement prepared once on this connection and kept until it closes, for
    // look-ups that run many times; the caller binds its values and executes it.
    // nullptr (with errorString()) when the statement cannot be prepared.
    QSqlQuery* prepared(const QString& sql);

    // Creates the working tables on this connection (done by open()).
    bool createWorkingTables();

    // Transaction depth, kept by Transaction so guards can nest.
    int transactionDepth() const { return m_depth; }

private:
    friend class Transaction;
    QString m_name;
    ConnectionSettings m_settings;
    SqlDialect m_dialect;
    QString m_error;
    int m_depth = 0;
    bool m_rollbackOnly = false;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
};
