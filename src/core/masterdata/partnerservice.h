#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include "data/sqlparams.h"

// One client or supplier (t_client).
struct PartnerRecord
{
    qint64 id = 0;
    QString code, name, type, empName, linkMan, address, postCode, handPhone, phone, fax;
    double begPrice = 0;
    QString bank, account, rateCode, homepage, email, enrol, mem;
    bool useFlag = false; // disabled

    static PartnerRecord fromRecord(const QSqlRecord& r);
};

// The left list of the partner windows: by salesman or by type, "" = "全部".
struct PartnerLeftFilter
{
    enum ListKind { Salesman = 0, Type = 1 };
    int listKind = Salesman;
    QString value; // empty: no filter
};

// Clients (kind 1) and suppliers (kind 0) in one table.
class PartnerService
{
public:
    enum Kind { Supplier = 0, Client = 1 };
    enum Field { NoField, CodeField, NameField, OtherField };

    static QString kindName(int kind) { return kind == Client ? QStringLiteral("客户") : QStringLiteral("供应商"); }
    // The code list of partner types: clttype or suptype.
    static QString typeListKind(int kind)
    {
        return kind == Client ? QStringLiteral("clttype") : QStringLiteral("suptype");
    }

    // Validates and writes a partner in one transaction (insert when id is 0,
    // else update; the code of a stored partner does not change). Shows the
    // message; badField tells which box to focus.
    static bool save(PartnerRecord& p, int kind, Field* badField = nullptr);
    // Deletes a partner (the delete service's message on failure).
    static bool remove(qint64 id);
    // "真的要删除当前客户名称为：“name”的资料吗？"
    static QString deleteQuestion(int kind, const QString& name);

    // Left list values: salesmen, or the partner types of the kind.
    static QStringList leftValues(int kind, int listKind);
    static QString leftTitle(int listKind)
    {
        return listKind == PartnerLeftFilter::Type ? QStringLiteral("类  型") : QStringLiteral("业务员");
    }

    // The list window's statement: combo item (-1 none) with the search text.
    static QString listSql(int kind, int item, const QString& text, bool includeDisabled, const PartnerLeftFilter& left,
        SqlParams& params);
    // The picker's statement: disabled partners never; code, name and phone
    // boxes (blank boxes are ignored).
    static QString pickerSql(int kind, const QString& code, const QString& name, const QString& phone,
        const PartnerLeftFilter& left, SqlParams& params);
};
