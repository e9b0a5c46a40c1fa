#pragma once

#include "data/connectionsettings.h"
#include "data/datamodule.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh Kelmora database on the backend under test (KELMORA_TEST_BACKEND
// sqlite or pg; PostgreSQL settings from KELMORA_TEST_PG), created with the
// schema and first rows, and a DataModule connected to it and installed as the
// program's. Dropped again when destroyed.
class TestDatabase
{
public:
    explicit TestDatabase(bool demo = false);
    ~TestDatabase();

    // False (with a reason) when the backend cannot be reached; tests QSKIP then.
    bool ok() const { return m_ok; }
    QString errorString() const { return m_error; }
    bool isPostgres() const { return m_settings.isPostgres(); }

    DataModule& dataModule() { return *m_dm; }
    Connection& connection() { return m_dm->connection(); }
    const ConnectionSettings& settings() const { return m_settings; }
    // A Config.ini in the temporary folder that selects this database.
    QString configPath() const;
    QString dir() const { return m_dir.path(); }

    // Opens a second, independent connection to the same database.
    std::unique_ptr<Connection> openAnother() const;

    static bool wantPostgres();
    // Settings of a new, unused database (its name is unique); nothing is created.
    static ConnectionSettings freshSettings(const QString& dir);

private:
    QTemporaryDir m_dir;
    ConnectionSettings m_settings;
    std::unique_ptr<DataModule> m_dm;
    bool m_ok = false;
    QString m_error;
};

// QSKIP unless the database is there (PostgreSQL not configured on this machine).
#define KELMORA_REQUIRE_DB(tdb)                                                                                        \
    do {                                                                                                               \
        if (!(tdb).ok())                                                                                               \
            QSKIP(qPrintable((tdb).errorString()));                                                                    \
    } while (0)
