// kelmora-test: pg
#include "app/actions.h"
#include "app/messenger.h"
#include "data/schema.h"
#include "support/testdatabase.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void everyColumnExists();
    void firstRows();
    void limitsCoverEveryAction();
    void workingTablesArePerConnection();
    void documentCodeIsUnique();
    void schemaVersionStored();
    void olderDatabaseMigratedOnConnect();
    void databaseWithoutSchemaRefused();
};

void TestSchema::everyColumnExists()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    for (const Schema::Table& t : Schema::tables()) {
        if (t.temporary)
            continue;
        const QSqlRecord rec = tdb.connection().db().record(tdb.isPostgres() ? t.name.toLower() : t.name);
        QVERIFY2(!rec.isEmpty(), qPrintable(t.name));
        QCOMPARE(rec.count(), int(t.columns.size()));
        for (int i = 0; i < t.columns.size(); ++i) {
            const Schema::Column& c = t.columns[i];
            // Columns in the described order, names matching without regard to case.
            QVERIFY2(rec.fieldName(i).compare(c.name, Qt::CaseInsensitive) == 0,
                qPrintable(t.name + QLatin1Char('.') + c.name + QStringLiteral(" vs ") + rec.fieldName(i)));
        }
    }
    // A few types that matter to the figures: money keeps four decimals, floats stay floats.
    QVERIFY(tdb.connection().exec(
        QStringLiteral("insert into DepotM (F_Code, F_TotalPrice, F_amount) values ('T', 1234.56789, 0.125)")));
    QSqlQuery q(tdb.connection().db());
    QVERIFY(q.exec(QStringLiteral("select F_TotalPrice, F_amount from DepotM")));
    QVERIFY(q.next());
    QVERIFY(qAbs(q.value(0).toDouble() - 1234.5679) < 1e-4);
    QCOMPARE(q.value(1).toDouble(), 0.125);
}

void TestSchema::firstRows()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from SysInfo")), qint64(1));
    QSqlQuery q(d.db());
    QVERIFY(d.OpenQry(q, QStringLiteral("select F_iAmount, F_iPrice, F_iTotal, F_iMode, F_BakPath from SysInfo")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);
    QCOMPARE(q.value(1).toInt(), 2);
    QCOMPARE(q.value(2).toInt(), 2);
    QCOMPARE(q.value(3).toInt(), 1);
    QVERIFY(!q.value(4).toString().isEmpty());
    QCOMPARE(d.GetSqlStr(QStringLiteral("select F_PassWord from OperList where F_Code = '000'")), QString());
    QCOMPARE(
        d.GetSqlInt(QStringLiteral("select count(*) from OperList where F_Code = '000' and F_new = 1 and F_edit = 1 "
                                   "and F_del = 1 and F_check = 1 and F_set = 1 and F_YGedit = 1 and F_HPedit = 1 "
                                   "and F_KHedit = 1 and F_price = 1 and F_ckFlag = 0")),
        qint64(1));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from KeyValue")), qint64(11));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select min(F_ID) from KeyValue")), qint64(1));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select max(F_ID) from KeyValue")), qint64(11));
    for (const QString& t : {QStringLiteral("t_client"), QStringLiteral("t_goods"), QStringLiteral("depotD")})
        QVERIFY2(d.GetSqlInt(QStringLiteral("select count(*) from cfg_import where F_tablename = :t and F_iFlag = 1"),
                     {{QStringLiteral("t"), t}})
                > 3,
            qPrintable(t));
    QVERIFY(d.GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'depot'")) >= 1);
    QVERIFY(d.GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'goodunit'")) >= 1);
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_goods")), qint64(0));
}

void TestSchema::limitsCoverEveryAction()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QList<int> expected;
    const QList<QPair<int, int>> ranges
        = {{101, 112}, {201, 206}, {301, 306}, {401, 405}, {501, 505}, {601, 616}, {701, 711}};
    for (const auto& r : ranges)
        for (int c = r.first; c <= r.second; ++c)
            expected << c;
    QSqlQuery q(tdb.connection().db());
    QVERIFY(q.exec(QStringLiteral("select F_Code, F_Name, F_Flag from Limits order by F_Code")));
    QList<int> got;
    QSet<QString> names;
    while (q.next()) {
        got << q.value(0).toString().toInt();
        QCOMPARE(q.value(2).toInt(), 1);
        const ActionInfo* a = Actions::find(got.last());
        QVERIFY(a);
        QCOMPARE(q.value(1).toString(), a->caption);
        names.insert(q.value(1).toString());
    }
    QCOMPARE(got, expected);
    QCOMPARE(names.size(), expected.size()); // names map back to codes, so they are unique
}

void TestSchema::workingTablesArePerConnection()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    auto other = tdb.openAnother();
    QVERIFY(other);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into tempGood (F_code, F_dept, F_amount, F_flag) "
                                                 "values ('G', 'D', 1, 0)")));
    QSqlQuery q(other->db());
    QVERIFY(q.exec(QStringLiteral("select count(*) from tempGood")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    for (const QString& t : {QStringLiteral("tempDepot"), QStringLiteral("tempBill"), QStringLiteral("tempSaleLiRun"),
             QStringLiteral("tempGood"), QStringLiteral("tempCode")})
        QVERIFY2(other->exec(QStringLiteral("delete from ") + t), qPrintable(t));
}

void TestSchema::documentCodeIsUnique()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotM (F_Code, F_Flag) values ('CGD20240101001', 1)")));
    QVERIFY(!tdb.connection().exec(QStringLiteral("insert into DepotM (F_Code, F_Flag) values ('CGD20240101001', 1)")));
}

void TestSchema::schemaVersionStored()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QCOMPARE(Schema::storedVersion(tdb.connection()), Schema::currentVersion());
    QString err;
    QVERIFY(Schema::migrate(tdb.connection(), &err));
}

void TestSchema::olderDatabaseMigratedOnConnect()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const qint64 rows = tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from cfg_grid"));
    QVERIFY(rows > 0);
    QVERIFY(tdb.connection().exec(QStringLiteral("delete from cfg_grid")));
    QVERIFY(tdb.connection().exec(QStringLiteral("update kelmora_schema set F_Version = 1")));
    DataModule again;
    QVERIFY2(again.connect(tdb.settings()), qPrintable(again.errorString()));
    QCOMPARE(Schema::storedVersion(again.connection()), Schema::currentVersion());
    QSqlQuery q(again.db());
    QVERIFY(q.exec(QStringLiteral("select count(*) from cfg_grid")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toLongLong(), rows);
    for (const QString& key : {QStringLiteral("goodgl"), QStringLiteral("dlggoodxz")}) {
        QSqlQuery k(again.db());
        QVERIFY(k.prepare(QStringLiteral("select count(*) from cfg_grid where F_name = :k")));
        k.bindValue(QStringLiteral(":k"), key);
        QVERIFY(k.exec() && k.next());
        QVERIFY2(k.value(0).toInt() > 0, qPrintable(key));
    }
}

void TestSchema::databaseWithoutSchemaRefused()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("drop table kelmora_schema")));
    ScriptedMessenger msg;
    DataModule other;
    QVERIFY(!other.connect(tdb.settings()));
    QVERIFY(!other.errorString().isEmpty());
    QVERIFY(!other.connected());
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
