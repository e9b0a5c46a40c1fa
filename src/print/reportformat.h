#pragma once

#include <QString>
#include <QVariant>

// Turns expression values into printed text. Number formats in the style the
// options use ("0.00", ",0.00", "#,##0.00", "0.##", "0."), date formats with
// y/M/d (Qt letters, "yyyy-mm-dd" also accepted), and the aliases @quantity,
// @price and @amount for the decimals of the system options.
namespace ReportFormat {
QString formatNumber(double value, const QString& format);
// A value with an optional format; without one numbers print as they are
// (no trailing zeros), dates as yyyy-MM-dd and the empty date as nothing.
QString display(const QVariant& value, const QString& format = QString());
// Numbers from any value: numeric types and numeric text (PostgreSQL NUMERIC).
double toNumber(const QVariant& value, bool* ok = nullptr);
bool isNumeric(const QVariant& value);
// A value that is a date or a date text; invalid otherwise.
QDateTime toDateTime(const QVariant& value);
} // namespace ReportFormat
