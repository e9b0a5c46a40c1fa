#include "session.h"

#include <QVariantMap>

Session& Session::current()
{
    static Session s;
    return s;
}

QString Session::depotNameClause() const
{
    return restricted() ? QStringLiteral("and (F_name in (:sessionDepots)) ") : QString();
}

QString Session::documentDepotClause() const
{
    return restricted() ? QStringLiteral("and ((F_depot in (:sessionDepots))Or(F_depot = '')or(F_depot is Null)) ")
                        : QString();
}

QString Session::headerDepotClause() const
{
    return restricted()
        ? QStringLiteral("and ((m.F_depot in (:sessionDepots))Or(m.F_depot = '')or(m.F_depot is Null)) ")
        : QString();
}

QString Session::workTableDepotClause() const
{
    return restricted() ? QStringLiteral("or (not(F_depot in (:sessionDepots))) ") : QString();
}

QVariantMap Session::depotParams() const
{
    QVariantMap p;
    if (restricted())
        p.insert(QStringLiteral("sessionDepots"), permittedDepots);
    return p;
}

QStringList Session::parseDepotList(const QString& text)
{
    QStringList out;
    QString cur;
    bool inQuote = false;
    bool any = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuote) {
            if (c == QLatin1Char('\'')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\'')) {
                    cur += c;
                    ++i;
                } else {
                    inQuote = false;
                }
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('\'')) {
            inQuote = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            if (any)
                out << cur;
            cur.clear();
            any = false;
        } else if (!c.isSpace()) {
            cur += c;
            any = true;
        }
    }
    if (any)
        out << cur;
    return out;
}
