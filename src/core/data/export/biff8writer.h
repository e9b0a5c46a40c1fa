#pragma once

#include "exporttable.h"

#include <QByteArray>
#include <QString>

// Our own small writer of Excel 97 workbooks (BIFF8 in an OLE2 compound file):
// one worksheet, a bold title row, numbers as numbers with the column's number
// format, everything else as shared strings.
class Biff8Writer
{
public:
    // The whole file in memory; false with errorString when the table does not fit a sheet.
    static bool workbook(const ExportTable& table, QByteArray* out, QString* errorString,
        const QString& sheetName = QStringLiteral("Sheet1"));

    // Wraps one stream named "Workbook" into a compound file.
    static QByteArray compoundFile(const QByteArray& workbookStream);
};
