#pragma once

#include <QString>
#include <QVariant>

struct SysOptions;

// Column-name rules for the display formats of number columns, the handling of
// price columns for operators without the price right, and the display text of
// a cell. Pure functions: the grid services apply them to a grid's columns.
namespace GridFormat {

// The three display formats of the system options.
struct Formats
{
    QString quantity;
    QString price;
    QString amount;
    static Formats fromOptions(const SysOptions& o);
};

enum class PriceAction { Keep, Remove, Hide };

// What price handling 0, 1 or 3 does to a column, for an operator who may or may
// not see prices (the built-in administrator always may).
PriceAction priceAction(const QString& fieldName, int priceHandling, bool operatorSeesPrices);

struct ColumnFormat
{
    bool matched = false; // false: no test of the scheme applies, the column keeps its format
    QString displayFormat;
    bool footerSum = false; // scheme 7 turns amount footers into sums
};

// The format a column gets by scheme 1, 3, 6 or 7; where several tests match, the later wins.
ColumnFormat formatFor(const QString& fieldName, int scheme, const Formats& formats);

// A number in a display format of the kind the options build ("0.##", ",0.00",
// "#,##0.00##", "0."): ',' asks for thousands separators, '0' for a digit always
// shown, '#' for one shown when needed. Text before and after the digits is kept.
// An empty format shows the number without spurious decimals.
QString formatNumber(double value, const QString& displayFormat);

// True when the value is a number (or numeric text where a format asks for a number).
bool isNumber(const QVariant& value, bool textCounts = false, double* out = nullptr);

// The text a grid shows for a value: numbers in the column's format, dates as
// yyyy-MM-dd (with the time only when it is not midnight), the rest as text.
QString displayText(const QVariant& value, const QString& displayFormat);

} // namespace GridFormat
