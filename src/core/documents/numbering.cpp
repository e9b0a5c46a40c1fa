#include "numbering.h"

#include "app/clock.h"
#include "app/messenger.h"
#include "data/datamodule.h"
#include "documentkinds.h"

#include <QSqlError>
#include <QSqlQuery>

bool Numbering::nextAfter(const QString& max, const QString& head0, int width, QString& out, QString* error)
{
    QString head = head0;
    QString tail = QString(width, QLatin1Char('0'));
    if (!max.isEmpty()) {
        head = max.left(qMax(0, int(max.size()) - width));
        tail = max.right(width);
    }
    const QString digits = QLatin1Char('1') + tail;
    bool ok = false;
    const qlonglong n = digits.toLongLong(&ok);
    bool allDigits = ok && tail.size() == width;
    for (QChar c : tail)
        allDigits = allDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!allDigits) {
        const QString msg = QLatin1Char('\'') + digits + QStringLiteral("' is not a valid integer value");
        if (error)
            *error = msg;
        return false;
    }
    const QString bumped = QString::number(n + 1);
    QString next = bumped.mid(1, width);
    // "1999" + 1 = "2000": the sequence ran out. Keep the whole highest code as
    // head and start a new sequence behind it, so the code is new and sorts last.
    if (bumped.at(0) != QLatin1Char('1')) {
        head = max.isEmpty() ? head + tail : max;
        next = QString(width - 1, QLatin1Char('0')) + QLatin1Char('1');
    }
    out = head + next;
    return true;
}

QString Numbering::GetNextCode(
    const QString& sql, const SqlParams& params, const QString& prefix, int width, QString* error)
{
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, sql, params)) {
        const QString msg = q.lastError().text();
        if (error)
            *error = msg;
        ShowMess(msg, Messenger::Error);
        return QString();
    }
    QString max;
    if (q.next())
        max = q.value(0).isNull() ? QString() : q.value(0).toString();
    q.finish();
    const QString head = prefix.isNull() ? QString() : prefix + Clock::today().toString(QStringLiteral("yyyyMMdd"));
    QString out, msg;
    if (!nextAfter(max, head, width, out, &msg)) {
        if (error)
            *error = msg;
        ShowMess(msg, Messenger::Error);
        return QString();
    }
    if (error)
        error->clear();
    return out;
}

QString Numbering::GetNextSeqCode(const QString& sql, int width, QString* error)
{
    return GetNextCode(sql, {}, QString(), width, error);
}

QString Numbering::nextCodeFor(const DocumentKind& kind, QString* error)
{
    const QString pattern = kind.prefix + Clock::today().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('%');
    return GetNextCode(kind.maxCodeSql(), {{QStringLiteral("pattern"), pattern}}, kind.prefix, 3, error);
}

QString Numbering::nextCodeFor(int kind, QString* error)
{
    const DocumentKind* k = DocumentKinds::find(kind);
    if (!k) {
        if (error)
            *error = QStringLiteral("unknown document kind %1").arg(kind);
        return QString();
    }
    return nextCodeFor(*k, error);
}
