#pragma once

#include <QString>

// Quantities as the quantity display format shows them ("0." + one "#" per
// decimal): rounded to the decimals, trailing zeros dropped.
namespace Quantities {
QString format(double v, int decimals);
// The value the formatted text reads back as.
double round(double v, int decimals);
} // namespace Quantities
