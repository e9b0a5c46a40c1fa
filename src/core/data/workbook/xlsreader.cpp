#include "xlsreader.h"

#include "data/gridformat.h"

#include <QFile>
#include <freexl.h>

XlsReader::XlsReader(const QString& fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    int rc = freexl_open(path.constData(), &m_handle);
    if (rc != FREEXL_OK) {
        m_error = rc == FREEXL_FILE_NOT_FOUND ? QStringLiteral("找不到文件 %1").arg(fileName) : damagedText();
        return;
    }
    unsigned int info = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        m_error = encryptedText();
        return;
    }
    unsigned int count = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        m_error = damagedText();
        return;
    }
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name) != FREEXL_OK || !name) {
            m_error = damagedText();
            return;
        }
        m_sheets << QString::fromUtf8(name);
    }
}

XlsReader::~XlsReader()
{
    if (m_handle)
        freexl_close(m_handle);
}

bool XlsReader::readSheet(int sheet, QList<QStringList>* rows)
{
    rows->clear();
    if (!m_error.isEmpty() && m_sheets.isEmpty())
        return false;
    if (sheet < 0 || sheet >= m_sheets.size()) {
        m_error = QStringLiteral("工作表 %1 不存在").arg(sheet + 1);
        return false;
    }
    if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(sheet)) != FREEXL_OK) {
        m_error = damagedText();
        return false;
    }
    unsigned int nRows = 0;
    unsigned short nCols = 0;
    if (freexl_worksheet_dimensions(m_handle, &nRows, &nCols) != FREEXL_OK) {
        m_error = damagedText();
        return false;
    }
    rows->reserve(nRows);
    for (unsigned int r = 0; r < nRows; ++r) {
        QStringList row;
        row.reserve(nCols);
        for (unsigned short c = 0; c < nCols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(m_handle, r, c, &v) != FREEXL_OK) {
                m_error = damagedText();
                return false;
            }
            switch (v.type) {
            case FREEXL_CELL_INT:
                row << QString::number(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                row << GridFormat::formatNumber(v.value.double_value, QString());
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_TIME:
                row << QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATETIME: {
                QString s = QString::fromUtf8(v.value.text_value);
                if (s.endsWith(QLatin1String(" 00:00:00")))
                    s.chop(9);
                row << s;
                break;
            }
            default:
                row << QString();
                break;
            }
        }
        rows->append(row);
    }
    normalize(rows);
    m_error.clear();
    return true;
}
