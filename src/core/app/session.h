#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// The logged-in operator's values, program-wide. Set by a successful login
// (LoginService) and replaced by the next one; nothing of it is stored.
struct Session
{
    QString operCode;
    QString operName;
    QString partCode; // role code
    bool rNew = false, rEdit = false, rDel = false, rCheck = false, rSet = false;
    bool rYGedit = false, rHPedit = false, rKHedit = false, rPrice = false;
    int ckFlag = 0; // 1: only the depots in permittedDepots
    QString depotListText; // OperList.F_depot as stored: 'A','B'
    QStringList permittedDepots; // the same list, parsed
    QString companyTitle;
    QString zfCaptions[11]; // user-defined field captions, KeyValue order
    bool zfShown[11] = {};

    bool isAdmin() const { return operCode == QLatin1String("000"); }
    bool restricted() const { return ckFlag == 1; }
    // "" with the price right, "1" without.
    QString templateSuffix() const { return rPrice ? QString() : QStringLiteral("1"); }

    // The four depot clauses, as SQL text with the bound list ":sessionDepots";
    // empty when the operator sees every depot. Bind depotParams() with them.
    QString depotNameClause() const; // "and (F_name in (:sessionDepots)) "
    QString documentDepotClause() const; // "and ((F_depot in (...))Or(F_depot = '')or(F_depot is Null)) "
    QString headerDepotClause() const; // the same on alias m
    QString workTableDepotClause() const; // "or (not(F_depot in (...))) "
    // {"sessionDepots": permittedDepots} when restricted, else empty.
    QVariantMap depotParams() const;

    // Parses 'A','B' into its names (quotes doubled inside a name are undone).
    static QStringList parseDepotList(const QString& text);

    static Session& current();
};
