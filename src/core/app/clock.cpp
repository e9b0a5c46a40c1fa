#include "clock.h"

#include <QtGlobal>

namespace {
QDateTime g_fixed;

QDateTime fromEnvironment()
{
    const QByteArray env = qgetenv("KELMORA_TODAY");
    if (env.isEmpty())
        return {};
    const QDate d = QDate::fromString(QString::fromLatin1(env), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return {};
    return QDateTime(d, QTime::currentTime());
}
} // namespace

QDateTime Clock::now()
{
    if (g_fixed.isValid())
        return g_fixed;
    const QDateTime env = fromEnvironment();
    if (env.isValid())
        return env;
    return QDateTime::currentDateTime();
}

QDate Clock::today()
{
    return now().date();
}

void Clock::setFixed(const QDateTime& when)
{
    g_fixed = when;
}

void Clock::setFixedDate(const QDate& day)
{
    g_fixed = day.isValid() ? QDateTime(day, QTime(12, 0, 0)) : QDateTime();
}
