#include "app/clock.h"
#include "print/gridprinter.h"
#include "print/reportfonts.h"
#include "print/reportpresenter.h"

#include <QStandardItemModel>
#include <QtTest>

namespace {
class GridRecordingPresenter : public ReportPresenter
{
public:
    GridRecordingPresenter() { ReportPresenter::setInstance(this); }
    ~GridRecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override { shown << engine.prepare(); }
    void design(const ReportEngine&, const QString&) override { }
    QList<PreparedReport> shown;
};

QStandardItemModel* gridModel(int rows)
{
    auto* m = new QStandardItemModel(rows, 4);
    for (int r = 0; r < rows; ++r) {
        m->setItem(r, 0, new QStandardItem(QStringLiteral("HP%1").arg(r + 1, 3, 10, QLatin1Char('0'))));
        m->setItem(r, 1, new QStandardItem(QStringLiteral("隐藏列")));
        m->setItem(r, 2, new QStandardItem(r == 0 ? QStringLiteral("名称 [frxDM.C0] 原样") : QStringLiteral("货品")));
        m->setItem(r, 3, new QStandardItem(QStringLiteral("%1.00").arg(r + 1)));
    }
    return m;
}

QList<GridPrintColumn> gridColumns()
{
    return {{0, QStringLiteral("货品编号"), 80, Qt::AlignLeft, QStringLiteral("合    计")},
        {2, QStringLiteral("货品名称"), 160, Qt::AlignLeft, QString()},
        {3, QStringLiteral("数量"), 60, Qt::AlignRight, QStringLiteral("55.00")}};
}

QStringList gridTexts(const PreparedPage& page, const QString& prefix)
{
    QStringList out;
    for (const auto& it : page.items)
        if (it.object.name.startsWith(prefix))
            out << it.text;
    return out;
}
} // namespace

class TestGridPrinter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ReportFonts::installSubstitutions();
        Clock::setFixedDate(QDate(2024, 3, 9));
    }
    void cleanupTestCase() { Clock::setFixedDate(QDate()); }
    void titleHeaderAndFooter();
    void footerKey_data();
    void footerKey();
    void fittingModes();
    void manyRowsRepeatColumnTitles();
};

void TestGridPrinter::titleHeaderAndFooter()
{
    std::unique_ptr<QStandardItemModel> model(gridModel(10));
    GridRecordingPresenter presenter;
    QVERIFY(GridPrinter::print(*model, gridColumns(), QStringLiteral("仓库入库查询列表"), 0, QStringLiteral("date"),
        QStringLiteral("统计日期：自 启用系统 至 记帐最后一天")));
    QCOMPARE(presenter.shown.size(), 1);
    const PreparedReport& r = presenter.shown.first();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    QCOMPARE(r.pageCount(), 1);
    const PreparedPage& page = r.pages.first();
    // Three title lines: empty, the title, empty.
    QCOMPARE(gridTexts(page, QStringLiteral("TitleLine")),
        (QStringList {QString(), QStringLiteral("仓库入库查询列表"), QString()}));
    QCOMPARE(gridTexts(page, QStringLiteral("HeaderLeft")),
        QStringList {QStringLiteral("统计日期：自 启用系统 至 记帐最后一天")});
    QCOMPARE(gridTexts(page, QStringLiteral("FooterRight")), QStringList {QStringLiteral("打印日期：2024年03月09日")});
    QCOMPARE(gridTexts(page, QStringLiteral("Title")).mid(3),
        (QStringList {QStringLiteral("货品编号"), QStringLiteral("货品名称"), QStringLiteral("数量")}));
    const QStringList cells = gridTexts(page, QStringLiteral("Cell"));
    QCOMPARE(cells.size(), 30); // the hidden column is not printed
    // Cell text is data, never an expression.
    QCOMPARE(cells[1], QStringLiteral("名称 [frxDM.C0] 原样"));
    QCOMPARE(cells[29], QStringLiteral("10.00"));
    QCOMPARE(gridTexts(page, QStringLiteral("Footer")).mid(0, 3),
        (QStringList {QStringLiteral("合    计"), QString(), QStringLiteral("55.00")}));
    // The columns fill the width between the margins in the grid's proportions.
    double left = 1e9, right = 0, first = 0;
    for (const auto& it : page.items)
        if (it.object.name.startsWith(QLatin1String("Cell")) && it.rect.top() < 60) {
            left = qMin(left, it.rect.left());
            right = qMax(right, it.rect.right());
            if (it.object.name == QLatin1String("Cell1"))
                first = it.rect.width();
        }
    QCOMPARE(left, r.page.marginLeft);
    QVERIFY(qAbs(right - (r.page.width() - r.page.marginRight)) < 0.01);
    QVERIFY(qAbs(first - r.page.contentWidth() * 80 / 300) < 0.01);
}

void TestGridPrinter::footerKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("hasFooter");
    QTest::addColumn<bool>("hasHeader");
    QTest::newRow("date") << "date"
                          << "" << true << false;
    QTest::newRow("own text") << "仓库管理部"
                              << " " << true << false;
    QTest::newRow("blank") << "  "
                           << "页眉" << false << true;
}

void TestGridPrinter::footerKey()
{
    QFETCH(QString, key);
    QFETCH(QString, header);
    QFETCH(bool, hasFooter);
    QFETCH(bool, hasHeader);
    const ReportTemplate t = GridPrinter::buildTemplate(gridColumns(), QStringLiteral("T"), 0, key, header);
    QCOMPARE(t.findBand(ReportBand::PageFooter) != nullptr, hasFooter);
    QCOMPARE(t.findBand(ReportBand::PageHeader) != nullptr, hasHeader);
    if (key == QLatin1String("date"))
        QCOMPARE(GridPrinter::footerText(key), QStringLiteral("打印日期：2024年03月09日"));
    else
        QCOMPARE(GridPrinter::footerText(key), key.trimmed().isEmpty() ? QString() : key);
}

void TestGridPrinter::fittingModes()
{
    std::unique_ptr<QStandardItemModel> model(gridModel(1));
    model->setItem(0, 2,
        new QStandardItem(
            QStringLiteral("一个非常非常长的货品名称，一行放不下，需要在格子里折成好几行才可以完整地显示出来，再长一点"
                           "再长一点，还要更长一些才能折成三行以上的文字内容，这样行高一定会超过十毫米")));
    auto heightOf = [&](int fitting) {
        const PreparedReport r
            = GridPrinter::engine(*model, gridColumns(), QStringLiteral("T"), fitting, QString(), QString()).prepare();
        double h = 0;
        for (const auto& it : r.pages[0].items)
            if (it.object.name == QLatin1String("Cell1"))
                h = it.rect.height();
        return h;
    };
    // Fitting 0 stretches the row to its content; fitting 1 keeps one line.
    QVERIFY(heightOf(0) > 10);
    QCOMPARE(heightOf(1), 6.0);
}

void TestGridPrinter::manyRowsRepeatColumnTitles()
{
    std::unique_ptr<QStandardItemModel> model(gridModel(100));
    const PreparedReport r = GridPrinter::engine(
        *model, gridColumns(), QStringLiteral("T"), 1, QStringLiteral("date"), QStringLiteral("H"))
                                 .prepare();
    QVERIFY(r.pageCount() >= 2);
    int rows = 0;
    for (int p = 0; p < r.pageCount(); ++p) {
        QCOMPARE(gridTexts(r.pages[p], QStringLiteral("Title1")), QStringList {QStringLiteral("货品编号")});
        QCOMPARE(gridTexts(r.pages[p], QStringLiteral("FooterRight")).size(), 1);
        QCOMPARE(gridTexts(r.pages[p], QStringLiteral("TitleLine")).size(), p == 0 ? 3 : 0);
        rows += int(gridTexts(r.pages[p], QStringLiteral("Cell1")).size());
    }
    QCOMPARE(rows, 100);
}

QTEST_MAIN(TestGridPrinter)
#include "tst_gridprinter.moc"
