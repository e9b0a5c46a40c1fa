#include "quantities.h"

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
    const int d = qBound(0, decimals, 10);
    QString s = QString::number(round(v, d), 'f', d);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}
} // namespace Quantities
