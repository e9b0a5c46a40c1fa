#include "sqlparams.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QStringList>

namespace {
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Positions of ":name" outside quoted text, not part of "::".
QList<int> placeholderPositions(const QString& sql, const QString& name)
{
    QList<int> out;
    bool inQuote = false;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote || c != QLatin1Char(':'))
            continue;
        if (i > 0 && sql[i - 1] == QLatin1Char(':'))
            continue;
        if (sql.mid(i + 1, name.size()).compare(name, Qt::CaseSensitive) != 0)
            continue;
        const int end = i + 1 + int(name.size());
        if (end < sql.size() && isNameChar(sql[end]))
            continue;
        out.append(i);
    }
    return out;
}
} // namespace

namespace Sql {
QString expandLists(const QString& sql, const SqlParams& params)
{
    QString out = sql;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (it.value().typeId() != QMetaType::QStringList)
            continue;
        QString name = it.key();
        if (name.startsWith(QLatin1Char(':')))
            name.remove(0, 1);
        const QStringList items = it.value().toStringList();
        QStringList holders;
        for (int i = 0; i < items.size(); ++i)
            holders << QLatin1Char(':') + name + QLatin1String("__") + QString::number(i);
        const QString replacement = holders.isEmpty() ? QStringLiteral("NULL") : holders.join(QLatin1Char(','));
        const QList<int> positions = placeholderPositions(out, name);
        for (int k = int(positions.size()) - 1; k >= 0; --k)
            out.replace(positions[k], int(name.size()) + 1, replacement);
    }
    return out;
}

bool prepare(QSqlQuery& query, const QString& sql, const SqlParams& params)
{
    const QString text = expandLists(sql, params);
    if (!query.prepare(text))
        return false;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        QString name = it.key();
        if (name.startsWith(QLatin1Char(':')))
            name.remove(0, 1);
        if (it.value().typeId() == QMetaType::QStringList) {
            const QStringList items = it.value().toStringList();
            for (int i = 0; i < items.size(); ++i) {
                const QString holder = name + QLatin1String("__") + QString::number(i);
                if (!placeholderPositions(text, holder).isEmpty())
                    query.bindValue(QLatin1Char(':') + holder, items[i]);
            }
        } else if (!placeholderPositions(text, name).isEmpty()) {
            query.bindValue(QLatin1Char(':') + name, it.value());
        }
    }
    return true;
}

bool exec(QSqlQuery& query, const QString& sql, const SqlParams& params)
{
    if (params.isEmpty())
        return query.exec(sql);
    if (!prepare(query, sql, params))
        return false;
    return query.exec();
}
} // namespace Sql
