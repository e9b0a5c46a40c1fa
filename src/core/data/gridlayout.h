#pragma once

#include <QList>
#include <QString>

// One column of a grid as cfg_grid stores it.
struct GridColumnDef
{
    enum FooterType { NoFooter = 0, FooterText = 1, FooterSum = 2 };
    enum Alignment { AlignDefault = -1, AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

    QString fieldName;
    QString caption;
    int width = 80;
    bool visible = true;
    bool readOnly = true;
    QString displayFormat; // of the column and of its footer
    QString footerValue; // text of a fixed-text footer
    int footerType = NoFooter;
    int alignment = AlignDefault;
    qint64 cfgId = 0; // F_ID of the cfg_grid row it came from, 0 for a column built in code
};

// Reading and writing the stored column layouts of the grids (table cfg_grid).
// Grid keys are lower case; rows are never inserted or deleted here.
namespace GridLayout {

enum class LoadResult { Loaded, NoRows, Failed };

// Reads the layout of a grid key in column order. Rows with an empty field name
// are skipped. On a database error "操作失败，请检查数据连接... " is shown (kind 3),
// Failed is returned and columns holds what was read before the error.
LoadResult load(const QString& gridKey, QList<GridColumnDef>& columns);

// Writes every column back, one statement per column, with the column's index as
// its order. A column is matched by its cfg_grid row id when it has one, else by
// grid key and field name; a column without a row is not saved. A failing
// statement is reported by the execute service and the next column is still
// saved. Returns the number of columns that failed.
int save(const QString& gridKey, const QList<GridColumnDef>& columns);

} // namespace GridLayout
