#pragma once

#include "workbookreader.h"

// Excel 97-2003 workbooks (.xls) through FreeXL. FreeXL runs in a child process
// where the system allows it, so a file that makes it crash or loop only gives an
// error. Compound files FreeXL cannot follow (small streams kept in the mini
// stream) are repacked around their Workbook stream and read again. Formula cells,
// which FreeXL leaves empty, get the results stored with them.
class XlsReader : public WorkbookReader
{
public:
    explicit XlsReader(const QString& fileName);

    QStringList sheetNames() const override { return m_sheets; }
    bool readSheet(int sheet, QList<QStringList>* rows) override;

private:
    // Formula cells carry the result Excel stored with them.
    void fillFormulaResults(const QByteArray& workbookStream);

    QStringList m_sheets;
    QList<QList<QStringList>> m_cells;
};
