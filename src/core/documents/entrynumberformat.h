#pragma once

#include <QString>

// Numbers in the display formats the options and the layouts use ("0.##",
// ",0.00", "￥,0.00;-￥,0.00"): ',' groups thousands, '0' a digit always shown,
// '#' one shown when needed; text around the digits is kept; a second section
// after ';' is used for negative numbers (without a minus of its own).
namespace EntryNumberFormat {
QString format(double value, const QString& displayFormat);
}
