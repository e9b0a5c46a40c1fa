#include "biffformulas.h"

#include "data/gridformat.h"
#include "workbookreader.h"

#include <QtEndian>
#include <cstring>

namespace BiffFormulas {

namespace {
quint16 bfU16(const QByteArray& d, qsizetype pos)
{
    return pos + 2 <= d.size() ? qFromLittleEndian<quint16>(d.constData() + pos) : 0;
}

quint32 bfU32(const QByteArray& d, qsizetype pos)
{
    return pos + 4 <= d.size() ? qFromLittleEndian<quint32>(d.constData() + pos) : 0;
}

// XLUnicodeString: length, flags (bit 0: two bytes a character), characters.
QString bfString(const QByteArray& d, qsizetype pos, qsizetype lengthBytes)
{
    if (pos + lengthBytes + 1 > d.size())
        return {};
    const int n = lengthBytes == 2 ? bfU16(d, pos) : quint8(d.at(pos));
    pos += lengthBytes;
    const quint8 flags = quint8(d.at(pos++));
    if (flags & 0x08)
        pos += 2; // rich-text run count
    if (flags & 0x04)
        pos += 4; // phonetic size
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (flags & 1) {
            if (pos + 2 > d.size())
                break;
            s += QChar(bfU16(d, pos));
            pos += 2;
        } else {
            if (pos >= d.size())
                break;
            s += QChar(char16_t(quint8(d.at(pos++))));
        }
    }
    return s;
}

struct BfRecord
{
    quint16 type;
    qsizetype pos; // start of the record's data
    quint16 size;
};

bool bfNext(const QByteArray& s, qsizetype& at, BfRecord* r)
{
    if (at + 4 > s.size())
        return false;
    r->type = bfU16(s, at);
    r->size = bfU16(s, at + 2);
    r->pos = at + 4;
    if (r->pos + r->size > s.size())
        return false;
    at = r->pos + r->size;
    return true;
}
} // namespace

QList<Sheet> read(const QByteArray& s)
{
    QList<Sheet> sheets;
    QList<quint32> sheetPos;
    QHash<int, int> formatKind; // custom number format id -> 0/1 date/2 time
    QList<int> xfFormat;
    bool date1904 = false;

    qsizetype at = 0;
    BfRecord r;
    // Globals: up to the first EOF.
    while (bfNext(s, at, &r)) {
        if (r.type == 0x000A)
            break;
        switch (r.type) {
        case 0x0022:
            date1904 = bfU16(s, r.pos) == 1;
            break;
        case 0x041E: {
            const int id = bfU16(s, r.pos);
            formatKind.insert(id, WorkbookReader::numberFormatKind(id, bfString(s, r.pos + 2, 2)));
            break;
        }
        case 0x00E0:
            xfFormat << bfU16(s, r.pos + 2);
            break;
        case 0x0085:
            // Worksheets only (type byte 0); charts and macros carry no cells.
            if (r.size >= 8 && quint8(s.at(r.pos + 5)) == 0) {
                sheetPos << bfU32(s, r.pos);
                sheets << Sheet {bfString(s, r.pos + 6, 1), {}};
            }
            break;
        default:
            break;
        }
    }
    auto kindOfXf = [&](int xf) {
        if (xf < 0 || xf >= xfFormat.size())
            return 0;
        const int id = xfFormat.at(xf);
        return formatKind.contains(id) ? formatKind.value(id) : WorkbookReader::numberFormatKind(id, QString());
    };

    for (int i = 0; i < sheets.size(); ++i) {
        qsizetype p = sheetPos.at(i);
        if (p <= 0 || p >= s.size())
            continue;
        int depth = 0;
        QPair<int, int> pendingString(-1, -1);
        while (bfNext(s, p, &r)) {
            if (r.type == 0x0809) {
                ++depth;
            } else if (r.type == 0x000A) {
                if (--depth <= 0)
                    break;
            } else if (depth == 1 && r.type == 0x0006 && r.size >= 14) {
                const int row = bfU16(s, r.pos), col = bfU16(s, r.pos + 2), xf = bfU16(s, r.pos + 4);
                const QByteArray val = s.mid(r.pos + 6, 8);
                pendingString = {-1, -1};
                if (quint8(val.at(6)) == 0xFF && quint8(val.at(7)) == 0xFF) {
                    switch (quint8(val.at(0))) {
                    case 0: // text: in the STRING record that follows
                        pendingString = {row, col};
                        break;
                    case 1:
                        sheets[i].cells.insert(
                            {row, col}, val.at(2) ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
                        break;
                    default: // error or empty
                        break;
                    }
                } else {
                    const quint64 bits = qFromLittleEndian<quint64>(val.constData());
                    double d;
                    std::memcpy(&d, &bits, 8);
                    const int kind = kindOfXf(xf);
                    sheets[i].cells.insert({row, col},
                        kind == 0 ? GridFormat::formatNumber(d, QString())
                                  : WorkbookReader::dateText(d, date1904, kind == 2));
                }
            } else if (depth == 1 && r.type == 0x0207 && pendingString.first >= 0) {
                sheets[i].cells.insert(pendingString, bfString(s, r.pos, 2));
                pendingString = {-1, -1};
            }
        }
    }
    return sheets;
}

} // namespace BiffFormulas
