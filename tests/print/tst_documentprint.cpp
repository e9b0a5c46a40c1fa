// kelmora-test: pg
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/dates.h"
#include "print/printservices.h"
#include "print/reportfonts.h"
#include "print/reportpresenter.h"
#include "print/reportrenderer.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString qrSourceFolder()
{
    return QDir::cleanPath(QStringLiteral(KELMORA_TEST_DATA "/../../resources/Qr"));
}

// Records what the services would show.
class RecordingPresenter : public ReportPresenter
{
public:
    RecordingPresenter() { ReportPresenter::setInstance(this); }
    ~RecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override
    {
        ++previews;
        last = engine;
    }
    void design(const ReportEngine& engine, const QString& fileName) override
    {
        ++designs;
        last = engine;
        designFile = fileName;
    }
    int previews = 0;
    int designs = 0;
    ReportEngine last;
    QString designFile;
};

QString pdfText(const QString& pdf, QString* error)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        *error = QStringLiteral("pdftotext is not installed");
        return {};
    }
    QProcess p;
    p.start(tool, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TestDocumentPrint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void documentToPdf();
    void everyDocumentTemplateRenders_data();
    void everyDocumentTemplateRenders();
    void emptyHeaderDoesNothing();
    void missingTemplateNamesTheFile();
    void designerOffersVariables();
    void designOnMissingTemplateStartsBlank();
    void reportServices();
    void dateRangeText_data();
    void dateRangeText();

private:
    ReportDataSet headerFor(const QString& code);
    ReportDataSet linesFor(const QString& code);
    std::unique_ptr<TestDatabase> m_db;
};

void TestDocumentPrint::initTestCase()
{
    ReportFonts::installSubstitutions();
    PrintServices::setTemplateFolder(qrSourceFolder());
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    Session::current().companyTitle = QStringLiteral("凯尔莫拉商贸有限公司");
    SysOptions::current().printNum = 5;
    DataModule& d = m_db->dataModule();
    QVERIFY(d.ExecSql(QStringLiteral("insert into DepotM (F_Code, F_Depot, F_Client, F_MakeDate, F_Maker, F_Date, "
                                     "F_Auditer, F_EmpName, F_TotalPrice, F_Flag, F_OperFlag, F_Mem) values (:code, "
                                     ":depot, :client, :made, :maker, :date, :auditer, :emp, :total, 1, 1, :mem)"),
        {{QStringLiteral("code"), QStringLiteral("CGD20240115001")},
            {QStringLiteral("depot"), QStringLiteral("一号仓库")},
            {QStringLiteral("client"), QStringLiteral("华南五金供应商")},
            {QStringLiteral("made"), Dates::sqlDate(QDate(2024, 1, 15))},
            {QStringLiteral("maker"), QStringLiteral("张三")},
            {QStringLiteral("date"), Dates::sqlDate(QDate(2024, 1, 16))},
            {QStringLiteral("auditer"), QStringLiteral("李四")}, {QStringLiteral("emp"), QStringLiteral("王五")},
            {QStringLiteral("total"), 1005.5}, {QStringLiteral("mem"), QStringLiteral("月初补货")}}));
    // Seven lines of two boxes each; the amounts add up to 1005.50.
    const double amounts[7] = {100, 200, 300, 100.5, 105, 100, 100};
    for (int i = 0; i < 7; ++i)
        QVERIFY(
            d.ExecSql(QStringLiteral("insert into DepotD (F_Code, F_GoodCode, F_GoodName, F_Spec, F_Unit, F_Amount, "
                                     "F_Price, F_TotalPrice) values (:code, :gc, :gn, :spec, :unit, :qty, :price, "
                                     ":total)"),
                {{QStringLiteral("code"), QStringLiteral("CGD20240115001")},
                    {QStringLiteral("gc"), QStringLiteral("HP%1").arg(i + 1, 3, 10, QLatin1Char('0'))},
                    {QStringLiteral("gn"), QStringLiteral("不锈钢螺丝%1号").arg(i + 1)},
                    {QStringLiteral("spec"), QStringLiteral("M%1×20").arg(i + 3)},
                    {QStringLiteral("unit"), QStringLiteral("盒")}, {QStringLiteral("qty"), 2.0},
                    {QStringLiteral("price"), amounts[i] / 2}, {QStringLiteral("total"), amounts[i]}}));
}

void TestDocumentPrint::cleanupTestCase()
{
    PrintServices::setTemplateFolder(QString());
    m_db.reset();
}

ReportDataSet TestDocumentPrint::headerFor(const QString& code)
{
    QSqlQuery q(m_db->dataModule().db());
    if (!m_db->dataModule().OpenQry(
            q, QStringLiteral("select * from DepotM where F_Code = :code"), {{QStringLiteral("code"), code}}))
        return {};
    return ReportDataSet::fromQuery(q);
}

ReportDataSet TestDocumentPrint::linesFor(const QString& code)
{
    QSqlQuery q(m_db->dataModule().db());
    q.setForwardOnly(true);
    if (!m_db->dataModule().OpenQry(q, QStringLiteral("select * from DepotD where F_Code = :code order by F_ID"),
            {{QStringLiteral("code"), code}}))
        return {};
    return ReportDataSet::fromQuery(q);
}

void TestDocumentPrint::documentToPdf()
{
    const ReportDataSet dm = headerFor(QStringLiteral("CGD20240115001"));
    const ReportDataSet dd = linesFor(QStringLiteral("CGD20240115001"));
    QCOMPARE(dm.rowCount(), 1);
    QCOMPARE(dd.rowCount(), 7);
    ReportEngine engine;
    QVERIFY(PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), dm, dd, engine));
    const PreparedReport r = engine.prepare();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    QCOMPARE(r.pageCount(), 2); // 7 lines at 5 per page

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    QString error;
    QVERIFY2(ReportRenderer::exportPdf(r, pdf, &error), qPrintable(error));
    // KELMORA_KEEP_OUTPUT=<folder> keeps the PDF for a person to look at.
    if (const QString keep = qEnvironmentVariable("KELMORA_KEEP_OUTPUT"); !keep.isEmpty())
        QFile::copy(pdf, QDir(keep).filePath(QStringLiteral("document.pdf")));
    const QString text = pdfText(pdf, &error);
    if (text.isEmpty() && error.contains(QStringLiteral("not installed")))
        QSKIP("pdftotext is not installed");
    QVERIFY2(!text.isEmpty(), qPrintable(error));
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages) {
        QVERIFY(page.contains(QStringLiteral("凯尔莫拉商贸有限公司")));
        QVERIFY(page.contains(QStringLiteral("采购入库单")));
        QVERIFY(page.contains(QStringLiteral("单据编号：CGD20240115001")));
        QVERIFY(page.contains(QStringLiteral("收货日期：2024-01-15")));
        QVERIFY(page.contains(QStringLiteral("进货仓库：一号仓库")));
        QVERIFY(page.contains(QStringLiteral("华南五金供应商")));
        QVERIFY(page.contains(QStringLiteral("货品名称")));
    }
    QVERIFY(pages[0].contains(QStringLiteral("不锈钢螺丝5号")));
    QVERIFY(!pages[0].contains(QStringLiteral("不锈钢螺丝6号")));
    QVERIFY(pages[1].contains(QStringLiteral("不锈钢螺丝7号")));
    QVERIFY(pages[1].contains(QStringLiteral("M9×20")));
    // Totals and the amount in words come once, after the last line.
    QVERIFY(!pages[0].contains(QStringLiteral("金额大写")));
    QVERIFY(pages[1].contains(QStringLiteral("1,005.50")));
    QVERIFY(pages[1].contains(QStringLiteral("金额大写：壹千零佰零拾伍元伍角零分")));
    QVERIFY(pages[1].contains(QStringLiteral("制 单 人：张三")));
    QVERIFY(pages[1].contains(QStringLiteral("审 核 人：李四")));
    QVERIFY(pages[1].contains(QStringLiteral("制单日期：2024-01-16")));
    QVERIFY(pages[0].contains(QStringLiteral("第 1 页 / 共 2 页")));
    QVERIFY(pages[1].contains(QStringLiteral("第 2 页 / 共 2 页")));
}

void TestDocumentPrint::everyDocumentTemplateRenders_data()
{
    QTest::addColumn<QString>("name");
    const char* stems[] = {"frCaigouInDept", "frXiaoshouInDept", "frShenchanInDept", "frLingyongInDept",
        "frJiehuoInDept", "frCaigouOutDept", "frXiaoshouOutDept", "frLingyongOutDept", "frJieHuoOutDept",
        "frDiaoboInDept", "frPandianInDept"};
    for (const char* stem : stems)
        for (const char* suffix : {"", "1", "2"}) {
            const QString name = QString::fromLatin1(stem) + QString::fromLatin1(suffix);
            QTest::newRow(qPrintable(name)) << name;
        }
}

void TestDocumentPrint::everyDocumentTemplateRenders()
{
    QFETCH(QString, name);
    ScriptedMessenger messenger;
    ReportEngine engine;
    QVERIFY(PrintServices::documentEngine(
        name, headerFor(QStringLiteral("CGD20240115001")), linesFor(QStringLiteral("CGD20240115001")), engine));
    QCOMPARE(engine.reportTemplate().name, name);
    const PreparedReport r = engine.prepare();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    QCOMPARE(r.pageCount(), 2);
    const QString text = ReportRenderer::toText(r);
    QVERIFY(text.contains(QStringLiteral("不锈钢螺丝7号")));
    // The "2" forms leave out unit prices and amounts.
    QCOMPARE(text.contains(QStringLiteral("金额大写")), !name.endsWith(QLatin1Char('2')));
    QCOMPARE(text.contains(QStringLiteral("单价")), !name.endsWith(QLatin1Char('2')));
    QCOMPARE(messenger.count(), 0);
}

void TestDocumentPrint::emptyHeaderDoesNothing()
{
    RecordingPresenter presenter;
    ScriptedMessenger messenger;
    QVERIFY(!PrintServices::documentPrint(
        QStringLiteral("frCaigouInDept"), headerFor(QStringLiteral("none")), linesFor(QStringLiteral("none"))));
    QCOMPARE(presenter.previews, 0);
    QCOMPARE(messenger.count(), 0);
    QVERIFY(PrintServices::documentPrint(QStringLiteral("frCaigouInDept"), headerFor(QStringLiteral("CGD20240115001")),
        linesFor(QStringLiteral("CGD20240115001"))));
    QCOMPARE(presenter.previews, 1);
    // Printing takes PageMaxRow from iPrintNum.
    SysOptions::current().printNum = 7;
    QCOMPARE(presenter.last.prepare().pageCount(), 1);
    SysOptions::current().printNum = 5;
}

void TestDocumentPrint::missingTemplateNamesTheFile()
{
    RecordingPresenter presenter;
    ScriptedMessenger messenger;
    QVERIFY(!PrintServices::documentPrint(
        QStringLiteral("frNoSuchForm"), headerFor(QStringLiteral("CGD20240115001")), ReportDataSet()));
    QCOMPARE(presenter.previews, 0);
    QCOMPARE(messenger.count(), 1);
    QVERIFY(messenger.lastText().contains(QStringLiteral("frNoSuchForm.fr3")));
    QCOMPARE(messenger.lastKind(), int(Messenger::Warning));
}

void TestDocumentPrint::designerOffersVariables()
{
    RecordingPresenter presenter;
    SysOptions::current().printNum = 9;
    QVERIFY(PrintServices::documentDesign(QStringLiteral("frCaigouInDept"), headerFor(QStringLiteral("CGD20240115001")),
        linesFor(QStringLiteral("CGD20240115001"))));
    SysOptions::current().printNum = 5;
    QCOMPARE(presenter.designs, 1);
    QCOMPARE(presenter.designFile, PrintServices::templateFileName(QStringLiteral("frCaigouInDept")));
    const auto& vars = presenter.last.reportTemplate().variables;
    QCOMPARE(vars.size(), 2);
    QCOMPARE(vars[0].category, QStringLiteral("自定义变量"));
    QCOMPARE(vars[0].name, QStringLiteral("PageMaxRow"));
    QCOMPARE(vars[0].value, QStringLiteral("5"));
    QCOMPARE(vars[1].name, QStringLiteral("sCurKHname"));
    QCOMPARE(vars[1].value, QString());
    QVERIFY(presenter.last.hasDataSet(QStringLiteral("frxDM")));
    QVERIFY(presenter.last.hasDataSet(QStringLiteral("frxDD")));
}

void TestDocumentPrint::designOnMissingTemplateStartsBlank()
{
    QTemporaryDir dir;
    PrintServices::setTemplateFolder(dir.path());
    RecordingPresenter presenter;
    ScriptedMessenger messenger;
    QVERIFY(PrintServices::documentDesign(
        QStringLiteral("frNew"), headerFor(QStringLiteral("CGD20240115001")), ReportDataSet()));
    PrintServices::setTemplateFolder(qrSourceFolder());
    QCOMPARE(messenger.count(), 0);
    QCOMPARE(presenter.designs, 1);
    QCOMPARE(presenter.designFile, QDir(dir.path()).filePath(QStringLiteral("frNew.fr3")));
    const ReportTemplate& t = presenter.last.reportTemplate();
    QVERIFY(t.bands.isEmpty());
    QCOMPARE(t.page.paperWidth, 210.0);
    QCOMPARE(t.page.paperHeight, 297.0);
    QCOMPARE(t.page.marginLeft, 10.0);
}

void TestDocumentPrint::reportServices()
{
    QTemporaryDir dir;
    ReportTemplate t = ReportTemplate::blank(QStringLiteral("frTest"));
    ReportBand title;
    title.type = ReportBand::ReportTitle;
    title.height = 8;
    ReportObject o;
    o.name = QStringLiteral("Memo1");
    o.geometry = QRectF(0, 0, 150, 8);
    o.text = QStringLiteral("[sCurKHname] [memoDate] [memoCaption]");
    title.objects << o;
    t.bands << title;
    QVERIFY(t.save(dir.filePath(QStringLiteral("frTest1.fr3"))));
    PrintServices::setTemplateFolder(dir.path());
    RecordingPresenter presenter;
    const ReportValueSource source = [](const QString& n) -> std::optional<QVariant> {
        if (n == QLatin1String("memoDate"))
            return QVariant(PrintServices::dateRangeText(false, {}, false, {}));
        if (n == QLatin1String("sCurKHname"))
            return QVariant(QStringLiteral("公司"));
        return std::nullopt;
    };
    // The suffix "1" selects the template without prices.
    const QString name = QStringLiteral("frTest") + Session().templateSuffix();
    QVERIFY(!PrintServices::reportPrint(name, ReportDataSet({QStringLiteral("a")}), source));
    QCOMPARE(presenter.previews, 0);
    ReportDataSet result({QStringLiteral("a")});
    result.addRow({1});
    QVERIFY(PrintServices::reportPrint(name, result, source));
    QCOMPARE(presenter.last.prepare().pageTexts(0),
        QStringList {QStringLiteral("公司 统计日期：自 启用系统 至 记帐最后一天 ")});
    QVERIFY(PrintServices::reportDesign(name, result, source));
    QStringList names;
    for (const auto& v : presenter.last.reportTemplate().variables)
        names << v.category + QLatin1Char('/') + v.name + QLatin1Char('=') + v.value;
    QCOMPARE(names,
        (QStringList {QStringLiteral("自定义变量/sCurKHname="), QStringLiteral("自定义变量/memoDate="),
            QStringLiteral("自定义变量/memoCaption=")}));
    PrintServices::setTemplateFolder(qrSourceFolder());
}

void TestDocumentPrint::dateRangeText_data()
{
    QTest::addColumn<bool>("fromTicked");
    QTest::addColumn<bool>("toTicked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both") << true << true << "统计日期：自 2024年01月05日 至 2024年12月31日";
    QTest::newRow("from only") << true << false << "统计日期：自 2024年01月05日 至 记帐最后一天";
    QTest::newRow("to only") << false << true << "统计日期：自 启用系统 至 2024年12月31日";
    QTest::newRow("neither") << false << false << "统计日期：自 启用系统 至 记帐最后一天";
}

void TestDocumentPrint::dateRangeText()
{
    QFETCH(bool, fromTicked);
    QFETCH(bool, toTicked);
    QFETCH(QString, expected);
    QCOMPARE(PrintServices::dateRangeText(fromTicked, QDate(2024, 1, 5), toTicked, QDate(2024, 12, 31)), expected);
}

QTEST_MAIN(TestDocumentPrint)
#include "tst_documentprint.moc"
