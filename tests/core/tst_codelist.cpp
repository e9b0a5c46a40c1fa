// kelmora-test: pg
#include "app/messenger.h"
#include "data/schema.h"
#include "masterdata/codelistservice.h"
#include "masterdata/mastergridseed.h"
#include "support/testdatabase.h"

#include <QtTest>

class TestCodeList : public QObject
{
    Q_OBJECT
private slots:
    void tabsGiveKinds();
    void saveListInsertsUpdatesDeletes();
    void saveFailureWritesNothing();
    void emptyAndDuplicateNamesStored();
    void addAndContains();
    void deleteQuestionText();
    void gridRowsForNewDatabase();
    void migrationAddsGridRowsOnce();
};

void TestCodeList::tabsGiveKinds()
{
    const QList<CodeListKind>& k = CodeListService::kinds();
    QCOMPARE(k.size(), 6);
    for (const CodeListKind& t : k)
        QCOMPARE(CodeListService::kindOfTab(t.tabName), t.kind);
    QCOMPARE(k.first().caption, QStringLiteral(" 员工职务 "));
    QCOMPARE(k.at(2).caption, QStringLiteral("供应商类型"));
}

void TestCodeList::saveListInsertsUpdatesDeletes()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QList<CodeEntry> original;
    QVERIFY(CodeListService::load(QStringLiteral("goodunit"), original));
    QVERIFY(original.size() >= 3);
    QList<CodeEntry> edited = original;
    edited[0].name = QStringLiteral("只");
    edited.removeAt(1);
    edited << CodeEntry {0, QStringLiteral("打"), QString()};
    QString why;
    QVERIFY2(CodeListService::saveList(QStringLiteral("goodunit"), edited, original, &why), qPrintable(why));
    QVERIFY(edited.last().id > 0);
    QList<CodeEntry> back;
    QVERIFY(CodeListService::load(QStringLiteral("goodunit"), back));
    QCOMPARE(back.size(), original.size());
    QCOMPARE(back.first().name, QStringLiteral("只"));
    QCOMPARE(back.last().name, QStringLiteral("打"));
    QCOMPARE(back.last().type, QStringLiteral("goodunit"));
    for (const CodeEntry& e : back)
        QVERIFY(e.id != original.at(1).id);
    // Other kinds are untouched.
    QCOMPARE(CodeListService::names(QStringLiteral("depot")), QStringList {QStringLiteral("总仓库")});
}

void TestCodeList::saveFailureWritesNothing()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QList<CodeEntry> original;
    QVERIFY(CodeListService::load(QStringLiteral("goodunit"), original));
    QList<CodeEntry> edited = original;
    edited[0].name = QStringLiteral("改");
    edited << CodeEntry {0, QStringLiteral("新"), QString()};
    QVERIFY(tdb.connection().exec(QStringLiteral("drop table t_code")));
    QVERIFY(tdb.connection().exec(QStringLiteral("create table t_code (F_ID INTEGER, F_Name VARCHAR(20), F_type "
                                                 "VARCHAR(20), CHECK (F_Name <> '新'))")));
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_code values (:id, '个', 'goodunit')"),
        {{QStringLiteral("id"), original.at(0).id}}));
    QString why;
    QVERIFY(!CodeListService::saveList(QStringLiteral("goodunit"), edited, {original.at(0)}, &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Name from t_code")), QStringLiteral("个"));
}

void TestCodeList::emptyAndDuplicateNamesStored()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QList<CodeEntry> edited
        = {{0, QString(), QString()}, {0, QStringLiteral("经理"), QString()}, {0, QStringLiteral("经理"), QString()}};
    QVERIFY(CodeListService::saveList(QStringLiteral("empduty"), edited, {}, nullptr));
    QCOMPARE(
        tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'empduty'")), qint64(3));
    // Drop-down lists skip the empty entry.
    QCOMPARE(CodeListService::names(QStringLiteral("empduty")),
        (QStringList {QStringLiteral("经理"), QStringLiteral("经理")}));
}

void TestCodeList::addAndContains()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    QVERIFY(!CodeListService::contains(QStringLiteral("goodunit"), QStringLiteral("桶'")));
    QVERIFY(CodeListService::add(QStringLiteral("goodunit"), QStringLiteral("桶'")));
    QVERIFY(CodeListService::contains(QStringLiteral("goodunit"), QStringLiteral("桶'")));
    QVERIFY(!CodeListService::contains(QStringLiteral("depot"), QStringLiteral("桶'")));
    QVERIFY(CodeListService::add(CodeListService::symbolKind(), QStringLiteral("Φ")));
    QCOMPARE(CodeListService::names(QStringLiteral("abSheet1")), QStringList {QStringLiteral("Φ")});
    QCOMPARE(msg.count(), 0);
}

void TestCodeList::deleteQuestionText()
{
    QCOMPARE(CodeListService::deleteQuestion(QStringLiteral(" 计量单位 "), QStringLiteral("箱")),
        QStringLiteral("真的要删除 \" 计量单位 \"箱吗？"));
}

void TestCodeList::gridRowsForNewDatabase()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    for (const QString& key : MasterGridSeed::keys())
        QCOMPARE(tdb.dataModule().GetSqlInt(
                     QStringLiteral("select count(*) from cfg_grid where F_name = :k"), {{QStringLiteral("k"), key}}),
            qint64(MasterGridSeed::columns(key).size()));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_FooterValue from cfg_grid where F_name = 'cltman' and "
                                                       "F_Order = 0")),
        QStringLiteral("合  计"));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_FooterType from cfg_grid where F_name = 'goodgl' and "
                                                       "F_fieldname = 'F_BegAmount'")),
        qint64(2));
}

void TestCodeList::migrationAddsGridRowsOnce()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("delete from cfg_grid where F_name in ('goodgl', 'supman')")));
    QVERIFY(c.exec(QStringLiteral("update kelmora_schema set F_Version = 1")));
    QString why;
    QVERIFY2(Schema::migrate(c, &why), qPrintable(why));
    QCOMPARE(Schema::storedVersion(c), Schema::currentVersion());
    for (const QString& key : MasterGridSeed::keys())
        QCOMPARE(tdb.dataModule().GetSqlInt(
                     QStringLiteral("select count(*) from cfg_grid where F_name = :k"), {{QStringLiteral("k"), key}}),
            qint64(MasterGridSeed::columns(key).size()));
}

QTEST_GUILESS_MAIN(TestCodeList)
#include "tst_codelist.moc"
