#include "reportformat.h"

#include "data/gridformat.h"

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

} // namespace

QString formatNumber(double value, const QString& rawFormat)
{
    // One number formatter for grids, exports and printed forms.
    return GridFormat::formatNumber(value, resolveAlias(rawFormat));
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
