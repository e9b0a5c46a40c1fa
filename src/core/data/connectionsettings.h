#pragma once

#include <QString>

class IniFile;

// Which database to use, as the DBconn section of Config.ini selects it.
struct ConnectionSettings
{
    enum Backend { SQLite, PostgreSQL };

    Backend backend = SQLite;
    QString server; // as stored: empty or "(Local)" for the embedded database
    QString database; // as stored: a file path or bare name (SQLite), a database name (PostgreSQL)
    QString sqlitePath; // resolved file of the embedded database
    QString host;
    int port = 5432;
    QString user = QStringLiteral("sa");
    QString password;

    bool isPostgres() const { return backend == PostgreSQL; }
    // Text for messages: the file or host/database.
    QString describe() const;

    // Reads DBconn from the file (missing keys give the Part's defaults). A bare
    // SQLite name resolves to <name>.db beside the file.
    static ConnectionSettings fromIni(const IniFile& ini);
    // Parses "host=...;port=...;user=...;password=..." (the KELMORA_TEST_PG form).
    static ConnectionSettings fromKeyValues(const QString& text, const QString& database);
    static bool isEmbeddedServer(const QString& server);
};
