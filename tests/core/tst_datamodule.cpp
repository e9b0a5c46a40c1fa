// kelmora-test: pg
#include "app/messenger.h"
#include "data/datamodule.h"
#include "data/transaction.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

class TestDataModule : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void execAndLookups();
    void nullAndEmptyResults_data();
    void nullAndEmptyResults();
    void failuresShowTheirMessage_data();
    void failuresShowTheirMessage();
    void quoteInValueNowWorks();
    void deleteService();
    void openQuery();
    void listFilling();
    void listFillingKeepsItemsOnFailure();
    void boundListRestrictsDepots();
    void transactionRollsBackOnFailure();
    void nestedTransactionFailureFailsOuter();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedMessenger> m_msg;
};

void TestDataModule::init()
{
    m_msg = std::make_unique<ScriptedMessenger>();
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
}

void TestDataModule::cleanup()
{
    m_db.reset();
    m_msg.reset();
}

void TestDataModule::execAndLookups()
{
    DataModule& d = dm();
    QVERIFY(d.ExecSql(QStringLiteral("insert into t_code (F_Name, F_type) values (:n, 'depot')"),
        {{QStringLiteral("n"), QStringLiteral("二号仓")}}));
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_Name from t_code where F_type = 'depot' and F_Name = :n"),
                 {{QStringLiteral("n"), QStringLiteral("二号仓")}}),
        QStringLiteral("二号仓"));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = :t"),
                 {{QStringLiteral("t"), QStringLiteral("depot")}}),
        qint64(2));
    QVERIFY(d.ExecSql(QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount) values ('a', 'g', 2.5)")));
    QVERIFY(d.ExecSql(QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount) values ('a', 'g', 1.25)")));
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select sum(F_Amount) from t_begDept where F_GoodCode = :g"),
                 {{QStringLiteral("g"), QStringLiteral("g")}}),
        3.75);
    QCOMPARE(m_msg->count(), 0);
}

void TestDataModule::nullAndEmptyResults_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("no row") << "select F_Name from t_code where F_type = 'nothing'";
    QTest::newRow("null first value") << "select NULL";
    QTest::newRow("null sum") << "select sum(F_Amount) from t_begDept where F_GoodCode = 'none'";
}

void TestDataModule::nullAndEmptyResults()
{
    QFETCH(QString, sql);
    QCOMPARE(dm().GetSqlStr(sql), QString());
    QCOMPARE(dm().GetSqlFloat(sql), 0.0);
    QCOMPARE(dm().GetSqlInt(sql), qint64(0));
    QCOMPARE(m_msg->count(), 0);
}

void TestDataModule::failuresShowTheirMessage_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<QString>("message");
    const QString exec = QStringLiteral("操作失败，请检查数据连接... ");
    QTest::newRow("execute") << 0 << exec;
    QTest::newRow("text") << 1 << exec;
    QTest::newRow("number") << 2 << exec;
    QTest::newRow("integer") << 3 << exec;
    QTest::newRow("open") << 4 << QStringLiteral("打开操作失败，请检查数据连接... ");
    QTest::newRow("list") << 5 << exec;
    QTest::newRow("delete") << 6 << QStringLiteral("删除操作失败，请检查数据连接... ");
}

void TestDataModule::failuresShowTheirMessage()
{
    QFETCH(int, service);
    QFETCH(QString, message);
    const QString bad = QStringLiteral("select F_Name from no_such_table");
    DataModule& d = dm();
    QSqlQuery q(d.db());
    QStringList items {QStringLiteral("keep")};
    switch (service) {
    case 0:
        QCOMPARE(d.ExecSql(QStringLiteral("delete from no_such_table")), false);
        break;
    case 1:
        QCOMPARE(d.GetSqlStr(bad), QString());
        break;
    case 2:
        QCOMPARE(d.GetSqlFloat(bad), 0.0);
        break;
    case 3:
        QCOMPARE(d.GetSqlInt(bad), qint64(0));
        break;
    case 4:
        QCOMPARE(d.OpenQry(q, bad), false);
        QVERIFY(!q.isActive());
        break;
    case 5:
        QCOMPARE(d.FillList(bad, items), false);
        break;
    case 6:
        QCOMPARE(d.DelRecord(QStringLiteral("no_such_table"), 1), false);
        break;
    }
    QCOMPARE(m_msg->count(), 1);
    QCOMPARE(m_msg->lastText(), message);
    QCOMPARE(m_msg->lastKind(), int(Messenger::Error));
    QVERIFY(!d.lastDbError().isEmpty());
}

void TestDataModule::quoteInValueNowWorks()
{
    const QString name = QStringLiteral("O'Brien \\ 仓");
    QVERIFY(dm().ExecSql(QStringLiteral("insert into t_client (F_Code, F_Name, F_operFlag) values ('C1', :n, 1)"),
        {{QStringLiteral("n"), name}}));
    QCOMPARE(
        dm().GetSqlStr(QStringLiteral("select F_Code from t_client where F_Name = :n"), {{QStringLiteral("n"), name}}),
        QStringLiteral("C1"));
    QCOMPARE(m_msg->count(), 0);
}

void TestDataModule::deleteService()
{
    const qint64 id = m_db->connection().insertReturningId(
        QStringLiteral("insert into t_goods (F_Code, F_Name) values ('G1', 'x')"));
    QVERIFY(id > 0);
    QVERIFY(dm().DelRecord(QStringLiteral("t_goods"), id));
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from t_goods")), qint64(0));
}

void TestDataModule::openQuery()
{
    QSqlQuery q(dm().db());
    QVERIFY(dm().OpenQry(q, QStringLiteral("select F_Code, F_Name from OperList where F_Code = :c"),
        {{QStringLiteral("c"), QStringLiteral("000")}}));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("000"));
}

void TestDataModule::listFilling()
{
    DataModule& d = dm();
    for (const QString& n : {QStringLiteral("甲仓"), QStringLiteral("  "), QStringLiteral(" 乙仓 "), QString()})
        QVERIFY(d.ExecSql(
            QStringLiteral("insert into t_code (F_Name, F_type) values (:n, 'depot')"), {{QStringLiteral("n"), n}}));
    QVERIFY(d.ExecSql(QStringLiteral("insert into t_code (F_Name, F_type) values (NULL, 'depot')")));
    QStringList items {QStringLiteral("old")};
    QVERIFY(d.FillList(QStringLiteral("select F_Name from t_code where F_type = 'depot' order by F_ID"), items));
    // Blank and null rows are skipped; the untrimmed value is what is added.
    QCOMPARE(items, (QStringList {QStringLiteral("总仓库"), QStringLiteral("甲仓"), QStringLiteral(" 乙仓 ")}));
}

void TestDataModule::listFillingKeepsItemsOnFailure()
{
    QStringList items {QStringLiteral("old")};
    QVERIFY(!dm().FillList(QStringLiteral("select nothing from nowhere"), items));
    QCOMPARE(items, QStringList {QStringLiteral("old")});
}

void TestDataModule::boundListRestrictsDepots()
{
    DataModule& d = dm();
    for (const QString& n : {QStringLiteral("A'1"), QStringLiteral("B"), QStringLiteral("C")})
        QVERIFY(d.ExecSql(
            QStringLiteral("insert into t_code (F_Name, F_type) values (:n, 'depot')"), {{QStringLiteral("n"), n}}));
    QStringList items;
    QVERIFY(d.FillList(QStringLiteral("select F_Name from t_code where F_type = 'depot' and (F_Name in (:depots)) "
                                      "order by F_Name"),
        items, {{QStringLiteral("depots"), QStringList {QStringLiteral("A'1"), QStringLiteral("C")}}}));
    QCOMPARE(items, (QStringList {QStringLiteral("A'1"), QStringLiteral("C")}));
    // An empty list matches nothing instead of failing.
    QVERIFY(d.FillList(QStringLiteral("select F_Name from t_code where F_Name in (:depots)"), items,
        {{QStringLiteral("depots"), QStringList {}}}));
    QVERIFY(items.isEmpty());
}

void TestDataModule::transactionRollsBackOnFailure()
{
    Connection& c = m_db->connection();
    {
        Transaction tx(c);
        QVERIFY(tx.isActive());
        QVERIFY(c.exec(QStringLiteral("insert into DepotM (F_Code, F_Flag) values ('X1', 1)")));
        QVERIFY(!c.exec(QStringLiteral("insert into no_such_table values (1)")));
        // The guard goes out of scope without commit.
    }
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from DepotM")), qint64(0));
    {
        Transaction tx(c);
        QVERIFY(c.exec(QStringLiteral("insert into DepotM (F_Code, F_Flag) values ('X2', 1)")));
        QVERIFY(tx.commit());
    }
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from DepotM")), qint64(1));
}

void TestDataModule::nestedTransactionFailureFailsOuter()
{
    Connection& c = m_db->connection();
    {
        Transaction outer(c);
        QVERIFY(c.exec(QStringLiteral("insert into DepotM (F_Code, F_Flag) values ('N1', 1)")));
        {
            Transaction inner(c);
            QVERIFY(inner.isActive());
            // no commit: the inner step failed
        }
        QVERIFY(!outer.commit());
    }
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from DepotM")), qint64(0));
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
