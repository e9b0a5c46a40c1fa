#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// Reads the sheets of a workbook as text, for the import from Excel.
// Numbers come without spurious decimals, dates as yyyy-MM-dd whichever date
// system the file uses. A file that is not a workbook, is encrypted or is
// damaged gives errorString() instead of data.
class WorkbookReader
{
public:
    virtual ~WorkbookReader() = default;

    // The reader for the file, chosen by its content (not its name); nullptr with
    // *errorString when the file cannot be read as a workbook.
    static std::unique_ptr<WorkbookReader> open(const QString& fileName, QString* errorString);

    virtual QStringList sheetNames() const = 0;
    // Every row of the sheet from its first row, each cell as text; rows are padded
    // to the same number of cells. False with errorString() on failure.
    virtual bool readSheet(int sheet, QList<QStringList>* rows) = 0;

    // The first row that holds anything, as column names.
    QStringList columnNames(int sheet);
    QString errorString() const { return m_error; }

    static QString notWorkbookText() { return QStringLiteral("文件不是 Excel 工作簿"); }
    static QString encryptedText() { return QStringLiteral("工作簿有密码保护，请先在 Excel 中取消密码后再导入"); }
    static QString damagedText() { return QStringLiteral("工作簿已损坏或不完整"); }
    static QString emptyFileText() { return QStringLiteral("文件是空的"); }

    // A spreadsheet serial day number as yyyy-MM-dd (with the time when it has one),
    // or only the time.
    static QString dateText(double serial, bool date1904, bool timeOnly = false);
    // Whether a number format shows dates (1), times (2) or numbers (0): built-in
    // ids, or the format code of a custom one.
    static int numberFormatKind(int id, const QString& code);

protected:
    // Pads rows to one width and drops trailing empty rows.
    static void normalize(QList<QStringList>* rows);

    QString m_error;
};
