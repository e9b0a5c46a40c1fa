#include "biff8writer.h"

#include "gridexporter.h"

#include <QHash>
#include <QtEndian>
#include <cstring>

namespace {

void b8Put16(QByteArray& b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

void b8Put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

void b8PutDouble(QByteArray& b, double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, 8);
    char c[8];
    qToLittleEndian(bits, c);
    b.append(c, 8);
}

void b8Record(QByteArray& stream, quint16 type, const QByteArray& data)
{
    b8Put16(stream, type);
    b8Put16(stream, quint16(data.size()));
    stream += data;
}

// UTF-16 characters of a string, little endian.
QByteArray b8Utf16(const QString& s)
{
    QByteArray b;
    b.reserve(s.size() * 2);
    for (QChar ch : s)
        b8Put16(b, ch.unicode());
    return b;
}

// XLUnicodeString with a 16-bit length (FORMAT) or 8-bit length (FONT, BOUNDSHEET).
QByteArray b8String16(const QString& s)
{
    QByteArray b;
    b8Put16(b, quint16(s.size()));
    b += char(1);
    b += b8Utf16(s);
    return b;
}

QByteArray b8String8(const QString& s)
{
    QByteArray b;
    b += char(quint8(s.size()));
    b += char(1);
    b += b8Utf16(s);
    return b;
}

QByteArray b8Bof(quint16 kind)
{
    QByteArray d;
    b8Put16(d, 0x0600);
    b8Put16(d, kind);
    b8Put16(d, 0x0DBB);
    b8Put16(d, 0x07CC);
    b8Put32(d, 0x00000041);
    b8Put32(d, 0x00000006);
    return d;
}

QByteArray b8Font(bool bold)
{
    QByteArray d;
    b8Put16(d, 200); // 10 pt
    b8Put16(d, 0);
    b8Put16(d, 0x7FFF);
    b8Put16(d, bold ? 700 : 400);
    b8Put16(d, 0);
    d += char(0);
    d += char(0);
    d += char(0x86); // GB2312 character set
    d += char(0);
    d += b8String8(QStringLiteral("宋体"));
    return d;
}

QByteArray b8Xf(quint16 font, quint16 format, bool style, quint8 align)
{
    QByteArray d;
    b8Put16(d, font);
    b8Put16(d, format);
    b8Put16(d, style ? 0xFFF5 : 0x0001);
    d += char(0x20 | align); // bottom aligned, horizontal alignment in the low bits
    d += char(0);
    d += char(0);
    d += char(style ? 0xF4 : 0x00 | (format ? 0x04 : 0) | (font ? 0x08 : 0) | (align ? 0x10 : 0));
    b8Put32(d, 0);
    b8Put32(d, 0);
    b8Put16(d, 0x20C0);
    return d;
}

// The shared string table, split into CONTINUE records as BIFF8 wants it, with
// the EXTSST index that Excel uses to find strings quickly.
class SstBuilder
{
public:
    int add(const QString& s)
    {
        ++m_total;
        auto it = m_index.constFind(s);
        if (it != m_index.constEnd())
            return it.value();
        const int i = int(m_strings.size());
        m_strings.append(s);
        m_index.insert(s, i);
        return i;
    }

    // Appends SST (+ CONTINUE) and EXTSST records; streamPos is where they start in the stream.
    void write(QByteArray& stream) const
    {
        constexpr int maxData = 8224;
        const int bucket = qMax(8, int((m_strings.size() + 127) / 128));
        QByteArray ext;
        b8Put16(ext, quint16(bucket));

        QByteArray rec;
        b8Put32(rec, quint32(m_total));
        b8Put32(rec, quint32(m_strings.size()));
        quint16 recType = 0x00FC;
        auto flush = [&]() {
            b8Record(stream, recType, rec);
            rec.clear();
            recType = 0x003C;
        };
        for (int i = 0; i < m_strings.size(); ++i) {
            const QString& s = m_strings.at(i);
            // Header (length + flags) and at least one character must share a record.
            if (rec.size() + 5 > maxData)
                flush();
            if (i % bucket == 0) {
                b8Put32(ext, quint32(stream.size() + 4 + rec.size()));
                b8Put16(ext, quint16(4 + rec.size()));
                b8Put16(ext, 0);
            }
            b8Put16(rec, quint16(s.size()));
            rec += char(1);
            int pos = 0;
            while (pos < s.size()) {
                int room = (maxData - int(rec.size())) / 2;
                if (room <= 0) {
                    flush();
                    rec += char(1); // a string continued in a new record repeats its flags
                    room = (maxData - 1) / 2;
                }
                const int n = qMin(room, int(s.size()) - pos);
                rec += b8Utf16(s.mid(pos, n));
                pos += n;
            }
        }
        flush();
        b8Record(stream, 0x00FF, ext);
    }

private:
    QStringList m_strings;
    QHash<QString, int> m_index;
    qint64 m_total = 0;
};

} // namespace

bool Biff8Writer::workbook(const ExportTable& t, QByteArray* out, QString* errorString, const QString& sheetName)
{
    const int nCols = int(t.columns.size());
    if (nCols > 256 || t.rowCount + 1 > GridExporter::XlsMaxRows) {
        if (errorString)
            *errorString = QStringLiteral("表格超出 Excel 97 工作表的大小（65536 行，256 列）");
        return false;
    }

    // Number formats from index 164 on; one cell XF per distinct format and alignment.
    QStringList formats;
    QList<quint16> colXf(nCols);
    // The 15 style XFs come first in the file; these are the cell XFs from index 15.
    QList<QByteArray> cellXfs;
    cellXfs << b8Xf(0, 0, false, 0); // 15: default cell format
    cellXfs << b8Xf(5, 0, false, 2); // 16: bold, centred titles
    QHash<QString, quint16> xfOf;
    for (int c = 0; c < nCols; ++c) {
        const QString fmt = ExportTable::excelNumberFormat(t.columns.at(c).displayFormat);
        const int a = t.columns.at(c).alignment;
        const quint8 align = a == 0 ? 1 : a == 1 ? 2 : a == 2 ? 3 : 0;
        const QString key = fmt + QLatin1Char('|') + QString::number(align);
        if (!xfOf.contains(key)) {
            quint16 ifmt = 0;
            if (!fmt.isEmpty()) {
                int fi = int(formats.indexOf(fmt));
                if (fi < 0) {
                    fi = int(formats.size());
                    formats << fmt;
                }
                ifmt = quint16(164 + fi);
            }
            xfOf.insert(key, quint16(15 + cellXfs.size()));
            cellXfs << b8Xf(0, ifmt, false, align);
        }
        colXf[c] = xfOf.value(key);
    }

    // Cells first, so the shared strings are known before the globals are written.
    SstBuilder sst;
    QByteArray cells;
    cells.reserve(int(qMin<qsizetype>(t.rowCount * nCols * 18, 64 * 1024 * 1024)));
    auto labelSst = [&](int row, int col, quint16 xf, const QString& s) {
        QByteArray d;
        b8Put16(d, quint16(row));
        b8Put16(d, quint16(col));
        b8Put16(d, xf);
        b8Put32(d, quint32(sst.add(s)));
        b8Record(cells, 0x00FD, d);
    };
    for (int c = 0; c < nCols; ++c)
        labelSst(0, c, 16, t.columns.at(c).title);
    for (qsizetype r = 0; r < t.rowCount; ++r) {
        for (int c = 0; c < nCols; ++c) {
            double d = 0;
            bool isNumber = false;
            const QString s = t.cellText(r, c, &isNumber, &d, true);
            if (isNumber) {
                QByteArray rec;
                b8Put16(rec, quint16(r + 1));
                b8Put16(rec, quint16(c));
                b8Put16(rec, colXf.at(c));
                b8PutDouble(rec, d);
                b8Record(cells, 0x0203, rec);
                continue;
            }
            if (s.isEmpty())
                continue;
            // A cell holds at most 32767 characters.
            labelSst(int(r + 1), c, colXf.at(c), s.left(32767));
        }
    }

    QByteArray g;
    b8Record(g, 0x0809, b8Bof(0x0005));
    {
        QByteArray d;
        b8Put16(d, 1200); // UTF-16
        b8Record(g, 0x0042, d);
    }
    {
        QByteArray d;
        b8Put16(d, 0);
        b8Put16(d, 0);
        b8Put16(d, 0x25BC);
        b8Put16(d, 0x1572);
        b8Put16(d, 0x0038);
        b8Put16(d, 0);
        b8Put16(d, 0);
        b8Put16(d, 1);
        b8Put16(d, 0x0258);
        b8Record(g, 0x003D, d);
    }
    {
        QByteArray d;
        b8Put16(d, 0); // dates from 1900
        b8Record(g, 0x0022, d);
    }
    // Fonts 0-3 and 5 (index 4 does not exist in BIFF); 5 is the bold title font.
    for (int i = 0; i < 4; ++i)
        b8Record(g, 0x0031, b8Font(false));
    b8Record(g, 0x0031, b8Font(true));
    for (int i = 0; i < formats.size(); ++i) {
        QByteArray d;
        b8Put16(d, quint16(164 + i));
        d += b8String16(formats.at(i));
        b8Record(g, 0x041E, d);
    }
    for (int i = 0; i < 15; ++i)
        b8Record(g, 0x00E0, b8Xf(0, 0, true, 0));
    for (const QByteArray& xf : cellXfs)
        b8Record(g, 0x00E0, xf);
    {
        QByteArray d;
        b8Put16(d, 0x8000);
        d += char(0);
        d += char(char(0xFF));
        b8Record(g, 0x0293, d);
    }
    const int boundSheetPos = int(g.size()) + 4;
    {
        QByteArray d;
        b8Put32(d, 0); // patched below
        d += char(0);
        d += char(0);
        d += b8String8(sheetName.left(31));
        b8Record(g, 0x0085, d);
    }
    sst.write(g);
    b8Record(g, 0x000A, {});

    // The worksheet.
    const quint32 sheetPos = quint32(g.size());
    qToLittleEndian(sheetPos, g.data() + boundSheetPos);
    QByteArray& s = g;
    b8Record(s, 0x0809, b8Bof(0x0010));
    for (int c = 0; c < nCols; ++c) {
        QByteArray d;
        b8Put16(d, quint16(c));
        b8Put16(d, quint16(c));
        b8Put16(d, 14 * 256);
        b8Put16(d, 15);
        b8Put16(d, 0);
        b8Put16(d, 0);
        b8Record(s, 0x007D, d);
    }
    {
        QByteArray d;
        b8Put32(d, 0);
        b8Put32(d, quint32(t.rowCount + 1));
        b8Put16(d, 0);
        b8Put16(d, quint16(nCols));
        b8Put16(d, 0);
        b8Record(s, 0x0200, d);
    }
    s += cells;
    {
        QByteArray d;
        b8Put16(d, 0x06B6);
        b8Put16(d, 0);
        b8Put16(d, 0);
        b8Put32(d, 64);
        b8Put16(d, 0);
        b8Put16(d, 0);
        b8Put32(d, 0);
        b8Record(s, 0x023E, d);
    }
    b8Record(s, 0x000A, {});

    *out = compoundFile(g);
    return true;
}

QByteArray Biff8Writer::compoundFile(const QByteArray& workbookStream)
{
    constexpr quint32 endOfChain = 0xFFFFFFFE, freeSect = 0xFFFFFFFF, fatSect = 0xFFFFFFFD, difSect = 0xFFFFFFFC;
    QByteArray stream = workbookStream;
    // Streams under 4096 bytes would belong in the mini stream; padding keeps one layout.
    if (stream.size() < 4096)
        stream.append(4096 - stream.size(), '\0');
    const quint32 streamSectors = quint32((stream.size() + 511) / 512);
    stream.append(int(streamSectors * 512 - stream.size()), '\0');

    quint32 fatSectors = 1, difatSectors = 0;
    for (;;) {
        const quint32 total = streamSectors + 1 + fatSectors + difatSectors;
        const quint32 needFat = (total + 127) / 128;
        const quint32 needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 dirSector = streamSectors;
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;

    QList<quint32> fat(fatSectors * 128, freeSect);
    for (quint32 i = 0; i < streamSectors; ++i)
        fat[i] = i + 1 < streamSectors ? i + 1 : endOfChain;
    fat[dirSector] = endOfChain;
    for (quint32 i = 0; i < fatSectors; ++i)
        fat[firstFat + i] = fatSect;
    for (quint32 i = 0; i < difatSectors; ++i)
        fat[firstDifat + i] = difSect;

    QByteArray header;
    header += QByteArray::fromHex("D0CF11E0A1B11AE1");
    header.append(16, '\0');
    b8Put16(header, 0x003E);
    b8Put16(header, 0x0003);
    b8Put16(header, 0xFFFE);
    b8Put16(header, 9);
    b8Put16(header, 6);
    header.append(6, '\0');
    b8Put32(header, 0);
    b8Put32(header, fatSectors);
    b8Put32(header, dirSector);
    b8Put32(header, 0);
    b8Put32(header, 4096);
    b8Put32(header, endOfChain);
    b8Put32(header, 0);
    b8Put32(header, difatSectors ? firstDifat : endOfChain);
    b8Put32(header, difatSectors);
    for (quint32 i = 0; i < 109; ++i)
        b8Put32(header, i < fatSectors ? firstFat + i : freeSect);

    auto dirEntry = [](const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
        QByteArray e;
        QByteArray n = b8Utf16(name);
        n.append(64 - n.size(), '\0');
        e += n;
        b8Put16(e, name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
        e += char(type);
        e += char(name.isEmpty() ? 0 : 1); // black
        b8Put32(e, 0xFFFFFFFF);
        b8Put32(e, 0xFFFFFFFF);
        b8Put32(e, child);
        e.append(16 + 4 + 8 + 8, '\0');
        b8Put32(e, start);
        b8Put32(e, size);
        b8Put32(e, 0);
        return e;
    };
    QByteArray dir;
    dir += dirEntry(QStringLiteral("Root Entry"), 5, 1, endOfChain, 0);
    dir += dirEntry(
        QStringLiteral("Workbook"), 2, 0xFFFFFFFF, 0, quint32(qMax<qsizetype>(workbookStream.size(), 4096)));
    dir += dirEntry(QString(), 0, 0xFFFFFFFF, 0, 0);
    dir += dirEntry(QString(), 0, 0xFFFFFFFF, 0, 0);

    QByteArray out;
    out.reserve(512 + stream.size() + 512 * (1 + fatSectors + difatSectors));
    out += header;
    out += stream;
    out += dir;
    for (quint32 v : fat)
        b8Put32(out, v);
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (quint32 k = 0; k < 127; ++k) {
            const quint32 fi = 109 + d * 127 + k;
            b8Put32(out, fi < fatSectors ? firstFat + fi : freeSect);
        }
        b8Put32(out, d + 1 < difatSectors ? firstDifat + d + 1 : endOfChain);
    }
    return out;
}
