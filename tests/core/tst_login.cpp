// kelmora-test: pg
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/password.h"
#include "app/session.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

namespace {
// An operator row; rights given as "new,edit,..." letters are not worth it: all or none.
void addOperator(const QString& code, const QString& name, const QString& password, const QString& part, int flag = 0,
    bool rights = true, int ckFlag = 0, const QString& depots = QString())
{
    const int r = rights ? 1 : 0;
    QVERIFY(dm().ExecSql(
        QStringLiteral("insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Mem, F_Flag, F_new, F_edit, "
                       "F_del, F_check, F_set, F_YGedit, F_HPedit, F_KHedit, F_price, F_ckFlag, F_depot) values "
                       "(:c, :n, :p, :part, '', :flag, :r, :r, :r, :r, :r, :r, :r, :r, :r, :ck, :dep)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("p"), SavePass(password)},
            {QStringLiteral("part"), part}, {QStringLiteral("flag"), flag}, {QStringLiteral("r"), r},
            {QStringLiteral("ck"), ckFlag}, {QStringLiteral("dep"), depots}}));
}
} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void check_data();
    void check();
    void adminSessionHasEveryRight();
    void operatorSessionFromRow();
    void missingRowKeepsPreviousRights();
    void companyTitle_data();
    void companyTitle();
    void userFieldCaptions();
    void rolesRights();
    void depotClausesAreBoundLists_data();
    void depotClausesAreBoundLists();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestLogin::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    addOperator(QStringLiteral("101"), QStringLiteral("张三"), QStringLiteral("Abc1"), QStringLiteral("R1"));
    addOperator(QStringLiteral("102"), QStringLiteral("李四"), QStringLiteral("pw"), QStringLiteral("R1"), 1);
    addOperator(QStringLiteral("103"), QStringLiteral("王五"), QString(), QStringLiteral("R1"));
    Session::current() = Session();
}

void TestLogin::cleanup()
{
    m_db.reset();
    Session::current() = Session();
}

void TestLogin::check_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty code") << ""
                                << "x" << int(LoginService::EmptyCode);
    QTest::newRow("blank code") << "   "
                                << "" << int(LoginService::EmptyCode);
    QTest::newRow("unknown code") << "999"
                                  << "" << int(LoginService::UnknownCode);
    QTest::newRow("admin, empty password") << "000"
                                           << "" << int(LoginService::Ok);
    QTest::newRow("admin, blanks only") << "000"
                                        << "   " << int(LoginService::Ok);
    QTest::newRow("admin, some password") << "000"
                                          << "x" << int(LoginService::WrongPassword);
    QTest::newRow("right password") << "101"
                                    << "Abc1" << int(LoginService::Ok);
    QTest::newRow("password trimmed") << "101"
                                      << "  Abc1 " << int(LoginService::Ok);
    QTest::newRow("code trimmed") << " 101 "
                                  << "Abc1" << int(LoginService::Ok);
    QTest::newRow("letter case counts") << "101"
                                        << "abc1" << int(LoginService::WrongPassword);
    QTest::newRow("wrong password") << "101"
                                    << "Abc" << int(LoginService::WrongPassword);
    QTest::newRow("empty password, one stored") << "101"
                                                << "" << int(LoginService::WrongPassword);
    QTest::newRow("operator with empty password") << "103"
                                                  << "" << int(LoginService::Ok);
    QTest::newRow("disabled, right password") << "102"
                                              << "pw" << int(LoginService::Disabled);
    // A wrong password says nothing about the disabled mark.
    QTest::newRow("disabled, wrong password") << "102"
                                              << "nope" << int(LoginService::WrongPassword);
}

void TestLogin::check()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(int, expected);
    ScriptedMessenger messenger;
    QCOMPARE(int(LoginService::check(code, password)), expected);
    QCOMPARE(messenger.count(), 0);
}

void TestLogin::adminSessionHasEveryRight()
{
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), s));
    QCOMPARE(s.operCode, QStringLiteral("000"));
    QCOMPARE(s.operName, QStringLiteral("系统管理员"));
    QCOMPARE(s.partCode, QStringLiteral("000"));
    QVERIFY(s.rNew && s.rEdit && s.rDel && s.rCheck && s.rSet && s.rYGedit && s.rHPedit && s.rKHedit && s.rPrice);
    QCOMPARE(s.ckFlag, 0);
    QVERIFY(s.documentDepotClause().isEmpty());
    QVERIFY(s.depotParams().isEmpty());
    QCOMPARE(s.templateSuffix(), QString());
    // Whatever the PartLimit table says.
    QVERIFY(dm().ExecSql(QStringLiteral("delete from PartLimit")));
    QVERIFY(LoginService::sessionHasRight(s, 703));
}

void TestLogin::operatorSessionFromRow()
{
    addOperator(QStringLiteral("201"), QStringLiteral("赵六"), QStringLiteral("p"), QStringLiteral("R2"), 0, false, 1,
        QStringLiteral("'主仓库','O''Neil'"));
    QVERIFY(dm().ExecSql(QStringLiteral("update OperList set F_edit = 1 where F_Code = '201'")));
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral(" 201 "), s));
    QCOMPARE(s.operCode, QStringLiteral("201"));
    QCOMPARE(s.operName, QStringLiteral("赵六"));
    QCOMPARE(s.partCode, QStringLiteral("R2"));
    QVERIFY(!s.rNew);
    QVERIFY(s.rEdit);
    QVERIFY(!s.rPrice);
    QCOMPARE(s.templateSuffix(), QStringLiteral("1"));
    QCOMPARE(s.ckFlag, 1);
    QCOMPARE(s.permittedDepots, QStringList({QStringLiteral("主仓库"), QStringLiteral("O'Neil")}));
    QVERIFY(!s.isAdmin());
}

void TestLogin::missingRowKeepsPreviousRights()
{
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), s));
    // The operator vanished between the check and the load: the rights stay.
    QVERIFY(!LoginService::loadSession(QStringLiteral("404"), s));
    QVERIFY(s.rNew && s.rPrice);
    QCOMPARE(s.operCode, QStringLiteral("404"));
    QVERIFY(s.operName.isEmpty());
}

void TestLogin::companyTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("title");
    QTest::newRow("with telephone") << "杭州商贸"
                                    << "0571-1234"
                                    << "杭州商贸(0571-1234)";
    QTest::newRow("without telephone") << "杭州商贸"
                                       << ""
                                       << "杭州商贸";
}

void TestLogin::companyTitle()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, title);
    QVERIFY(dm().ExecSql(QStringLiteral("update SysInfo set F_Code = :c, F_Phone = :p"),
        {{QStringLiteral("c"), name}, {QStringLiteral("p"), phone}}));
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral("101"), s));
    QCOMPARE(s.companyTitle, title);
}

void TestLogin::userFieldCaptions()
{
    QVERIFY(dm().ExecSql(QStringLiteral("update KeyValue set F_Value = :v, F_Flag = 1 where F_ID = 2"),
        {{QStringLiteral("v"), QStringLiteral("产地")}}));
    QVERIFY(dm().ExecSql(QStringLiteral("update KeyValue set F_Value = :v, F_Flag = 1 where F_ID = 11"),
        {{QStringLiteral("v"), QStringLiteral("保质期")}}));
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral("101"), s));
    QCOMPARE(s.zfCaptions[1], QStringLiteral("产地"));
    QVERIFY(s.zfShown[1]);
    QVERIFY(!s.zfShown[0]);
    QCOMPARE(s.zfCaptions[10], QStringLiteral("保质期"));
    QVERIFY(s.zfShown[10]);
}

void TestLogin::rolesRights()
{
    for (const char* code : {"203", "301", "710"})
        QVERIFY(dm().ExecSql(QStringLiteral("insert into PartLimit (F_PartCode, F_LmtCode) values ('R1', :c)"),
            {{QStringLiteral("c"), QString::fromLatin1(code)}}));
    QVERIFY(LoginService::hasRight(QStringLiteral("R1"), 203));
    QVERIFY(!LoginService::hasRight(QStringLiteral("R1"), 204));
    QVERIFY(!LoginService::hasRight(QStringLiteral("R9"), 203));
    bool ok = false;
    QCOMPARE(LoginService::grantedActions(QStringLiteral("R1"), &ok), QSet<int>({203, 301, 710}));
    QVERIFY(ok);
    QVERIFY(LoginService::grantedActions(QStringLiteral("R9"), &ok).isEmpty());
    QVERIFY(ok);
    // A role code that would break a pasted statement is only a value.
    QVERIFY(LoginService::grantedActions(QStringLiteral("R1' or '1'='1"), &ok).isEmpty());
    QVERIFY(ok);
}

void TestLogin::depotClausesAreBoundLists_data()
{
    QTest::addColumn<int>("ckFlag");
    QTest::addColumn<QString>("depots");
    QTest::addColumn<QStringList>("seen");
    const QStringList all = {QString(), QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("O'Neil")};
    QTest::newRow("not restricted") << 0 << "'A'" << all;
    QTest::newRow("restricted to A") << 1 << "'A'" << QStringList({QString(), QStringLiteral("A")});
    QTest::newRow("quote in a name") << 1 << "'A','O''Neil'"
                                     << QStringList({QString(), QStringLiteral("A"), QStringLiteral("O'Neil")});
    // An empty permitted list would have made "in ()" fail; it matches no depot instead.
    QTest::newRow("restricted, empty list") << 1 << "" << QStringList({QString()});
}

void TestLogin::depotClausesAreBoundLists()
{
    QFETCH(int, ckFlag);
    QFETCH(QString, depots);
    QFETCH(QStringList, seen);
    int n = 0;
    for (const QString& depot : {QString(), QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("O'Neil")})
        QVERIFY(dm().ExecSql(
            QStringLiteral("insert into DepotM (F_Code, F_Depot, F_Flag, F_OperFlag) values (:c, :d, 1, 1)"),
            {{QStringLiteral("c"), QStringLiteral("CGD%1").arg(++n)}, {QStringLiteral("d"), depot}}));
    addOperator(
        QStringLiteral("301"), QStringLiteral("仓管"), QString(), QStringLiteral("R1"), 0, true, ckFlag, depots);
    Session s;
    QVERIFY(LoginService::loadSession(QStringLiteral("301"), s));
    ScriptedMessenger messenger;
    QSqlQuery q(dm().db());
    QVERIFY(dm().OpenQry(q,
        QStringLiteral("select COALESCE(F_Depot, '') from DepotM where (1=1) ") + s.documentDepotClause()
            + QStringLiteral("order by F_Code"),
        s.depotParams()));
    QStringList got;
    while (q.next())
        got << q.value(0).toString();
    got.sort();
    QStringList want = seen;
    want.sort();
    QCOMPARE(got, want);
    QCOMPARE(messenger.count(), 0);
    QSqlQuery m(dm().db());
    QVERIFY(dm().OpenQry(
        m, QStringLiteral("select count(*) from DepotM m where (1=1) ") + s.headerDepotClause(), s.depotParams()));
    QVERIFY(m.next());
    QCOMPARE(m.value(0).toInt(), int(seen.size()));
}

QTEST_GUILESS_MAIN(TestLogin)
#include "tst_login.moc"
