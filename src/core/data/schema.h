#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class SqlDialect;
class Connection;

// One description of every table, rendered as DDL per backend.
namespace Schema {
enum class Type { Identity, Int, Text, Memo, Float, Money, Bit, DateTime, Blob };

struct Column
{
    QString name;
    Type type;
    int width = 0; // text width; 0 = unbounded
};

struct Table
{
    QString name;
    QList<Column> columns;
    bool temporary = false; // a working table, created on every connection
};

struct Index
{
    QString name;
    QString table;
    QStringList columns;
    bool unique = false;
};

// The version this build writes; kept in the table kelmora_schema.
int currentVersion();

const QList<Table>& tables();
const QList<Index>& indexes();
const Table* table(const QString& name); // case-insensitive; nullptr when unknown

QString columnType(const SqlDialect& dialect, Type type, int width);
QStringList createStatements(const SqlDialect& dialect); // permanent tables, indexes, views, version row
QStringList workingTableStatements(const SqlDialect& dialect); // CREATE TEMPORARY TABLE IF NOT EXISTS ...

// The version stored in the database; 0 when there is none, -1 on a database error.
int storedVersion(Connection& connection);
// Brings an older database to currentVersion() in one transaction.
bool migrate(Connection& connection, QString* error);
} // namespace Schema
