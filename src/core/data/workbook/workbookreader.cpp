#include "workbookreader.h"

#include "data/workbook/xlsreader.h"
#include "data/workbook/xlsxreader.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <cmath>

std::unique_ptr<WorkbookReader> WorkbookReader::open(const QString& fileName, QString* errorString)
{
    auto fail = [errorString](const QString& text) -> std::unique_ptr<WorkbookReader> {
        if (errorString)
            *errorString = text;
        return nullptr;
    };
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("无法打开文件 %1：%2").arg(fileName, f.errorString()));
    if (f.size() == 0)
        return fail(emptyFileText());
    const QByteArray head = f.read(8);
    std::unique_ptr<WorkbookReader> r;
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        f.close();
        r = std::make_unique<XlsxReader>(fileName);
    } else if (head == QByteArray::fromHex("D0CF11E0A1B11AE1")) {
        // An encrypted .xlsx is a compound file holding an "EncryptedPackage" stream.
        f.seek(0);
        const QByteArray all = f.read(qMin<qint64>(f.size(), 8 * 1024 * 1024));
        static const QByteArray encName
            = QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
        if (all.contains(encName))
            return fail(encryptedText());
        f.close();
        r = std::make_unique<XlsReader>(fileName);
    } else {
        return fail(notWorkbookText());
    }
    if (!r->errorString().isEmpty())
        return fail(r->errorString());
    return r;
}

QStringList WorkbookReader::columnNames(int sheet)
{
    QList<QStringList> rows;
    if (!readSheet(sheet, &rows))
        return {};
    for (const QStringList& row : rows) {
        for (const QString& s : row) {
            if (!s.isEmpty())
                return row;
        }
    }
    return {};
}

QString WorkbookReader::dateText(double serial, bool date1904, bool timeOnly)
{
    double days = std::floor(serial);
    double frac = serial - days;
    QDate base;
    if (date1904) {
        base = QDate(1904, 1, 1);
    } else {
        // The 1900 system counts a 29 February 1900 that never was.
        base = days >= 61 ? QDate(1899, 12, 30) : QDate(1899, 12, 31);
        if (days == 60)
            days = 59;
    }
    qint64 secs = qint64(std::llround(frac * 86400.0));
    if (secs >= 86400) {
        days += 1;
        secs -= 86400;
    }
    const QTime t = QTime(0, 0).addSecs(int(secs));
    if (timeOnly)
        return t.toString(QStringLiteral("hh:mm:ss"));
    const QDate d = base.addDays(qint64(days));
    if (secs == 0)
        return d.toString(QStringLiteral("yyyy-MM-dd"));
    return d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + t.toString(QStringLiteral("hh:mm:ss"));
}

int WorkbookReader::numberFormatKind(int id, const QString& code)
{
    if (code.isEmpty()) {
        if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
            return 1;
        if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
            return 2;
        return 0;
    }
    // Date letters count outside quoted text, brackets (colours, elapsed time) and escapes.
    QString c = code;
    c.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]|\\\\.|_.|\\*.")));
    const QString lower = c.toLower();
    if (lower.contains(QLatin1Char('y')) || lower.contains(QLatin1Char('d')))
        return 1;
    if (lower.contains(QLatin1Char('h')) || lower.contains(QLatin1Char('s')))
        return 2;
    if (lower.contains(QLatin1Char('m')) && !lower.contains(QLatin1Char('0')) && !lower.contains(QLatin1Char('#')))
        return 1;
    return 0;
}

void WorkbookReader::normalize(QList<QStringList>* rows)
{
    auto empty = [](const QStringList& r) {
        for (const QString& s : r) {
            if (!s.isEmpty())
                return false;
        }
        return true;
    };
    while (!rows->isEmpty() && empty(rows->last()))
        rows->removeLast();
    qsizetype width = 0;
    for (QStringList& r : *rows) {
        while (!r.isEmpty() && r.last().isEmpty())
            r.removeLast();
        width = qMax(width, r.size());
    }
    for (QStringList& r : *rows) {
        while (r.size() < width)
            r.append(QString());
    }
}
