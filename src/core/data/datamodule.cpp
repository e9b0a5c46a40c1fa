#include "datamodule.h"

#include "app/inifile.h"
#include "app/messenger.h"
#include "schema.h"

#include <QSqlError>

namespace {
DataModule* g_dm = nullptr;
}

DataModule::DataModule()
    : m_connection(std::make_unique<Connection>())
{ }

DataModule::~DataModule()
{
    if (g_dm == this)
        g_dm = nullptr;
}

DataModule* DataModule::instance()
{
    return g_dm;
}

void DataModule::setInstance(DataModule* dm)
{
    g_dm = dm;
}

QString DataModule::configPath() const
{
    return m_config ? m_config->path() : QString();
}

bool DataModule::connectFromConfig(const QString& configPath)
{
    m_config = std::make_unique<IniFile>(configPath);
    if (!m_config->readable()) {
        m_error = m_config->errorString();
        return false;
    }
    const ConnectionSettings s = ConnectionSettings::fromIni(*m_config);
    return connect(s);
}

bool DataModule::connect(const ConnectionSettings& settings)
{
    disconnect();
    m_databaseName = settings.database;
    // A blank database name never reaches the driver.
    if (settings.database.trimmed().isEmpty()) {
        m_error = QStringLiteral("no database name");
        return false;
    }
    if (!m_connection->open(settings)) {
        m_error = m_connection->errorString();
        return false;
    }
    // An older database gains what this release needs (grid layouts and the like).
    QString migrateError;
    if (!Schema::migrate(*m_connection, &migrateError)) {
        m_error = migrateError;
        m_connection->close();
        return false;
    }
    m_connected = true;
    return true;
}

void DataModule::disconnect()
{
    m_connection->close();
    m_connected = false;
}

bool DataModule::ExecSql(const QString& sql, const SqlParams& params)
{
    QSqlQuery q(db());
    if (!Sql::exec(q, sql, params)) {
        m_lastDbError = q.lastError().text();
        ShowMess(execFailText(), Messenger::Error);
        return false;
    }
    return true;
}

bool DataModule::DelRecord(const QString& table, qint64 id)
{
    // Only the program's own table names reach this text; the identifier is bound.
    QSqlQuery q(db());
    if (!Sql::exec(q, QLatin1String("delete from ") + table + QLatin1String(" where F_ID = :id"),
            {{QStringLiteral("id"), id}})) {
        m_lastDbError = q.lastError().text();
        ShowMess(deleteFailText(), Messenger::Error);
        return false;
    }
    return true;
}

bool DataModule::scalar(const QString& sql, const SqlParams& params, QVariant& out)
{
    out = QVariant();
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, sql, params)) {
        m_lastDbError = q.lastError().text();
        ShowMess(execFailText(), Messenger::Error);
        return false;
    }
    if (q.next())
        out = q.value(0);
    return true;
}

QString DataModule::GetSqlStr(const QString& sql, const SqlParams& params)
{
    QVariant v;
    if (!scalar(sql, params, v) || v.isNull())
        return QString();
    return v.toString();
}

double DataModule::GetSqlFloat(const QString& sql, const SqlParams& params)
{
    QVariant v;
    if (!scalar(sql, params, v) || v.isNull())
        return 0.0;
    return v.toDouble();
}

qint64 DataModule::GetSqlInt(const QString& sql, const SqlParams& params)
{
    QVariant v;
    if (!scalar(sql, params, v) || v.isNull())
        return 0;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok)
        return n;
    return qint64(v.toDouble());
}

bool DataModule::OpenQry(QSqlQuery& query, const QString& sql, const SqlParams& params)
{
    query.finish();
    if (!Sql::exec(query, sql, params)) {
        m_lastDbError = query.lastError().text();
        query.finish();
        ShowMess(openFailText(), Messenger::Error);
        return false;
    }
    return true;
}

bool DataModule::FillList(const QString& sql, QStringList& items, const SqlParams& params)
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, sql, params)) {
        m_lastDbError = q.lastError().text();
        ShowMess(execFailText(), Messenger::Error);
        return false;
    }
    items.clear();
    while (q.next()) {
        const QString v = q.value(0).toString();
        if (!v.trimmed().isEmpty())
            items << v;
    }
    if (q.lastError().isValid()) {
        m_lastDbError = q.lastError().text();
        ShowMess(execFailText(), Messenger::Error);
        return false;
    }
    return true;
}
