// kelmora-test: pg
#include "app/clock.h"
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "documents/documentstore.h"
#include "documents/stocklookup.h"
#include "support/testdatabase.h"

#include <QtTest>

namespace {
void openingStock(Connection& c, const QString& goods, const QString& depot, double amount)
{
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values(:d,:g,:a,0,0)"),
        {{QStringLiteral("d"), depot}, {QStringLiteral("g"), goods}, {QStringLiteral("a"), amount}}));
}

DocumentLine storeLine(const QString& goods, double amount, double price = 1)
{
    DocumentLine l;
    l.goodCode = goods;
    l.goodName = goods;
    l.amount = amount;
    l.price = price;
    l.totalPrice = amount * price;
    l.cbPrice = amount * price;
    return l;
}

Document storeDoc(int kind, const QString& depot, const QString& client, const QList<DocumentLine>& lines)
{
    Document d;
    d.kind = kind;
    d.depot = depot;
    d.client = client;
    d.lines = lines;
    d.maker = QStringLiteral("系统管理员");
    return d;
}

qint64 countRows(TestDatabase& tdb, const QString& table)
{
    return tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from ") + table);
}

double stockNow(const QString& depot, const QString& goods)
{
    return StockLookup::GetStockAmount(depot, goods);
}
} // namespace

class TestDocStore : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Clock::setFixedDate(QDate(2024, 1, 15));
        SysOptions::current() = SysOptions();
    }
    void cleanup() { Clock::setFixed(QDateTime()); }
    void shortfall_data();
    void shortfall();
    void linesOfOneGoodCountTogether();
    void checkDepotPerKind_data();
    void checkDepotPerKind();
    void headerChecks_data();
    void headerChecks();
    void saveNewWritesHeaderAndLines();
    void editLeavesItselfOutAndRewritesLines();
    void failingLineWriteLeavesNothing();
    void deleteAuditUnaudit();
    void assemblyWritesProductLine();
};

void TestDocStore::shortfall_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("stock");
    QTest::addColumn<double>("amount"); // issue quantity, or the stocktaking difference
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("negative");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    const QString refuse
        = QStringLiteral("货品 \"G1\" 在仓库 \"甲仓\" 中已经不足，操作会造成库存为 \"%1\"，当前操作不能继续！");
    const QString ask
        = QStringLiteral("货品 \"G1\" 在仓库 \"甲仓\" 中已经不足，操作会造成库存为 \"%1\"，当前操作继续吗？");
    QTest::newRow("refused") << -2 << 3.0 << 5.0 << 2 << false << 0 << int(DocumentStore::Refused)
                             << refuse.arg(QStringLiteral("-2"));
    QTest::newRow("asked, yes") << -2 << 3.0 << 5.0 << 2 << true << 1 << int(DocumentStore::Done)
                                << ask.arg(QStringLiteral("-2"));
    QTest::newRow("asked, no") << -2 << 3.0 << 5.0 << 2 << true << 2 << int(DocumentStore::Declined)
                               << ask.arg(QStringLiteral("-2"));
    QTest::newRow("exactly enough") << -1 << 3.0 << 3.0 << 2 << false << 0 << int(DocumentStore::Done) << QString();
    QTest::newRow("Z in the quantity format")
        << -3 << 3.0 << 3.456 << 2 << false << 0 << int(DocumentStore::Refused) << refuse.arg(QStringLiteral("-0.46"));
    QTest::newRow("Z with no decimals") << -5 << 3.0 << 4.5 << 0 << false << 0 << int(DocumentStore::Refused)
                                        << refuse.arg(QStringLiteral("-2"));
    QTest::newRow("stock rounded first") << -2 << 2.999 << 3.0 << 2 << false << 0 << int(DocumentStore::Done)
                                         << QString();
    QTest::newRow("stocktaking: counted 0, book 4")
        << 11 << 4.0 << -4.0 << 2 << false << 0 << int(DocumentStore::Done) << QString();
    QTest::newRow("stocktaking: counted 8, book 10")
        << 11 << 10.0 << -2.0 << 2 << false << 0 << int(DocumentStore::Done) << QString();
    QTest::newRow("stocktaking below zero")
        << 11 << 1.0 << -3.0 << 2 << false << 0 << int(DocumentStore::Refused) << refuse.arg(QStringLiteral("-2"));
    QTest::newRow("receipts are not checked")
        << 1 << 0.0 << 5.0 << 2 << false << 0 << int(DocumentStore::Done) << QString();
}

void TestDocStore::shortfall()
{
    QFETCH(int, kind);
    QFETCH(double, stock);
    QFETCH(double, amount);
    QFETCH(int, decimals);
    QFETCH(bool, negative);
    QFETCH(int, answer);
    QFETCH(int, result);
    QFETCH(QString, message);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    openingStock(tdb.connection(), QStringLiteral("G1"), QStringLiteral("甲仓"), stock);
    SysOptions::current().iAmount = decimals;
    SysOptions::current().negativeStock = negative;
    ScriptedMessenger mess;
    if (answer)
        mess.setNextAnswer(answer);
    Document doc
        = storeDoc(kind, QStringLiteral("甲仓"), QStringLiteral("某客户"), {storeLine(QStringLiteral("G1"), amount)});
    DocumentStore store;
    QCOMPARE(int(store.save(doc, {})), result);
    if (message.isEmpty()) {
        QCOMPARE(mess.count(), 0);
    } else {
        QCOMPARE(mess.count(), 1);
        QCOMPARE(mess.lastText(), message);
        QCOMPARE(mess.lastKind(), negative ? 1 : 3);
    }
    const bool saved = result == DocumentStore::Done;
    QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), saved ? 1 : 0);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), saved ? 1 : 0);
    const int sign = kind == 11 || kind == 1 ? 1 : -1;
    QCOMPARE(stockNow(QStringLiteral("甲仓"), QStringLiteral("G1")), saved ? stock + sign * amount : stock);
}

void TestDocStore::linesOfOneGoodCountTogether()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    openingStock(tdb.connection(), QStringLiteral("G1"), QStringLiteral("A"), 5);
    ScriptedMessenger mess;
    Document doc = storeDoc(-2, QStringLiteral("A"), QStringLiteral("K"),
        {storeLine(QStringLiteral("G1"), 3), storeLine(QStringLiteral("G2"), 0), storeLine(QStringLiteral("G1"), 3)});
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Refused);
    QCOMPARE(mess.lastText(),
        QStringLiteral("货品 \"G1\" 在仓库 \"A\" 中已经不足，操作会造成库存为 \"-1\"，当前操作不能继续！"));
    QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), 0);
}

void TestDocStore::checkDepotPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shortDepot"); // the depot that lacks stock, named in the message
    QTest::newRow("transfer: sending depot") << 10 << QStringLiteral("B");
    QTest::newRow("assembly: components depot") << 12 << QStringLiteral("B");
    QTest::newRow("dismantling: product depot") << 13 << QStringLiteral("A");
}

void TestDocStore::checkDepotPerKind()
{
    QFETCH(int, kind);
    QFETCH(QString, shortDepot);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    // 5 of everything in the other depot, 1 in the one that is tested
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("PR")}) {
        openingStock(
            tdb.connection(), g, shortDepot == QLatin1String("A") ? QStringLiteral("B") : QStringLiteral("A"), 5);
        openingStock(tdb.connection(), g, shortDepot, 1);
    }
    ScriptedMessenger mess;
    Document doc = storeDoc(kind, QStringLiteral("A"), QStringLiteral("B"), {storeLine(QStringLiteral("G1"), 2)});
    if (kind == 12 || kind == 13)
        doc.product = storeLine(QStringLiteral("PR"), 2);
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Refused);
    const QString goods = kind == 13 ? QStringLiteral("PR") : QStringLiteral("G1");
    QCOMPARE(mess.lastText(),
        QStringLiteral("货品 \"%1\" 在仓库 \"%2\" 中已经不足，操作会造成库存为 \"-1\"，当前操作不能继续！")
            .arg(goods, shortDepot));
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 0);
}

void TestDocStore::headerChecks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("depot");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("message");
    QTest::newRow("sales without depot") << -2 << QStringLiteral(" ") << QStringLiteral("K")
                                         << QStringLiteral("销售仓库不能为空！");
    QTest::newRow("sales without client")
        << -2 << QStringLiteral("A") << QString() << QStringLiteral("销售客户不能为空！");
    QTest::newRow("production without department") << 3 << QStringLiteral("A") << QString() << QString();
    QTest::newRow("requisition without department")
        << -3 << QStringLiteral("A") << QString() << QStringLiteral("领用部门不能为空！");
    QTest::newRow("transfer to itself") << 10 << QStringLiteral("A") << QStringLiteral("A")
                                        << QStringLiteral("调出仓库跟调入仓库相同，请检查！");
    QTest::newRow("stocktaking needs no counterpart") << 11 << QStringLiteral("A") << QString() << QString();
}

void TestDocStore::headerChecks()
{
    QFETCH(int, kind);
    QFETCH(QString, depot);
    QFETCH(QString, client);
    QFETCH(QString, message);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger mess;
    Document doc = storeDoc(kind, depot, client, {});
    const auto r = DocumentStore().save(doc, {});
    if (message.isEmpty()) {
        QCOMPARE(r, DocumentStore::Done);
        QCOMPARE(mess.count(), 0);
    } else {
        QCOMPARE(r, DocumentStore::Invalid);
        QCOMPARE(mess.lastText(), message);
        QCOMPARE(mess.lastKind(), 0);
        QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), 0);
    }
}

void TestDocStore::saveNewWritesHeaderAndLines()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger mess;
    DocumentLine filled = storeLine(QStringLiteral("G2"), 4, 2.5);
    filled.sz[1] = 3.5;
    filled.rq[0] = QDate(2024, 2, 1);
    filled.zf[4] = QStringLiteral("备注五");
    Document doc = storeDoc(1, QStringLiteral(" A "), QStringLiteral("供应商"),
        {DocumentLine(), filled, storeLine(QStringLiteral("G3"), 1, 7)});
    doc.makeDate = QDate(2024, 1, 10);
    doc.oldCode = QStringLiteral(" X-1 ");
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Done);
    QCOMPARE(doc.code, QStringLiteral("CGD20240115001"));
    QCOMPARE(doc.lines.size(), 2); // the empty line is gone
    QVERIFY(doc.id > 0);
    QVERIFY(doc.lines[0].id > 0 && doc.lines[1].id > doc.lines[0].id);

    const std::optional<Document> back = DocumentStore().load(doc.code);
    QVERIFY(back);
    QCOMPARE(back->kind, 1);
    QCOMPARE(back->depot, QStringLiteral("A"));
    QCOMPARE(back->oldCode, QStringLiteral("X-1"));
    QCOMPARE(back->makeDate, QDate(2024, 1, 10));
    QCOMPARE(back->date, QDate(2024, 1, 15));
    QCOMPARE(back->amount, 5.0);
    QCOMPARE(back->totalPrice, 17.0);
    QCOMPARE(back->checked, false);
    QCOMPARE(back->lines.size(), 2);
    QCOMPARE(back->lines[0].code, doc.code);
    QCOMPARE(back->lines[0].goodCode, QStringLiteral("G2"));
    QCOMPARE(back->lines[0].sz[1], std::optional<double>(3.5));
    QVERIFY(!back->lines[0].sz[0]);
    QCOMPARE(back->lines[0].rq[0], QDate(2024, 2, 1));
    QCOMPARE(back->lines[0].zf[4], QStringLiteral("备注五"));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_OperFlag from DepotM")), 1);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from DepotD where F_flag is null")), 2);
}

void TestDocStore::editLeavesItselfOutAndRewritesLines()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    openingStock(tdb.connection(), QStringLiteral("G1"), QStringLiteral("A"), 5);
    ScriptedMessenger mess;
    Document doc = storeDoc(-2, QStringLiteral("A"), QStringLiteral("K"),
        {storeLine(QStringLiteral("G1"), 4), storeLine(QStringLiteral("G2"), 0)});
    DocumentStore store;
    QCOMPARE(store.save(doc, {}), DocumentStore::Done);
    QCOMPARE(stockNow(QStringLiteral("A"), QStringLiteral("G1")), 1.0);
    const qint64 firstId = doc.lines[0].id;
    // Raise the quantity to 5: its own 4 are left out, so 5 are available.
    doc.lines[0].amount = 5;
    doc.lines.removeAt(1);
    doc.lines.append(storeLine(QStringLiteral("G3"), 0));
    QCOMPARE(store.save(doc, {}), DocumentStore::Done);
    QCOMPARE(mess.count(), 0);
    QCOMPARE(stockNow(QStringLiteral("A"), QStringLiteral("G1")), 0.0);
    const std::optional<Document> back = store.load(doc.code);
    QCOMPARE(back->lines.size(), 2);
    QCOMPARE(back->lines[0].id, firstId);
    QCOMPARE(back->lines[1].goodCode, QStringLiteral("G3"));
    QCOMPARE(back->amount, 5.0);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), 1);
    // Six is one too many.
    doc.lines[0].amount = 6;
    QCOMPARE(store.save(doc, {}), DocumentStore::Refused);
    QCOMPARE(stockNow(QStringLiteral("A"), QStringLiteral("G1")), 0.0);
    // Audited meanwhile: the edit is refused.
    QCOMPARE(store.audit(doc.code, QStringLiteral("审核人")), DocumentStore::Done);
    doc.lines[0].amount = 1;
    QCOMPARE(store.save(doc, {}), DocumentStore::Audited);
    QCOMPARE(mess.lastText(), QStringLiteral("此单据已经审核，不能再修改！"));
}

void TestDocStore::failingLineWriteLeavesNothing()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    if (tdb.isPostgres()) {
        QVERIFY2(c.exec(QStringLiteral("CREATE FUNCTION refuse_bad_line() RETURNS trigger AS $$ BEGIN IF "
                                       "NEW.F_GoodCode = 'BAD' THEN RAISE EXCEPTION 'line refused'; END IF; RETURN "
                                       "NEW; END $$ LANGUAGE plpgsql")),
            qPrintable(c.errorString()));
        QVERIFY2(c.exec(QStringLiteral("CREATE TRIGGER refuse_bad_line BEFORE INSERT OR UPDATE ON DepotD FOR EACH ROW "
                                       "EXECUTE FUNCTION refuse_bad_line()")),
            qPrintable(c.errorString()));
    } else {
        QVERIFY2(c.exec(QStringLiteral("CREATE TRIGGER refuse_bad_line BEFORE INSERT ON DepotD WHEN NEW.F_GoodCode = "
                                       "'BAD' BEGIN SELECT RAISE(ABORT, 'line refused'); END")),
            qPrintable(c.errorString()));
    }
    ScriptedMessenger mess;
    Document doc = storeDoc(1, QStringLiteral("A"), QStringLiteral("S"),
        {storeLine(QStringLiteral("G1"), 1), storeLine(QStringLiteral("BAD"), 1)});
    DocumentStore store;
    QCOMPARE(store.save(doc, {}), DocumentStore::Failed);
    QCOMPARE(mess.lastText(), QStringLiteral("保存失败，请检测数据库连接！"));
    QCOMPARE(mess.lastKind(), 3);
    QVERIFY(store.errorString().contains(QStringLiteral("line refused")));
    QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), 0);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 0);
    QCOMPARE(doc.id, 0); // the caller's document is untouched
    // The connection is usable again afterwards.
    doc.lines.removeLast();
    QCOMPARE(store.save(doc, {}), DocumentStore::Done);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 1);
}

void TestDocStore::deleteAuditUnaudit()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger mess;
    DocumentStore store;
    Document doc = storeDoc(1, QStringLiteral("A"), QStringLiteral("S"),
        {storeLine(QStringLiteral("G1"), 1), storeLine(QStringLiteral("G2"), 1)});
    QCOMPARE(store.save(doc, {}), DocumentStore::Done);
    QCOMPARE(store.unaudit(doc.code, QStringLiteral("管理员")), DocumentStore::Done); // need not be audited
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Auditer from DepotM")), QStringLiteral("管理员"));
    QCOMPARE(store.audit(doc.code, QStringLiteral("张三")), DocumentStore::Done);
    QCOMPARE(store.load(doc.code)->checked, true);
    QCOMPARE(store.audit(doc.code, QStringLiteral("张三")), DocumentStore::Audited);
    QCOMPARE(mess.lastText(), QStringLiteral("此单据已经审核！"));
    QCOMPARE(mess.lastKind(), 2);
    QCOMPARE(store.remove(doc.code), DocumentStore::Audited);
    QCOMPARE(mess.lastText(), QStringLiteral("此单据已经审核，不能再修改！"));
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 2);
    QCOMPARE(store.unaudit(doc.code, QStringLiteral("管理员")), DocumentStore::Done);
    QCOMPARE(store.load(doc.code)->checked, false);
    QCOMPARE(store.remove(doc.code), DocumentStore::Done);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotM")), 0);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 0);
    QCOMPARE(store.remove(doc.code), DocumentStore::NotFound);
    QCOMPARE(store.audit(QStringLiteral("NOPE"), QStringLiteral("x")), DocumentStore::NotFound);
}

void TestDocStore::assemblyWritesProductLine()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    openingStock(tdb.connection(), QStringLiteral("G1"), QStringLiteral("物料库"), 10);
    ScriptedMessenger mess;
    DocumentStore store;
    Document doc
        = storeDoc(12, QStringLiteral("成品库"), QStringLiteral("物料库"), {storeLine(QStringLiteral("G1"), 6, 2)});
    doc.empName = QStringLiteral("不写");
    DocumentLine product = storeLine(QStringLiteral("PR"), 2, 9);
    doc.product = product;
    QCOMPARE(store.save(doc, {}), DocumentStore::Done);
    QCOMPARE(doc.code, QStringLiteral("ZZD20240115001"));
    QCOMPARE(stockNow(QStringLiteral("物料库"), QStringLiteral("G1")), 4.0);
    QCOMPARE(stockNow(QStringLiteral("成品库"), QStringLiteral("PR")), 2.0);
    std::optional<Document> back = store.load(doc.code);
    QVERIFY(back->product);
    QCOMPARE(back->product->amount, 2.0);
    QCOMPARE(back->product->flag, 1);
    QCOMPARE(back->lines.size(), 1);
    QCOMPARE(back->totalPrice, 12.0); // the components' total
    QCOMPARE(back->empName, QString());
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_OperFlag from DepotM")), -1);
    // Editing updates the one product line.
    back->product->amount = 3;
    QCOMPARE(store.save(*back, {}), DocumentStore::Done);
    QCOMPARE(stockNow(QStringLiteral("成品库"), QStringLiteral("PR")), 3.0);
    QCOMPARE(countRows(tdb, QStringLiteral("DepotD")), 2);
    // Audit moves it to the list of the day it is audited on.
    Clock::setFixedDate(QDate(2024, 1, 20));
    QCOMPARE(store.audit(doc.code, QStringLiteral("张三")), DocumentStore::Done);
    QCOMPARE(store.load(doc.code)->date, QDate(2024, 1, 20));
}

QTEST_GUILESS_MAIN(TestDocStore)
#include "tst_docstore.moc"
