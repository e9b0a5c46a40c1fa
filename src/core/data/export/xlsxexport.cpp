#include "xlsxexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <xlsxwriter.h>

namespace {
QString xeError(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}
} // namespace

bool XlsxExport::write(const ExportTable& t, const QString& fileName, QString* errorString)
{
    constexpr qsizetype maxRows = 1048576;
    if (t.rowCount + 1 > maxRows || t.columns.size() > 16384) {
        if (errorString)
            *errorString = QStringLiteral("表格超出 Excel 工作表的大小");
        return false;
    }
    // Written beside the target first, so a failure leaves an earlier file intact.
    const QString partName = fileName + QStringLiteral(".part");
    const QByteArray partPath = QFile::encodeName(partName);
    QByteArray tmpDir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options opt {};
    opt.constant_memory = 1;
    opt.tmpdir = tmpDir.data();
    lxw_workbook* wb = workbook_new_opt(partPath.constData(), &opt);
    if (!wb) {
        if (errorString)
            *errorString = QStringLiteral("无法创建文件 %1").arg(fileName);
        return false;
    }
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Sheet1");
    lxw_format* title = workbook_add_format(wb);
    format_set_bold(title);
    format_set_align(title, LXW_ALIGN_CENTER);

    QHash<QString, lxw_format*> formatOf;
    QList<lxw_format*> colFormat(t.columns.size(), nullptr);
    for (int c = 0; c < t.columns.size(); ++c) {
        const QString nf = ExportTable::excelNumberFormat(t.columns.at(c).displayFormat);
        const int a = t.columns.at(c).alignment;
        const QString key = nf + QLatin1Char('|') + QString::number(a);
        if (nf.isEmpty() && a < 0)
            continue;
        lxw_format* f = formatOf.value(key);
        if (!f) {
            f = workbook_add_format(wb);
            if (!nf.isEmpty())
                format_set_num_format(f, nf.toUtf8().constData());
            if (a == 0)
                format_set_align(f, LXW_ALIGN_LEFT);
            else if (a == 1)
                format_set_align(f, LXW_ALIGN_CENTER);
            else if (a == 2)
                format_set_align(f, LXW_ALIGN_RIGHT);
            formatOf.insert(key, f);
        }
        colFormat[c] = f;
    }
    for (int c = 0; c < t.columns.size(); ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), 14, nullptr);

    lxw_error err = LXW_NO_ERROR;
    for (int c = 0; c < t.columns.size() && err == LXW_NO_ERROR; ++c)
        err = worksheet_write_string(ws, 0, lxw_col_t(c), t.columns.at(c).title.toUtf8().constData(), title);
    for (qsizetype r = 0; r < t.rowCount && err == LXW_NO_ERROR; ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < t.columns.size(); ++c) {
            double d = 0;
            bool isNumber = false;
            const QString s = t.cellText(r, c, &isNumber, &d, true);
            if (isNumber) {
                err = worksheet_write_number(ws, row, lxw_col_t(c), d, colFormat.at(c));
            } else {
                if (!s.isEmpty())
                    err = worksheet_write_string(
                        ws, row, lxw_col_t(c), s.left(32767).toUtf8().constData(), colFormat.at(c));
            }
            if (err != LXW_NO_ERROR)
                break;
        }
    }
    const lxw_error closeErr = workbook_close(wb);
    if (err == LXW_NO_ERROR)
        err = closeErr;
    if (err != LXW_NO_ERROR) {
        QFile::remove(partName);
        if (errorString)
            *errorString = xeError(err);
        return false;
    }
    if (QFileInfo::exists(fileName) && !QFile::remove(fileName)) {
        QFile::remove(partName);
        if (errorString)
            *errorString = QStringLiteral("无法替换文件 %1").arg(fileName);
        return false;
    }
    if (!QFile::rename(partName, fileName)) {
        QFile::remove(partName);
        if (errorString)
            *errorString = QStringLiteral("无法写入文件 %1").arg(fileName);
        return false;
    }
    return true;
}
