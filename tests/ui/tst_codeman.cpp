// kelmora-test: pg
#include "app/messenger.h"
#include "masterdata/frmcodeman.h"
#include "reportpresenter.h"
#include "support/testdatabase.h"

#include <QAction>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest>

namespace {
class CodeRecordingPresenter : public ReportPresenter
{
public:
    CodeRecordingPresenter() { ReportPresenter::setInstance(this); }
    ~CodeRecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override { last = engine.prepare(); }
    void design(const ReportEngine&, const QString&) override { }
    PreparedReport last;
};
} // namespace

class TestCodeMan : public QObject
{
    Q_OBJECT
private slots:
    void opensOnFirstTab();
    void tabsSwitchKinds();
    void newEditSaveCycle();
    void cancelDiscards();
    void deleteAsksAndDeletes();
    void emptyListMessages();
    void printsTheGrid();

private:
    static QAction* act(TFrmCodeMan& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }
    static QStringList names(TFrmCodeMan& w)
    {
        QStringList out;
        for (int r = 0; r < w.grid()->rowCount(); ++r)
            out << w.grid()->item(r, 0)->text();
        return out;
    }
};

void TestCodeMan::opensOnFirstTab()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmCodeMan w;
    QCOMPARE(w.windowTitle(), QStringLiteral("选项设置"));
    QCOMPARE(w.currentKind(), QStringLiteral("empduty"));
    QCOMPARE(w.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("员工职务"));
    QCOMPARE(w.tabs()->count(), 6);
    QVERIFY(names(w).contains(QStringLiteral("经理")));
    QVERIFY(!act(w, "tbSave")->isEnabled());
    QVERIFY(act(w, "tbNew")->isEnabled());
}

void TestCodeMan::tabsSwitchKinds()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmCodeMan w;
    w.tabs()->setCurrentIndex(4);
    QCOMPARE(w.currentKind(), QStringLiteral("depot"));
    QCOMPARE(w.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("企业仓库"));
    QCOMPARE(names(w), (QStringList {QStringLiteral("总仓库"), QStringLiteral("门市仓"), QStringLiteral("原料仓")}));
    w.tabs()->setCurrentIndex(2);
    QCOMPARE(w.currentKind(), QStringLiteral("suptype"));
    if (!qEnvironmentVariableIsEmpty("KELMORA_SHOTS")) {
        w.tabs()->setCurrentIndex(3);
        w.show();
        QTest::qWait(50);
        w.grab().save(qEnvironmentVariable("KELMORA_SHOTS") + QStringLiteral("/codeman.png"));
    }
}

void TestCodeMan::newEditSaveCycle()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmCodeMan w;
    w.tabs()->setCurrentIndex(3); // units
    const int before = w.grid()->rowCount();
    w.tbNewClick();
    QVERIFY(w.editing());
    QVERIFY(!w.tabs()->isEnabled());
    w.grid()->item(before, 0)->setText(QStringLiteral("打"));
    w.grid()->item(0, 0)->setText(QStringLiteral("只"));
    w.tbSaveClick();
    QVERIFY(!w.editing());
    QCOMPARE(msg.count(), 0);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'goodunit' and "
                                                       "F_Name in ('打', '只')")),
        qint64(2));
    QCOMPARE(w.grid()->rowCount(), before + 1);
}

void TestCodeMan::cancelDiscards()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    TFrmCodeMan w;
    w.tabs()->setCurrentIndex(3);
    const QStringList before = names(w);
    w.tbEditClick();
    w.grid()->item(0, 0)->setText(QStringLiteral("改了"));
    w.tbNewClick();
    w.tbCancelClick();
    QCOMPARE(names(w), before);
    QVERIFY(w.tabs()->isEnabled());
}

void TestCodeMan::deleteAsksAndDeletes()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmCodeMan w;
    w.tabs()->setCurrentIndex(4);
    w.grid()->setCurrentCell(0, 0);
    msg.setNextAnswer(Messenger::No);
    w.tbDelClick();
    QCOMPARE(msg.lastText(), QStringLiteral("真的要删除 \" 企业仓库 \"总仓库吗？"));
    QCOMPARE(w.grid()->rowCount(), 1);
    msg.setNextAnswer(Messenger::Yes);
    w.tbDelClick();
    QCOMPARE(w.grid()->rowCount(), 0);
    QCOMPARE(
        tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'depot'")), qint64(0));
}

void TestCodeMan::emptyListMessages()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmCodeMan w; // empduty has no rows in a new database
    QCOMPARE(w.grid()->rowCount(), 0);
    w.tbEditClick();
    QCOMPARE(msg.lastText(), QStringLiteral("此表为空，没有记录需要修改！"));
    QCOMPARE(msg.lastKind(), 3);
    QVERIFY(!w.editing());
    w.tbDelClick();
    QCOMPARE(msg.lastText(), QStringLiteral("此表是空表，不需要删除！"));
    QCOMPARE(msg.lastKind(), 0);
}

void TestCodeMan::printsTheGrid()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    CodeRecordingPresenter presenter;
    TFrmCodeMan w;
    w.tabs()->setCurrentIndex(3);
    w.tbPrintClick();
    const QStringList texts = presenter.last.pageTexts(0);
    QVERIFY(texts.contains(QStringLiteral("计量单位设置")));
    QVERIFY(texts.contains(QStringLiteral("箱")));
    QVERIFY(std::any_of(
        texts.cbegin(), texts.cend(), [](const QString& t) { return t.startsWith(QStringLiteral("打印日期：")); }));
}

QTEST_MAIN(TestCodeMan)
#include "tst_codeman.moc"
