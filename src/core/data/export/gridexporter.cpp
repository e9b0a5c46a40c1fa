#include "gridexporter.h"

#include "biff8writer.h"
#include "xlsxexport.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace GridExporter {

QString extension(int fileType)
{
    switch (fileType) {
    case Xls:
        return QStringLiteral("xls");
    case Txt:
        return QStringLiteral("txt");
    case Htm:
        return QStringLiteral("htm");
    case Rtf:
        return QStringLiteral("rtf");
    case Csv:
        return QStringLiteral("csv");
    case Xlsx:
        return QStringLiteral("xlsx");
    default:
        return QString();
    }
}

QStringList filters()
{
    return {QStringLiteral("Excel 文档 (*.xls)"), QStringLiteral("Text files (*.txt)"),
        QStringLiteral("HTML file (*.htm)"), QStringLiteral("Rich Text Format (*.rtf)"),
        QStringLiteral("Comma separated values (*.csv)"), QStringLiteral("Excel 2007 工作簿 (*.xlsx)")};
}

int typeOfFilter(const QString& filter)
{
    const int i = int(filters().indexOf(filter));
    return i < 0 ? 0 : i + 1;
}

QString withExtension(const QString& fileName, int fileType)
{
    const QString ext = extension(fileType);
    if (ext.isEmpty())
        return fileName;
    if (fileName.right(ext.size()).toUpper() != ext.toUpper())
        return fileName + QLatin1Char('.') + ext;
    return fileName;
}

bool write(const ExportTable& table, const QString& fileName, int fileType, QString* errorString)
{
    switch (fileType) {
    case Xls:
        return writeXls(table, fileName, errorString);
    case Txt:
        return writeTxt(table, fileName, errorString);
    case Htm:
        return writeHtm(table, fileName, errorString);
    case Rtf:
        return writeRtf(table, fileName, errorString);
    case Csv:
        return writeCsv(table, fileName, errorString);
    case Xlsx:
        return writeXlsx(table, fileName, errorString);
    default:
        if (errorString)
            *errorString = QStringLiteral("未知的导出文件类型 %1").arg(fileType);
        return false;
    }
}

namespace {
// Writes through QSaveFile so a failed export never leaves half a file behind
// in place of an earlier good one.
bool geCommit(QSaveFile& f, const QByteArray& data, QString* errorString)
{
    f.write(data);
    if (!f.commit()) {
        if (errorString)
            *errorString = f.errorString();
        return false;
    }
    return true;
}

bool geOpen(QSaveFile& f, QString* errorString)
{
    if (!f.open(QIODevice::WriteOnly)) {
        if (errorString)
            *errorString = f.errorString();
        return false;
    }
    return true;
}

const QByteArray geUtf8Bom("\xEF\xBB\xBF");

// Text and CSV carry one line per row: line breaks and tabs inside a cell would
// split it, so they become spaces in the tab-separated file.
QString geFlatten(QString s)
{
    bool plain = true;
    for (QChar ch : s)
        plain = plain && ch != QLatin1Char('\r') && ch != QLatin1Char('\n') && ch != QLatin1Char('\t');
    if (plain)
        return s;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

QString geCsvField(const QString& s)
{
    if (s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n'))
        || s.contains(QLatin1Char('\r')) || s.startsWith(QLatin1Char(' ')) || s.endsWith(QLatin1Char(' '))) {
        QString q = s;
        q.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    }
    return s;
}

QString geHtmlEscape(const QString& s)
{
    QString r = s.toHtmlEscaped();
    r.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return r;
}

void geRtfAppend(QByteArray& out, const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const ushort u = s.at(i).unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\r' || u == '\t') {
            out += ' ';
        } else if (u < 0x80) {
            out += char(u);
        } else {
            // \uN takes a signed 16-bit value; '?' is the fallback for old readers.
            char buf[16];
            const int n = std::snprintf(buf, sizeof buf, "\\u%d?", int(qint16(u)));
            out.append(buf, n);
        }
    }
}

QByteArray geRtfText(const QString& s)
{
    QByteArray out;
    out.reserve(s.size() * 2);
    geRtfAppend(out, s);
    return out;
}

int geAlignment(const ExportTable& t, int col, bool isNumber)
{
    const int a = t.columns.at(col).alignment;
    if (a >= 0)
        return a;
    return isNumber ? 2 : 0;
}

} // namespace

bool writeTxt(const ExportTable& t, const QString& fileName, QString* errorString)
{
    QSaveFile f(fileName);
    if (!geOpen(f, errorString))
        return false;
    QByteArray out = geUtf8Bom;
    QStringList line;
    for (const auto& c : t.columns)
        line << geFlatten(c.title);
    out += line.join(QLatin1Char('\t')).toUtf8() + "\r\n";
    for (qsizetype r = 0; r < t.rowCount; ++r) {
        line.clear();
        for (int c = 0; c < t.columns.size(); ++c)
            line << geFlatten(t.cellText(r, c, nullptr, nullptr));
        out += line.join(QLatin1Char('\t')).toUtf8() + "\r\n";
    }
    return geCommit(f, out, errorString);
}

bool writeCsv(const ExportTable& t, const QString& fileName, QString* errorString)
{
    QSaveFile f(fileName);
    if (!geOpen(f, errorString))
        return false;
    QByteArray out = geUtf8Bom;
    QStringList line;
    for (const auto& c : t.columns)
        line << geCsvField(c.title);
    out += line.join(QLatin1Char(',')).toUtf8() + "\r\n";
    for (qsizetype r = 0; r < t.rowCount; ++r) {
        line.clear();
        for (int c = 0; c < t.columns.size(); ++c) {
            bool isNumber = false;
            QString s = t.cellText(r, c, &isNumber, nullptr);
            // Spreadsheet programs read CSV back: numbers keep the column's decimals but
            // lose the thousands separators, which would turn them into text.
            if (isNumber)
                s.remove(QLatin1Char(','));
            line << geCsvField(s);
        }
        out += line.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return geCommit(f, out, errorString);
}

bool writeHtm(const ExportTable& t, const QString& fileName, QString* errorString)
{
    QSaveFile f(fileName);
    if (!geOpen(f, errorString))
        return false;
    static const char* align[] = {"left", "center", "right"};
    QString title = QFileInfo(fileName).completeBaseName();
    QByteArray out;
    out += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>" + geHtmlEscape(title).toUtf8()
        + "</title>\r\n"
        + "<style>table{border-collapse:collapse}th,td{border:1px solid #808080;padding:2px 4px}"
          "th{background:#e0e0e0}</style>\r\n</head>\r\n<body>\r\n<table>\r\n<tr>";
    for (const auto& c : t.columns)
        out += "<th>" + geHtmlEscape(c.title).toUtf8() + "</th>";
    out += "</tr>\r\n";
    for (qsizetype r = 0; r < t.rowCount; ++r) {
        out += "<tr>";
        for (int c = 0; c < t.columns.size(); ++c) {
            bool isNumber = false;
            const QString s = t.cellText(r, c, &isNumber, nullptr);
            const int a = geAlignment(t, c, isNumber);
            out += a == 0 ? QByteArray("<td>") : QByteArray("<td align=\"") + align[a] + "\">";
            out += geHtmlEscape(s).toUtf8() + "</td>";
        }
        out += "</tr>\r\n";
    }
    out += "</table>\r\n</body>\r\n</html>\r\n";
    return geCommit(f, out, errorString);
}

bool writeRtf(const ExportTable& t, const QString& fileName, QString* errorString)
{
    QSaveFile f(fileName);
    if (!geOpen(f, errorString))
        return false;
    const int n = int(t.columns.size());
    // Twips: 1440 an inch; a fixed width per column keeps every row's table the same.
    const int cellWidth = n > 0 ? qBound(900, 14000 / n, 2400) : 1800;
    // Every cell draws its bottom and right border; the title row adds the top and the
    // first column the left, so the grid lines are complete without repeating them.
    auto rowDefinition = [n, cellWidth](bool title) {
        QByteArray d = "\\trowd\\trgaph60\\trleft0";
        for (int c = 0; c < n; ++c) {
            if (title)
                d += "\\clbrdrt\\brdrs\\brdrw10";
            if (c == 0)
                d += "\\clbrdrl\\brdrs\\brdrw10";
            d += "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx" + QByteArray::number(cellWidth * (c + 1));
        }
        return d + "\r\n";
    };
    const QByteArray rowDef = rowDefinition(false);
    static const char* ralign[] = {"\\ql", "\\qc", "\\qr"};
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset134 SimSun;}}\r\n"
                     "\\paperw16838\\paperh11906\\landscape\\margl720\\margr720\\margt720\\margb720\\f0\\fs18\r\n";
    out += rowDefinition(true) + "\\trhdr";
    for (int c = 0; c < n; ++c)
        out += "\\pard\\intbl\\qc\\b " + geRtfText(t.columns.at(c).title) + "\\b0\\cell";
    out += "\\row\r\n";
    for (qsizetype r = 0; r < t.rowCount; ++r) {
        out += rowDef;
        for (int c = 0; c < n; ++c) {
            bool isNumber = false;
            const QString s = t.cellText(r, c, &isNumber, nullptr);
            out += "\\pard\\intbl";
            out += ralign[geAlignment(t, c, isNumber)];
            out += ' ';
            geRtfAppend(out, s);
            out += "\\cell";
        }
        out += "\\row\r\n";
    }
    out += "\\pard\\par\r\n}\r\n";
    return geCommit(f, out, errorString);
}

bool writeXls(const ExportTable& t, const QString& fileName, QString* errorString)
{
    if (t.rowCount + 1 > XlsMaxRows) {
        if (errorString)
            *errorString = QStringLiteral("Excel 97 工作表最多 %1 行，要导出的有 %2 行（含标题行）。请选择 Excel 2007 "
                                          "工作簿 (*.xlsx) 导出全部行。")
                               .arg(XlsMaxRows)
                               .arg(t.rowCount + 1);
        return false;
    }
    QByteArray data;
    if (!Biff8Writer::workbook(t, &data, errorString))
        return false;
    QSaveFile f(fileName);
    if (!geOpen(f, errorString))
        return false;
    return geCommit(f, data, errorString);
}

bool writeXlsx(const ExportTable& t, const QString& fileName, QString* errorString)
{
    return XlsxExport::write(t, fileName, errorString);
}

} // namespace GridExporter
