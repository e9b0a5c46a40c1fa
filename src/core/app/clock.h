#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "today": document codes, default periods and backups ask it,
// so tests (and KELMORA_TODAY=yyyy-mm-dd) can fix the day.
class Clock
{
public:
    static QDate today();
    static QDateTime now();
    // Fixes the clock; an invalid value returns it to the system clock.
    static void setFixed(const QDateTime& when);
    static void setFixedDate(const QDate& day);
};
