#include "reportformat.h"

#include "app/sysoptions.h"
#include "data/dates.h"

#include <QDateTime>
#include <cmath>

namespace ReportFormat {
namespace {
QString resolveAlias(const QString& format)
{
    if (format.compare(QLatin1String("@quantity"), Qt::CaseInsensitive) == 0)
        return SysOptions::current().quantityFormat();
    if (format.compare(QLatin1String("@price"), Qt::CaseInsensitive) == 0)
        return SysOptions::current().priceFormat();
    if (format.compare(QLatin1String("@amount"), Qt::CaseInsensitive) == 0)
        return SysOptions::current().amountFormat();
    return format;
}

bool looksLikeDateFormat(const QString& f)
{
    return f.contains(QLatin1Char('y'), Qt::CaseInsensitive) || f.contains(QLatin1Char('d'), Qt::CaseInsensitive)
        || f.contains(QLatin1Char('h'), Qt::CaseInsensitive);
}

QString qtDateFormat(QString f)
{
    // Delphi style "yyyy-mm-dd hh:nn:ss": mm after hours is minutes, else months.
    f.replace(QLatin1String("nn"), QLatin1String("mm"));
    const int h = int(f.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive));
    const QString datePart = h < 0 ? f : f.left(h);
    QString d = datePart;
    d.replace(QLatin1Char('m'), QLatin1Char('M'));
    d.replace(QLatin1Char('Y'), QLatin1Char('y'));
    d.replace(QLatin1Char('D'), QLatin1Char('d'));
    return h < 0 ? d : d + f.mid(h);
}

QString trimNumber(double v)
{
    QString s = QString::number(v, 'f', 6);
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
} // namespace

QString formatNumber(double value, const QString& rawFormat)
{
    const QString format = resolveAlias(rawFormat);
    if (format.isEmpty())
        return trimNumber(value);
    // The numeric part runs from the first of "#0,." to the last; anything around it is kept.
    int first = -1, last = -1;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return format;
    const QString pattern = format.mid(first, last - first + 1);
    const bool grouping = pattern.contains(QLatin1Char(','));
    const int dot = int(pattern.indexOf(QLatin1Char('.')));
    int minDec = 0, maxDec = 0;
    if (dot >= 0) {
        for (int i = dot + 1; i < pattern.size(); ++i) {
            if (pattern.at(i) == QLatin1Char('0')) {
                ++minDec;
                ++maxDec;
            } else if (pattern.at(i) == QLatin1Char('#')) {
                ++maxDec;
            }
        }
    }
    // Half away from zero, on the decimal text.
    const double scale = std::pow(10.0, maxDec);
    double rounded = std::round(std::fabs(value) * scale + 1e-9 * std::max(1.0, std::fabs(value) * scale)) / scale;
    QString digits = QString::number(rounded, 'f', maxDec);
    if (maxDec > minDec) {
        while (digits.endsWith(QLatin1Char('0')) && digits.size() - digits.indexOf(QLatin1Char('.')) - 1 > minDec)
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    if (grouping) {
        const int intEnd
            = digits.contains(QLatin1Char('.')) ? int(digits.indexOf(QLatin1Char('.'))) : int(digits.size());
        for (int i = intEnd - 3; i > 0; i -= 3)
            digits.insert(i, QLatin1Char(','));
    }
    const bool negative = value < 0 && rounded != 0;
    return format.left(first) + (negative ? QStringLiteral("-") : QString()) + digits + format.mid(last + 1);
}

double toNumber(const QVariant& value, bool* ok)
{
    bool good = false;
    double d = 0;
    if (value.isValid() && !value.isNull()) {
        switch (value.typeId()) {
        case QMetaType::QString:
            d = value.toString().trimmed().toDouble(&good);
            break;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            break;
        default:
            d = value.toDouble(&good);
        }
    }
    if (ok)
        *ok = good;
    return good ? d : 0;
}

bool isNumeric(const QVariant& value)
{
    bool ok = false;
    toNumber(value, &ok);
    return ok;
}

QDateTime toDateTime(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QString: {
        const QString s = value.toString().trimmed();
        if (s.size() >= 10 && s.at(4) == QLatin1Char('-') && s.at(7) == QLatin1Char('-'))
            return Dates::parseDateTime(s);
        return {};
    }
    default:
        return {};
    }
}

QString display(const QVariant& value, const QString& format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    const QString fmt = resolveAlias(format);
    const QDateTime dt = toDateTime(value);
    if (dt.isValid()) {
        if (Dates::isBlank(dt.date()))
            return QString();
        if (!fmt.isEmpty() && looksLikeDateFormat(fmt))
            return dt.toString(qtDateFormat(fmt));
        if (dt.time() == QTime(0, 0))
            return Dates::formatDate(dt.date());
        return Dates::formatDateTime(dt);
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return formatNumber(value.toDouble(), fmt);
    default:
        break;
    }
    const QString s = value.toString();
    if (!fmt.isEmpty() && !looksLikeDateFormat(fmt)) {
        bool ok = false;
        const double d = s.trimmed().toDouble(&ok);
        if (ok)
            return formatNumber(d, fmt);
    }
    return s;
}
} // namespace ReportFormat
