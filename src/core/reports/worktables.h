#pragma once

#include "data/sqlparams.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class Connection;

// The pieces every working-table build is made of: clear, raw rows per line
// class (optionally limited by document date), consolidate, drop raw rows (and
// rows of depots the operator may not see), valuate by the costing method, and
// unit values with the zero-divisor rule. The working tables are TEMPORARY
// tables of the connection, so builds on different workstations never meet.
//
// A build runs its statements one after the other and stops at the first one
// that fails; errorString() then holds the database's message.
class WorkTables
{
public:
    // The four ways a document line is attributed to a depot and a sign.
    enum class LineClass { A, B, C, D };

    // Source pieces of one line class over "DepotD As d Left Join DepotM As m".
    struct ClassSql
    {
        QString depot; // m.F_depot or m.F_client
        QString where; // the line-flag and kind tests
        // The signed expression of a line column (d.F_Amount, d.F_CBprice, d.F_totalPrice).
        QString signedColumn(const QString& column) const;
        QString sign; // "m.F_OperFlag * ", "-", "-m.F_OperFlag * " (applied as sign + column)
    };
    static ClassSql lineClass(LineClass c);
    // Classes A, B and C in one pass over the lines: they never share a line (C has
    // line flag 1, B the other lines of kinds 12 and 13, A the rest), so a build
    // that wants all three reads the lines once. Class D adds a second row for
    // every transfer line and stays apart.
    static ClassSql lineClassesABC();
    static QList<LineClass> allClasses() { return {LineClass::A, LineClass::B, LineClass::C, LineClass::D}; }
    static QString documentSource()
    {
        return QStringLiteral("DepotD As d Left Join DepotM As m On d.F_Code = m.F_Code ");
    }

    // "and m.F_MakeDate >= :dateFrom " / "and m.F_MakeDate <= :dateTo " for the
    // valid limits, with their bound values added to params.
    static QString dateLimit(const QDate& from, const QDate& to, SqlParams& params, const QString& column = {});

    // Goods in use, as the stock reports write it ("F_flag = 0": NULL is dropped)
    // or as the lists write it ("isNull(F_flag,0) = 0": NULL is kept).
    static QString goodsInUse(const QString& codeColumn, bool nullCountsAsInUse);

    // Unit value of a value over a quantity, a zero quantity dividing by 1.
    static QString unitValue(const QString& value, const QString& quantity);

    explicit WorkTables(Connection& connection);

    bool clear(const QString& table);
    // insert into table(columns) select ... : one raw statement.
    bool insertRaw(
        const QString& table, const QStringList& columns, const QString& select, const SqlParams& params = {});
    // Sums every measure with COALESCE(...,0) grouped by the keys, written with F_flag = 1.
    bool consolidate(const QString& table, const QStringList& keys, const QStringList& measures,
        const QString& where = {}, const SqlParams& params = {});
    // Deletes the raw rows; extraOr (e.g. the session's working-table depot clause) widens it.
    bool dropRaw(const QString& table, const QString& extraOr = {}, const SqlParams& params = {});
    bool exec(const QString& sql, const SqlParams& params = {});

    // One quantity group of a table: quantity, summed cost, value columns.
    struct Group
    {
        QString quantity, cost, value;
    };
    // Sets every group's value by the costing method: 0 quantity x the good's
    // F_enterPrice (NULL for a good without one), 1 the summed cost, 2 the summed
    // line amounts (already in the value column).
    bool valuate(const QString& table, const QString& codeColumn, const QList<Group>& groups, int costingMode);

    QString errorString() const { return m_error; }
    // Called after every statement with its step number (progress bars).
    void setProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }

private:
    Connection& m_connection;
    QString m_error;
    int m_step = 0;
    std::function<void(int)> m_progress;
};
