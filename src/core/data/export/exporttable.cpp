#include "exporttable.h"

#include "data/gridformat.h"

ExportTable ExportTable::fromRows(const QList<Column>& columns, const QList<QVariantList>& rows)
{
    ExportTable t;
    t.columns = columns;
    t.rowCount = rows.size();
    auto data = std::make_shared<QList<QVariantList>>(rows);
    t.value = [data](qsizetype r, int c) -> QVariant {
        const QVariantList& row = data->at(r);
        return c < row.size() ? row.at(c) : QVariant();
    };
    return t;
}

QString ExportTable::displayText(qsizetype row, int column) const
{
    return GridFormat::displayText(cell(row, column), columns.at(column).displayFormat);
}

bool ExportTable::numberValue(qsizetype row, int column, double* out) const
{
    const QVariant v = cell(row, column);
    if (v.isNull())
        return false;
    return GridFormat::isNumber(v, !columns.at(column).displayFormat.isEmpty(), out);
}

QString ExportTable::cellText(qsizetype row, int column, bool* isNumber, double* number, bool skipNumberText) const
{
    const QVariant v = cell(row, column);
    const QString& fmt = columns.at(column).displayFormat;
    double d = 0;
    const bool num = !v.isNull() && GridFormat::isNumber(v, !fmt.isEmpty(), &d);
    if (isNumber)
        *isNumber = num;
    if (number)
        *number = d;
    if (num)
        return skipNumberText ? QString() : GridFormat::formatNumber(d, fmt);
    return GridFormat::displayText(v, fmt);
}

QString ExportTable::excelNumberFormat(const QString& displayFormat)
{
    const QString f = displayFormat.trimmed();
    if (f.isEmpty() || f.contains(QLatin1Char(';')))
        return QString();
    const int dot = int(f.indexOf(QLatin1Char('.')));
    const QString intPart = dot < 0 ? f : f.left(dot);
    const QString decPart = dot < 0 ? QString() : f.mid(dot + 1);
    for (QChar ch : f) {
        if (ch != QLatin1Char('0') && ch != QLatin1Char('#') && ch != QLatin1Char(',') && ch != QLatin1Char('.'))
            return QString();
    }
    const int minDec = int(decPart.count(QLatin1Char('0')));
    const int maxDec = int(decPart.size());
    // "0.##" would show "12." for a whole number; the general format shows "12".
    if (minDec == 0 && maxDec > 0)
        return QString();
    QString out = intPart.contains(QLatin1Char(',')) ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (maxDec > 0)
        out += QLatin1Char('.') + decPart;
    return out;
}
