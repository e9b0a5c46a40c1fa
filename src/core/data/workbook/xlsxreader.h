#pragma once

#include "workbookreader.h"

#include <QHash>
#include <QSet>

struct zip;

// Excel 2007 workbooks (.xlsx) through libzip and QXmlStreamReader: shared and
// inline strings, numbers, booleans, and dates recognised by their number format.
class XlsxReader : public WorkbookReader
{
public:
    explicit XlsxReader(const QString& fileName);
    ~XlsxReader() override;

    QStringList sheetNames() const override { return m_sheets; }
    bool readSheet(int sheet, QList<QStringList>* rows) override;

private:
    bool entry(const QString& name, QByteArray* data, bool required);
    bool readWorkbook();
    bool readSharedStrings();
    bool readStyles();

    zip* m_zip = nullptr;
    QStringList m_sheets;
    QStringList m_sheetPaths;
    QStringList m_shared;
    QList<int> m_xfKind; // per cell style: 0 general, 1 date, 2 time
    bool m_date1904 = false;
};
