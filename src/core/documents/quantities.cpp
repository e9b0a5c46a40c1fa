#include "quantities.h"

#include "app/sysoptions.h"
#include "data/gridformat.h"

#include <QtGlobal>
#include <cmath>

namespace Quantities {
double round(double v, int decimals)
{
    const int d = qBound(0, decimals, 10);
    // Through 15 significant digits first, so binary noise (0.1 + 0.2) does not
    // decide which way a half rounds.
    const double clean = QString::number(v, 'g', 15).toDouble();
    const double scale = std::pow(10.0, d);
    const double r = std::round(clean * scale) / scale;
    return r == 0.0 ? 0.0 : r;
}

QString format(double v, int decimals)
{
    return GridFormat::formatNumber(round(v, decimals), SysOptions::quantityFormatFor(qBound(0, decimals, 10)));
}
} // namespace Quantities
