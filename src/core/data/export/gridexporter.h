#pragma once

#include "exporttable.h"

#include <QString>

// Writes an export table to a file in one of the export formats.
namespace GridExporter {

// The file types of the save dialog, in its filter order.
enum FileType { Xls = 1, Txt = 2, Htm = 3, Rtf = 4, Csv = 5, Xlsx = 6 };

// The last row an Excel 97 worksheet can hold, headers included.
inline constexpr qsizetype XlsMaxRows = 65536;

// "xls", "txt", "htm", "rtf", "csv", "xlsx"; empty for an unknown type.
QString extension(int fileType);
// The save dialog's filter entries, one per file type in order.
QStringList filters();
// The type whose filter entry this is (1..6), 0 when none.
int typeOfFilter(const QString& filter);
// Appends "." + extension unless the name already ends in it (any letter case,
// dot or not, as users type it).
QString withExtension(const QString& fileName, int fileType);

// Writes the table; false with errorString set when the file cannot be written.
// A table with more rows than an .xls sheet holds fails for Xls with a message
// that says to use .xlsx.
bool write(const ExportTable& table, const QString& fileName, int fileType, QString* errorString);

bool writeTxt(const ExportTable& table, const QString& fileName, QString* errorString);
bool writeCsv(const ExportTable& table, const QString& fileName, QString* errorString);
bool writeHtm(const ExportTable& table, const QString& fileName, QString* errorString);
bool writeRtf(const ExportTable& table, const QString& fileName, QString* errorString);
bool writeXls(const ExportTable& table, const QString& fileName, QString* errorString);
bool writeXlsx(const ExportTable& table, const QString& fileName, QString* errorString);

} // namespace GridExporter
