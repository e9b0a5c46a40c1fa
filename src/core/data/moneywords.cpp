#include "moneywords.h"

#include <cmath>

namespace {
// Two decimals of |x|, rounded half away from zero on the decimal text, so that
// an amount typed as 1.005 becomes 1.01 although its binary value is a hair below.
QString moneyDigitsOf(double x)
{
    QString s = QString::number(std::fabs(x), 'f', 9);
    const int dot = int(s.indexOf(QLatin1Char('.')));
    const bool up = s.at(dot + 3) >= QLatin1Char('5');
    s.truncate(dot + 3);
    s.remove(dot, 1);
    if (up) {
        int i = int(s.size()) - 1;
        while (i >= 0 && s.at(i) == QLatin1Char('9')) {
            s[i] = QLatin1Char('0');
            --i;
        }
        if (i < 0)
            s.prepend(QLatin1Char('1'));
        else
            s[i] = QChar(s.at(i).unicode() + 1);
    }
    return s; // digits only, the last two are the cents
}
} // namespace

QString MoneyMinToBig(double amount)
{
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e16)
        return QString();
    static const QString numerals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    // Positions -2 .. 15; 千 not 仟 and 十 at position 9 as the forms have them.
    static const QString units = QStringLiteral("分角元拾佰千万拾佰千亿十佰千万拾佰千");
    const QString digits = moneyDigitsOf(amount);
    if (digits.size() > units.size())
        return QString();
    QString result;
    const int n = int(digits.size());
    for (int i = n - 1, pos = 0; i >= 0; --i, ++pos) {
        const int d = digits.at(i).unicode() - '0';
        result.prepend(units.at(pos));
        result.prepend(numerals.at(d));
    }
    if (digits.endsWith(QLatin1String("00"))) {
        result.chop(4);
        result.append(QStringLiteral("整"));
    }
    return result.trimmed();
}
