// kelmora-test: pg
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "documents/documentkinds.h"
#include "documents/lineediting.h"
#include "documents/stocklookup.h"
#include "support/testdatabase.h"

#include <QtTest>

namespace {
struct RawLine
{
    QString goods;
    double amount;
    double total = 0;
    double cost = 0;
    int flag = 0;
    double price = 0;
};

// Writes a document straight into the tables, so the look-ups are tested on
// rows exactly as given.
void rawDocument(Connection& c, const QString& code, int kind, const QString& depot, const QString& client,
    const QList<RawLine>& lines, int checked = 0)
{
    const DocumentKind* k = DocumentKinds::find(kind);
    QVERIFY(k);
    QVERIFY2(c.exec(QStringLiteral("insert into DepotM(F_Code,F_Flag,F_OperFlag,F_Depot,F_Client,F_CheckFlag) "
                                   "values(:c,:k,:o,:d,:cl,:chk)"),
                 {{QStringLiteral("c"), code}, {QStringLiteral("k"), kind}, {QStringLiteral("o"), k->operFlag},
                     {QStringLiteral("d"), depot}, {QStringLiteral("cl"), client}, {QStringLiteral("chk"), checked}}),
        qPrintable(c.errorString()));
    for (const RawLine& l : lines)
        QVERIFY2(c.exec(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_Amount,F_Price,F_TotalPrice,F_CBprice,"
                                       "F_flag) values(:c,:g,:a,:p,:t,:cb,:f)"),
                     {{QStringLiteral("c"), code}, {QStringLiteral("g"), l.goods}, {QStringLiteral("a"), l.amount},
                         {QStringLiteral("p"), l.price}, {QStringLiteral("t"), l.total}, {QStringLiteral("cb"), l.cost},
                         {QStringLiteral("f"), l.flag ? QVariant(l.flag) : QVariant(QMetaType(QMetaType::Int))}}),
            qPrintable(c.errorString()));
}

void opening(Connection& c, const QString& goods, const QString& depot, double amount, double total)
{
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values(:d,:g,:a,0,:t)"),
        {{QStringLiteral("d"), depot}, {QStringLiteral("g"), goods}, {QStringLiteral("a"), amount},
            {QStringLiteral("t"), total}}));
}

void good(Connection& c, const QString& code, double enterPrice, double salePrice)
{
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_EnterPrice,F_SalePrice,F_Flag) "
                                  "values(:c,:n,:e,:s,0)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), QString(QStringLiteral("货品") + code)},
            {QStringLiteral("e"), enterPrice}, {QStringLiteral("s"), salePrice}}));
}

double stockOf(const QString& depot, const QString& goods, const QString& leaveOut = {})
{
    QString err;
    const double v = StockLookup::GetStockAmount(depot, goods, leaveOut, &err);
    if (!err.isEmpty())
        qWarning() << err;
    return v;
}
} // namespace

class TestStockLookup : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { SysOptions::current() = SysOptions(); }
    void balanceExample();
    void assemblyAndDismantling_data();
    void assemblyAndDismantling();
    void stocktakingDifference();
    void leaveOutCode();
    void quotesAreValues();
    void costPrice_data();
    void costPrice();
    void costPriceOfDepotAndLeaveOut();
    void lastPrice_data();
    void lastPrice();
    void defaultUnitPrice_data();
    void defaultUnitPrice();
    void lineCostRules();
};

void TestStockLookup::balanceExample()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    good(c, QStringLiteral("G1"), 5, 9);
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 50);
    rawDocument(
        c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("A"), QStringLiteral("S"), {{QStringLiteral("G1"), 5}});
    // Audited or not counts the same.
    rawDocument(c, QStringLiteral("DBD20240101001"), 10, QStringLiteral("B"), QStringLiteral("A"),
        {{QStringLiteral("G1"), 3}}, 1);
    rawDocument(
        c, QStringLiteral("XSD20240101001"), -2, QStringLiteral("B"), QStringLiteral("K"), {{QStringLiteral("G1"), 2}});
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1")), 12.0);
    QCOMPARE(stockOf(QStringLiteral("B"), QStringLiteral("G1")), 1.0);
    // The transfer moved stock without changing the total; nothing lands in an unnamed depot.
    QCOMPARE(stockOf(QString(), QStringLiteral("G1")), 0.0);
    QCOMPARE(stockOf(QStringLiteral("K"), QStringLiteral("G1")), 0.0);
}

void TestStockLookup::assemblyAndDismantling_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("componentsDepot");
    QTest::addColumn<double>("productDepot");
    QTest::newRow("assembly") << 12 << 4.0 << 2.0;
    QTest::newRow("dismantling") << 13 << 16.0 << -2.0;
}

void TestStockLookup::assemblyAndDismantling()
{
    QFETCH(int, kind);
    QFETCH(double, componentsDepot);
    QFETCH(double, productDepot);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    opening(c, QStringLiteral("G1"), QStringLiteral("物料库"), 10, 0);
    // product depot P, components depot 物料库; 2 products from 6 of G1
    rawDocument(c, DocumentKinds::find(kind)->prefix + QStringLiteral("20240101001"), kind, QStringLiteral("P"),
        QStringLiteral("物料库"), {{QStringLiteral("G1"), 6}, {QStringLiteral("PR"), 2, 0, 0, 1}});
    QCOMPARE(stockOf(QStringLiteral("物料库"), QStringLiteral("G1")), componentsDepot);
    QCOMPARE(stockOf(QStringLiteral("P"), QStringLiteral("PR")), productDepot);
    QCOMPARE(stockOf(QStringLiteral("P"), QStringLiteral("G1")), 0.0);
    QCOMPARE(stockOf(QStringLiteral("物料库"), QStringLiteral("PR")), 0.0);
}

void TestStockLookup::stocktakingDifference()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 0);
    rawDocument(c, QStringLiteral("PDD20240101001"), 11, QStringLiteral("A"), QString(), {{QStringLiteral("G1"), -2}});
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1")), 8.0);
}

void TestStockLookup::leaveOutCode()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 0);
    rawDocument(c, QStringLiteral("XSD20240101001"), -2, QStringLiteral("A"), QStringLiteral("K"),
        {{QStringLiteral("G1"), 4}, {QStringLiteral("G1"), 1}});
    rawDocument(
        c, QStringLiteral("XSD20240101002"), -2, QStringLiteral("A"), QStringLiteral("K"), {{QStringLiteral("G1"), 2}});
    rawDocument(
        c, QStringLiteral("DBD20240101001"), 10, QStringLiteral("B"), QStringLiteral("A"), {{QStringLiteral("G1"), 3}});
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1")), 0.0);
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1"), QStringLiteral("XSD20240101001")), 5.0);
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1"), QStringLiteral("DBD20240101001")), 3.0);
    QCOMPARE(stockOf(QStringLiteral("B"), QStringLiteral("G1"), QStringLiteral("DBD20240101001")), 0.0);
    // The opening stock is never left out.
    QCOMPARE(stockOf(QStringLiteral("A"), QStringLiteral("G1"), QStringLiteral("nothing")), 0.0);
}

void TestStockLookup::quotesAreValues()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    const QString g = QStringLiteral("O'Brien");
    const QString d = QStringLiteral("A' or '1'='1");
    opening(c, g, d, 3, 0);
    opening(c, g, QStringLiteral("A"), 100, 0);
    QCOMPARE(stockOf(d, g), 3.0);
}

void TestStockLookup::costPrice_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("withLines");
    QTest::addColumn<double>("expected");
    // opening 10 valued 100; receipt 10 with amount 260 and cost 300; F_enterPrice 7
    QTest::newRow("moving average") << 1 << true << 20.0;
    QTest::newRow("average cost") << 2 << true << 18.0;
    QTest::newRow("fixed price ignores lines") << 0 << true << 7.0;
    QTest::newRow("no stock, moving average") << 1 << false << 7.0;
    QTest::newRow("no stock, average cost") << 2 << false << 7.0;
}

void TestStockLookup::costPrice()
{
    QFETCH(int, mode);
    QFETCH(bool, withLines);
    QFETCH(double, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    good(c, QStringLiteral("G1"), 7, 9);
    if (withLines) {
        opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 100);
        rawDocument(c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("A"), QStringLiteral("S"),
            {{QStringLiteral("G1"), 10, 260, 300}});
    }
    QString err;
    QCOMPARE(StockLookup::GetCostPrice(mode, QString(), QStringLiteral("G1"), QString(), &err), expected);
    QVERIFY(err.isEmpty());
    SysOptions::current().costingMode = mode;
    QCOMPARE(StockLookup::GetCostPrice(QStringLiteral("A"), QStringLiteral("G1")), expected);
    // An unknown good without stock costs nothing.
    QCOMPARE(StockLookup::GetCostPrice(QString(), QStringLiteral("none")), 0.0);
}

void TestStockLookup::costPriceOfDepotAndLeaveOut()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    good(c, QStringLiteral("G1"), 7, 9);
    opening(c, QStringLiteral("A"), QStringLiteral("A"), 0, 0);
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 100);
    opening(c, QStringLiteral("G1"), QStringLiteral("B"), 10, 300);
    rawDocument(c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("B"), QStringLiteral("S"),
        {{QStringLiteral("G1"), 10, 500, 500}});
    QCOMPARE(StockLookup::GetCostPrice(1, QStringLiteral("A"), QStringLiteral("G1"), QString()), 10.0);
    QCOMPARE(StockLookup::GetCostPrice(1, QStringLiteral("B"), QStringLiteral("G1"), QString()), 40.0);
    QCOMPARE(StockLookup::GetCostPrice(1, QString(), QStringLiteral("G1"), QString()), 30.0);
    QCOMPARE(StockLookup::GetCostPrice(1, QStringLiteral("B"), QStringLiteral("G1"), QStringLiteral("CGD20240101001")),
        30.0);
    // A transfer carries its cost from the sending to the receiving depot.
    rawDocument(c, QStringLiteral("DBD20240101001"), 10, QStringLiteral("A"), QStringLiteral("B"),
        {{QStringLiteral("G1"), 10, 400, 400}});
    QCOMPARE(StockLookup::GetCostPrice(1, QStringLiteral("A"), QStringLiteral("G1"), QString()), 25.0);
    QCOMPARE(StockLookup::GetCostPrice(1, QStringLiteral("B"), QStringLiteral("G1"), QString()), 40.0);
}

void TestStockLookup::lastPrice_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("client");
    QTest::addColumn<double>("expected");
    QTest::newRow("mode 2: newest of anybody") << -2 << 2 << QString() << 13.0;
    QTest::newRow("mode 3: this client's newest") << -2 << 3 << QStringLiteral("甲") << 11.0;
    QTest::newRow("mode 3: client without lines") << -2 << 3 << QStringLiteral("丙") << 0.0;
    QTest::newRow("purchase kind") << 1 << 2 << QString() << 6.5;
    QTest::newRow("kind without lines") << -1 << 2 << QString() << 0.0;
}

void TestStockLookup::lastPrice()
{
    QFETCH(int, kind);
    QFETCH(int, mode);
    QFETCH(QString, client);
    QFETCH(double, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    rawDocument(c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("A"), QStringLiteral("S"),
        {{QStringLiteral("G1"), 1, 0, 0, 0, 6.5}});
    rawDocument(c, QStringLiteral("XSD20240101001"), -2, QStringLiteral("A"), QStringLiteral("甲"),
        {{QStringLiteral("G1"), 1, 0, 0, 0, 10}, {QStringLiteral("G1"), 1, 0, 0, 0, 11}});
    rawDocument(c, QStringLiteral("XSD20240101002"), -2, QStringLiteral("A"), QStringLiteral("乙"),
        {{QStringLiteral("G1"), 1, 0, 0, 0, 13}, {QStringLiteral("G2"), 1, 0, 0, 0, 99}});
    QString err;
    QCOMPARE(StockLookup::GetLastPrice(QStringLiteral("G1"), client, kind, mode, &err), expected);
    QVERIFY(err.isEmpty());
}

void TestStockLookup::defaultUnitPrice_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("lastPriceMode");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("client");
    QTest::addColumn<double>("expected");
    // G1: cost price 20 (moving average), sale price 30; last purchase 6.5 from S, last sale 13 to 甲
    const int typed = int(LineEditing::Entry::TypedCode);
    const int barcode = int(LineEditing::Entry::Barcode);
    QTest::newRow("purchase, mode 1: cost") << 1 << 1 << typed << QStringLiteral("S") << 20.0;
    QTest::newRow("purchase, mode 2: last purchase") << 1 << 2 << typed << QStringLiteral("X") << 6.5;
    QTest::newRow("purchase return, mode 3: supplier's last") << -1 << 3 << typed << QStringLiteral("S") << 6.5;
    QTest::newRow("purchase, mode 3, new supplier: cost") << 1 << 3 << typed << QStringLiteral("X") << 20.0;
    QTest::newRow("sales, mode 1: sale price") << -2 << 1 << typed << QStringLiteral("甲") << 30.0;
    QTest::newRow("sales return, mode 2: last sale") << 2 << 2 << typed << QStringLiteral("X") << 13.0;
    QTest::newRow("sales, mode 3, new client: sale price") << -2 << 3 << typed << QStringLiteral("X") << 30.0;
    QTest::newRow("requisition: cost") << -3 << 2 << typed << QStringLiteral("S") << 20.0;
    QTest::newRow("other receipt typed: cost") << 5 << 2 << typed << QStringLiteral("S") << 20.0;
    QTest::newRow("other issue by barcode: last purchase") << -5 << 2 << barcode << QStringLiteral("S") << 6.5;
    QTest::newRow("transfer: cost") << 10 << 3 << barcode << QStringLiteral("S") << 20.0;
}

void TestStockLookup::defaultUnitPrice()
{
    QFETCH(int, kind);
    QFETCH(int, lastPriceMode);
    QFETCH(int, entry);
    QFETCH(QString, client);
    QFETCH(double, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    good(c, QStringLiteral("G1"), 7, 30);
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 200);
    rawDocument(c, QStringLiteral("CGD20240101001"), 1, QStringLiteral("A"), QStringLiteral("S"),
        {{QStringLiteral("G1"), 10, 65, 200, 0, 6.5}});
    rawDocument(c, QStringLiteral("XSD20240101001"), -2, QStringLiteral("A"), QStringLiteral("甲"),
        {{QStringLiteral("G1"), 0, 0, 0, 0, 13}});
    SysOptions& o = SysOptions::current();
    o.costingMode = 1;
    o.lastPrice = lastPriceMode == 2;
    o.lastPriceClient = lastPriceMode == 3;
    Document doc;
    doc.kind = kind;
    doc.depot = QStringLiteral("A");
    doc.client = client;
    doc.code = DocumentKinds::find(kind)->prefix + QStringLiteral("20240102001");
    QString err;
    QCOMPARE(LineEditing::defaultUnitPrice(doc, QStringLiteral("G1"), 30, LineEditing::Entry(entry), &err), expected);
    QVERIFY(err.isEmpty());
}

void TestStockLookup::lineCostRules()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    good(c, QStringLiteral("G1"), 7, 30);
    opening(c, QStringLiteral("G1"), QStringLiteral("A"), 10, 200); // cost 20 a unit
    SysOptions::current().costingMode = 1;
    ScriptedMessenger mess;

    Document purchase;
    purchase.kind = 1;
    purchase.depot = QStringLiteral("A");
    DocumentLine l;
    QVERIFY(LineEditing::fillByCode(purchase, l, QStringLiteral("G1")));
    l.amount = 3;
    l.price = 4;
    QVERIFY(LineEditing::amountChanged(purchase, l));
    QCOMPARE(l.totalPrice, 12.0);
    QCOMPARE(l.cbPrice, 12.0);
    l.price = 5;
    LineEditing::priceChanged(purchase, l);
    QCOMPARE(l.cbPrice, 15.0);

    Document sale = purchase;
    sale.kind = -2;
    DocumentLine s;
    QVERIFY(LineEditing::fillByCode(sale, s, QStringLiteral("G1")));
    QCOMPARE(s.goodName, QStringLiteral("货品G1"));
    QCOMPARE(s.price, 30.0); // sale price
    s.amount = 2;
    QVERIFY(LineEditing::amountChanged(sale, s));
    QCOMPARE(s.totalPrice, 60.0);
    QCOMPARE(s.cbPrice, 40.0); // 2 x average cost 20
    s.price = 31; // only the price: cost stays
    LineEditing::priceChanged(sale, s);
    QCOMPARE(s.totalPrice, 62.0);
    QCOMPARE(s.cbPrice, 40.0);

    // Unknown code: the message, nothing filled.
    DocumentLine none;
    QVERIFY(!LineEditing::fillByCode(sale, none, QStringLiteral("NOPE")));
    QCOMPARE(mess.lastText(), QStringLiteral("货品\"NOPE\"不存在，请检查输入？"));
    QCOMPARE(mess.lastKind(), 0);

    // Dismantling multiplies by the factor; a line without one counts once.
    Document dis;
    dis.kind = 13;
    dis.depot = QStringLiteral("A");
    DocumentLine comp;
    comp.goodCode = QStringLiteral("G1");
    comp.amount = 2;
    comp.rate = 0.5;
    QCOMPARE(LineEditing::lineCost(dis, comp), 20.0);
    comp.rate.reset();
    QCOMPARE(LineEditing::lineCost(dis, comp), 40.0);
}

QTEST_GUILESS_MAIN(TestStockLookup)
#include "tst_stocklookup.moc"
