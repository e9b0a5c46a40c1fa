// kelmora-test: pg
#include "app/session.h"
#include "documents/documentkinds.h"
#include "reports/pickerstocktable.h"
#include "reports/worktables.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

namespace {
struct WtLine
{
    QString goods;
    double amount, total, cost;
    int flag = 0;
};

void wtDocument(Connection& c, const QString& code, int kind, const QString& depot, const QString& client,
    const QString& makeDate, const QList<WtLine>& lines)
{
    QVERIFY2(c.exec(QStringLiteral("insert into DepotM(F_Code,F_Flag,F_OperFlag,F_Depot,F_Client,F_MakeDate) "
                                   "values(:c,:k,:o,:d,:cl,:md)"),
                 {{QStringLiteral("c"), code}, {QStringLiteral("k"), kind},
                     {QStringLiteral("o"), DocumentKinds::find(kind)->operFlag}, {QStringLiteral("d"), depot},
                     {QStringLiteral("cl"), client}, {QStringLiteral("md"), makeDate + QStringLiteral(" 00:00:00")}}),
        qPrintable(c.errorString()));
    for (const WtLine& l : lines)
        QVERIFY(c.exec(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_Amount,F_TotalPrice,F_CBprice,F_flag) "
                                      "values(:c,:g,:a,:t,:cb,:f)"),
            {{QStringLiteral("c"), code}, {QStringLiteral("g"), l.goods}, {QStringLiteral("a"), l.amount},
                {QStringLiteral("t"), l.total}, {QStringLiteral("cb"), l.cost}, {QStringLiteral("f"), l.flag}}));
}

void wtGood(Connection& c, const QString& code, const QVariant& enterPrice, const QVariant& flag)
{
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_EnterPrice,F_Flag) values(:c,:c,:e,:f)"),
        {{QStringLiteral("c"), code},
            {QStringLiteral("e"), enterPrice.isValid() ? enterPrice : QVariant(QMetaType(QMetaType::Double))},
            {QStringLiteral("f"), flag.isValid() ? flag : QVariant(QMetaType(QMetaType::Int))}}));
}

// The business every test starts from.
void wtBusiness(Connection& c)
{
    wtGood(c, QStringLiteral("G1"), 7.0, 0);
    wtGood(c, QStringLiteral("G2"), 3.0, 1); // stopped
    wtGood(c, QStringLiteral("G3"), QVariant(), QVariant()); // no price, flag NULL
    wtGood(c, QStringLiteral("G4"), 2.0, 0);
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values('A','G1',10,10,100)")));
    wtDocument(c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("A"), QStringLiteral("S"),
        QStringLiteral("2024-01-01"),
        {{QStringLiteral("G1"), 10, 260, 300}, {QStringLiteral("G2"), 4, 8, 8}, {QStringLiteral("G3"), 2, 6, 6}});
    wtDocument(c, QStringLiteral("DBD20240105001"), 10, QStringLiteral("B"), QStringLiteral("A"),
        QStringLiteral("2024-01-05"), {{QStringLiteral("G1"), 5, 100, 100}});
    // G4 comes and goes: nothing left in any measure.
    wtDocument(c, QStringLiteral("CGD20240106001"), 1, QStringLiteral("A"), QStringLiteral("S"),
        QStringLiteral("2024-01-06"), {{QStringLiteral("G4"), 2, 10, 10}});
    wtDocument(c, QStringLiteral("XSD20240107001"), -2, QStringLiteral("A"), QStringLiteral("K"),
        QStringLiteral("2024-01-07"), {{QStringLiteral("G4"), 2, 10, 10}});
    // Assembly: 1 G3 from 2 G1 in depot B (components) into A (product)
    wtDocument(c, QStringLiteral("ZZD20240108001"), 12, QStringLiteral("A"), QStringLiteral("B"),
        QStringLiteral("2024-01-08"), {{QStringLiteral("G1"), 2, 40, 40}, {QStringLiteral("G3"), 1, 40, 40, 1}});
}

struct WtRow
{
    double amount, price, total;
};

QMap<QString, WtRow> pickerRows(Connection& c)
{
    QMap<QString, WtRow> out;
    QSqlQuery q(c.db());
    q.exec(QStringLiteral("select F_code, F_dept, F_amount, F_price, F_totalPrice, F_flag from tempGood"));
    while (q.next())
        out.insert(q.value(0).toString() + QLatin1Char('@') + q.value(1).toString(),
            {q.value(2).toDouble(), q.value(3).toDouble(), q.value(4).toDouble()});
    return out;
}
} // namespace

class TestWorkTables : public QObject
{
    Q_OBJECT
private slots:
    void pickerStockTable_data();
    void pickerStockTable();
    void pickerStockOnEmptyTables();
    void pickerRowsOfPermittedDepots();
    void workingTablesBelongToTheConnection();
    void buildingBlocks();
};

void TestWorkTables::pickerStockTable_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("aPrice");
    QTest::addColumn<double>("aTotal");
    QTest::addColumn<double>("bPrice");
    QTest::addColumn<double>("bTotal");
    // G1: A = 10 + 10 - 5 = 15 (cost 300, value 260); B = 5 - 2 = 3 (cost 60, value 60)
    QTest::newRow("fixed price") << 0 << 7.0 << 105.0 << 7.0 << 21.0;
    QTest::newRow("moving average") << 1 << 20.0 << 300.0 << 20.0 << 60.0;
    QTest::newRow("average cost") << 2 << 260.0 / 15 << 260.0 << 20.0 << 60.0;
}

void TestWorkTables::pickerStockTable()
{
    QFETCH(int, mode);
    QFETCH(double, aPrice);
    QFETCH(double, aTotal);
    QFETCH(double, bPrice);
    QFETCH(double, bTotal);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    wtBusiness(tdb.connection());
    PickerStockTable t(tdb.connection());
    QList<int> steps;
    QVERIFY2(t.build(mode, [&](int s) { steps << s; }), qPrintable(t.errorString()));
    QCOMPARE(steps.size(), 7);
    QCOMPARE(steps.last(), 7);
    const QMap<QString, WtRow> rows = pickerRows(tdb.connection());
    QCOMPARE(rows.value(QStringLiteral("G1@A")).amount, 15.0);
    QCOMPARE(rows.value(QStringLiteral("G1@A")).price, aPrice);
    QCOMPARE(rows.value(QStringLiteral("G1@A")).total, aTotal);
    QCOMPARE(rows.value(QStringLiteral("G1@B")).amount, 3.0);
    QCOMPARE(rows.value(QStringLiteral("G1@B")).price, bPrice);
    QCOMPARE(rows.value(QStringLiteral("G1@B")).total, bTotal);
    QCOMPARE(rows.value(QStringLiteral("G3@A")).amount, 3.0); // 2 received + 1 assembled
    QVERIFY(rows.contains(QStringLiteral("G2@A"))); // the picker lists stopped goods' stock too
    QVERIFY(!rows.contains(QStringLiteral("G4@A"))); // nothing left in any measure
    QCOMPARE(rows.size(), 4);
    if (mode == 0)
        QCOMPARE(rows.value(QStringLiteral("G3@A")).total, 0.0); // NULL price: no value
    // Building again gives the same table, not twice the rows.
    QVERIFY(t.build(mode));
    QCOMPARE(pickerRows(tdb.connection()).size(), 4);
}

void TestWorkTables::pickerStockOnEmptyTables()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(
        QStringLiteral("insert into tempGood(F_code,F_dept,F_amount,F_flag) values('x','y',1,1)")));
    PickerStockTable t(tdb.connection());
    QVERIFY(t.build(1));
    QCOMPARE(pickerRows(tdb.connection()).size(), 0);
}

void TestWorkTables::pickerRowsOfPermittedDepots()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    wtBusiness(tdb.connection());
    QVERIFY(PickerStockTable(tdb.connection()).build(1));
    Session s;
    s.ckFlag = 1;
    s.permittedDepots = {QStringLiteral("B")};
    QSqlQuery q(tdb.connection().db());
    SqlParams p = s.depotParams();
    p.insert(QStringLiteral("F_code"), QStringLiteral("G1"));
    QVERIFY(Sql::exec(q, PickerStockTable::stockRowsSql(s), p));
    QStringList depots;
    while (q.next())
        depots << q.value(QStringLiteral("F_dept")).toString();
    QCOMPARE(depots, QStringList {QStringLiteral("B")});
    Session all;
    QVERIFY(Sql::exec(q, PickerStockTable::stockRowsSql(all), {{QStringLiteral("F_code"), QStringLiteral("G1")}}));
    int n = 0;
    while (q.next())
        ++n;
    QCOMPARE(n, 2);
}

void TestWorkTables::workingTablesBelongToTheConnection()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    wtBusiness(tdb.connection());
    QVERIFY(PickerStockTable(tdb.connection()).build(1));
    auto other = tdb.openAnother();
    QVERIFY(other);
    QCOMPARE(pickerRows(*other).size(), 0);
    QVERIFY(PickerStockTable(*other).build(1)); // its own clear leaves ours alone
    QCOMPARE(pickerRows(tdb.connection()).size(), 4);
}

void TestWorkTables::buildingBlocks()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    wtBusiness(c);
    // A stock summary up to 2024-01-06 in tempDepot: opening + classes A-D, consolidated
    // with the strict in-use test, rows of depot B dropped for an operator who sees only A.
    WorkTables w(c);
    const QStringList cols {QStringLiteral("F_depot"), QStringLiteral("F_goodcode"), QStringLiteral("F_end"),
        QStringLiteral("F_end1"), QStringLiteral("F_endPrice"), QStringLiteral("F_flag")};
    QVERIFY(w.clear(QStringLiteral("tempDepot")));
    QVERIFY(w.insertRaw(QStringLiteral("tempDepot"), cols,
        QStringLiteral("select F_depot,F_goodcode,sum(F_Amount),sum(F_totalPrice),sum(F_totalPrice),0 "
                       "from t_begDept group by F_depot,F_goodcode")));
    for (WorkTables::LineClass lc : WorkTables::allClasses()) {
        const WorkTables::ClassSql s = WorkTables::lineClass(lc);
        SqlParams p;
        const QString limit = WorkTables::dateLimit(QDate(), QDate(2024, 1, 6), p);
        QVERIFY2(w.insertRaw(QStringLiteral("tempDepot"), cols,
                     QStringLiteral("select ") + s.depot + QStringLiteral(",d.F_goodcode,sum")
                         + s.signedColumn(QStringLiteral("d.F_Amount")) + QStringLiteral(",sum")
                         + s.signedColumn(QStringLiteral("d.F_CBprice")) + QStringLiteral(",sum")
                         + s.signedColumn(QStringLiteral("d.F_totalPrice")) + QStringLiteral(",0 from ")
                         + WorkTables::documentSource() + QStringLiteral("where ") + s.where + limit
                         + QStringLiteral("group by ") + s.depot + QStringLiteral(",d.F_goodcode"),
                     p),
            qPrintable(w.errorString()));
    }
    QVERIFY(w.consolidate(QStringLiteral("tempDepot"), {QStringLiteral("F_depot"), QStringLiteral("F_goodcode")},
        {QStringLiteral("F_end"), QStringLiteral("F_end1"), QStringLiteral("F_endPrice")},
        QStringLiteral("and ") + WorkTables::goodsInUse(QStringLiteral("F_goodcode"), false)));
    Session s;
    s.ckFlag = 1;
    s.permittedDepots = {QStringLiteral("A")};
    QVERIFY(w.dropRaw(QStringLiteral("tempDepot"), s.workTableDepotClause(), s.depotParams()));
    QVERIFY(w.valuate(QStringLiteral("tempDepot"), QStringLiteral("F_goodcode"),
        {{QStringLiteral("F_end"), QStringLiteral("F_end1"), QStringLiteral("F_endPrice")}}, 1));
    QSqlQuery q(c.db());
    QVERIFY(q.exec(QStringLiteral("select F_depot,F_goodcode,F_end,F_endPrice,")
        + WorkTables::unitValue(QStringLiteral("F_endPrice"), QStringLiteral("F_end"))
        + QStringLiteral(" from tempDepot order by F_depot,F_goodcode")));
    QStringList got;
    while (q.next())
        got << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(q.value(0).toString(), q.value(1).toString())
                   .arg(q.value(2).toDouble())
                   .arg(q.value(3).toDouble())
                   .arg(q.value(4).toDouble());
    // Up to 01-06: G1 in A = 10 + 10 - 5 = 15 (cost 300); G4 received 2 (issued only on 01-07).
    // G2 is stopped and G3 has F_flag NULL: the strict test drops both; B is not permitted.
    QCOMPARE(got, (QStringList {QStringLiteral("A G1 15 300 20"), QStringLiteral("A G4 2 10 5")}));

    // The lenient test keeps the good whose flag is NULL.
    QVERIFY(w.clear(QStringLiteral("tempDepot")));
    QVERIFY(w.insertRaw(QStringLiteral("tempDepot"), cols, QStringLiteral("select 'A',F_code,0,0,0,0 from t_goods")));
    QVERIFY(w.consolidate(QStringLiteral("tempDepot"), {QStringLiteral("F_depot"), QStringLiteral("F_goodcode")},
        {QStringLiteral("F_end")},
        QStringLiteral("and ") + WorkTables::goodsInUse(QStringLiteral("F_goodcode"), true)));
    QVERIFY(w.dropRaw(QStringLiteral("tempDepot")));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from tempDepot")), 3);
    // Fixed price valuation: a good without F_enterPrice is valued at NULL.
    QVERIFY(w.valuate(QStringLiteral("tempDepot"), QStringLiteral("F_goodcode"),
        {{QStringLiteral("F_end"), QStringLiteral("F_end1"), QStringLiteral("F_endPrice")}}, 0));
    QCOMPARE(tdb.dataModule().GetSqlInt(
                 QStringLiteral("select count(*) from tempDepot where F_endPrice is null and F_goodcode = 'G3'")),
        1);
}

QTEST_GUILESS_MAIN(TestWorkTables)
#include "tst_worktables.moc"
