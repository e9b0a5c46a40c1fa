// kelmora-test: pg
#include "data/datamodule.h"
#include "data/gridformat.h"
#include "data/gridlayout.h"
#include "documents/documentkinds.h"
#include "documents/entrygridseed.h"
#include "documents/entrykinds.h"
#include "documents/entrylinefields.h"
#include "support/testdatabase.h"

#include <QtTest>

class TstEntryKinds : public QObject
{
    Q_OBJECT
private slots:
    void elevenKinds();
    void entryDate_data();
    void entryDate();
    void numberFormat_data();
    void numberFormat();
    void lineFields();
    void gridSeedAndLayout();
    void layoutOverDesignedColumns();
};

void TstEntryKinds::elevenKinds()
{
    QCOMPARE(EntryKinds::all().size(), 11);
    QSet<int> actions;
    for (const EntryKind& k : EntryKinds::all()) {
        QVERIFY(DocumentKinds::find(k.kind));
        actions.insert(k.base().actionCode);
        QCOMPARE(EntryKinds::findByClass(k.windowClass()), &k);
    }
    QCOMPARE(actions, (QSet<int> {301, 302, 303, 304, 305, 401, 402, 403, 404, 501, 502}));
    QVERIFY(!EntryKinds::find(12));
    const EntryKind* k = EntryKinds::find(1);
    QCOMPARE(k->templateName(0), QStringLiteral("frCaigouInDept"));
    QCOMPARE(k->templateName(2), QStringLiteral("frCaigouInDept2"));
    QCOMPARE(k->printCaption(1), QStringLiteral("打印采购入库单(A4)"));
    QCOMPARE(k->designCaption(2), QStringLiteral("设置采购入库单(不含单价和金额)"));
    QCOMPARE(EntryKinds::find(-2)->clientPickerMode(), 1);
    QCOMPARE(EntryKinds::find(-1)->clientPickerMode(), 0);
    QVERIFY(!EntryKinds::find(1)->addLineOpensPicker);
    QVERIFY(EntryKinds::find(-2)->addLineOpensPicker);
    QVERIFY(!EntryKinds::find(10)->doubleClickEdits);
}

void TstEntryKinds::entryDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("plain") << QStringLiteral("2024-01-15") << QDate(2024, 1, 15);
    QTest::newRow("spaces") << QStringLiteral(" 2024-02-29 ") << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << QStringLiteral("2023-02-29") << QDate();
    QTest::newRow("month 13") << QStringLiteral("2024-13-01") << QDate();
    QTest::newRow("short parts") << QStringLiteral("2024-1-5") << QDate();
    QTest::newRow("slashes") << QStringLiteral("2024/01/15") << QDate();
    QTest::newRow("with time") << QStringLiteral("2024-01-15 10:00:00") << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TstEntryKinds::entryDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QDate d;
    QCOMPARE(EntryKinds::parseEntryDate(text, d), expected.isValid());
    if (expected.isValid())
        QCOMPARE(d, expected);
}

void TstEntryKinds::numberFormat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quantity") << 2.5 << QStringLiteral("0.##") << QStringLiteral("2.5");
    QTest::newRow("quantity whole") << 2.0 << QStringLiteral("0.##") << QStringLiteral("2");
    QTest::newRow("quantity rounds") << 1.006 << QStringLiteral("0.##") << QStringLiteral("1.01");
    QTest::newRow("negative") << -2.0 << QStringLiteral("0.##") << QStringLiteral("-2");
    QTest::newRow("tiny negative") << -0.001 << QStringLiteral("0.##") << QStringLiteral("0");
    QTest::newRow("money") << 1234567.5 << QStringLiteral(",0.00") << QStringLiteral("1,234,567.50");
    QTest::newRow("money 4") << 1.23456 << QStringLiteral(",0.00##") << QStringLiteral("1.2346");
    QTest::newRow("yuan") << 1234.5 << QStringLiteral("￥,0.00;-￥,0.00") << QStringLiteral("￥1,234.50");
    QTest::newRow("yuan negative") << -3.0 << QStringLiteral("￥,0.00;-￥,0.00") << QStringLiteral("-￥3.00");
    QTest::newRow("no decimals") << 7.6 << QStringLiteral("0.") << QStringLiteral("8");
}

void TstEntryKinds::numberFormat()
{
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(GridFormat::formatNumber(value, format), expected);
}

void TstEntryKinds::lineFields()
{
    DocumentLine l;
    QVERIFY(EntryLineFields::setValue(l, QStringLiteral("f_amount"), QStringLiteral("1,234.5")));
    QCOMPARE(l.amount, 1234.5);
    QVERIFY(!EntryLineFields::setValue(l, QStringLiteral("F_Amount"), QStringLiteral("abc")));
    QCOMPARE(l.amount, 1234.5);
    QVERIFY(EntryLineFields::setValue(l, QStringLiteral("F_SJamount"), QStringLiteral("")));
    QVERIFY(!l.sjAmount.has_value());
    QVERIFY(EntryLineFields::setValue(l, QStringLiteral("F_SZ3"), 4));
    QCOMPARE(EntryLineFields::value(l, QStringLiteral("F_SZ3")).toDouble(), 4.0);
    QVERIFY(EntryLineFields::setValue(l, QStringLiteral("F_RQ2"), QStringLiteral("2024-03-01")));
    QCOMPARE(l.rq[1], QDate(2024, 3, 1));
    QVERIFY(!EntryLineFields::setValue(l, QStringLiteral("F_RQ2"), QStringLiteral("tomorrow")));
    QVERIFY(EntryLineFields::setValue(l, QStringLiteral("F_ZF5"), QStringLiteral("x")));
    QCOMPARE(l.zf[4], QStringLiteral("x"));
    QVERIFY(!EntryLineFields::setValue(l, QStringLiteral("F_ZF6"), QStringLiteral("x")));
    QVERIFY(!EntryLineFields::setValue(l, QStringLiteral("F_Code"), QStringLiteral("x"))); // stamped at save only
    QVERIFY(EntryLineFields::isGoodsDescriptive(QStringLiteral("f_unit")));
    QVERIFY(!EntryLineFields::isGoodsDescriptive(QStringLiteral("F_TMcode")));
}

void TstEntryKinds::gridSeedAndLayout()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QString err;
    QVERIFY2(EntryGridSeed::seed(tdb.connection(), &err), qPrintable(err));
    for (const QString& key : EntryKinds::gridKeys())
        QVERIFY2(dm().GetSqlInt(
                     QStringLiteral("select count(*) from cfg_grid where F_name = :k"), {{QStringLiteral("k"), key}})
                > 10,
            qPrintable(key));
    // A stored change survives a second seed and wins over the designed column.
    QVERIFY(dm().ExecSql(QStringLiteral("update cfg_grid set F_Caption = '数量X', F_Order = -1 where "
                                        "F_name = 'inpandiandeptgl' and F_fieldname = 'F_Amount'")));
    QVERIFY2(EntryGridSeed::seed(tdb.connection(), &err), qPrintable(err));
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from cfg_grid where F_name = 'inpandiandeptgl'")),
        qint64(EntryLineFields::defaultColumns(11).size()));
    const QList<GridColumnDef> designed = EntryLineFields::gridColumns(EntryLineFields::defaultColumns(11));
    QList<GridColumnDef> stored;
    QCOMPARE(GridLayout::load(QStringLiteral("inpandiandeptgl"), stored), GridLayout::LoadResult::Loaded);
    QList<GridColumnDef> cols = EntryLineFields::layoutOver(designed, stored);
    QCOMPARE(cols.first().fieldName, QStringLiteral("F_Amount"));
    QCOMPARE(cols.first().caption, QStringLiteral("数量X"));
    QCOMPARE(cols.size(), designed.size());
    // Saving writes order and visibility back.
    cols.move(0, 3);
    cols[0].visible = false;
    QCOMPARE(GridLayout::save(QStringLiteral("inpandiandeptgl"), cols), 0);
    QVERIFY(GridLayout::load(QStringLiteral("inpandiandeptgl"), stored) == GridLayout::LoadResult::Loaded);
    const QList<GridColumnDef> again = EntryLineFields::layoutOver(designed, stored);
    QCOMPARE(again.at(3).fieldName, QStringLiteral("F_Amount"));
    QCOMPARE(again.at(0).fieldName, cols.at(0).fieldName);
    QVERIFY(!again.at(0).visible);
}

void TstEntryKinds::layoutOverDesignedColumns()
{
    auto def = [](const char* field, const char* caption, int width) {
        GridColumnDef c;
        c.fieldName = QLatin1String(field);
        c.caption = QString::fromUtf8(caption);
        c.width = width;
        return c;
    };
    const QList<GridColumnDef> designed {def("F_A", "甲", 50), def("F_B", "乙", 60), def("F_C", "丙", 70)};
    GridColumnDef c = def(" f_c ", "", 0);
    c.visible = false;
    c.cfgId = 7;
    const QList<GridColumnDef> stored {c, def("F_Gone", "X", 40), def("f_a", "甲甲", 90)};
    const QList<GridColumnDef> out = EntryLineFields::layoutOver(designed, stored);
    QCOMPARE(out.size(), 3); // the unknown stored field is left out
    QCOMPARE(out.at(0).fieldName, QStringLiteral("F_C")); // spelled as designed
    QCOMPARE(out.at(0).caption, QStringLiteral("丙")); // empty stored caption and width keep the designed ones
    QCOMPARE(out.at(0).width, 70);
    QVERIFY(!out.at(0).visible);
    QCOMPARE(out.at(0).cfgId, qint64(7));
    QCOMPARE(out.at(1).fieldName, QStringLiteral("F_A"));
    QCOMPARE(out.at(1).caption, QStringLiteral("甲甲"));
    QCOMPARE(out.at(1).width, 90);
    QCOMPARE(out.at(2).fieldName, QStringLiteral("F_B")); // not stored: last, as designed
    QCOMPARE(out.at(2).caption, QStringLiteral("乙"));
}

QTEST_GUILESS_MAIN(TstEntryKinds)
#include "tst_entrykinds.moc"
