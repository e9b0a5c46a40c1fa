// kelmora-test: pg
#include "app/messenger.h"
#include "masterdata/categoryservice.h"
#include "masterdata/categorytree.h"
#include "masterdata/goodsservice.h"
#include "support/testdatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestCategory : public QObject
{
    Q_OBJECT
private slots:
    void nextCode_data();
    void nextCode();
    void loadBuildsTreeAndPaths();
    void misplacedRowsShownUnderRoot();
    void addSiblingAndChild();
    void addRefusesBadNames_data();
    void addRefusesBadNames();
    void fullLevelRefusesNewCategory();
    void renameConfinedToSubtree();
    void renameCaseOnlyStoresNothing();
    void renameFailureLeavesEveryPath();
    void deleteSubtree();
    void deleteAnsweredNoKeepsRows();
    void categoryFilterIsSubtreeOnly();

private:
    static void insertNode(TestDatabase& tdb, const QString& code, const QString& name, const QString& path);
    static QString goodsType(TestDatabase& tdb, const QString& code);
    static void addGood(TestDatabase& tdb, const QString& code, const QString& type);
};

void TestCategory::insertNode(TestDatabase& tdb, const QString& code, const QString& name, const QString& path)
{
    QVERIFY2(tdb.connection().exec(QStringLiteral("insert into t_treecode (F_code,F_name,F_likecode,F_flag) values "
                                                  "(:c,:n,:p,'goodtype')"),
                 {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("p"), path}}),
        qPrintable(tdb.connection().errorString()));
}

void TestCategory::addGood(TestDatabase& tdb, const QString& code, const QString& type)
{
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_goods (F_Code,F_Name,F_Type) values (:c,:c,:t)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("t"), type}}));
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotD (F_Code,F_GoodCode,F_Type) values ('CGD1',:c,:t)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("t"), type}}));
}

QString TestCategory::goodsType(TestDatabase& tdb, const QString& code)
{
    return tdb.dataModule().GetSqlStr(
        QStringLiteral("select F_Type from t_goods where F_Code = :c"), {{QStringLiteral("c"), code}});
}

void TestCategory::nextCode_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first of empty tree") << QStringList() << QString() << 2 << QStringLiteral("001");
    QTest::newRow("next level 1") << QStringList {QStringLiteral("001"), QStringLiteral("002")} << QString() << 2
                                  << QStringLiteral("003");
    QTest::newRow("sibling of level 1") << QStringList {QStringLiteral("001"), QStringLiteral("002")}
                                        << QStringLiteral("001") << 1 << QStringLiteral("003");
    QTest::newRow("first child of 002") << QStringList {QStringLiteral("001"), QStringLiteral("002")}
                                        << QStringLiteral("002") << 2 << QStringLiteral("002001");
    QTest::newRow("sibling after greatest") << QStringList {QStringLiteral("002"), QStringLiteral("002001"),
        QStringLiteral("002003"), QStringLiteral("002007"), QStringLiteral("002007001")}
                                            << QStringLiteral("002003") << 1 << QStringLiteral("002008");
    QTest::newRow("carry 009 to 010") << QStringList {QStringLiteral("002"), QStringLiteral("002009")}
                                      << QStringLiteral("002") << 2 << QStringLiteral("002010");
    QTest::newRow("deleted greatest reused")
        << QStringList {QStringLiteral("001"), QStringLiteral("003")} << QString() << 2 << QStringLiteral("004");
    QTest::newRow("misplaced length ignored")
        << QStringList {QStringLiteral("001"), QStringLiteral("0099")} << QString() << 2 << QStringLiteral("002");
    QTest::newRow("999 taken") << QStringList {QStringLiteral("002"), QStringLiteral("002999")} << QStringLiteral("002")
                               << 2 << QString();
}

void TestCategory::nextCode()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, base);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    for (const QString& c : codes)
        insertNode(tdb, c, c, QStringLiteral("\\\\") + c);
    QString why;
    QCOMPARE(CategoryService::nextCode(base, CategoryTree::treeName(), mode, &why), expected);
    if (expected.isEmpty())
        QCOMPARE(why, CategoryService::fullText());
}

void TestCategory::loadBuildsTreeAndPaths()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("001001"), QStringLiteral("水果"), QStringLiteral("\\\\食品\\水果"));
    insertNode(tdb, QStringLiteral("001001001"), QStringLiteral("苹果"), QStringLiteral("\\\\食品\\水果\\苹果"));
    insertNode(tdb, QStringLiteral("001002"), QStringLiteral("蔬菜"), QStringLiteral("\\\\食品\\蔬菜"));
    insertNode(tdb, QStringLiteral("002"), QStringLiteral("五金"), QStringLiteral("\\\\五金"));
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(tree.node(0).name, QStringLiteral("商品类型"));
    QCOMPARE(tree.node(0).code, QStringLiteral("000"));
    QCOMPARE(tree.node(0).children.size(), 2);
    const int food = tree.findCode(QStringLiteral("001"));
    const int apple = tree.findCode(QStringLiteral("001001001"));
    const int veg = tree.findCode(QStringLiteral("001002"));
    QCOMPARE(tree.node(food).children.size(), 2);
    QCOMPARE(tree.node(veg).parent, food);
    QCOMPARE(tree.level(apple), 3);
    QCOMPARE(tree.node(apple).codeLength, 9);
    QCOMPARE(tree.path(apple, 1), QStringLiteral("\\\\食品\\水果\\苹果"));
    QCOMPARE(tree.path(apple, 2), QStringLiteral("\\\\食品\\水果"));
    QCOMPARE(tree.path(food, 1), QStringLiteral("\\\\食品"));
    QCOMPARE(tree.childPath(0, QStringLiteral("新")), QStringLiteral("\\\\新"));
    QCOMPARE(tree.findPath(QStringLiteral("\\\\食品\\蔬菜")), QList<int> {veg});
    QVERIFY(tree.findPath(QString()).isEmpty());
    QVERIFY(!tree.node(apple).misplaced);
}

void TestCategory::misplacedRowsShownUnderRoot()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("0012"), QStringLiteral("坏长度"), QStringLiteral("\\\\坏长度"));
    insertNode(tdb, QStringLiteral("005001"), QStringLiteral("孤儿"), QStringLiteral("\\\\旧\\孤儿"));
    insertNode(tdb, QStringLiteral("005001001"), QStringLiteral("孙"), QStringLiteral("\\\\旧\\孤儿\\孙"));
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    const int bad = tree.findCode(QStringLiteral("0012"));
    const int orphan = tree.findCode(QStringLiteral("005001"));
    const int grandchild = tree.findCode(QStringLiteral("005001001"));
    QVERIFY(bad > 0 && orphan > 0 && grandchild > 0);
    QCOMPARE(tree.node(bad).parent, 0);
    QVERIFY(tree.node(bad).misplaced);
    QCOMPARE(tree.node(orphan).parent, 0);
    QVERIFY(tree.node(orphan).misplaced);
    QCOMPARE(tree.node(grandchild).parent, orphan);
    // The orphan's stored path is kept: goods under it stay findable.
    QCOMPARE(tree.path(orphan, 1), QStringLiteral("\\\\旧\\孤儿"));
    QCOMPARE(tree.path(grandchild, 1), QStringLiteral("\\\\旧\\孤儿\\孙"));

    ScriptedMessenger msg;
    QCOMPARE(CategoryService::add(tree, bad, true, QStringLiteral("x")), -1);
    QCOMPARE(msg.count(), 1);
}

void TestCategory::addSiblingAndChild()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(CategoryService::add(tree, 0, false, QStringLiteral("食品")), -1);
    QCOMPARE(msg.lastText(), QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"));
    QCOMPARE(msg.lastKind(), 0);

    const int food = CategoryService::add(tree, 0, true, QStringLiteral("  食品 "));
    QVERIFY(food > 0);
    QCOMPARE(tree.node(food).code, QStringLiteral("001"));
    QCOMPARE(tree.node(food).path, QStringLiteral("\\\\食品"));
    const int tools = CategoryService::add(tree, food, false, QStringLiteral("五金"));
    QCOMPARE(tree.node(tools).code, QStringLiteral("002"));
    const int fruit = CategoryService::add(tree, food, true, QStringLiteral("水果"));
    QCOMPARE(tree.node(fruit).code, QStringLiteral("001001"));
    QCOMPARE(tree.node(fruit).path, QStringLiteral("\\\\食品\\水果"));
    const int quoted = CategoryService::add(tree, fruit, false, QStringLiteral("O'Neil \"特价\""));
    QCOMPARE(tree.node(quoted).code, QStringLiteral("001002"));

    CategoryTree again(QStringLiteral("商品类型"));
    QVERIFY(again.load());
    const int q = again.findCode(QStringLiteral("001002"));
    QVERIFY(q > 0);
    QCOMPARE(again.node(q).name, QStringLiteral("O'Neil \"特价\""));
    QCOMPARE(again.node(q).path, QStringLiteral("\\\\食品\\O'Neil \"特价\""));
    QCOMPARE(again.node(q).parent, again.findCode(QStringLiteral("001")));
}

void TestCategory::addRefusesBadNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("messages");
    QTest::newRow("blank") << QStringLiteral("   ") << 0;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << 1;
    QTest::newRow("same name as sibling") << QStringLiteral("食品") << 1;
    QTest::newRow("same name other case") << QStringLiteral("ABC") << 1;
    QTest::newRow("too long") << QString(300, QChar(0x6C34)) << 1;
}

void TestCategory::addRefusesBadNames()
{
    QFETCH(QString, name);
    QFETCH(int, messages);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("002"), QStringLiteral("abc"), QStringLiteral("\\\\abc"));
    ScriptedMessenger msg;
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(CategoryService::add(tree, 0, true, name), -1);
    QCOMPARE(msg.count(), messages);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode")), qint64(2));
}

void TestCategory::fullLevelRefusesNewCategory()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("001999"), QStringLiteral("末"), QStringLiteral("\\\\食品\\末"));
    ScriptedMessenger msg;
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(CategoryService::add(tree, tree.findCode(QStringLiteral("001")), true, QStringLiteral("新")), -1);
    QCOMPARE(msg.lastText(), CategoryService::fullText());
    QCOMPARE(CategoryService::add(tree, tree.findCode(QStringLiteral("001999")), false, QStringLiteral("新")), -1);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode where F_code = '001000'")),
        qint64(0));
}

void TestCategory::renameConfinedToSubtree()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("001001"), QStringLiteral("水果"), QStringLiteral("\\\\食品\\水果"));
    insertNode(tdb, QStringLiteral("001001001"), QStringLiteral("苹果"), QStringLiteral("\\\\食品\\水果\\苹果"));
    insertNode(tdb, QStringLiteral("002"), QStringLiteral("食品饮料"), QStringLiteral("\\\\食品饮料"));
    insertNode(tdb, QStringLiteral("002001"), QStringLiteral("食品"), QStringLiteral("\\\\食品饮料\\食品"));
    addGood(tdb, QStringLiteral("G1"), QStringLiteral("\\\\食品"));
    addGood(tdb, QStringLiteral("G2"), QStringLiteral("\\\\食品\\水果\\苹果"));
    addGood(tdb, QStringLiteral("G3"), QStringLiteral("\\\\食品饮料"));
    addGood(tdb, QStringLiteral("G4"), QStringLiteral("\\\\食品饮料\\食品"));
    addGood(tdb, QStringLiteral("G5"), QStringLiteral("\\\\食品%"));

    ScriptedMessenger msg;
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    const int food = tree.findCode(QStringLiteral("001"));
    QCOMPARE(CategoryService::rename(tree, food, QStringLiteral("粮油")), CategoryService::Renamed);
    QCOMPARE(msg.count(), 0);

    QCOMPARE(goodsType(tdb, QStringLiteral("G1")), QStringLiteral("\\\\粮油"));
    QCOMPARE(goodsType(tdb, QStringLiteral("G2")), QStringLiteral("\\\\粮油\\水果\\苹果"));
    QCOMPARE(goodsType(tdb, QStringLiteral("G3")), QStringLiteral("\\\\食品饮料"));
    QCOMPARE(goodsType(tdb, QStringLiteral("G4")), QStringLiteral("\\\\食品饮料\\食品"));
    QCOMPARE(goodsType(tdb, QStringLiteral("G5")), QStringLiteral("\\\\食品%"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Type from DepotD where F_GoodCode = 'G2'")),
        QStringLiteral("\\\\粮油\\水果\\苹果"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Type from DepotD where F_GoodCode = 'G3'")),
        QStringLiteral("\\\\食品饮料"));

    CategoryTree again(QStringLiteral("商品类型"));
    QVERIFY(again.load());
    QCOMPARE(again.node(again.findCode(QStringLiteral("001"))).name, QStringLiteral("粮油"));
    QCOMPARE(again.node(again.findCode(QStringLiteral("001001001"))).path, QStringLiteral("\\\\粮油\\水果\\苹果"));
    QCOMPARE(again.node(again.findCode(QStringLiteral("002001"))).path, QStringLiteral("\\\\食品饮料\\食品"));
    // The loaded tree took the same change, so later additions build on it.
    QCOMPARE(tree.node(tree.findCode(QStringLiteral("001001"))).path, QStringLiteral("\\\\粮油\\水果"));
}

void TestCategory::renameCaseOnlyStoresNothing()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("abc"), QStringLiteral("\\\\abc"));
    addGood(tdb, QStringLiteral("G1"), QStringLiteral("\\\\abc"));
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(CategoryService::rename(tree, 1, QStringLiteral("ABC")), CategoryService::Unchanged);
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_name from t_treecode")), QStringLiteral("abc"));
    QCOMPARE(goodsType(tdb, QStringLiteral("G1")), QStringLiteral("\\\\abc"));
    QCOMPARE(tree.node(1).name, QStringLiteral("abc"));
}

void TestCategory::renameFailureLeavesEveryPath()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("001001"), QStringLiteral("水果"), QStringLiteral("\\\\食品\\水果"));
    addGood(tdb, QStringLiteral("G1"), QStringLiteral("\\\\食品\\水果"));
    // The tree rows are written last: make that step fail.
    QSqlQuery q(tdb.connection().db());
    if (tdb.isPostgres()) {
        QVERIFY2(q.exec(QStringLiteral("CREATE FUNCTION kelmora_fail() RETURNS trigger AS $f$ BEGIN RAISE EXCEPTION "
                                       "'injected'; END $f$ LANGUAGE plpgsql")),
            qPrintable(q.lastError().text()));
        QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER kelmora_fail BEFORE UPDATE ON t_treecode FOR EACH ROW EXECUTE "
                                      "FUNCTION kelmora_fail()")));
    } else {
        QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER kelmora_fail BEFORE UPDATE ON t_treecode BEGIN SELECT "
                                      "RAISE(ABORT, 'injected'); END")));
    }
    ScriptedMessenger msg;
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QCOMPARE(CategoryService::rename(tree, tree.findCode(QStringLiteral("001")), QStringLiteral("粮油")),
        CategoryService::Failed);
    QCOMPARE(msg.lastKind(), 3);
    QCOMPARE(goodsType(tdb, QStringLiteral("G1")), QStringLiteral("\\\\食品\\水果"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Type from DepotD where F_GoodCode = 'G1'")),
        QStringLiteral("\\\\食品\\水果"));
    QCOMPARE(tree.node(tree.findCode(QStringLiteral("001"))).name, QStringLiteral("食品"));
}

void TestCategory::deleteSubtree()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    insertNode(tdb, QStringLiteral("002"), QStringLiteral("五金"), QStringLiteral("\\\\五金"));
    insertNode(tdb, QStringLiteral("002001"), QStringLiteral("工具"), QStringLiteral("\\\\五金\\工具"));
    insertNode(tdb, QStringLiteral("002001001"), QStringLiteral("扳手"), QStringLiteral("\\\\五金\\工具\\扳手"));
    insertNode(tdb, QStringLiteral("003"), QStringLiteral("办公"), QStringLiteral("\\\\办公"));
    addGood(tdb, QStringLiteral("G1"), QStringLiteral("\\\\五金\\工具"));
    ScriptedMessenger msg;
    msg.setDefaultAnswer(Messenger::Yes);
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QVERIFY(!CategoryService::remove(tree, 0));
    QCOMPARE(msg.lastText(), QStringLiteral("不能删除根节点！"));
    const int tools = tree.findCode(QStringLiteral("002"));
    QVERIFY(CategoryService::remove(tree, tools));
    QCOMPARE(msg.lastText(), QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？"));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode where F_code like '002%'")),
        qint64(0));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode")), qint64(2));
    QCOMPARE(tree.findCode(QStringLiteral("002001001")), -1);
    QCOMPARE(tree.node(0).children.size(), 2);
    // Goods keep the path of a deleted category.
    QCOMPARE(goodsType(tdb, QStringLiteral("G1")), QStringLiteral("\\\\五金\\工具"));
    QVERIFY(CategoryService::remove(tree, tree.findCode(QStringLiteral("003"))));
    QCOMPARE(msg.lastText(), QStringLiteral("真的要删除当前节点 “003办公” 吗？"));
}

void TestCategory::deleteAnsweredNoKeepsRows()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    insertNode(tdb, QStringLiteral("001"), QStringLiteral("食品"), QStringLiteral("\\\\食品"));
    ScriptedMessenger msg;
    msg.setNextAnswer(Messenger::No);
    CategoryTree tree(QStringLiteral("商品类型"));
    QVERIFY(tree.load());
    QVERIFY(!CategoryService::remove(tree, 1));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode")), qint64(1));
    QCOMPARE(tree.findCode(QStringLiteral("001")), 1);
}

void TestCategory::categoryFilterIsSubtreeOnly()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    addGood(tdb, QStringLiteral("G1"), QStringLiteral("\\\\食品"));
    addGood(tdb, QStringLiteral("G2"), QStringLiteral("\\\\食品\\水果"));
    addGood(tdb, QStringLiteral("G3"), QStringLiteral("\\\\食品饮料"));
    addGood(tdb, QStringLiteral("G4"), QStringLiteral("\\\\五金"));
    GoodsFilter f;
    f.categoryPath = QStringLiteral("\\\\食品");
    SqlParams p;
    QSqlQuery q(tdb.connection().db());
    QVERIFY(tdb.dataModule().OpenQry(q, GoodsService::searchSql(f, p), p));
    QStringList codes;
    while (q.next())
        codes << q.value(QStringLiteral("F_Code")).toString();
    QCOMPARE(codes, (QStringList {QStringLiteral("G1"), QStringLiteral("G2")}));
}

QTEST_GUILESS_MAIN(TestCategory)
#include "tst_category.moc"
