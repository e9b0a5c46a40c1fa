#pragma once

#include "connection.h"
#include "sqlparams.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>

class IniFile;

// The data module of the run: the one connection, the configuration file and the
// shared query services. Every service catches its database error, reports it
// through ShowMess with its fixed message and hands back a plain result. Values
// are always bound parameters.
class DataModule
{
public:
    DataModule();
    ~DataModule();

    // The program's data module; nullptr until one is installed.
    static DataModule* instance();
    static void setInstance(DataModule* dm);

    // Reads DBconn from the configuration and opens the connection. Returns false
    // (without showing anything) on failure; errorString() has the detail.
    bool connectFromConfig(const QString& configPath);
    // Opens the given settings directly (tests, kelmora-cli).
    bool connect(const ConnectionSettings& settings);
    void disconnect();

    bool connected() const { return m_connected; }
    Connection& connection() { return *m_connection; }
    const SqlDialect& dialect() const { return m_connection->dialect(); }
    IniFile* config() const { return m_config.get(); }
    QString configPath() const;
    QString databaseName() const { return m_databaseName; }
    QString errorString() const { return m_error; }
    QSqlDatabase db() const { return m_connection->db(); }

    // Execute service: true when the statement ran.
    bool ExecSql(const QString& sql, const SqlParams& params = {});
    // Delete service: "delete from <table> where F_ID = :id".
    bool DelRecord(const QString& table, qint64 id);
    // Scalar look-ups: first column of the first row; empty/0 when no row, null or error.
    QString GetSqlStr(const QString& sql, const SqlParams& params = {});
    double GetSqlFloat(const QString& sql, const SqlParams& params = {});
    qint64 GetSqlInt(const QString& sql, const SqlParams& params = {});
    // Open-query service: prepares and runs the select on the caller's query.
    bool OpenQry(QSqlQuery& query, const QString& sql, const SqlParams& params = {});
    // List-filling service: items get the first column of every row whose trimmed
    // value is not empty (the untrimmed value is added). On failure the items stay.
    bool FillList(const QString& sql, QStringList& items, const SqlParams& params = {});

    static QString execFailText() { return QStringLiteral("操作失败，请检查数据连接... "); }
    static QString deleteFailText() { return QStringLiteral("删除操作失败，请检查数据连接... "); }
    static QString openFailText() { return QStringLiteral("打开操作失败，请检查数据连接... "); }

    // The last database error text of a service (not shown to the user).
    QString lastDbError() const { return m_lastDbError; }

private:
    bool scalar(const QString& sql, const SqlParams& params, QVariant& out);

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<IniFile> m_config;
    QString m_databaseName;
    QString m_error;
    QString m_lastDbError;
    bool m_connected = false;
};

// The program's data module (after the start-up installed it).
inline DataModule& dm()
{
    return *DataModule::instance();
}
