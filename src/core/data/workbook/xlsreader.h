#pragma once

#include "workbookreader.h"

// Excel 97-2003 workbooks (.xls) through FreeXL.
class XlsReader : public WorkbookReader
{
public:
    explicit XlsReader(const QString& fileName);
    ~XlsReader() override;

    QStringList sheetNames() const override { return m_sheets; }
    bool readSheet(int sheet, QList<QStringList>* rows) override;

private:
    const void* m_handle = nullptr;
    QStringList m_sheets;
};
