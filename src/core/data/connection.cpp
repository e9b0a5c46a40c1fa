#include "connection.h"

#include "schema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

namespace {
QAtomicInt g_counter;
}

Connection::~Connection()
{
    close();
}

bool Connection::open(const ConnectionSettings& settings, bool createIfMissing)
{
    close();
    m_settings = settings;
    m_error.clear();
    m_name = QStringLiteral("kelmora_%1").arg(g_counter.fetchAndAddRelaxed(1));
    if (settings.isPostgres()) {
        m_dialect = SqlDialect(SqlDialect::PostgreSQL);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        db.setDatabaseName(settings.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        if (!db.open()) {
            m_error = db.lastError().text();
            close();
            return false;
        }
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET client_encoding TO 'UTF8'"));
        q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    } else {
        m_dialect = SqlDialect(SqlDialect::SQLite);
        if (settings.sqlitePath.isEmpty()) {
            m_error = QStringLiteral("no database file");
            return false;
        }
        if (!createIfMissing && !QFileInfo::exists(settings.sqlitePath)) {
            m_error = QStringLiteral("database file not found: %1").arg(settings.sqlitePath);
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(settings.sqlitePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
        if (!db.open()) {
            m_error = db.lastError().text();
            close();
            return false;
        }
        // A file that is not a database fails on the first read, not on open.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA schema_version"))) {
            m_error = q.lastError().text();
            close();
            return false;
        }
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        q.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
        q.exec(QStringLiteral("PRAGMA cache_size=-65536"));
    }
    if (!createWorkingTables()) {
        close();
        return false;
    }
    return true;
}

void Connection::close()
{
    if (m_name.isEmpty())
        return;
    m_prepared.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
    m_depth = 0;
    m_rollbackOnly = false;
}

QSqlQuery* Connection::prepared(const QString& sql)
{
    auto it = m_prepared.find(sql);
    if (it != m_prepared.end())
        return it->second.get();
    auto q = std::make_unique<QSqlQuery>(db());
    q->setForwardOnly(true);
    if (!q->prepare(sql)) {
        m_error = q->lastError().text();
        return nullptr;
    }
    return m_prepared.emplace(sql, std::move(q)).first->second.get();
}

bool Connection::isOpen() const
{
    return !m_name.isEmpty() && db().isOpen();
}

bool Connection::exec(const QString& sql, const SqlParams& params)
{
    QSqlQuery q(db());
    if (!Sql::exec(q, sql, params)) {
        m_error = q.lastError().text();
        return false;
    }
    return true;
}

qint64 Connection::insertReturningId(const QString& sql, const SqlParams& params)
{
    QSqlQuery q(db());
    const QString text = isPostgres() ? sql + QLatin1String(" RETURNING F_ID") : sql;
    if (!Sql::exec(q, text, params)) {
        m_error = q.lastError().text();
        return -1;
    }
    if (isPostgres()) {
        if (!q.next()) {
            m_error = q.lastError().text();
            return -1;
        }
        return q.value(0).toLongLong();
    }
    return q.lastInsertId().toLongLong();
}

bool Connection::createWorkingTables()
{
    // A connection may see a database without any tables yet (the setup program).
    for (const QString& sql : Schema::workingTableStatements(m_dialect)) {
        QSqlQuery q(db());
        if (!q.exec(sql)) {
            m_error = q.lastError().text();
            return false;
        }
    }
    return true;
}
