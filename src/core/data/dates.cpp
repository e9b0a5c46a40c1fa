#include "dates.h"

namespace Dates {
QDate emptyDate()
{
    return QDate(1900, 8, 14);
}

bool isBlank(const QDate& d)
{
    return !d.isValid() || d < QDate(1901, 8, 14);
}

QString formatDate(const QDate& d)
{
    return d.isValid() ? d.toString(QLatin1String(DateFormat)) : QString();
}

QString formatDateTime(const QDateTime& dt)
{
    return dt.isValid() ? dt.toString(QLatin1String(DateTimeFormat)) : QString();
}

QDate parseDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() < 10)
        return {};
    const QDate d = QDate::fromString(t.left(10), QLatin1String(DateFormat));
    if (!d.isValid())
        return {};
    if (t.size() > 10) {
        if (!parseDateTime(t).isValid())
            return {};
    }
    return d;
}

QDateTime parseDateTime(const QString& text)
{
    QString t = text.trimmed();
    if (t.size() == 10) {
        const QDate d = QDate::fromString(t, QLatin1String(DateFormat));
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    if (t.size() > 10 && t[10] == QLatin1Char('T'))
        t[10] = QLatin1Char(' ');
    // Fractions of a second, as some drivers return them, are dropped.
    const int dot = t.indexOf(QLatin1Char('.'), 19);
    if (dot == 19)
        t.truncate(19);
    return QDateTime::fromString(t, QLatin1String(DateTimeFormat));
}

QDate toDate(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate();
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    default:
        return parseDate(v.toString());
    }
}

QString sqlDate(const QDate& d)
{
    // Always the full form: SQLite compares the stored text, so every date
    // written or bound must have the same shape.
    return d.isValid() ? d.toString(QLatin1String(DateFormat)) + QLatin1String(" 00:00:00") : QString();
}

QString sqlDateTime(const QDateTime& dt)
{
    return formatDateTime(dt);
}
} // namespace Dates
