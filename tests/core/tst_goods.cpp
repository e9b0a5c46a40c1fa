// kelmora-test: pg
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/dates.h"
#include "masterdata/goodsservice.h"
#include "support/testdatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestGoods : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void nextCodeAfter_data();
    void nextCodeAfter();
    void proposeCode_data();
    void proposeCode();
    void validate_data();
    void validate();
    void saveNewWithOpeningStock();
    void editRewritesLinesAndOpeningStock();
    void zeroQuantityDeletesOpeningLine();
    void saveFailureWritesNothing();
    void deleteOnlyWhenUnused();
    void batchCategoryChange();
    void openingLinesCoverEveryDepot();
    void openingLinesHonourDepotRestriction();
    void search_data();
    void search();
    void emptyDatesRoundTrip();

private:
    static qint64 insertGood(TestDatabase& tdb, const QString& code, const QString& name = QStringLiteral("x"));
};

void TestGoods::init()
{
    Session::current() = Session();
    Session::current().operCode = QStringLiteral("000");
}

qint64 TestGoods::insertGood(TestDatabase& tdb, const QString& code, const QString& name)
{
    return tdb.connection().insertReturningId(QStringLiteral("insert into t_goods (F_Code, F_Name) values (:c, :n)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}});
}

void TestGoods::nextCodeAfter_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("HP0009") << QStringLiteral("HP0009") << QStringLiteral("HP0010");
    QTest::newRow("short AB") << QStringLiteral("AB") << QStringLiteral("0001");
    QTest::newRow("empty") << QString() << QStringLiteral("0001");
    QTest::newRow("wraps") << QStringLiteral("X9999") << QStringLiteral("X0000");
    QTest::newRow("exactly four") << QStringLiteral("0041") << QStringLiteral("0042");
    QTest::newRow("not digits") << QStringLiteral("ABCDE") << QString();
}

void TestGoods::nextCodeAfter()
{
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(GoodsService::nextCodeAfter(code), expected);
}

void TestGoods::proposeCode_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no goods") << QStringList() << QStringLiteral("0001");
    QTest::newRow("most recent, not greatest")
        << QStringList {QStringLiteral("HP0050"), QStringLiteral("HP0009")} << QStringLiteral("HP0010");
    QTest::newRow("taken proposal counts on") << QStringList {QStringLiteral("HP0010"), QStringLiteral("HP0011"),
        QStringLiteral("HP0009")} << QStringLiteral("HP0012");
    QTest::newRow("letters at the end") << QStringList {QStringLiteral("ABCDE")} << QStringLiteral("ABCDE0001");
}

void TestGoods::proposeCode()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    for (const QString& c : codes)
        QVERIFY(insertGood(tdb, c) > 0);
    QCOMPARE(GoodsService::proposeCode(), expected);
}

void TestGoods::validate_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("editingExisting");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("blank code") << QStringLiteral("  ") << QStringLiteral("n") << false << int(GoodsService::CodeField)
                                << QStringLiteral("当前货品编号不能为空！");
    QTest::newRow("letters at the end") << QStringLiteral("HP00A1") << QStringLiteral("n") << false
                                        << int(GoodsService::CodeField)
                                        << QStringLiteral("采用自动编号，货品编号最后四位必须全为数字！");
    QTest::newRow("A1 fails") << QStringLiteral("A1") << QStringLiteral("n") << false << int(GoodsService::CodeField)
                              << QStringLiteral("采用自动编号，货品编号最后四位必须全为数字！");
    QTest::newRow("12 passes") << QStringLiteral("12") << QStringLiteral("n") << false << int(GoodsService::NoField)
                               << QString();
    QTest::newRow("blank name") << QStringLiteral("HP0100") << QStringLiteral(" ") << false
                                << int(GoodsService::NameField) << QStringLiteral("当前货品名称不能为空！");
    QTest::newRow("duplicate") << QStringLiteral("HP0001") << QStringLiteral("n") << false
                               << int(GoodsService::CodeField) << QStringLiteral("货品编号重复，请重新输入！");
    QTest::newRow("own code when editing")
        << QStringLiteral("HP0001") << QStringLiteral("n") << true << int(GoodsService::NoField) << QString();
    QTest::newRow("name too long") << QStringLiteral("HP0100") << QString(256, QLatin1Char('n')) << false
                                   << int(GoodsService::NameField) << QStringLiteral("货品名称太长，最多255个字符！");
}

void TestGoods::validate()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(bool, editingExisting);
    QFETCH(int, field);
    QFETCH(QString, message);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const qint64 id = insertGood(tdb, QStringLiteral("HP0001"));
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = code;
    g.name = name;
    QCOMPARE(int(GoodsService::validate(g, editingExisting ? id : 0)), field);
    QCOMPARE(msg.lastText(), message);
}

void TestGoods::saveNewWithOpeningStock()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('门市仓', 'depot')")));
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = QStringLiteral(" HP0001 ");
    g.name = QStringLiteral(" 矿泉水 ");
    g.type = QStringLiteral("\\\\食品");
    g.enterPrice = 2.5;
    g.mem = QStringLiteral(" as typed ");
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(g.code.trimmed(), lines));
    QCOMPARE(lines.size(), 2);
    lines[0].amount = 10; // 总仓库, unit cost from the cost price
    lines[1].amount = 4;
    lines[1].price = 3;
    QVERIFY(GoodsService::save(g, lines, QString(), true));
    QCOMPARE(msg.count(), 0);
    QVERIFY(g.id > 0);
    QCOMPARE(g.begAmount, 14.0);
    DataModule& d = tdb.dataModule();
    QCOMPARE(
        d.GetSqlStr(QStringLiteral("select F_Name from t_goods where F_Code = 'HP0001'")), QStringLiteral("矿泉水"));
    QCOMPARE(
        d.GetSqlStr(QStringLiteral("select F_Mem from t_goods where F_Code = 'HP0001'")), QStringLiteral(" as typed "));
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_BegAmount from t_goods where F_Code = 'HP0001'")), 14.0);
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_totalPrice from t_begDept where F_Depot = '总仓库'")), 25.0);
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_Price from t_begDept where F_Depot = '总仓库'")), 2.5);
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_totalPrice from t_begDept where F_Depot = '门市仓'")), 12.0);
    QCOMPARE(d.GetSqlInt(QStringLiteral("select F_b2 from SysInfo")), qint64(1));
    QVERIFY(SysOptions::current().autoGoodsCode);
}

void TestGoods::editRewritesLinesAndOpeningStock()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('门市仓', 'depot')")));
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = QStringLiteral("HP0001");
    g.name = QStringLiteral("矿泉水");
    g.enterPrice = 2;
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(g.code, lines));
    lines[0].amount = 5;
    lines[1].amount = 7;
    QVERIFY(GoodsService::save(g, lines, QString(), false));
    // Two document lines of the good, one of another.
    QVERIFY(c.exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode, F_GoodName) values ('CGD1', 'HP0001', "
                                  "'矿泉水'), ('CGD2', 'HP0001', '矿泉水'), ('CGD2', 'HP0002', '别的')")));

    // A restricted operator sees only 总仓库; the 门市仓 line must follow the code anyway.
    Session::current().ckFlag = 1;
    Session::current().permittedDepots = {QStringLiteral("总仓库")};
    QVERIFY(GoodsService::openingLines(g.code, lines));
    QCOMPARE(lines.size(), 1);
    lines[0].amount = 6;
    const QString previous = g.code;
    g.code = QStringLiteral("SW0001");
    g.name = QStringLiteral("纯净水");
    g.spec = QStringLiteral("550ml");
    g.type = QStringLiteral("\\\\饮料");
    QVERIFY(GoodsService::save(g, lines, previous, false));
    QCOMPARE(msg.count(), 0);
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from DepotD where F_GoodCode = 'HP0001'")), qint64(0));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from DepotD where F_GoodCode = 'SW0001' and F_GoodName = "
                                        "'纯净水' and F_Spec = '550ml' and F_Type = :t"),
                 {{QStringLiteral("t"), QStringLiteral("\\\\饮料")}}),
        qint64(2));
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_GoodName from DepotD where F_GoodCode = 'HP0002'")),
        QStringLiteral("别的"));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_begDept where F_GoodCode = 'SW0001'")), qint64(2));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_begDept where F_GoodCode = 'HP0001'")), qint64(0));
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_BegAmount from t_goods where F_Code = 'SW0001'")), 13.0);
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_goods")), qint64(1));
}

void TestGoods::zeroQuantityDeletesOpeningLine()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('门市仓', 'depot')")));
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = QStringLiteral("0001");
    g.name = QStringLiteral("n");
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(g.code, lines));
    lines[0].amount = 3;
    lines[1].amount = 8;
    QVERIFY(GoodsService::save(g, lines, QString(), false));
    QVERIFY(GoodsService::openingLines(g.code, lines));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].id > 0 && lines[1].id > 0);
    lines[1].amount = 0;
    QVERIFY(GoodsService::save(g, lines, g.code, false));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_begDept")), qint64(1));
    QCOMPARE(tdb.dataModule().GetSqlFloat(QStringLiteral("select F_BegAmount from t_goods")), 3.0);
    // Two lines for one depot would break the one-line-per-depot rule.
    QVERIFY(GoodsService::openingLines(g.code, lines));
    lines[1].amount = 2;
    lines[1].depot = lines[0].depot;
    QVERIFY(!GoodsService::save(g, lines, g.code, false));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_begDept")), qint64(1));
}

void TestGoods::saveFailureWritesNothing()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = QStringLiteral("0001");
    g.name = QStringLiteral("old");
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(g.code, lines));
    lines[0].amount = 3;
    QVERIFY(GoodsService::save(g, lines, QString(), false));
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode, F_GoodName) values ('C', "
                                                 "'0001', 'old')")));
    // The document line copy is the last step: make it fail.
    QSqlQuery q(tdb.connection().db());
    if (tdb.isPostgres()) {
        QVERIFY(q.exec(QStringLiteral("CREATE FUNCTION kelmora_fail() RETURNS trigger AS $f$ BEGIN RAISE EXCEPTION "
                                      "'injected'; END $f$ LANGUAGE plpgsql")));
        QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER kelmora_fail BEFORE UPDATE ON DepotD FOR EACH ROW EXECUTE "
                                      "FUNCTION kelmora_fail()")));
    } else {
        QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER kelmora_fail BEFORE UPDATE ON DepotD BEGIN SELECT "
                                      "RAISE(ABORT, 'injected'); END")));
    }
    QVERIFY(GoodsService::openingLines(g.code, lines));
    lines[0].amount = 9;
    const QString previous = g.code;
    g.code = QStringLiteral("0002");
    g.name = QStringLiteral("new");
    QVERIFY(!GoodsService::save(g, lines, previous, false));
    QCOMPARE(msg.lastText(), GoodsService::saveFailText());
    QCOMPARE(msg.lastKind(), 3);
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_Code || F_Name from t_goods")), QStringLiteral("0001old"));
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_GoodCode from t_begDept")), QStringLiteral("0001"));
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_Amount from t_begDept")), 3.0);
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_BegAmount from t_goods")), 3.0);
}

void TestGoods::deleteOnlyWhenUnused()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    const qint64 used = insertGood(tdb, QStringLiteral("0001"));
    const qint64 unused = insertGood(tdb, QStringLiteral("0002"));
    QVERIFY(c.exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode) values ('C', '0001')")));
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount) values ('总仓库', '0001', 1), "
                                  "('总仓库', '0002', 2)")));
    ScriptedMessenger msg;
    QVERIFY(!GoodsService::remove(used, QStringLiteral("0001")));
    QCOMPARE(msg.lastText(), QStringLiteral("该货品资料已经被使用，不能被删除！"));
    QCOMPARE(msg.lastKind(), 2);
    QVERIFY(GoodsService::remove(unused, QStringLiteral("0002")));
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_Code from t_goods")), QStringLiteral("0001"));
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_GoodCode from t_begDept")), QStringLiteral("0001"));
}

void TestGoods::batchCategoryChange()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const qint64 a = insertGood(tdb, QStringLiteral("0001"));
    const qint64 b = insertGood(tdb, QStringLiteral("0002"));
    insertGood(tdb, QStringLiteral("0003"));
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode, F_Type) values ('C', '0001', "
                                                 "'old')")));
    ScriptedMessenger msg;
    QVERIFY(GoodsService::changeCategory({a, b}, QStringLiteral("\\\\新类")));
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_goods where F_Type = :t"),
                 {{QStringLiteral("t"), QStringLiteral("\\\\新类")}}),
        qint64(2));
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_Type from DepotD")), QStringLiteral("old"));
}

void TestGoods::openingLinesCoverEveryDepot()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(
        c.exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('门市仓', 'depot'), ('原料仓', 'depot')")));
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount, F_Price) values ('门市仓', "
                                  "'0001', 4, 2)")));
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(QStringLiteral("0001"), lines));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].depot, QStringLiteral("门市仓"));
    QCOMPARE(lines[0].total(), 8.0);
    QVERIFY(lines[0].id > 0);
    QCOMPARE(lines[1].depot, QStringLiteral("总仓库"));
    QCOMPARE(lines[1].id, qint64(0));
    QCOMPARE(lines[2].depot, QStringLiteral("原料仓"));
}

void TestGoods::openingLinesHonourDepotRestriction()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('门市仓', 'depot')")));
    Session::current().ckFlag = 1;
    Session::current().permittedDepots = {QStringLiteral("门市仓")};
    QList<OpeningStockLine> lines;
    QVERIFY(GoodsService::openingLines(QStringLiteral("0001"), lines));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].depot, QStringLiteral("门市仓"));
}

void TestGoods::search_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("everything active") << -1 << QString() << QString() << false
                                       << QStringList {QStringLiteral("A0001"), QStringLiteral("A0002"),
                                              QStringLiteral("B0001")};
    QTest::newRow("with disabled") << -1 << QString() << QStringLiteral("\\\\") << true
                                   << QStringList {QStringLiteral("A0001"), QStringLiteral("A0002"),
                                          QStringLiteral("B0001"), QStringLiteral("B0002")};
    QTest::newRow("code from start") << 0 << QStringLiteral(" A ") << QString() << false
                                     << QStringList {QStringLiteral("A0001"), QStringLiteral("A0002")};
    QTest::newRow("code not inside") << 0 << QStringLiteral("0001") << QString() << false << QStringList();
    QTest::newRow("name anywhere") << 1 << QStringLiteral("水") << QString() << false
                                   << QStringList {QStringLiteral("A0001"), QStringLiteral("B0001")};
    QTest::newRow("percent is literal") << 2 << QStringLiteral("50%") << QString() << false
                                        << QStringList {QStringLiteral("A0002")};
    QTest::newRow("quote is literal") << 4 << QStringLiteral("O'K") << QString() << true
                                      << QStringList {QStringLiteral("B0002")};
    QTest::newRow("user field 2") << 6 << QStringLiteral("red") << QString() << false
                                  << QStringList {QStringLiteral("B0001")};
    QTest::newRow("category") << -1 << QString() << QStringLiteral("\\\\饮料") << false
                              << QStringList {QStringLiteral("A0001"), QStringLiteral("A0002")};
}

void TestGoods::search()
{
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, category);
    QFETCH(bool, disabled);
    QFETCH(QStringList, codes);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(
        QStringLiteral("insert into t_goods (F_Code, F_Name, F_Spec, F_Type, F_Mem, F_ZF2, F_Flag) values "
                       "('A0001', '矿泉水', '500ml', :t1, '', '', 0), ('A0002', '果汁', '50%浓缩', :t2, '', '', NULL), "
                       "('B0001', '水桶', '5005', '', '', 'red', 0), ('B0002', '旧货', '', '', 'O''K', '', 1)"),
        {{QStringLiteral("t1"), QStringLiteral("\\\\饮料")},
            {QStringLiteral("t2"), QStringLiteral("\\\\饮料\\果汁")}}));
    GoodsFilter f;
    f.item = item;
    f.text = text;
    f.categoryPath = category;
    f.includeDisabled = disabled;
    SqlParams p;
    QSqlQuery q(tdb.connection().db());
    QVERIFY(tdb.dataModule().OpenQry(q, GoodsService::searchSql(f, p), p));
    QStringList got;
    while (q.next())
        got << q.value(QStringLiteral("F_Code")).toString();
    QCOMPARE(got, codes);
}

void TestGoods::emptyDatesRoundTrip()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    GoodsRecord g;
    g.code = QStringLiteral("0001");
    g.name = QStringLiteral("n");
    g.rq[1] = QDate(2026, 3, 5);
    g.sz[2] = 1.5;
    g.zf[4] = QStringLiteral("z5");
    QVERIFY(GoodsService::save(g, {}, QString(), false));
    QSqlQuery q(tdb.connection().db());
    QVERIFY(tdb.dataModule().OpenQry(q, QStringLiteral("select * from t_goods")));
    QVERIFY(q.next());
    QCOMPARE(Dates::toDate(q.value(QStringLiteral("F_RQ1"))), Dates::emptyDate());
    const GoodsRecord back = GoodsRecord::fromRecord(q.record());
    QVERIFY(!back.rq[0].isValid());
    QCOMPARE(back.rq[1], QDate(2026, 3, 5));
    QCOMPARE(back.sz[2], 1.5);
    QCOMPARE(back.zf[4], QStringLiteral("z5"));
}

QTEST_GUILESS_MAIN(TestGoods)
#include "tst_goods.moc"
