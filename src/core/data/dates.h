#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// The one place that turns dates into text and back. The program never changes
// the user's locale; it always writes yyyy-MM-dd itself.
namespace Dates {
inline constexpr const char* DateFormat = "yyyy-MM-dd";
inline constexpr const char* DateTimeFormat = "yyyy-MM-dd hh:mm:ss";

// A date that is not set is stored as 1900-08-14 and shown empty.
QDate emptyDate();
// Dates before 1901-08-14 are shown blank.
bool isBlank(const QDate& d);

QString formatDate(const QDate& d);
QString formatDateTime(const QDateTime& dt);
// Accepts yyyy-MM-dd, optionally followed by " hh:mm:ss" or "Thh:mm:ss"; invalid otherwise.
QDate parseDate(const QString& text);
QDateTime parseDateTime(const QString& text);

// A database value (QDate, QDateTime, or text from SQLite) as a date.
QDate toDate(const QVariant& v);
// The value to bind for a date column: "yyyy-MM-dd 00:00:00", the same text on both
// backends (SQLite compares the stored text, so all dates share one shape).
QString sqlDate(const QDate& d);
QString sqlDateTime(const QDateTime& dt);
} // namespace Dates
