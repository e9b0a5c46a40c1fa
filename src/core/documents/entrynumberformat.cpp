#include "entrynumberformat.h"

#include <QStringList>
#include <cmath>

namespace {
QString entryFormatSection(double v, const QString& section)
{
    int first = -1, last = -1;
    for (int i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return section;
    const QString prefix = section.left(first);
    const QString suffix = section.mid(last + 1);
    const QString digits = section.mid(first, last - first + 1);
    const int dot = int(digits.indexOf(QLatin1Char('.')));
    const QString fraction = dot < 0 ? QString() : digits.mid(dot + 1);
    const int minDec = int(fraction.count(QLatin1Char('0')));
    const int maxDec = int(fraction.size());
    const bool group = digits.left(dot < 0 ? digits.size() : dot).contains(QLatin1Char(','));
    QString text = QString::number(std::fabs(v), 'f', maxDec);
    if (maxDec > 0) {
        int cut = int(text.size());
        while (cut > 0 && text.size() - cut < maxDec - minDec && text.at(cut - 1) == QLatin1Char('0'))
            --cut;
        text.truncate(cut);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (group) {
        const int p = int(text.indexOf(QLatin1Char('.')));
        QString intPart = p < 0 ? text : text.left(p);
        const QString rest = p < 0 ? QString() : text.mid(p);
        for (int i = int(intPart.size()) - 3; i > 0; i -= 3)
            intPart.insert(i, QLatin1Char(','));
        text = intPart + rest;
    }
    return prefix + text + suffix;
}
} // namespace

namespace EntryNumberFormat {
QString format(double value, const QString& displayFormat)
{
    if (displayFormat.isEmpty())
        return QString::number(value, 'g', 15);
    const QStringList sections = displayFormat.split(QLatin1Char(';'));
    // Rounding first, so -0.001 in "0.##" shows 0 and not -0.
    const double shown = std::fabs(value) < 1e-12 ? 0.0 : value;
    if (shown < 0 && sections.size() > 1) {
        const QString t = entryFormatSection(shown, sections.at(1));
        return t;
    }
    QString t = entryFormatSection(shown, sections.at(0));
    if (shown < 0) {
        bool nonZero = false;
        for (const QChar c : t)
            if (c.isDigit() && c != QLatin1Char('0'))
                nonZero = true;
        if (nonZero)
            t.prepend(QLatin1Char('-'));
    }
    return t;
}
} // namespace EntryNumberFormat
