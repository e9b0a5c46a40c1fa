#pragma once

#include "exporttable.h"

#include <QString>

// Writes an export table as an Excel 2007 workbook through libxlsxwriter.
class XlsxExport
{
public:
    static bool write(const ExportTable& table, const QString& fileName, QString* errorString);
};
