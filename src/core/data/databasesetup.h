#pragma once

#include "connectionsettings.h"

#include <QString>

class Connection;

// What the setup program (tavrin) does: creates a database with every table,
// index and first row, optionally a demo data set. Nothing half made is left
// behind on failure.
class DatabaseSetup
{
public:
    struct Options
    {
        bool force = false; // replace an existing database
        bool demo = false; // add the demo data set
    };

    // False with errorString() on failure; summary() tells what was made.
    bool create(const ConnectionSettings& settings, const Options& options);
    QString errorString() const { return m_error; }
    QString summary() const { return m_summary; }

    // The first rows a new database needs (SysInfo, operator 000, KeyValue,
    // Limits, cfg_import, code lists). Runs inside the caller's transaction.
    static bool seedFirstRows(Connection& connection, QString* error);
    // A small believable business: depots, departments, categories, goods with
    // opening stock, clients, suppliers, employees.
    static bool seedDemo(Connection& connection, QString* error);
    // Schema, first rows and (optionally) demo rows on an open, empty database.
    static bool populate(Connection& connection, bool demo, QString* error);

private:
    bool createSqlite(const ConnectionSettings& settings, const Options& options);
    bool createPostgres(const ConnectionSettings& settings, const Options& options);

    QString m_error;
    QString m_summary;
};
