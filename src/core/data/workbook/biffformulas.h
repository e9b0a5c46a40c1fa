#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// The results Excel stored with the formula cells of a BIFF8 workbook stream.
// FreeXL gives formula cells no value; these cached results fill them in.
namespace BiffFormulas {

struct Sheet
{
    QString name;
    QHash<QPair<int, int>, QString> cells; // (row, column) -> result as text
};

// Per worksheet in workbook order. Numbers without spurious decimals, dates as
// yyyy-MM-dd by the cell's number format and the workbook's date system.
QList<Sheet> read(const QByteArray& workbookStream);

} // namespace BiffFormulas
