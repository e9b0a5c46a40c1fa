// kelmora-test: pg
#include "app/frmmain.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "data/datagrid.h"
#include "masterdata/dlgcltxz.h"
#include "masterdata/frmcltedit.h"
#include "masterdata/frmcltman.h"
#include "printservices.h"
#include "reportpresenter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {
class PartnerRecordingPresenter : public ReportPresenter
{
public:
    PartnerRecordingPresenter() { ReportPresenter::setInstance(this); }
    ~PartnerRecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override { last = engine.prepare(); }
    void design(const ReportEngine&, const QString& fileName) override { designFile = fileName; }
    PreparedReport last;
    QString designFile;
};
} // namespace

class TestCltMan : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void clientAndSupplierModes();
    void leftListFiltersExactly();
    void searchBoxAndDisabled();
    void addClientsAndSuppliers();
    void editKeepsCode();
    void deleteAsks();
    void pickerFiltersAndModes_data();
    void pickerFiltersAndModes();
    void pickerReturnsNameOrGivenText();
    void pickerAddsPartner();
    void mainWindowActionsSwitchOneWindow();
    void printPerKind();

private:
    static void shot(QWidget& w, const char* name)
    {
        if (!qEnvironmentVariableIsEmpty("KELMORA_SHOTS")) {
            w.show();
            QTest::qWait(50);
            w.grab().save(qEnvironmentVariable("KELMORA_SHOTS") + QLatin1Char('/') + QString::fromLatin1(name));
        }
    }
};

void TestCltMan::init()
{
    Session::current() = Session();
    Session::current().operCode = QStringLiteral("000");
    Session::current().rKHedit = true;
}

void TestCltMan::clientAndSupplierModes()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TfrmCltMan w;
    w.setKind(1);
    QCOMPARE(w.windowTitle(), QStringLiteral("客户资料管理"));
    const int clients = w.rowCount();
    QVERIFY(clients > 0);
    for (int r = 0; r < clients; ++r)
        QCOMPARE(w.recordAt(r).value(QStringLiteral("F_operFlag")).toInt(), 1);
    QCOMPARE(w.countText(), QStringLiteral("记录数：%1").arg(clients));
    QCOMPARE(w.grid()->column(0).caption, QStringLiteral("编号"));
    shot(w, "cltman.png");
    w.setKind(0);
    QCOMPARE(w.windowTitle(), QStringLiteral("供应商资料管理"));
    QVERIFY(w.rowCount() > 0);
    for (int r = 0; r < w.rowCount(); ++r)
        QCOMPARE(w.recordAt(r).value(QStringLiteral("F_operFlag")).toInt(), 0);
}

void TestCltMan::leftListFiltersExactly()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("insert into t_employee (F_Code, F_Name, F_Flag) values ('01', '王', 0), ('02', "
                                  "'王小', 0)")));
    QVERIFY(
        c.exec(QStringLiteral("insert into t_code (F_Name, F_type) values ('批发', 'clttype'), ('零售', 'clttype')")));
    QVERIFY(
        c.exec(QStringLiteral("insert into t_client (F_Code, F_Name, F_empName, F_type, F_operFlag) values "
                              "('K1', 'A', '王', '批发', 1), ('K2', 'B', '王小', '零售', 1), ('K3', 'C', '', '', 1)")));
    TfrmCltMan w;
    w.setKind(1);
    QCOMPARE(w.leftList()->item(0, 1)->text(), QStringLiteral("全部"));
    QCOMPARE(w.leftList()->rowCount(), 3);
    QCOMPARE(w.rowCount(), 3);
    w.leftList()->setCurrentCell(1, 1); // 王
    QCOMPARE(w.rowCount(), 1);
    QCOMPARE(w.recordAt(0).value(QStringLiteral("F_Code")).toString(), QStringLiteral("K1"));
    w.leftList()->setCurrentCell(0, 1);
    QCOMPARE(w.rowCount(), 3);
    w.leftKind()->setCurrentIndex(1);
    QCOMPARE(w.leftList()->horizontalHeaderItem(1)->text(), QStringLiteral("类  型"));
    w.leftList()->setCurrentCell(2, 1); // 零售
    QCOMPARE(w.rowCount(), 1);
    QCOMPARE(w.recordAt(0).value(QStringLiteral("F_Code")).toString(), QStringLiteral("K2"));
    // Switching to suppliers keeps the left list's rows.
    w.setKind(0);
    QCOMPARE(w.leftList()->rowCount(), 3);
}

void TestCltMan::searchBoxAndDisabled()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral(
        "insert into t_client (F_Code, F_Name, F_LinkMan, F_UseFlag, F_operFlag) values ('K1', '华联', '张', 0, 1), "
        "('K2', '联华', '李', 1, 1)")));
    TfrmCltMan w;
    w.setKind(1);
    QCOMPARE(w.rowCount(), 1);
    w.includeDisabled()->setChecked(true);
    QCOMPARE(w.rowCount(), 2);
    QCOMPARE(w.grid()->model()->data(w.grid()->model()->index(1, 0), Qt::ForegroundRole).value<QBrush>().color(),
        QColor(Qt::red));
    QVERIFY(!w.grid()->model()->data(w.grid()->model()->index(0, 0), Qt::ForegroundRole).isValid());
    w.searchType()->setCurrentIndex(2);
    w.searchText()->setText(QStringLiteral("李"));
    w.search();
    QCOMPARE(w.rowCount(), 1);
    w.searchType()->setCurrentIndex(0);
    QVERIFY(w.searchText()->text().isEmpty());
}

void TestCltMan::addClientsAndSuppliers()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TfrmCltMan w;
    w.setKind(1);
    TfrmCltEdit e(1, TfrmCltEdit::NewFromList, &w);
    QCOMPARE(e.windowTitle(), QStringLiteral("客户资料 - 新增"));
    e.codeBox()->setText(QStringLiteral("K001"));
    e.nameBox()->setText(QStringLiteral("华联超市"));
    QVERIFY(e.btnOKClick());
    QVERIFY(e.isVisible() || e.result() != QDialog::Accepted); // continuing: still in new mode
    QVERIFY(e.codeBox()->text().isEmpty());
    e.codeBox()->setText(QStringLiteral("K001"));
    e.nameBox()->setText(QStringLiteral("重复"));
    QVERIFY(!e.btnOKClick());
    QCOMPARE(msg.lastText(), QStringLiteral("客户编号重复，请重新输入！"));
    QCOMPARE(w.rowCount(), 1);
    QCOMPARE(w.recordAt(w.currentRow()).value(QStringLiteral("F_Code")).toString(), QStringLiteral("K001"));

    // The same code as a supplier is fine.
    w.setKind(0);
    TfrmCltEdit s(0, TfrmCltEdit::NewFromList, &w);
    QCOMPARE(s.windowTitle(), QStringLiteral("供应商资料 - 新增"));
    s.codeBox()->setText(QStringLiteral("K001"));
    s.nameBox()->setText(QStringLiteral("联合食品厂"));
    QVERIFY(s.btnOKClick());
    QCOMPARE(w.rowCount(), 1);
    QCOMPARE(
        tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_client where F_Code = 'K001'")), qint64(2));
    Session::current().operCode = QStringLiteral("005");
    Session::current().rKHedit = false;
    TfrmCltEdit noRight(0, TfrmCltEdit::NewFromList, &w);
    QVERIFY(!noRight.okButton()->isEnabled());
}

void TestCltMan::editKeepsCode()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TfrmCltMan w;
    w.setKind(1);
    w.setCurrentRow(1);
    const QString code = w.recordAt(1).value(QStringLiteral("F_Code")).toString();
    TfrmCltEdit e(1, TfrmCltEdit::Edit, &w);
    QCOMPARE(e.windowTitle(), QStringLiteral("客户资料 - 修改"));
    QVERIFY(e.codeBox()->isReadOnly());
    QCOMPARE(e.codeBox()->text(), code);
    e.nameBox()->setText(QStringLiteral("改名超市"));
    QVERIFY(e.btnOKClick());
    QCOMPARE(
        tdb.dataModule().GetSqlStr(QStringLiteral("select F_Name from t_client where F_Code = :c and F_operFlag = 1"),
            {{QStringLiteral("c"), code}}),
        QStringLiteral("改名超市"));
    QCOMPARE(w.recordAt(w.currentRow()).value(QStringLiteral("F_Code")).toString(), code);
}

void TestCltMan::deleteAsks()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TfrmCltMan w;
    w.setKind(0);
    const int before = w.rowCount();
    w.setCurrentRow(0);
    const QString name = w.recordAt(0).value(QStringLiteral("F_Name")).toString();
    msg.setNextAnswer(Messenger::No);
    w.tbDelClick();
    QCOMPARE(msg.lastText(), QStringLiteral("真的要删除当前供应商名称为：“%1”的资料吗？").arg(name));
    QCOMPARE(w.rowCount(), before);
    msg.setNextAnswer(Messenger::Yes);
    w.tbDelClick();
    QCOMPARE(w.rowCount(), before - 1);
}

void TestCltMan::pickerFiltersAndModes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("clients") << 1 << QString() << QString()
                             << QStringList {QStringLiteral("华联"), QStringLiteral("联华")};
    QTest::newRow("suppliers") << 0 << QString() << QString() << QStringList {QStringLiteral("食品厂")};
    QTest::newRow("name") << 1 << QStringLiteral("edtName") << QStringLiteral("华联")
                          << QStringList {QStringLiteral("华联")};
    QTest::newRow("code inside") << 1 << QStringLiteral("edtCode") << QStringLiteral("2")
                                 << QStringList {QStringLiteral("联华")};
    QTest::newRow("phone") << 1 << QStringLiteral("edtPhone") << QStringLiteral("0571")
                           << QStringList {QStringLiteral("华联")};
}

void TestCltMan::pickerFiltersAndModes()
{
    QFETCH(int, kind);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral(
        "insert into t_client (F_Code, F_Name, F_Phone, F_UseFlag, F_operFlag) values ('K1', '华联', '0571-1', 0, 1), "
        "('K2', '联华', '021-2', NULL, 1), ('K3', '停用的', '0571-3', 1, 1), ('S1', '食品厂', '0571-9', 0, 0)")));
    TDlgCltXz dlg;
    dlg.setKind(kind);
    QCOMPARE(dlg.windowTitle(), kind == 1 ? QStringLiteral("客户资料选择") : QStringLiteral("供应商资料选择"));
    if (!box.isEmpty())
        dlg.findChild<QLineEdit*>(box)->setText(text); // searches on every change
    QStringList got;
    for (int r = 0; r < dlg.rowCount(); ++r)
        got << dlg.recordAt(r).value(QStringLiteral("F_Name")).toString();
    QCOMPARE(got, names);
}

void TestCltMan::pickerReturnsNameOrGivenText()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TDlgCltXz dlg;
    dlg.setKind(1);
    QVERIFY(dlg.rowCount() > 1);
    const QString second = dlg.recordAt(1).value(QStringLiteral("F_Name")).toString();
    QTimer::singleShot(0, [&dlg] {
        dlg.setCurrentRow(1);
        QVERIFY(dlg.chooseButton()->isVisible());
        QTest::keyClick(&dlg, Qt::Key_F2);
    });
    QCOMPARE(dlg.pick(QStringLiteral("旧名")), second);
    shot(dlg, "cltxz.png");

    TDlgCltXz cancel;
    cancel.setKind(0);
    QTimer::singleShot(0, [&cancel] { cancel.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click(); });
    QCOMPARE(cancel.pick(QStringLiteral("旧名")), QStringLiteral("旧名"));

    // An empty list returns the given text even on 确定.
    TDlgCltXz empty;
    empty.setKind(1);
    empty.nameBox()->setText(QStringLiteral("没有这样的名字"));
    QCOMPARE(empty.rowCount(), 0);
    QTimer::singleShot(0, [&empty] {
        empty.choose();
        empty.reject();
    });
    QCOMPARE(empty.pick(QStringLiteral("旧名")), QStringLiteral("旧名"));
}

void TestCltMan::pickerAddsPartner()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TDlgCltXz dlg;
    dlg.setKind(0);
    QCOMPARE(dlg.rowCount(), 0);
    QTimer::singleShot(0, [] {
        auto* e = qobject_cast<TfrmCltEdit*>(QApplication::activeModalWidget());
        QVERIFY(e);
        QCOMPARE(e->mode(), TfrmCltEdit::NewFromPicker);
        QVERIFY(e->typeBox()->isEnabled());
        e->codeBox()->setText(QStringLiteral("S9"));
        e->nameBox()->setText(QStringLiteral("新供应商"));
        QVERIFY(e->btnOKClick()); // closes: opened from the picker
    });
    dlg.addPartner();
    QCOMPARE(dlg.rowCount(), 1);
    QCOMPARE(dlg.recordAt(dlg.currentRow()).value(QStringLiteral("F_Name")).toString(), QStringLiteral("新供应商"));
}

void TestCltMan::mainWindowActionsSwitchOneWindow()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), Session::current()));
    TFrmMain main;
    main.SetLimits();
    QVERIFY(main.runAction(202));
    auto* w = qobject_cast<TfrmCltMan*>(main.findWindow(QStringLiteral("TfrmCltMan")));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("供应商资料管理"));
    QCOMPARE(main.statusPanelText(2), w->countText());
    QVERIFY(main.runAction(206));
    QCOMPARE(main.findWindow(QStringLiteral("TfrmCltMan")), w);
    QCOMPARE(w->windowTitle(), QStringLiteral("客户资料管理"));
    QCOMPARE(w->kind(), 1);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
}

void TestCltMan::printPerKind()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    PrintServices::setTemplateFolder(QDir::cleanPath(QStringLiteral(KELMORA_TEST_DATA "/../../resources/Qr")));
    PartnerRecordingPresenter presenter;
    TfrmCltMan w;
    w.setKind(1);
    w.tbPrintClick();
    QVERIFY(presenter.last.errors.isEmpty());
    QVERIFY(presenter.last.pageTexts(0).contains(QStringLiteral("客户资料")));
    QVERIFY(presenter.last.pageTexts(0).contains(w.recordAt(0).value(QStringLiteral("F_Name")).toString()));
    w.tbSetClick();
    QVERIFY(presenter.designFile.endsWith(QStringLiteral("frcltMan.fr3")));
    w.setKind(0);
    w.tbPrintClick();
    QVERIFY(presenter.last.pageTexts(0).contains(QStringLiteral("供应商资料")));
    w.tbSetClick();
    QVERIFY(presenter.designFile.endsWith(QStringLiteral("frSupMan.fr3")));
    PrintServices::setTemplateFolder(QString());
}

QTEST_MAIN(TestCltMan)
#include "tst_cltman.moc"
