#include "print/reportengine.h"
#include "print/reportexpression.h"
#include "print/reportfonts.h"
#include "print/reportformat.h"
#include "print/reportrenderer.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
ReportObject textObject(const QString& name, const QString& text, double x = 0, double w = 60, double h = 6)
{
    ReportObject o;
    o.name = name;
    o.text = text;
    o.geometry = QRectF(x, 0, w, h);
    return o;
}

ReportBand band(
    ReportBand::Type type, double height, const QList<ReportObject>& objects, const QString& dataSet = QString())
{
    ReportBand b;
    b.type = type;
    b.name = ReportBand::typeName(type) + QStringLiteral("1");
    b.height = height;
    b.dataSet = dataSet;
    b.objects = objects;
    return b;
}

ReportDataSet lines(int n)
{
    ReportDataSet ds({QStringLiteral("F_GoodName"), QStringLiteral("F_Amount"), QStringLiteral("F_TotalPrice"),
        QStringLiteral("F_Type")});
    for (int i = 1; i <= n; ++i)
        ds.addRow({QStringLiteral("货品%1").arg(i), double(i), QString::number(i * 10.5, 'f', 4),
            i <= 2 ? QStringLiteral("A") : QStringLiteral("B")});
    return ds;
}

// A small document: header in the page header, lines blank-filled to PageMaxRow.
ReportTemplate documentTemplate()
{
    ReportTemplate t = ReportTemplate::blank(QStringLiteral("test"));
    t.page.paperWidth = 200;
    t.page.paperHeight = 100;
    t.setVariable(QStringLiteral("自定义变量"), QStringLiteral("PageMaxRow"), QStringLiteral("5"));
    t.bands << band(
        ReportBand::PageHeader, 10, {textObject(QStringLiteral("Code"), QStringLiteral("单号：[frxDM.F_Code]"))});
    ReportBand detail = band(ReportBand::DetailData, 6,
        {textObject(QStringLiteral("Name"), QStringLiteral("[frxDD.F_GoodName]")),
            textObject(QStringLiteral("Amount"), QStringLiteral("[frxDD.F_Amount]"), 60, 30)},
        QStringLiteral("frxDD"));
    detail.rowsPerPage = QStringLiteral("PageMaxRow");
    t.bands << detail;
    t.bands << band(ReportBand::PageFooter, 8,
        {textObject(QStringLiteral("PageSum"), QStringLiteral("本页：[SUM(frxDD.F_Amount)]")),
            textObject(QStringLiteral("Pages"), QStringLiteral("[Page]/[TotalPages]"), 100, 30)});
    t.bands << band(ReportBand::Summary, 6,
        {textObject(QStringLiteral("Total"), QStringLiteral("合计：[SUM(frxDD.F_TotalPrice)]"))});
    return t;
}

ReportDataSet header()
{
    ReportDataSet dm({QStringLiteral("F_Code")});
    dm.addRow({QStringLiteral("CGD20240115001")});
    return dm;
}

int countItems(const PreparedPage& page, const QString& objectName)
{
    int n = 0;
    for (const auto& it : page.items)
        if (it.object.name == objectName)
            ++n;
    return n;
}

QStringList textsOf(const PreparedPage& page, const QString& objectName)
{
    QStringList out;
    for (const auto& it : page.items)
        if (it.object.name == objectName)
            out << it.text;
    return out;
}
} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ReportFonts::installSubstitutions(); }
    void roundTrip();
    void loadRejectsBadFiles_data();
    void loadRejectsBadFiles();
    void expressions_data();
    void expressions();
    void numberFormats_data();
    void numberFormats();
    void pageMaxRow_data();
    void pageMaxRow();
    void pageSumsAndTotals();
    void unknownVariableKeepsStoredValue();
    void valueSourceWins();
    void groupsWithSums();
    void heightBreaksRepeatHeaders();
    void stretchGrowsRow();
    void exportsText();
    void printsThroughPrinter();
};

void TestReportEngine::roundTrip()
{
    ReportTemplate t = documentTemplate();
    t.page.landscape = true;
    t.page.marginLeft = 7.5;
    ReportObject& o = t.bands[1].objects[1];
    o.bold = true;
    o.italic = true;
    o.fontFamily = QStringLiteral("黑体");
    o.fontSize = 12.5;
    o.frame = ReportObject::FrameLeft | ReportObject::FrameBottom;
    o.frameWidth = 1.5;
    o.hAlign = Qt::AlignRight;
    o.vAlign = Qt::AlignBottom;
    o.wordWrap = true;
    o.stretch = true;
    o.format = QStringLiteral("#,##0.00");
    o.fill = QColor(QStringLiteral("#00ffff"));
    o.text = QStringLiteral("<a & b> \"q\" [frxDD.F_Amount]\n第二行");
    ReportObject line;
    line.type = ReportObject::Line;
    line.name = QStringLiteral("Line1");
    line.geometry = QRectF(0, 5, 100, 0);
    ReportObject box;
    box.type = ReportObject::CheckBox;
    box.name = QStringLiteral("Check1");
    box.geometry = QRectF(1, 1, 4, 4);
    box.text = QStringLiteral("frxDD.F_Amount > 2");
    ReportObject pic;
    pic.type = ReportObject::Picture;
    pic.name = QStringLiteral("Picture1");
    pic.geometry = QRectF(0, 0, 10, 10);
    pic.picture = QImage(4, 3, QImage::Format_ARGB32);
    pic.picture.fill(Qt::red);
    t.bands[0].objects << line << box << pic;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.fr3"));
    QString error;
    QVERIFY2(t.save(file, &error), qPrintable(error));
    ReportTemplate back;
    QVERIFY2(back.load(file, &error), qPrintable(error));
    QVERIFY(back == t);
    QCOMPARE(back.bands[1].objects[1].text, o.text);
    QCOMPARE(back.bands[0].objects.last().picture.size(), QSize(4, 3));
    QCOMPARE(back.variable(QStringLiteral("pagemaxrow"))->category, QStringLiteral("自定义变量"));
    // Saved twice gives the same bytes: nothing drifts.
    QCOMPARE(back.toXml(), t.toXml());
}

void TestReportEngine::loadRejectsBadFiles_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("not xml") << QByteArray("hello");
    QTest::newRow("other root") << QByteArray("<report/>");
    QTest::newRow("unknown band") << QByteArray("<kelmora-report><band type=\"Nope\"/></kelmora-report>");
    QTest::newRow("unknown object") << QByteArray(
        "<kelmora-report><band type=\"Summary\"><blob/></band></kelmora-report>");
    QTest::newRow("truncated") << QByteArray("<kelmora-report><band type=\"Summary\">");
}

void TestReportEngine::loadRejectsBadFiles()
{
    QFETCH(QByteArray, xml);
    ReportTemplate t = documentTemplate();
    const ReportTemplate before = t;
    QString error;
    QVERIFY(!t.loadFromData(xml, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(t == before); // a failed load leaves the template as it was
}

void TestReportEngine::expressions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("field and literal") << "单号：[frxDM.F_Code]"
                                       << "单号：CGD20240115001";
    QTest::newRow("quoted field, case") << "[FRXDM.\"f_code\"]"
                                        << "CGD20240115001";
    QTest::newRow("angle brackets") << "[<frxDM.\"F_Code\">]"
                                    << "CGD20240115001";
    QTest::newRow("arithmetic") << "[1 + 2 * 3 - 4 / 2]"
                                << "5";
    QTest::newRow("text join") << "['a' + 'b' + 1]"
                               << "ab1";
    QTest::newRow("iif") << "[IIF(2 > 1, 'yes', 'no')]"
                         << "yes";
    QTest::newRow("sum") << "[SUM(frxDD.F_TotalPrice)]"
                         << "63";
    QTest::newRow("count") << "[COUNT(frxDD.F_Amount)]"
                           << "3";
    QTest::newRow("money words of sum") << "[MoneyMinToBig(SUM(frxDD.F_TotalPrice))]"
                                        << "陆拾叁元整";
    QTest::newRow("money words case") << "[moneymintobig(0.5)]"
                                      << "零元伍角零分";
    QTest::newRow("format float") << "[FormatFloat('#,##0.00', 1234.5)]"
                                  << "1,234.50";
    QTest::newRow("variable") << "[PageMaxRow]"
                              << "5";
    QTest::newRow("date") << "[FormatDateTime('yyyy-mm-dd', Date)]" << QDate::currentDate().toString(Qt::ISODate);
    QTest::newRow("line number outside a data band") << "[Line#]/[COUNT(frxDD.F_Amount)]"
                                                     << "/3";
    QTest::newRow("two expressions") << "[Page]-[Page]"
                                     << "1-1";
    QTest::newRow("bad expression stays literal") << "x[1 +]y"
                                                  << "x[1 +]y";
}

void TestReportEngine::expressions()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    ReportTemplate t = ReportTemplate::blank();
    t.setVariable(QStringLiteral("自定义变量"), QStringLiteral("PageMaxRow"), QStringLiteral("5"));
    t.bands << band(ReportBand::Summary, 6, {textObject(QStringLiteral("X"), text, 0, 180)});
    ReportEngine e(t);
    e.setDataSet(ReportEngine::masterName(), header());
    e.setDataSet(ReportEngine::detailName(), lines(3));
    const PreparedReport r = e.prepare();
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(textsOf(r.pages[0], QStringLiteral("X")), QStringList {expected});
}

void TestReportEngine::numberFormats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QVariant(12.5) << ""
                           << "12.5";
    QTest::newRow("fixed") << QVariant(12.5) << "0.00"
                           << "12.50";
    QTest::newRow("grouping") << QVariant(1234567.891) << ",0.00"
                              << "1,234,567.89";
    QTest::newRow("optional decimals") << QVariant(3.0) << "0.##"
                                       << "3";
    QTest::newRow("half away") << QVariant(-2.345) << "0.00"
                               << "-2.35";
    QTest::newRow("numeric text") << QVariant(QStringLiteral("10.5000")) << "0.00"
                                  << "10.50";
    QTest::newRow("no decimals") << QVariant(2.5) << "0."
                                 << "3";
    QTest::newRow("date text") << QVariant(QStringLiteral("2024-01-15 00:00:00")) << ""
                               << "2024-01-15";
    QTest::newRow("date format") << QVariant(QDate(2024, 1, 15)) << "yyyy年mm月dd日"
                                 << "2024年01月15日";
    QTest::newRow("empty date") << QVariant(QStringLiteral("1900-08-14 00:00:00")) << ""
                                << "";
    QTest::newRow("null") << QVariant() << "0.00"
                          << "";
}

void TestReportEngine::numberFormats()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(ReportFormat::display(value, format), expected);
}

void TestReportEngine::pageMaxRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("maxRow");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("linesOnLastPage");
    QTest::newRow("3 of 5") << 3 << 5 << 1 << 5;
    QTest::newRow("5 of 5") << 5 << 5 << 1 << 5;
    QTest::newRow("7 of 5") << 7 << 5 << 2 << 5;
    QTest::newRow("11 of 5") << 11 << 5 << 3 << 5;
    QTest::newRow("no lines") << 0 << 5 << 1 << 5;
    QTest::newRow("7 of 8") << 7 << 8 << 1 << 8;
}

void TestReportEngine::pageMaxRow()
{
    QFETCH(int, rows);
    QFETCH(int, maxRow);
    QFETCH(int, pages);
    QFETCH(int, linesOnLastPage);
    ReportEngine e(documentTemplate());
    e.setDataSet(ReportEngine::masterName(), header());
    e.setDataSet(ReportEngine::detailName(), lines(rows));
    e.setValueSource([maxRow](const QString& name) -> std::optional<QVariant> {
        if (name == QLatin1String("PageMaxRow"))
            return maxRow;
        return std::nullopt;
    });
    const PreparedReport r = e.prepare();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    QCOMPARE(r.pageCount(), pages);
    for (int p = 0; p < pages - 1; ++p)
        QCOMPARE(countItems(r.pages[p], QStringLiteral("Name")), maxRow);
    QCOMPARE(countItems(r.pages.last(), QStringLiteral("Name")), linesOnLastPage);
    // Blank lines print empty; the real ones keep their order across pages.
    QStringList names;
    for (const auto& page : r.pages)
        names += textsOf(page, QStringLiteral("Name"));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(names[i], i < rows ? QStringLiteral("货品%1").arg(i + 1) : QString());
    // The page header repeats on every page.
    for (const auto& page : r.pages)
        QCOMPARE(textsOf(page, QStringLiteral("Code")), QStringList {QStringLiteral("单号：CGD20240115001")});
}

void TestReportEngine::pageSumsAndTotals()
{
    ReportEngine e(documentTemplate());
    e.setDataSet(ReportEngine::masterName(), header());
    e.setDataSet(ReportEngine::detailName(), lines(7));
    const PreparedReport r = e.prepare();
    QCOMPARE(r.pageCount(), 2);
    QCOMPARE(textsOf(r.pages[0], QStringLiteral("PageSum")), QStringList {QStringLiteral("本页：15")});
    QCOMPARE(textsOf(r.pages[1], QStringLiteral("PageSum")), QStringList {QStringLiteral("本页：13")});
    QCOMPARE(textsOf(r.pages[0], QStringLiteral("Pages")), QStringList {QStringLiteral("1/2")});
    QCOMPARE(textsOf(r.pages[1], QStringLiteral("Pages")), QStringList {QStringLiteral("2/2")});
    // 10.5 * (1 + ... + 7), from NUMERIC text as PostgreSQL hands it over.
    QCOMPARE(textsOf(r.pages[1], QStringLiteral("Total")), QStringList {QStringLiteral("合计：294")});
    QCOMPARE(countItems(r.pages[0], QStringLiteral("Total")), 0);
}

void TestReportEngine::unknownVariableKeepsStoredValue()
{
    ReportTemplate t = ReportTemplate::blank();
    t.setVariable(QStringLiteral("自定义变量"), QStringLiteral("memoCaption"), QStringLiteral("按货品"));
    t.bands << band(ReportBand::Summary, 6,
        {textObject(QStringLiteral("A"), QStringLiteral("[memoCaption]")),
            textObject(QStringLiteral("B"), QStringLiteral("<[NoSuchVar]>"), 60)});
    ReportEngine e(t);
    e.setValueSource([](const QString&) -> std::optional<QVariant> { return std::nullopt; });
    const PreparedReport r = e.prepare();
    QCOMPARE(textsOf(r.pages[0], QStringLiteral("A")), QStringList {QStringLiteral("按货品")});
    QCOMPARE(textsOf(r.pages[0], QStringLiteral("B")), QStringList {QStringLiteral("<>")});
    QVERIFY(r.errors.join(QLatin1Char(' ')).contains(QStringLiteral("NoSuchVar")));
}

void TestReportEngine::valueSourceWins()
{
    ReportTemplate t = ReportTemplate::blank();
    t.setVariable(QStringLiteral("自定义变量"), QStringLiteral("sCurKHname"), QStringLiteral("stored"));
    t.bands << band(ReportBand::ReportTitle, 6, {textObject(QStringLiteral("A"), QStringLiteral("[sCurKHname]"))});
    ReportEngine e(t);
    e.setValueSource([](const QString& n) -> std::optional<QVariant> {
        if (n.compare(QLatin1String("scurkhname"), Qt::CaseInsensitive) == 0)
            return QVariant(QStringLiteral("凯尔莫拉商贸"));
        return std::nullopt;
    });
    QCOMPARE(textsOf(e.prepare().pages[0], QStringLiteral("A")), QStringList {QStringLiteral("凯尔莫拉商贸")});
}

void TestReportEngine::groupsWithSums()
{
    ReportTemplate t = ReportTemplate::blank();
    ReportBand gh
        = band(ReportBand::GroupHeader, 6, {textObject(QStringLiteral("GH"), QStringLiteral("类别 [frxDM.F_Type]"))});
    gh.condition = QStringLiteral("frxDM.F_Type");
    t.bands << gh;
    t.bands << band(ReportBand::MasterData, 6,
        {textObject(QStringLiteral("Row"), QStringLiteral("[frxDM.F_GoodName]"))}, QStringLiteral("frxDM"));
    t.bands << band(ReportBand::GroupFooter, 6,
        {textObject(QStringLiteral("GF"), QStringLiteral("小计 [SUM(frxDM.F_Amount)] / [COUNT(frxDM.F_Amount)]"))});
    t.bands << band(
        ReportBand::Summary, 6, {textObject(QStringLiteral("S"), QStringLiteral("总计 [SUM(frxDM.F_Amount)]"))});
    ReportEngine e(t);
    e.setDataSet(ReportEngine::masterName(), lines(5));
    const PreparedReport r = e.prepare();
    QCOMPARE(r.pageTexts(0),
        (QStringList {QStringLiteral("类别 A"), QStringLiteral("货品1"), QStringLiteral("货品2"),
            QStringLiteral("小计 3 / 2"), QStringLiteral("类别 B"), QStringLiteral("货品3"), QStringLiteral("货品4"),
            QStringLiteral("货品5"), QStringLiteral("小计 12 / 3"), QStringLiteral("总计 15")}));
}

void TestReportEngine::heightBreaksRepeatHeaders()
{
    ReportTemplate t = ReportTemplate::blank();
    t.page.paperHeight = 60; // 40 mm of content
    t.bands << band(ReportBand::ReportTitle, 10, {textObject(QStringLiteral("T"), QStringLiteral("标题"))});
    t.bands << band(ReportBand::DataHeader, 5, {textObject(QStringLiteral("H"), QStringLiteral("名称"), 0, 60, 5)},
        QStringLiteral("frxDM"));
    t.bands << band(ReportBand::MasterData, 5,
        {textObject(QStringLiteral("Row"), QStringLiteral("[frxDM.F_GoodName]"), 0, 60, 5)}, QStringLiteral("frxDM"));
    ReportEngine e(t);
    e.setDataSet(ReportEngine::masterName(), lines(10));
    const PreparedReport r = e.prepare();
    // Page 1: title 10 + header 5 + 5 rows; later pages: header 5 + 7 rows.
    QCOMPARE(r.pageCount(), 2);
    QCOMPARE(countItems(r.pages[0], QStringLiteral("T")), 1);
    QCOMPARE(countItems(r.pages[1], QStringLiteral("T")), 0);
    QCOMPARE(countItems(r.pages[0], QStringLiteral("H")), 1);
    QCOMPARE(countItems(r.pages[1], QStringLiteral("H")), 1);
    QCOMPARE(countItems(r.pages[0], QStringLiteral("Row")), 5);
    QCOMPARE(countItems(r.pages[1], QStringLiteral("Row")), 5);
    for (const auto& page : r.pages)
        for (const auto& it : page.items)
            QVERIFY(it.rect.bottom() <= t.page.height() - t.page.marginBottom + 0.001);
}

void TestReportEngine::stretchGrowsRow()
{
    ReportTemplate t = ReportTemplate::blank();
    ReportObject wrap = textObject(QStringLiteral("W"), QStringLiteral("[frxDM.F_GoodName]"), 0, 20);
    wrap.wordWrap = true;
    wrap.stretch = true;
    ReportObject side = textObject(QStringLiteral("S"), QStringLiteral("x"), 20, 20);
    side.stretch = true;
    t.bands << band(ReportBand::MasterData, 6, {wrap, side}, QStringLiteral("frxDM"));
    ReportDataSet ds({QStringLiteral("F_GoodName")});
    ds.addRow({QStringLiteral("短")});
    ds.addRow({QStringLiteral("一个很长很长很长很长很长很长很长很长的货品名称")});
    ReportEngine e(t);
    e.setDataSet(ReportEngine::masterName(), ds);
    const PreparedReport r = e.prepare();
    const auto& items = r.pages[0].items;
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0].rect.height(), 6.0);
    QVERIFY(items[2].rect.height() > 12);
    // The neighbour stretches with the row so frames line up.
    QCOMPARE(items[3].rect.height(), items[2].rect.height());
}

void TestReportEngine::exportsText()
{
    ReportEngine e(documentTemplate());
    e.setDataSet(ReportEngine::masterName(), header());
    e.setDataSet(ReportEngine::detailName(), lines(2));
    const PreparedReport r = e.prepare();
    const QString csv = ReportRenderer::toCsv(r);
    QVERIFY(csv.contains(QStringLiteral("货品1;1\r\n")));
    const QString html = ReportRenderer::toHtml(r);
    QVERIFY(html.contains(QStringLiteral("单号：CGD20240115001")));
    const QString text = ReportRenderer::toText(r);
    QVERIFY(text.startsWith(QStringLiteral("单号：CGD20240115001\n")));
    QTemporaryDir dir;
    QStringList files;
    QVERIFY(ReportRenderer::exportPng(r, dir.filePath(QStringLiteral("p.png")), 72, &files));
    QCOMPARE(files.size(), 1);
    QImage img(files.first());
    QCOMPARE(img.width(), qRound(200 * 72 / 25.4));
}

void TestReportEngine::printsThroughPrinter()
{
    ReportEngine e(documentTemplate());
    e.setDataSet(ReportEngine::masterName(), header());
    e.setDataSet(ReportEngine::detailName(), lines(7));
    const PreparedReport r = e.prepare();
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QString error;
    QVERIFY2(ReportRenderer::print(r, printer, &error), qPrintable(error));
    QFile f(printer.outputFileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), qsizetype(2));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
