// kelmora-test: pg
#include "data/datamodule.h"
#include "documents/entrystocktable.h"
#include "reports/pickerstocktable.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>
#include <cmath>

namespace {
using StockMap = QMap<QString, QList<double>>; // "good|depot" -> amount, price, total

StockMap readTempGood(Connection& c)
{
    StockMap out;
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("select F_code,F_dept,F_amount,F_price,F_totalPrice from tempGood where F_flag = 1")))
        qWarning("%s", qPrintable(c.errorString()));
    while (q.next())
        out.insert(q.value(0).toString() + QLatin1Char('|') + q.value(1).toString(),
            {q.value(2).toDouble(), q.value(3).toDouble(), q.value(4).toDouble()});
    return out;
}

void stockExec(const QString& sql)
{
    QVERIFY2(dm().ExecSql(sql), qPrintable(dm().lastDbError() + QLatin1Char(' ') + sql));
}
} // namespace

// The picker fills the stock rows of one good at a time; they must equal the
// rows a build of every good at once gives, for every line class and costing method.
class TstEntryStockTable : public QObject
{
    Q_OBJECT
private slots:
    void sameAsFullBuild_data();
    void sameAsFullBuild();
};

void TstEntryStockTable::sameAsFullBuild_data()
{
    QTest::addColumn<int>("costingMode");
    QTest::newRow("fixed unit price") << 0;
    QTest::newRow("moving weighted average") << 1;
    QTest::newRow("average cost") << 2;
}

void TstEntryStockTable::sameAsFullBuild()
{
    QFETCH(int, costingMode);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    stockExec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_EnterPrice) values('P','成品',50),('C1','零件1',3),"
                             "('C2','零件2',4),('N','无价',NULL)"));
    stockExec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) values"
                             "('A','C1',10,2,20),('B','C2',5,4,20),('A','N',1,0,0)"));
    // Receipt, issue, transfer, stocktaking, assembly, dismantling, and an issue that empties a depot.
    stockExec(QStringLiteral("insert into DepotM(F_Code,F_Depot,F_Client,F_Flag,F_OperFlag) values"
                             "('CGD1','A','S',1,1),('XSD1','A','K',-2,-1),('DBD1','B','A',10,1),('PDD1','B','',11,1),"
                             "('ZZD1','P1','A',12,-1),('CXD1','P1','B',13,1),('XSD2','B','K',-2,-1)"));
    stockExec(
        QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_Amount,F_Price,F_TotalPrice,F_CBprice,F_flag) values"
                       "('CGD1','C1',6,3,18,18,0),('CGD1','C2',2,5,10,10,NULL),('XSD1','C1',4,6,24,9,0),"
                       "('DBD1','C1',3,2,6,7,0),('PDD1','C2',-1,4,-4,-4,0),"
                       "('ZZD1','P',2,30,60,55,1),('ZZD1','C1',4,0,0,11,0),('ZZD1','C2',2,0,0,8,0),"
                       "('CXD1','P',1,30,30,27,1),('CXD1','C1',2,0,0,5,0),"
                       "('XSD2','C2',6,5,30,24,0)"));
    Connection& c = tdb.connection();
    PickerStockTable full(c);
    QVERIFY2(full.build(costingMode), qPrintable(full.errorString()));
    const StockMap expected = readTempGood(c);
    QVERIFY(expected.size() >= 5);

    EntryStockTable mine(c);
    QVERIFY(mine.clear());
    for (const char* g : {"P", "C1", "C2", "N", "UNKNOWN"})
        QVERIFY2(mine.fill(QString::fromLatin1(g), costingMode), qPrintable(mine.errorString()));
    // Filling a good again replaces its rows.
    QVERIFY(mine.fill(QStringLiteral("C1"), costingMode));
    const StockMap got = readTempGood(c);
    QCOMPARE(got.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        for (int i = 0; i < 3; ++i)
            QVERIFY2(std::fabs(got.value(it.key()).at(i) - it.value().at(i)) < 1e-9,
                qPrintable(it.key()
                    + QStringLiteral(" column %1: %2 vs %3")
                          .arg(i)
                          .arg(got.value(it.key()).at(i))
                          .arg(it.value().at(i))));
}

QTEST_GUILESS_MAIN(TstEntryStockTable)
#include "tst_entrystocktable.moc"
