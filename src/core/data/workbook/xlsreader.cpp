#include "xlsreader.h"

#include "biffformulas.h"
#include "compoundfile.h"
#include "data/export/biff8writer.h"
#include "data/gridformat.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <freexl.h>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
enum XlsOutcome { XlsOk = 0, XlsEncrypted = 1, XlsContainer = 2, XlsDamaged = 3, XlsMissing = 4 };

struct XlsContent
{
    qint32 outcome = XlsDamaged;
    QStringList sheets;
    QList<QList<QStringList>> cells;
};

QDataStream& operator<<(QDataStream& s, const XlsContent& c)
{
    return s << c.outcome << c.sheets << c.cells;
}

QDataStream& operator>>(QDataStream& s, XlsContent& c)
{
    return s >> c.outcome >> c.sheets >> c.cells;
}

QString xlsCellText(const FreeXL_CellValue& v)
{
    switch (v.type) {
    case FREEXL_CELL_INT:
        return QString::number(v.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return GridFormat::formatNumber(v.value.double_value, QString());
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(v.value.text_value);
    case FREEXL_CELL_DATETIME: {
        QString s = QString::fromUtf8(v.value.text_value);
        if (s.endsWith(QLatin1String(" 00:00:00")))
            s.chop(9);
        return s;
    }
    default:
        return {};
    }
}

XlsContent xlsReadAll(const QByteArray& path)
{
    XlsContent out;
    const void* h = nullptr;
    const int rc = freexl_open(path.constData(), &h);
    if (rc != FREEXL_OK) {
        if (h)
            freexl_close(h);
        // Errors in the compound file itself may be ones our repacking cures.
        const bool container = (rc <= FREEXL_INVALID_CFBF_HEADER && rc >= FREEXL_CFBF_ILLEGAL_FAT_ENTRY)
            || rc == FREEXL_INVALID_MINI_STREAM || rc == FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY;
        out.outcome = rc == FREEXL_FILE_NOT_FOUND ? XlsMissing : container ? XlsContainer : XlsDamaged;
        return out;
    }
    unsigned int info = 0;
    if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        freexl_close(h);
        out.outcome = XlsEncrypted;
        return out;
    }
    unsigned int count = 0;
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        freexl_close(h);
        return out;
    }
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const auto si = static_cast<unsigned short>(i);
        const char* name = nullptr;
        unsigned int nRows = 0;
        unsigned short nCols = 0;
        if (freexl_get_worksheet_name(h, si, &name) != FREEXL_OK || !name
            || freexl_select_active_worksheet(h, si) != FREEXL_OK
            || freexl_worksheet_dimensions(h, &nRows, &nCols) != FREEXL_OK) {
            freexl_close(h);
            return out;
        }
        out.sheets << QString::fromUtf8(name);
        QList<QStringList> rows;
        rows.reserve(nRows);
        for (unsigned int r = 0; r < nRows; ++r) {
            QStringList row;
            row.reserve(nCols);
            for (unsigned short c = 0; c < nCols; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK) {
                    freexl_close(h);
                    return out;
                }
                row << xlsCellText(v);
            }
            rows << row;
        }
        out.cells << rows;
    }
    freexl_close(h);
    out.outcome = XlsOk;
    return out;
}

// Runs the reading in a child process and takes its result through a pipe.
XlsContent xlsReadGuarded(const QByteArray& path)
{
#ifdef Q_OS_UNIX
    int fds[2];
    if (pipe(fds) != 0)
        return xlsReadAll(path);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return xlsReadAll(path);
    }
    if (pid == 0) {
        close(fds[0]);
        QByteArray buf;
        {
            QDataStream s(&buf, QIODevice::WriteOnly);
            s << xlsReadAll(path);
        }
        const char* p = buf.constData();
        qsizetype left = buf.size();
        while (left > 0) {
            const ssize_t n = write(fds[1], p, size_t(left));
            if (n <= 0 && errno != EINTR)
                break;
            if (n > 0) {
                p += n;
                left -= n;
            }
        }
        close(fds[1]);
        _exit(0);
    }
    close(fds[1]);
    QByteArray buf;
    // A workbook that keeps FreeXL busy this long is not one we can import.
    QDeadlineTimer deadline(120 * 1000);
    bool timedOut = false;
    char chunk[65536];
    for (;;) {
        pollfd pfd {fds[0], POLLIN, 0};
        const int remaining = int(qMax<qint64>(0, deadline.remainingTime()));
        const int pr = poll(&pfd, 1, remaining);
        if (pr == 0) {
            timedOut = true;
            break;
        }
        if (pr < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        buf.append(chunk, n);
    }
    close(fds[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    XlsContent out;
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return out; // crashed or hung: damaged
    QDataStream s(buf);
    s >> out;
    if (s.status() != QDataStream::Ok)
        return XlsContent {};
    return out;
#else
    return xlsReadAll(path);
#endif
}
} // namespace

XlsReader::XlsReader(const QString& fileName)
{
    XlsContent c = xlsReadGuarded(QFile::encodeName(fileName));
    // The workbook stream, read by our own bounds-checked code: for repacking and
    // for the stored results of formula cells.
    CompoundFile cf;
    QByteArray stream;
    bool biff8 = false;
    if (c.outcome == XlsOk || c.outcome == XlsContainer) {
        QFile f(fileName);
        if (f.open(QIODevice::ReadOnly) && cf.parse(f.readAll())) {
            biff8 = cf.stream(QStringLiteral("Workbook"), &stream);
            if (!biff8)
                cf.stream(QStringLiteral("Book"), &stream);
        }
    }
    if (c.outcome == XlsContainer && !stream.isEmpty()) {
        // Repack the workbook stream into a plain compound file and try again.
        QTemporaryDir dir;
        QFile tmp(dir.filePath(QStringLiteral("repacked.xls")));
        if (dir.isValid() && tmp.open(QIODevice::WriteOnly)) {
            tmp.write(Biff8Writer::compoundFile(stream));
            tmp.close();
            c = xlsReadGuarded(QFile::encodeName(tmp.fileName()));
        }
    }
    switch (c.outcome) {
    case XlsOk:
        m_sheets = c.sheets;
        m_cells = c.cells;
        if (biff8)
            fillFormulaResults(stream);
        for (QList<QStringList>& rows : m_cells)
            normalize(&rows);
        break;
    case XlsEncrypted:
        m_error = encryptedText();
        break;
    case XlsMissing:
        m_error = QStringLiteral("找不到文件 %1").arg(fileName);
        break;
    default:
        m_error = damagedText();
        break;
    }
}

void XlsReader::fillFormulaResults(const QByteArray& stream)
{
    const QList<BiffFormulas::Sheet> formulas = BiffFormulas::read(stream);
    for (int i = 0; i < m_sheets.size(); ++i) {
        const BiffFormulas::Sheet* f = nullptr;
        if (i < formulas.size() && formulas.at(i).name == m_sheets.at(i))
            f = &formulas.at(i);
        for (int k = 0; !f && k < formulas.size(); ++k) {
            if (formulas.at(k).name == m_sheets.at(i))
                f = &formulas.at(k);
        }
        if (!f)
            continue;
        QList<QStringList>& rows = m_cells[i];
        for (auto it = f->cells.constBegin(); it != f->cells.constEnd(); ++it) {
            const int r = it.key().first, col = it.key().second;
            if (r >= 1048576 || col >= 16384)
                continue;
            while (rows.size() <= r)
                rows.append(QStringList());
            QStringList& row = rows[r];
            while (row.size() <= col)
                row.append(QString());
            // FreeXL leaves formula cells empty; a value it did give stays.
            if (row.at(col).isEmpty())
                row[col] = it.value();
        }
    }
}

bool XlsReader::readSheet(int sheet, QList<QStringList>* rows)
{
    rows->clear();
    if (sheet < 0 || sheet >= m_sheets.size()) {
        if (m_error.isEmpty() || !m_sheets.isEmpty())
            m_error = QStringLiteral("工作表 %1 不存在").arg(sheet + 1);
        return false;
    }
    *rows = m_cells.at(sheet);
    return true;
}
