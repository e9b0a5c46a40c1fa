// kelmora-test: pg
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "documents/documentstore.h"
#include "documents/lineediting.h"
#include "support/testdatabase.h"

#include <QtTest>

namespace {
// G1 in use with barcode 690001, G9 stopped with barcode 690009; 7 of each in depot A.
void linesFixture(Connection& c)
{
    QVERIFY(
        c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Type,F_Spec,F_Unit,F_Barcode,F_EnterPrice,"
                              "F_SalePrice,F_Flag,F_address,F_Mem,F_ZF1,F_SZ2) values('G1','扳手','\\\\五金','10寸',"
                              "'把','690001',16,25,0,'浙江永康','常用','红',2.5)")));
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Barcode,F_EnterPrice,F_SalePrice,F_Flag) "
                                  "values('G9','旧货','690009',3,4,1)")));
    for (const char* g : {"G1", "G9"})
        QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                      "values('A',:g,7,0,70)"),
            {{QStringLiteral("g"), QString::fromLatin1(g)}}));
}

Document linesDoc(int kind)
{
    Document d;
    d.kind = kind;
    d.depot = QStringLiteral("A");
    d.client = QStringLiteral("K");
    d.code = QStringLiteral("XXX20240115001");
    return d;
}
} // namespace

class TestDocLines : public QObject
{
    Q_OBJECT
private slots:
    void init() { SysOptions::current() = SysOptions(); }
    void typedCodeCopiesTheGood();
    void barcode_data();
    void barcode();
    void pickerLines();
    void stocktakingCounts();
    void emptyFirstLineIsDropped();
};

void TestDocLines::typedCodeCopiesTheGood()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    linesFixture(tdb.connection());
    ScriptedMessenger mess;
    DocumentLine l;
    QVERIFY(LineEditing::fillByCode(linesDoc(1), l, QStringLiteral("G1")));
    QCOMPARE(l.goodName, QStringLiteral("扳手"));
    QCOMPARE(l.type, QStringLiteral("\\\\五金"));
    QCOMPARE(l.spec, QStringLiteral("10寸"));
    QCOMPARE(l.unit, QStringLiteral("把"));
    QCOMPARE(l.address, QStringLiteral("浙江永康"));
    QCOMPARE(l.tmCode, QStringLiteral("690001"));
    QCOMPARE(l.zf[0], QStringLiteral("红"));
    QCOMPARE(l.sz[1], std::optional<double>(2.5));
    QCOMPARE(l.code, QStringLiteral("XXX20240115001"));
    QCOMPARE(l.price, 10.0); // cost price: 70 / 7
    // A stopped good can be typed by code.
    DocumentLine s;
    QVERIFY(LineEditing::fillByCode(linesDoc(-2), s, QStringLiteral("G9")));
    QCOMPARE(s.price, 4.0); // its sale price
    QCOMPARE(mess.count(), 0);
    // Assembly components: the other wording, no barcode, factor 1.
    DocumentLine comp;
    QVERIFY(LineEditing::fillByCode(linesDoc(12), comp, QStringLiteral("G1")));
    QCOMPARE(comp.tmCode, QString());
    QCOMPARE(comp.rate, std::optional<double>(1.0));
    QVERIFY(!LineEditing::fillByCode(linesDoc(12), comp, QStringLiteral("X")));
    QCOMPARE(mess.lastText(), QStringLiteral("商品\"X\"不存在，请检查输入？"));
}

void TestDocLines::barcode_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QString>("goods"); // empty: nothing appended
    QTest::addColumn<QString>("message");
    QTest::newRow("in use") << 1 << QStringLiteral(" 690001 ") << QStringLiteral("G1") << QString();
    QTest::newRow("stopped: not found") << 1 << QStringLiteral("690009") << QString()
                                        << QStringLiteral("条码\"690009\"不存在，请检查输入？");
    QTest::newRow("stocktaking finds stopped goods")
        << 11 << QStringLiteral("690009") << QStringLiteral("G9") << QString();
    QTest::newRow("empty") << 1 << QStringLiteral("  ") << QString() << QStringLiteral("请输入条码！");
    QTest::newRow("unknown") << -2 << QStringLiteral("123") << QString()
                             << QStringLiteral("条码\"123\"不存在，请检查输入？");
}

void TestDocLines::barcode()
{
    QFETCH(int, kind);
    QFETCH(QString, barcode);
    QFETCH(QString, goods);
    QFETCH(QString, message);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    linesFixture(tdb.connection());
    ScriptedMessenger mess;
    const std::optional<DocumentLine> l = LineEditing::lineFromBarcode(linesDoc(kind), barcode, 2);
    QCOMPARE(l.has_value(), !goods.isEmpty());
    if (l) {
        QCOMPARE(l->goodCode, goods);
        QCOMPARE(l->amount, 2.0);
    }
    if (message.isEmpty()) {
        QCOMPARE(mess.count(), 0);
    } else {
        QCOMPARE(mess.lastText(), message);
        QCOMPARE(mess.lastKind(), 0);
    }
    if (kind == 11 && l) {
        QCOMPARE(l->curAmount, std::optional<double>(7.0));
        QCOMPARE(l->sjAmount, std::optional<double>(9.0));
    }
}

void TestDocLines::pickerLines()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    linesFixture(tdb.connection());
    std::optional<DocumentLine> l = LineEditing::lineFromPicker(linesDoc(-2), QStringLiteral("G1"));
    QVERIFY(l);
    QCOMPARE(l->amount, 1.0);
    QCOMPARE(l->price, 25.0);
    QCOMPARE(l->totalPrice, 25.0);
    QCOMPARE(l->cbPrice, 10.0);
    QCOMPARE(l->mem, QStringLiteral("常用"));
    QCOMPARE(l->tmCode, QString()); // the picker does not copy the barcode
    // Component lines start without a quantity.
    l = LineEditing::lineFromPicker(linesDoc(13), QStringLiteral("G1"));
    QCOMPARE(l->amount, 0.0);
    QCOMPARE(l->zf[0], QString());
}

void TestDocLines::stocktakingCounts()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    linesFixture(tdb.connection());
    ScriptedMessenger mess;
    Document doc = linesDoc(11);
    doc.code.clear();
    std::optional<DocumentLine> l = LineEditing::lineFromPicker(doc, QStringLiteral("G1"));
    QCOMPARE(l->curAmount, std::optional<double>(7.0));
    QCOMPARE(l->sjAmount, std::optional<double>(7.0));
    QCOMPARE(l->amount, 0.0);
    l->sjAmount = 5;
    QVERIFY(LineEditing::countChanged(doc, *l));
    QCOMPARE(l->amount, -2.0);
    QCOMPARE(l->cbPrice, -20.0);
    doc.lines << *l;
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Done);
    // The depot now holds the counted quantity.
    DocumentLine again;
    QVERIFY(LineEditing::fillByCode(linesDoc(11), again, QStringLiteral("G1")));
    QCOMPARE(again.curAmount, std::optional<double>(5.0));
}

void TestDocLines::emptyFirstLineIsDropped()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    linesFixture(tdb.connection());
    ScriptedMessenger mess;
    Document doc = linesDoc(-2);
    doc.code.clear();
    DocumentLine filled;
    QVERIFY(LineEditing::fillByCode(doc, filled, QStringLiteral("G1")));
    filled.amount = 2;
    QVERIFY(LineEditing::amountChanged(doc, filled));
    doc.lines = {DocumentLine(), filled};
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Done);
    const std::optional<Document> back = DocumentStore().load(doc.code);
    QCOMPARE(back->lines.size(), 1);
    QCOMPARE(back->lines[0].code, doc.code);
    QCOMPARE(back->lines[0].goodCode, QStringLiteral("G1"));
    // Removing the only line leaves a document without lines, which still saves.
    Document edited = *back;
    edited.lines.clear();
    QCOMPARE(DocumentStore().save(edited, {}), DocumentStore::Done);
    QCOMPARE(DocumentStore().load(doc.code)->lines.size(), 0);
    QCOMPARE(DocumentStore().load(doc.code)->amount, 0.0);
}

QTEST_GUILESS_MAIN(TestDocLines)
#include "tst_doclines.moc"
