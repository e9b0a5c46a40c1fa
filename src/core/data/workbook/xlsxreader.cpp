#include "xlsxreader.h"

#include "data/gridformat.h"

#include <QFile>
#include <QXmlStreamReader>
#include <zip.h>

namespace {
// Guards against archives that unpack to absurd sizes.
constexpr zip_uint64_t xrMaxEntrySize = zip_uint64_t(1) << 30;

// "BC12" -> column 54 (0-based); -1 when there is no letter.
int xrColumnOf(QStringView ref)
{
    int col = 0, n = 0;
    for (QChar ch : ref) {
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            col = col * 26 + (ch.unicode() - 'A' + 1);
        else if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            col = col * 26 + (ch.unicode() - 'a' + 1);
        else
            break;
        ++n;
    }
    return n == 0 ? -1 : col - 1;
}

int xrRowOf(QStringView ref)
{
    qsizetype i = 0;
    while (i < ref.size() && ref.at(i).isLetter())
        ++i;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    return ok ? r - 1 : -1;
}

// The text of an element holding <t> runs (shared or inline string), without phonetic runs.
QString xrStringItem(QXmlStreamReader& x)
{
    QString text;
    const QString end = x.name().toString();
    int depthPh = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("rPh"))
                ++depthPh;
            else if (x.name() == QLatin1String("t") && depthPh == 0)
                text += x.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("rPh"))
                --depthPh;
            else if (x.name() == end)
                break;
        }
    }
    return text;
}
} // namespace

XlsxReader::XlsxReader(const QString& fileName)
{
    int err = 0;
    m_zip = zip_open(QFile::encodeName(fileName).constData(), ZIP_RDONLY, &err);
    if (!m_zip) {
        m_error = damagedText();
        return;
    }
    if (!readWorkbook() || !readSharedStrings() || !readStyles()) {
        if (m_error.isEmpty())
            m_error = damagedText();
        m_sheets.clear();
    }
}

XlsxReader::~XlsxReader()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool XlsxReader::entry(const QString& name, QByteArray* data, bool required)
{
    data->clear();
    // Part names are case-insensitive in the package format.
    const zip_int64_t idx = zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (idx < 0) {
        if (required)
            m_error = notWorkbookText();
        return !required;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, zip_uint64_t(idx), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)
        || st.size > xrMaxEntrySize) {
        m_error = damagedText();
        return false;
    }
    zip_file_t* zf = zip_fopen_index(m_zip, zip_uint64_t(idx), 0);
    if (!zf) {
        m_error = damagedText();
        return false;
    }
    data->resize(qsizetype(st.size));
    zip_int64_t got = 0;
    while (zip_uint64_t(got) < st.size) {
        const zip_int64_t n = zip_fread(zf, data->data() + got, st.size - zip_uint64_t(got));
        if (n <= 0)
            break;
        got += n;
    }
    zip_fclose(zf);
    if (zip_uint64_t(got) != st.size) {
        m_error = damagedText();
        return false;
    }
    return true;
}

bool XlsxReader::readWorkbook()
{
    QByteArray wb, rels;
    if (!entry(QStringLiteral("xl/workbook.xml"), &wb, true))
        return false;
    if (!entry(QStringLiteral("xl/_rels/workbook.xml.rels"), &rels, false))
        return false;
    QHash<QString, QString> target;
    QXmlStreamReader rx(rels);
    while (!rx.atEnd()) {
        if (rx.readNext() == QXmlStreamReader::StartElement && rx.name() == QLatin1String("Relationship")) {
            QString t = rx.attributes().value(QLatin1String("Target")).toString();
            if (t.startsWith(QLatin1Char('/')))
                t = t.mid(1);
            else
                t = QStringLiteral("xl/") + t;
            target.insert(rx.attributes().value(QLatin1String("Id")).toString(), t);
        }
    }
    QXmlStreamReader x(wb);
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (x.name() == QLatin1String("workbookPr") && x.attributes().hasAttribute(QLatin1String("date1904"))) {
            // Extension elements of the same name carry other settings; only this attribute decides.
            const QString v = x.attributes().value(QLatin1String("date1904")).toString().toLower();
            m_date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (x.name() == QLatin1String("sheet")) {
            QString id;
            for (const QXmlStreamAttribute& a : x.attributes()) {
                if (a.name() == QLatin1String("id"))
                    id = a.value().toString();
            }
            m_sheets << x.attributes().value(QLatin1String("name")).toString();
            m_sheetPaths << target.value(id, QStringLiteral("xl/worksheets/sheet%1.xml").arg(m_sheets.size()));
        }
    }
    if (x.hasError()) {
        m_error = damagedText();
        return false;
    }
    if (m_sheets.isEmpty()) {
        m_error = notWorkbookText();
        return false;
    }
    return true;
}

bool XlsxReader::readSharedStrings()
{
    QByteArray data;
    if (!entry(QStringLiteral("xl/sharedStrings.xml"), &data, false))
        return false;
    if (data.isEmpty())
        return true;
    QXmlStreamReader x(data);
    while (!x.atEnd()) {
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("si"))
            m_shared << xrStringItem(x);
    }
    if (x.hasError()) {
        m_error = damagedText();
        return false;
    }
    return true;
}

bool XlsxReader::readStyles()
{
    QByteArray data;
    if (!entry(QStringLiteral("xl/styles.xml"), &data, false))
        return false;
    if (data.isEmpty())
        return true;
    QHash<int, int> customKind;
    QXmlStreamReader x(data);
    bool inCellXfs = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("numFmt")) {
                customKind.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                    numberFormatKind(0, x.attributes().value(QLatin1String("formatCode")).toString()));
            } else if (x.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && x.name() == QLatin1String("xf")) {
                const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
                m_xfKind << (customKind.contains(id) ? customKind.value(id) : numberFormatKind(id, QString()));
            }
        } else if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (x.hasError()) {
        m_error = damagedText();
        return false;
    }
    return true;
}

bool XlsxReader::readSheet(int sheet, QList<QStringList>* rows)
{
    rows->clear();
    if (sheet < 0 || sheet >= m_sheets.size()) {
        m_error
            = m_sheets.isEmpty() && !m_error.isEmpty() ? m_error : QStringLiteral("工作表 %1 不存在").arg(sheet + 1);
        return false;
    }
    QByteArray data;
    if (!entry(m_sheetPaths.at(sheet), &data, true)) {
        m_error = damagedText();
        return false;
    }
    QXmlStreamReader x(data);
    int rowIndex = -1;
    int colIndex = -1;
    auto put = [rows](int r, int c, const QString& v) {
        // A malformed reference far out would allocate millions of rows; the
        // format's limits bound it.
        if (r < 0 || c < 0 || r >= 1048576 || c >= 16384 || v.isEmpty())
            return;
        while (rows->size() <= r)
            rows->append(QStringList());
        QStringList& row = (*rows)[r];
        while (row.size() <= c)
            row.append(QString());
        row[c] = v;
    };
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("row")) {
            const QStringView r = x.attributes().value(QLatin1String("r"));
            rowIndex = r.isEmpty() ? rowIndex + 1 : r.toInt() - 1;
            colIndex = -1;
        } else if (x.name() == QLatin1String("c")) {
            const QXmlStreamAttributes a = x.attributes();
            const QStringView ref = a.value(QLatin1String("r"));
            if (!ref.isEmpty()) {
                colIndex = xrColumnOf(ref);
                const int rr = xrRowOf(ref);
                if (rr >= 0)
                    rowIndex = rr;
            } else {
                ++colIndex;
            }
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            QString raw;
            bool haveInline = false;
            while (!x.atEnd()) {
                x.readNext();
                if (x.isStartElement()) {
                    if (x.name() == QLatin1String("v")) {
                        raw = x.readElementText();
                    } else if (x.name() == QLatin1String("is")) {
                        raw = xrStringItem(x);
                        haveInline = true;
                    }
                } else if (x.isEndElement() && x.name() == QLatin1String("c")) {
                    break;
                }
            }
            QString text;
            if (type == QLatin1String("s")) {
                bool ok = false;
                const int i = raw.toInt(&ok);
                text = ok && i >= 0 && i < m_shared.size() ? m_shared.at(i) : QString();
            } else if (type == QLatin1String("inlineStr") || haveInline || type == QLatin1String("str")
                || type == QLatin1String("e")) {
                text = raw;
            } else if (type == QLatin1String("b")) {
                text = raw.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else if (type == QLatin1String("d")) {
                text = raw.left(10);
            } else if (!raw.isEmpty()) {
                bool ok = false;
                const double d = raw.trimmed().toDouble(&ok);
                const int kind = style >= 0 && style < m_xfKind.size() ? m_xfKind.at(style) : 0;
                if (!ok)
                    text = raw;
                else if (kind == 1)
                    text = dateText(d, m_date1904);
                else if (kind == 2)
                    text = dateText(d, m_date1904, true);
                else
                    text = GridFormat::formatNumber(d, QString());
            }
            put(rowIndex, colIndex, text);
        }
    }
    if (x.hasError()) {
        rows->clear();
        m_error = damagedText();
        return false;
    }
    normalize(rows);
    return true;
}
