#include "transaction.h"

#include "connection.h"

#include <QSqlError>
#include <QSqlQuery>

Transaction::Transaction(Connection& connection, Mode mode)
    : m_connection(connection)
{
    if (m_connection.m_depth > 0) {
        ++m_connection.m_depth;
        m_active = true;
        if (mode == Serialized && m_connection.isPostgres()) {
            QSqlQuery q(m_connection.db());
            q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(:k)"));
            q.bindValue(QStringLiteral(":k"), StockLockKey);
            if (!q.exec())
                m_error = q.lastError().text();
        }
        return;
    }
    QSqlQuery q(m_connection.db());
    const bool immediate = mode == Serialized && !m_connection.isPostgres();
    if (!q.exec(immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))) {
        m_error = q.lastError().text();
        return;
    }
    m_outer = true;
    m_active = true;
    m_connection.m_depth = 1;
    m_connection.m_rollbackOnly = false;
    if (mode == Serialized && m_connection.isPostgres()) {
        q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(:k)"));
        q.bindValue(QStringLiteral(":k"), StockLockKey);
        if (!q.exec()) {
            m_error = q.lastError().text();
            rollback();
        }
    }
}

Transaction::~Transaction()
{
    if (m_active)
        rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    if (!m_outer) {
        --m_connection.m_depth;
        m_active = false;
        return true;
    }
    if (m_connection.m_rollbackOnly) {
        m_error = QStringLiteral("an inner step failed");
        rollback();
        return false;
    }
    QSqlQuery q(m_connection.db());
    if (!q.exec(QStringLiteral("COMMIT"))) {
        m_error = q.lastError().text();
        rollback();
        return false;
    }
    m_active = false;
    m_connection.m_depth = 0;
    return true;
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    if (!m_outer) {
        --m_connection.m_depth;
        m_connection.m_rollbackOnly = true;
        return;
    }
    QSqlQuery q(m_connection.db());
    q.exec(QStringLiteral("ROLLBACK"));
    m_connection.m_depth = 0;
    m_connection.m_rollbackOnly = false;
}
