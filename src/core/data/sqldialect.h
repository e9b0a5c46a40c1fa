#pragma once

#include <QString>

// The few real differences between the embedded database (SQLite) and the
// server (PostgreSQL). Everything else is written once in portable SQL.
class SqlDialect
{
public:
    enum Kind { SQLite, PostgreSQL };

    explicit SqlDialect(Kind kind = SQLite)
        : m_kind(kind)
    { }

    Kind kind() const { return m_kind; }
    bool isPostgres() const { return m_kind == PostgreSQL; }

    QString identityColumn(const QString& name) const;
    QString textType(int width) const;
    QString memoType() const { return QStringLiteral("TEXT"); }
    QString floatType() const;
    QString moneyType() const { return QStringLiteral("NUMERIC(19,4)"); }
    QString bitType() const { return QStringLiteral("SMALLINT"); }
    QString intType() const { return QStringLiteral("INTEGER"); }
    QString dateTimeType() const;
    QString blobType() const;
    QString createTemporaryTable() const { return QStringLiteral("CREATE TEMPORARY TABLE"); }

    // Day, ten-day period and month buckets of a date expression, as a date.
    QString dayBucket(const QString& expr) const;
    QString monthBucket(const QString& expr) const;
    QString tenDayBucket(const QString& expr) const;
    // The text "yyyy-mm-dd" of a date expression.
    QString dateText(const QString& expr) const;
    // Length of a text expression.
    QString length(const QString& expr) const;
    // A row-count limit appended to a select.
    QString limit(int n) const { return QStringLiteral(" LIMIT ") + QString::number(n); }

private:
    Kind m_kind;
};
