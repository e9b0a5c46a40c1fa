// kelmora-test: pg
#include "app/messenger.h"
#include "masterdata/partnerservice.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

class TestPartner : public QObject
{
    Q_OBJECT
private slots:
    void saveRules_data();
    void saveRules();
    void editKeepsCodeAndWritesFields();
    void deleteLeavesDocuments();
    void deleteQuestionNamesKind();
    void listFilter_data();
    void listFilter();
    void pickerFilter_data();
    void pickerFilter();
    void leftListValues();

private:
    static void seedPartners(TestDatabase& tdb);
    static QStringList codes(TestDatabase& tdb, const QString& sql, const SqlParams& p);
};

void TestPartner::seedPartners(TestDatabase& tdb)
{
    QVERIFY(tdb.connection().exec(QStringLiteral(
        "insert into t_client (F_Code, F_Name, F_type, F_empName, F_LinkMan, F_Address, F_Phone, F_Mem, F_UseFlag, "
        "F_operFlag) values "
        "('K01', '华联超市', '批发', '王', '张三', '杭州西湖', '0571-1', '', 0, 1), "
        "('K02', '联华便利', '零售', '李', '李四', '上海', '021-2', '老客户', NULL, 1), "
        "('K03', '停用客户', '零售', '王', '', '杭州', '0571-3', '', 1, 1), "
        "('S01', '联合食品厂', '原料', '王', '赵六', '宁波', '0574-9', '', 0, 0), "
        "('K01', '同号供应商', '原料', '李', '', '', '', '', 0, NULL)")));
}

QStringList TestPartner::codes(TestDatabase& tdb, const QString& sql, const SqlParams& p)
{
    QSqlQuery q(tdb.connection().db());
    if (!tdb.dataModule().OpenQry(q, sql, p))
        return {QStringLiteral("<error>")};
    QStringList out;
    while (q.next())
        out << q.value(QStringLiteral("F_Code")).toString() + QLatin1Char('/')
                + q.value(QStringLiteral("F_Name")).toString();
    return out;
}

void TestPartner::saveRules_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::newRow("blank code") << 1 << QStringLiteral(" ") << QStringLiteral("n") << false
                                << QStringLiteral("当前客户编号不能为空！");
    QTest::newRow("blank code supplier") << 0 << QString() << QStringLiteral("n") << false
                                         << QStringLiteral("当前客户编号不能为空！");
    QTest::newRow("duplicate client") << 1 << QStringLiteral(" K01 ") << QStringLiteral("n") << false
                                      << QStringLiteral("客户编号重复，请重新输入！");
    QTest::newRow("duplicate supplier") << 0 << QStringLiteral("S01") << QStringLiteral("n") << false
                                        << QStringLiteral("供应商编号重复，请重新输入！");
    QTest::newRow("supplier code as client") << 1 << QStringLiteral("S01") << QStringLiteral("n") << true << QString();
    QTest::newRow("blank name") << 1 << QStringLiteral("K09") << QStringLiteral("  ") << false
                                << QStringLiteral("当前客户名称不能为空！");
    QTest::newRow("code too long") << 1 << QString(51, QLatin1Char('9')) << QStringLiteral("n") << false
                                   << QStringLiteral("输入的内容太长（最多50个字符）：99999999999999999999");
    QTest::newRow("quotes kept") << 0 << QStringLiteral("S'02") << QStringLiteral("O'Brien \\ Co") << true << QString();
}

void TestPartner::saveRules()
{
    QFETCH(int, kind);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    seedPartners(tdb);
    ScriptedMessenger msg;
    PartnerRecord p;
    p.code = code;
    p.name = name;
    QCOMPARE(PartnerService::save(p, kind), ok);
    QCOMPARE(msg.lastText(), message);
    const qint64 rows = tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_client"));
    QCOMPARE(rows, qint64(ok ? 6 : 5));
    if (ok) {
        QCOMPARE(tdb.dataModule().GetSqlStr(
                     QStringLiteral("select F_Name from t_client where F_ID = :id"), {{QStringLiteral("id"), p.id}}),
            name.trimmed());
        QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_operFlag from t_client where F_ID = :id"),
                     {{QStringLiteral("id"), p.id}}),
            qint64(kind));
    }
}

void TestPartner::editKeepsCodeAndWritesFields()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    seedPartners(tdb);
    ScriptedMessenger msg;
    QSqlQuery q(tdb.connection().db());
    QVERIFY(tdb.dataModule().OpenQry(q, QStringLiteral("select * from t_client where F_Code = 'K02'")));
    QVERIFY(q.next());
    PartnerRecord p = PartnerRecord::fromRecord(q.record());
    QCOMPARE(p.name, QStringLiteral("联华便利"));
    QCOMPARE(p.mem, QStringLiteral("老客户"));
    p.code = QStringLiteral("K01"); // the code of a stored partner never changes
    p.name = QStringLiteral(" 联华超市 ");
    p.linkMan = QStringLiteral(" 王五 ");
    p.begPrice = 120.5;
    p.useFlag = true;
    QVERIFY(PartnerService::save(p, PartnerService::Client));
    QSqlQuery r(tdb.connection().db());
    QVERIFY(tdb.dataModule().OpenQry(
        r, QStringLiteral("select * from t_client where F_ID = :id"), {{QStringLiteral("id"), p.id}}));
    QVERIFY(r.next());
    const PartnerRecord back = PartnerRecord::fromRecord(r.record());
    QCOMPARE(back.code, QStringLiteral("K02"));
    QCOMPARE(back.name, QStringLiteral("联华超市"));
    QCOMPARE(back.linkMan, QStringLiteral(" 王五 "));
    QCOMPARE(back.begPrice, 120.5);
    QVERIFY(back.useFlag);
}

void TestPartner::deleteLeavesDocuments()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    seedPartners(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotM (F_Code, F_Client) values ('XSD1', '华联超市')")));
    const qint64 id = tdb.dataModule().GetSqlInt(QStringLiteral("select F_ID from t_client where F_Code = 'K01' and "
                                                                "F_operFlag = 1"));
    QVERIFY(PartnerService::remove(id));
    QCOMPARE(
        tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_client where F_Code = 'K01'")), qint64(1));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Client from DepotM")), QStringLiteral("华联超市"));
}

void TestPartner::deleteQuestionNamesKind()
{
    QCOMPARE(PartnerService::deleteQuestion(1, QStringLiteral("甲")),
        QStringLiteral("真的要删除当前客户名称为：“甲”的资料吗？"));
    QCOMPARE(PartnerService::deleteQuestion(0, QStringLiteral("乙")),
        QStringLiteral("真的要删除当前供应商名称为：“乙”的资料吗？"));
}

void TestPartner::listFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<int>("leftKind");
    QTest::addColumn<QString>("leftValue");
    QTest::addColumn<QStringList>("expected");
    const QString k1 = QStringLiteral("K01/华联超市"), k2 = QStringLiteral("K02/联华便利"),
                  k3 = QStringLiteral("K03/停用客户"), s1 = QStringLiteral("S01/联合食品厂"),
                  s2 = QStringLiteral("K01/同号供应商");
    QTest::newRow("clients") << 1 << -1 << QString() << false << 0 << QString() << QStringList {k1, k2};
    QTest::newRow("clients with disabled")
        << 1 << -1 << QString() << true << 0 << QString() << QStringList {k1, k2, k3};
    QTest::newRow("suppliers, null kind counts as 0")
        << 0 << -1 << QString() << false << 0 << QString() << QStringList {s2, s1};
    QTest::newRow("code from start") << 1 << 0 << QStringLiteral("K0") << true << 0 << QString()
                                     << QStringList {k1, k2, k3};
    QTest::newRow("name anywhere") << 1 << 1 << QStringLiteral("联") << false << 0 << QString() << QStringList {k1, k2};
    QTest::newRow("linkman") << 1 << 2 << QStringLiteral("李") << false << 0 << QString() << QStringList {k2};
    QTest::newRow("address") << 1 << 3 << QStringLiteral("杭州") << true << 0 << QString() << QStringList {k1, k3};
    QTest::newRow("remarks") << 1 << 4 << QStringLiteral("老") << false << 0 << QString() << QStringList {k2};
    QTest::newRow("salesman exact") << 1 << -1 << QString() << true << 0 << QStringLiteral("王")
                                    << QStringList {k1, k3};
    QTest::newRow("type exact") << 1 << -1 << QString() << true << 1 << QStringLiteral("零售") << QStringList {k2, k3};
}

void TestPartner::listFilter()
{
    QFETCH(int, kind);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(bool, disabled);
    QFETCH(int, leftKind);
    QFETCH(QString, leftValue);
    QFETCH(QStringList, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    seedPartners(tdb);
    SqlParams p;
    const QString sql = PartnerService::listSql(kind, item, text, disabled, {leftKind, leftValue}, p);
    QCOMPARE(codes(tdb, sql, p), expected);
}

void TestPartner::pickerFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("salesman");
    QTest::addColumn<QStringList>("expected");
    const QString k1 = QStringLiteral("K01/华联超市"), k2 = QStringLiteral("K02/联华便利"),
                  s1 = QStringLiteral("S01/联合食品厂"), s2 = QStringLiteral("K01/同号供应商");
    QTest::newRow("clients, never disabled")
        << 1 << QString() << QString() << QString() << QString() << QStringList {k1, k2};
    QTest::newRow("suppliers") << 0 << QString() << QString() << QString() << QString() << QStringList {s2, s1};
    QTest::newRow("code inside") << 1 << QStringLiteral("02") << QString() << QString() << QString()
                                 << QStringList {k2};
    QTest::newRow("name and phone") << 1 << QString() << QStringLiteral("联") << QStringLiteral("0571") << QString()
                                    << QStringList {k1};
    QTest::newRow("blank boxes ignored") << 1 << QStringLiteral("  ") << QStringLiteral(" ") << QString() << QString()
                                         << QStringList {k1, k2};
    QTest::newRow("salesman") << 0 << QString() << QString() << QString() << QStringLiteral("王") << QStringList {s1};
    QTest::newRow("wildcard typed is literal")
        << 1 << QStringLiteral("_") << QString() << QString() << QString() << QStringList();
}

void TestPartner::pickerFilter()
{
    QFETCH(int, kind);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, salesman);
    QFETCH(QStringList, expected);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    seedPartners(tdb);
    SqlParams p;
    const QString sql = PartnerService::pickerSql(kind, code, name, phone, {PartnerLeftFilter::Salesman, salesman}, p);
    QCOMPARE(codes(tdb, sql, p), expected);
}

void TestPartner::leftListValues()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    const QStringList clientTypes = PartnerService::leftValues(1, PartnerLeftFilter::Type);
    QVERIFY(clientTypes.contains(QStringLiteral("批发客户")));
    QVERIFY(!clientTypes.contains(QStringLiteral("原料供应商")));
    QVERIFY(PartnerService::leftValues(0, PartnerLeftFilter::Type).contains(QStringLiteral("原料供应商")));
    const QStringList salesmen = PartnerService::leftValues(1, PartnerLeftFilter::Salesman);
    QVERIFY(!salesmen.isEmpty());
    QCOMPARE(salesmen.size(), QSet<QString>(salesmen.begin(), salesmen.end()).size());
}

QTEST_GUILESS_MAIN(TestPartner)
#include "tst_partner.moc"
