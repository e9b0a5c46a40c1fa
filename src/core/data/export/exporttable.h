#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

// What a grid export writes: the visible columns with their titles and formats,
// and every row as the grid holds it. The rows are read through a function so a
// grid with 100,000 rows is not copied first.
class ExportTable
{
public:
    struct Column
    {
        QString title;
        QString displayFormat;
        int alignment = -1; // -1 default, 0 left, 1 centre, 2 right
    };

    QList<Column> columns;
    qsizetype rowCount = 0;
    std::function<QVariant(qsizetype row, int column)> value;

    // A table that owns its rows (tests, small lists).
    static ExportTable fromRows(const QList<Column>& columns, const QList<QVariantList>& rows);

    QVariant cell(qsizetype row, int column) const { return value ? value(row, column) : QVariant(); }
    // The cell as the grid shows it (numbers in the column's format, dates as yyyy-MM-dd).
    QString displayText(qsizetype row, int column) const;
    // True when the cell is a number (so a spreadsheet gets a real number).
    bool numberValue(qsizetype row, int column, double* out) const;
    // Both at once, reading the cell only once: the shown text, and whether it is a number.
    // Spreadsheets take the number itself, so they can skip formatting its text.
    QString cellText(qsizetype row, int column, bool* isNumber, double* number, bool skipNumberText = false) const;

    // The spreadsheet number format for a display format (",0.00" -> "#,##0.00");
    // empty for the general format, also where "0.##" would leave a bare dot.
    static QString excelNumberFormat(const QString& displayFormat);
};
