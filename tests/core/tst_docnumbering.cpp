// kelmora-test: pg
#include "app/clock.h"
#include "app/messenger.h"
#include "documents/documentkinds.h"
#include "documents/documentstore.h"
#include "documents/numbering.h"
#include "support/testdatabase.h"

#include <QtTest>

class TestDocNumbering : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixedDate(QDate(2024, 1, 15)); }
    void cleanup() { Clock::setFixed(QDateTime()); }
    void kindsTable();
    void nextCode_data();
    void nextCode();
    void nonDigitTailStopsSave();
    void thousandthCodeSortsLast();
    void seqCode();
    void takenCodeAtSaveGetsFreshOne();
};

namespace {
void addHeader(Connection& c, const QString& code, int kind)
{
    QVERIFY2(
        c.exec(QStringLiteral("insert into DepotM(F_Code,F_Flag,F_OperFlag,F_Depot,F_Client) values(:c,:k,1,'A','')"),
            {{QStringLiteral("c"), code}, {QStringLiteral("k"), kind}}),
        qPrintable(c.errorString()));
}
} // namespace

void TestDocNumbering::kindsTable()
{
    QCOMPARE(DocumentKinds::all().size(), 13);
    const DocumentKind* k = DocumentKinds::find(-2);
    QVERIFY(k);
    QCOMPARE(k->prefix, QStringLiteral("XSD"));
    QCOMPARE(k->operFlag, -1);
    QCOMPARE(k->title, QStringLiteral("销售出库单"));
    QCOMPARE(k->windowClass, QStringLiteral("TFrmOutXiaoshouDeptGl"));
    QCOMPARE(DocumentKinds::forCode(QStringLiteral("DBD20240115001"))->kind, 10);
    QCOMPARE(DocumentKinds::find(13)->operFlag, 1);
    QCOMPARE(DocumentKinds::find(12)->operFlag, -1);
    QVERIFY(!DocumentKinds::find(6));
    QCOMPARE(DocumentKinds::find(3)->deleteQuestion(QStringLiteral("SCD20240115001")),
        QStringLiteral("真的要删除当前入库单 SCD20240115001吗？"));
    // Every prefix and every action code is used once.
    QSet<QString> prefixes;
    QSet<int> actions;
    for (const DocumentKind& d : DocumentKinds::all()) {
        prefixes.insert(d.prefix);
        actions.insert(d.actionCode);
    }
    QCOMPARE(prefixes.size(), 13);
    QCOMPARE(actions.size(), 13);
}

void TestDocNumbering::nextCode_data()
{
    QTest::addColumn<QStringList>("existing"); // "code kind"
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none today") << QStringList {QStringLiteral("CGD20240114007 1")} << 1
                                << QStringLiteral("CGD20240115001");
    QTest::newRow("other prefixes and days ignored") << QStringList {QStringLiteral("CGD20240116003 1"),
        QStringLiteral("CTD20240115009 -1"), QStringLiteral("CGD20240114005 1")}
                                                     << 1 << QStringLiteral("CGD20240115001");
    QTest::newRow("kind pins the count") << QStringList {QStringLiteral("CGD20240115004 5")} << 1
                                         << QStringLiteral("CGD20240115001");
    QTest::newRow("007 to 008") << QStringList {QStringLiteral("XSD20240115007 -2"),
        QStringLiteral("XSD20240115003 -2")}
                                << -2 << QStringLiteral("XSD20240115008");
    QTest::newRow("assembly") << QStringList {QStringLiteral("ZZD20240115001 12")} << 12
                              << QStringLiteral("ZZD20240115002");
    QTest::newRow("999 boundary") << QStringList {QStringLiteral("CGD20240115999 1")} << 1
                                  << QStringLiteral("CGD20240115999001");
    QTest::newRow("after the boundary") << QStringList {QStringLiteral("CGD20240115999 1"),
        QStringLiteral("CGD20240115999001 1")}
                                        << 1 << QStringLiteral("CGD20240115999002");
}

void TestDocNumbering::nextCode()
{
    QFETCH(QStringList, existing);
    QFETCH(int, kind);
    QFETCH(QString, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    for (const QString& e : existing) {
        const QStringList parts = e.split(QLatin1Char(' '));
        addHeader(tdb.connection(), parts[0], parts[1].toInt());
    }
    ScriptedMessenger mess;
    QString err;
    QCOMPARE(Numbering::nextCodeFor(kind, &err), expected);
    QVERIFY(err.isEmpty());
    QCOMPARE(mess.count(), 0);
}

void TestDocNumbering::nonDigitTailStopsSave()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    addHeader(tdb.connection(), QStringLiteral("CGD20240115X1Z"), 1);
    ScriptedMessenger mess;
    QString err;
    QCOMPARE(Numbering::nextCodeFor(1, &err), QString());
    QCOMPARE(err, QStringLiteral("'1X1Z' is not a valid integer value"));
    QCOMPARE(mess.lastKind(), int(Messenger::Error));

    // A save that needs a code stops and writes nothing.
    Document doc;
    doc.kind = 1;
    doc.depot = QStringLiteral("A");
    doc.client = QStringLiteral("S");
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Failed);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from DepotM")), 1);
}

void TestDocNumbering::thousandthCodeSortsLast()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    addHeader(tdb.connection(), QStringLiteral("CGD20240115999"), 1);
    const QString next = Numbering::nextCodeFor(1);
    addHeader(tdb.connection(), next, 1);
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select max(F_Code) from DepotM")), next);
    QVERIFY(next > QStringLiteral("CGD20240115999"));
}

void TestDocNumbering::seqCode()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const QString sql = QStringLiteral("select max(F_code) from t_goods");
    QCOMPARE(Numbering::GetNextSeqCode(sql, 6), QStringLiteral("000001"));
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_goods(F_Code,F_Name) values('000041','x')")));
    QCOMPARE(Numbering::GetNextSeqCode(sql, 6), QStringLiteral("000042"));
}

void TestDocNumbering::takenCodeAtSaveGetsFreshOne()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger mess;
    Document doc;
    doc.kind = 1;
    doc.code = Numbering::nextCodeFor(1);
    QCOMPARE(doc.code, QStringLiteral("CGD20240115001"));
    doc.depot = QStringLiteral("A");
    doc.client = QStringLiteral("S");
    doc.makeDate = QDate(2023, 6, 1); // a past document date still gets today's code
    addHeader(tdb.connection(), QStringLiteral("CGD20240115001"), 1); // another workstation was faster
    QCOMPARE(DocumentStore().save(doc, {}), DocumentStore::Done);
    QCOMPARE(doc.code, QStringLiteral("CGD20240115002"));
    QCOMPARE(tdb.dataModule().GetSqlInt(
                 QStringLiteral("select count(*) from DepotM where F_Code = :c"), {{QStringLiteral("c"), doc.code}}),
        1);
}

QTEST_GUILESS_MAIN(TestDocNumbering)
#include "tst_docnumbering.moc"
