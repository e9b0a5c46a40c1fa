#include "gridformat.h"

#include "app/sysoptions.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace GridFormat {

Formats Formats::fromOptions(const SysOptions& o)
{
    return {o.quantityFormat(), o.priceFormat(), o.amountFormat()};
}

PriceAction priceAction(const QString& fieldName, int priceHandling, bool operatorSeesPrices)
{
    if (operatorSeesPrices || !fieldName.toLower().contains(QLatin1String("price")))
        return PriceAction::Keep;
    if (priceHandling == 1)
        return PriceAction::Remove;
    if (priceHandling == 3)
        return PriceAction::Hide;
    return PriceAction::Keep;
}

namespace {
bool gfContainsAny(const QString& lower, std::initializer_list<const char*> parts)
{
    for (const char* p : parts) {
        if (lower.contains(QLatin1String(p)))
            return true;
    }
    return false;
}
} // namespace

ColumnFormat formatFor(const QString& fieldName, int scheme, const Formats& f)
{
    const QString n = fieldName.toLower();
    ColumnFormat r;
    auto set = [&r](const QString& fmt) {
        r.matched = true;
        r.displayFormat = fmt;
    };
    switch (scheme) {
    case 1:
        if (n.contains(QLatin1String("_rate")))
            set(f.quantity);
        if (n.contains(QLatin1String("_price")))
            set(f.price);
        if (gfContainsAny(n, {"totalprice", "cbprice"}))
            set(f.amount);
        if (n.contains(QLatin1String("amount")))
            set(f.quantity);
        break;
    case 3:
        if (gfContainsAny(n, {"begin", "enter", "out", "end"}))
            set(f.quantity);
        if (gfContainsAny(n, {"beginprice", "enterpric", "outpric", "endpric"}))
            set(f.amount);
        break;
    case 6:
        if (n.contains(QLatin1String("price")))
            set(f.amount);
        if (n.contains(QLatin1String("rate")))
            set(f.quantity);
        break;
    case 7:
        if (n.contains(QLatin1String("price")))
            set(f.amount);
        if (n.contains(QLatin1String("amount"))) {
            set(f.quantity);
            r.footerSum = true;
        }
        break;
    default:
        break;
    }
    return r;
}

namespace {
struct GfNumberPattern
{
    QString prefix, suffix;
    bool thousands = false;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    bool valid = false;
};

GfNumberPattern gfParseNumberPattern(const QString& section)
{
    GfNumberPattern p;
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
        return p;
    p.valid = true;
    p.prefix = section.left(first).remove(QLatin1Char('"'));
    p.suffix = section.mid(last + 1).remove(QLatin1Char('"'));
    const QString body = section.mid(first, last - first + 1);
    const int dot = body.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? body : body.left(dot);
    const QString decPart = dot < 0 ? QString() : body.mid(dot + 1);
    p.thousands = intPart.contains(QLatin1Char(','));
    p.minInt = int(intPart.count(QLatin1Char('0')));
    for (QChar c : decPart) {
        if (c == QLatin1Char('0')) {
            ++p.minDec;
            ++p.maxDec;
        } else if (c == QLatin1Char('#')) {
            ++p.maxDec;
        }
    }
    return p;
}

QString gfPlainNumber(double v)
{
    // Up to 15 significant digits: what was stored, without binary noise or an exponent.
    QString s = QString::number(v, 'g', 15);
    if (s.contains(QLatin1Char('e')) && std::isfinite(v) && std::fabs(v) < 1e15 && std::fabs(v) >= 1e-10) {
        s = QString::number(v, 'f', 10);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}
} // namespace

QString formatNumber(double value, const QString& displayFormat)
{
    if (displayFormat.trimmed().isEmpty())
        return gfPlainNumber(value);
    if (!std::isfinite(value))
        return QString::number(value);
    // Grids and exports format the same few formats millions of times: parse each once.
    struct Parsed
    {
        GfNumberPattern positive, negative;
        QString positiveText, negativeText;
        bool hasNegative = false;
    };
    thread_local QHash<QString, Parsed> cache;
    auto it = cache.constFind(displayFormat);
    if (it == cache.constEnd()) {
        Parsed parsed;
        const QStringList sections = displayFormat.split(QLatin1Char(';'));
        parsed.positiveText = sections.first();
        parsed.positive = gfParseNumberPattern(parsed.positiveText);
        if (sections.size() > 1 && !sections.at(1).isEmpty()) {
            parsed.hasNegative = true;
            parsed.negativeText = sections.at(1);
            parsed.negative = gfParseNumberPattern(parsed.negativeText);
        }
        if (cache.size() > 256)
            cache.clear();
        it = cache.insert(displayFormat, parsed);
    }
    const bool negSection = value < 0 && it->hasNegative;
    const GfNumberPattern& p = negSection ? it->negative : it->positive;
    if (!p.valid)
        return negSection ? it->negativeText : it->positiveText;
    const double a = std::fabs(value);
    // Round half away from zero; the tiny nudge absorbs binary noise like 2.675.
    const double scale = std::pow(10.0, p.maxDec);
    const double rounded = std::floor(a * scale * (1 + 4 * std::numeric_limits<double>::epsilon()) + 0.5) / scale;
    QString digits = QString::number(rounded, 'f', p.maxDec);
    QString intDigits = digits, decDigits;
    const int dot = int(digits.indexOf(QLatin1Char('.')));
    if (dot >= 0) {
        intDigits = digits.left(dot);
        decDigits = digits.mid(dot + 1);
    }
    while (decDigits.size() > p.minDec && decDigits.endsWith(QLatin1Char('0')))
        decDigits.chop(1);
    if (intDigits == QLatin1String("0") && p.minInt == 0)
        intDigits.clear();
    while (intDigits.size() < p.minInt)
        intDigits.prepend(QLatin1Char('0'));
    if (p.thousands) {
        for (qsizetype i = intDigits.size() - 3; i > 0; i -= 3)
            intDigits.insert(i, QLatin1Char(','));
    }
    QString out = intDigits;
    if (!decDigits.isEmpty())
        out += QLatin1Char('.') + decDigits;
    if (out.isEmpty())
        out = QStringLiteral("0");
    const bool isZero = rounded == 0;
    out = p.prefix + out + p.suffix;
    if (value < 0 && !negSection && !isZero)
        out.prepend(QLatin1Char('-'));
    return out;
}

bool isNumber(const QVariant& value, bool textCounts, double* out)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        if (out)
            *out = value.toDouble();
        return true;
    case QMetaType::QString:
        if (textCounts) {
            bool ok = false;
            const double d = value.toString().trimmed().toDouble(&ok);
            if (ok && out)
                *out = d;
            return ok;
        }
        return false;
    default:
        return false;
    }
}

QString displayText(const QVariant& value, const QString& displayFormat)
{
    if (value.isNull())
        return QString();
    double d = 0;
    if (isNumber(value, !displayFormat.isEmpty(), &d))
        return formatNumber(d, displayFormat);
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    const QString s = value.toString();
    // SQLite keeps dates as text; a midnight stamp is shown as the date alone.
    if (s.size() == 19 && s.endsWith(QLatin1String(" 00:00:00")) && s.at(4) == QLatin1Char('-')
        && s.at(7) == QLatin1Char('-'))
        return s.left(10);
    return s;
}

} // namespace GridFormat
