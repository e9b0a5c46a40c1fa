#include "sysoptions.h"

SysOptions& SysOptions::current()
{
    static SysOptions o;
    return o;
}

QString SysOptions::quantityFormatFor(int decimals)
{
    return QStringLiteral("0.") + QString(qMax(0, decimals), QLatin1Char('#'));
}

QString SysOptions::moneyFormatFor(int decimals)
{
    QString f = QStringLiteral(",0.");
    for (int i = 1; i <= decimals; ++i)
        f += i <= 2 ? QLatin1Char('0') : QLatin1Char('#');
    return f;
}

QString SysOptions::quantityFormat() const
{
    return quantityFormatFor(iAmount);
}

QString SysOptions::priceFormat() const
{
    return moneyFormatFor(iPrice);
}

QString SysOptions::amountFormat() const
{
    return moneyFormatFor(iTotal);
}
