// kelmora-test: pg
#include "app/frmmain.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "data/gridservices.h"
#include "masterdata/dlgeditgoodtype.h"
#include "masterdata/frmgoodedit.h"
#include "masterdata/frmgoodgl.h"
#include "printservices.h"
#include "reportpresenter.h"
#include "reportrenderer.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Records what the print services would show.
class GoodsRecordingPresenter : public ReportPresenter
{
public:
    GoodsRecordingPresenter() { ReportPresenter::setInstance(this); }
    ~GoodsRecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override
    {
        ++previews;
        last = engine.prepare();
    }
    void design(const ReportEngine&, const QString& fileName) override { designFile = fileName; }
    int previews = 0;
    PreparedReport last;
    QString designFile;
};
} // namespace

class TestGoodGl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void opensWithTreeAndEmptyGrid();
    void findByCategoryAndFilter();
    void priceColumnsNeedTheRight();
    void userFieldsShownByKeyValueCaptions();
    void newGoodWithOpeningStockInTwoDepots();
    void editRewritesDocumentLines();
    void validationKeepsWindowOpen();
    void deleteRules();
    void unitAddedOnTheFly();
    void batchCategoryChange();
    void autoCodeProposal();
    void openedByTheMainWindow();
    void printUsesTheRightTemplate_data();
    void printUsesTheRightTemplate();
    void exportWritesTheShownRows();

private:
    static void chooseNode(TFrmGoodGl& w, const QString& code);
    static void setCell(QTableWidget* grid, int row, int col, const QString& text)
    {
        grid->item(row, col)->setText(text);
    }
    static void shot(QWidget& w, const char* name)
    {
        if (!qEnvironmentVariableIsEmpty("KELMORA_SHOTS")) {
            w.show();
            QTest::qWait(50);
            w.grab().save(qEnvironmentVariable("KELMORA_SHOTS") + QLatin1Char('/') + QString::fromLatin1(name));
        }
    }
};

void TestGoodGl::init()
{
    Session::current() = Session();
    Session::current().operCode = QStringLiteral("000");
    Session::current().rPrice = Session::current().rHPedit = true;
    for (int i = 0; i < 11; ++i)
        Session::current().zfCaptions[i] = QStringLiteral("自定义%1").arg(i + 1);
    SysOptions::current() = SysOptions();
}

void TestGoodGl::chooseNode(TFrmGoodGl& w, const QString& code)
{
    const int node = code.isEmpty() ? 0 : w.categories().findCode(code);
    QVERIFY(node >= 0);
    w.tree()->setCurrentItem(w.itemOf(node));
}

void TestGoodGl::opensWithTreeAndEmptyGrid()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmGoodGl w;
    QCOMPARE(w.windowTitle(), QStringLiteral("货品资料管理"));
    QCOMPARE(w.tree()->topLevelItem(0)->text(0), QStringLiteral("货品类型"));
    QVERIFY(w.tree()->topLevelItem(0)->isExpanded());
    QCOMPARE(w.tree()->topLevelItem(0)->childCount(), 4);
    QCOMPARE(w.rowCount(), 0);
    QCOMPARE(w.searchType()->itemText(3), QStringLiteral("产    地"));
    QCOMPARE(w.searchType()->itemText(5), QStringLiteral("自定义1"));
    QCOMPARE(w.grid()->columnOf(QStringLiteral("F_Code")), 0);
}

void TestGoodGl::findByCategoryAndFilter()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmGoodGl w;
    chooseNode(w, QString());
    w.search();
    QCOMPARE(w.rowCount(), 30);
    QCOMPARE(w.countText(), QStringLiteral("记录数：30"));
    chooseNode(w, QStringLiteral("001001")); // 饮料
    w.search();
    QCOMPARE(w.rowCount(), 5);
    chooseNode(w, QStringLiteral("001")); // 食品饮料 and below
    w.searchType()->setCurrentIndex(1);
    w.searchText()->setText(QStringLiteral("牛"));
    w.search();
    QCOMPARE(w.rowCount(), 2); // 纯牛奶, 牛肉干
    // Changing the search kind clears the text.
    w.searchType()->setCurrentIndex(0);
    QVERIFY(w.searchText()->text().isEmpty());
    shot(w, "goodgl.png");
}

void TestGoodGl::priceColumnsNeedTheRight()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    Session::current().operCode = QStringLiteral("001");
    Session::current().rPrice = false;
    TFrmGoodGl w;
    QCOMPARE(w.grid()->columnOf(QStringLiteral("F_EnterPrice")), -1);
    QCOMPARE(w.grid()->columnOf(QStringLiteral("F_SalePrice")), -1);
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &w);
    QVERIFY(e.openingGrid()->isColumnHidden(2));
    QVERIFY(!e.findChild<QDoubleSpinBox*>(QStringLiteral("edtEnterPrice"))->isVisibleTo(&e));
}

void TestGoodGl::userFieldsShownByKeyValueCaptions()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("update KeyValue set F_Value = '颜色', F_Flag = 1 where F_ID = 1")));
    QVERIFY(c.exec(QStringLiteral("update KeyValue set F_Value = '保质期', F_Flag = 1 where F_ID = 9")));
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), Session::current()));
    TFrmGoodGl w;
    QCOMPARE(w.searchType()->itemText(5), QStringLiteral("颜色"));
    const int zf1 = w.grid()->columnOf(QStringLiteral("F_ZF1"));
    QCOMPARE(w.grid()->column(zf1).caption, QStringLiteral("颜色"));
    QVERIFY(w.grid()->isColumnVisible(zf1));
    QVERIFY(!w.grid()->isColumnVisible(w.grid()->columnOf(QStringLiteral("F_ZF2"))));
    QVERIFY(w.grid()->isColumnVisible(w.grid()->columnOf(QStringLiteral("F_RQ1"))));
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &w);
    QVERIFY(e.findChild<QLineEdit*>(QStringLiteral("edtZF1"))->isVisibleTo(&e));
    QVERIFY(!e.findChild<QLineEdit*>(QStringLiteral("edtZF2"))->isVisibleTo(&e));
    bool found = false;
    for (QLabel* l : e.findChildren<QLabel*>())
        found = found || (l->text() == QStringLiteral("保质期：") && l->isVisibleTo(&e));
    QVERIFY(found);
    // Searching the first text field by its caption.
    QVERIFY(c.exec(QStringLiteral("update t_goods set F_ZF1 = '红色' where F_Code = 'HP0003'")));
    w.searchType()->setCurrentIndex(5);
    w.searchText()->setText(QStringLiteral("红"));
    w.search();
    QCOMPARE(w.rowCount(), 1);
}

void TestGoodGl::newGoodWithOpeningStockInTwoDepots()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmGoodGl list;
    chooseNode(list, QString());
    list.search();
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &list);
    QCOMPARE(e.windowTitle(), QStringLiteral("货品信息编辑 - 新增"));
    QVERIFY(e.findChild<QCheckBox*>(QStringLiteral("chkContinue"))->isVisibleTo(&e));
    e.codeBox()->setText(QStringLiteral("SP0001"));
    e.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("苏打水"));
    e.findChild<QLineEdit*>(QStringLiteral("edtType"))->setText(QStringLiteral("\\\\食品饮料\\饮料"));
    e.findChild<QDoubleSpinBox*>(QStringLiteral("edtEnterPrice"))->setValue(3);
    QTableWidget* g = e.openingGrid();
    QCOMPARE(g->rowCount(), 3); // every depot has a line
    setCell(g, 0, 1, QStringLiteral("10"));
    setCell(g, 1, 1, QStringLiteral("5"));
    setCell(g, 1, 2, QStringLiteral("4"));
    QCOMPARE(g->item(1, 3)->text().toDouble(), 20.0);
    QCOMPARE(e.openingQuantity(), 15.0);
    shot(e, "goodedit.png");
    QVERIFY(e.btnOKClick());
    QCOMPARE(msg.count(), 0);
    // Continuing: the window stays open with cleared boxes.
    QVERIFY(e.codeBox()->text().isEmpty());
    QCOMPARE(e.openingQuantity(), 0.0);
    DataModule& d = tdb.dataModule();
    QCOMPARE(d.GetSqlFloat(QStringLiteral("select F_BegAmount from t_goods where F_Code = 'SP0001'")), 15.0);
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_begDept where F_GoodCode = 'SP0001'")), qint64(2));
    QCOMPARE(
        d.GetSqlFloat(QStringLiteral("select sum(F_totalPrice) from t_begDept where F_GoodCode = 'SP0001'")), 50.0);
    // The list was reopened on the new good.
    QCOMPARE(list.recordAt(list.currentRow()).value(QStringLiteral("F_Code")).toString(), QStringLiteral("SP0001"));
    chooseNode(list, QStringLiteral("001001"));
    list.search();
    QCOMPARE(list.rowCount(), 6);
}

void TestGoodGl::editRewritesDocumentLines()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode, F_GoodName) values ('C1', "
                                                 "'HP0001', '矿泉水')")));
    ScriptedMessenger msg;
    TFrmGoodGl list;
    chooseNode(list, QString());
    list.search();
    list.setCurrentRow(0);
    TFrmGoodEdit e(TFrmGoodEdit::Edit, &list);
    QCOMPARE(e.windowTitle(), QStringLiteral("货品信息编辑 - 修改"));
    QCOMPARE(e.codeBox()->text(), QStringLiteral("HP0001"));
    QCOMPARE(e.openingQuantity(), 150.0);
    e.codeBox()->setText(QStringLiteral("HP0101"));
    e.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("天然矿泉水"));
    QVERIFY(e.btnOKClick());
    QCOMPARE(msg.count(), 0);
    DataModule& d = tdb.dataModule();
    QCOMPARE(
        d.GetSqlStr(QStringLiteral("select F_GoodCode || F_GoodName from DepotD")), QStringLiteral("HP0101天然矿泉水"));
    QCOMPARE(d.GetSqlInt(QStringLiteral("select count(*) from t_begDept where F_GoodCode = 'HP0101'")), qint64(2));
    // Navigator: moving reloads the boxes.
    TFrmGoodEdit e2(TFrmGoodEdit::Edit, &list);
    e2.moveTo(1);
    QCOMPARE(e2.codeBox()->text(), list.recordAt(1).value(QStringLiteral("F_Code")).toString());
}

void TestGoodGl::validationKeepsWindowOpen()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmGoodGl list;
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &list);
    e.codeBox()->setText(QStringLiteral("HP0001"));
    e.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("重复"));
    QVERIFY(!e.btnOKClick());
    QCOMPARE(msg.lastText(), QStringLiteral("货品编号重复，请重新输入！"));
    QCOMPARE(e.codeBox()->text(), QStringLiteral("HP0001"));
    Session::current().operCode = QStringLiteral("002");
    Session::current().rHPedit = false;
    TFrmGoodEdit readOnly(TFrmGoodEdit::NewFromList, &list);
    QVERIFY(!readOnly.okButton()->isEnabled());
}

void TestGoodGl::deleteRules()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into DepotD (F_Code, F_GoodCode) values ('C1', 'HP0001')")));
    ScriptedMessenger msg;
    TFrmGoodGl list;
    chooseNode(list, QString());
    list.search();
    list.setCurrentRow(0);
    list.tbDelClick();
    QCOMPARE(msg.lastText(), QStringLiteral("该货品资料已经被使用，不能被删除！"));
    QCOMPARE(list.rowCount(), 30);
    list.setCurrentRow(1);
    msg.setNextAnswer(Messenger::Yes);
    list.tbDelClick();
    QCOMPARE(msg.lastText(), QStringLiteral("真的要删除货品绿茶饮料吗？"));
    QCOMPARE(list.rowCount(), 29);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_begDept where F_GoodCode = 'HP0002'")),
        qint64(0));
}

void TestGoodGl::unitAddedOnTheFly()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmGoodGl list;
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &list);
    auto* unit = e.findChild<QComboBox*>(QStringLiteral("cbbUnit"));
    unit->setCurrentText(QStringLiteral("桶"));
    msg.setNextAnswer(Messenger::No);
    e.unitLeft();
    QCOMPARE(msg.lastText(), QStringLiteral("此货品计量单位不存在，真的要新增此单位吗？"));
    QVERIFY(unit->currentText().isEmpty());
    unit->setCurrentText(QStringLiteral("桶"));
    msg.setNextAnswer(Messenger::Yes);
    e.unitLeft();
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_code where F_type = 'goodunit' and "
                                                       "F_Name = '桶'")),
        qint64(1));
    // A known unit asks nothing.
    msg.clear();
    unit->setCurrentText(QStringLiteral("箱"));
    e.unitLeft();
    QCOMPARE(msg.count(), 0);
    // Symbols go in at the cursor of the 商品规格 box.
    auto* spec = e.findChild<QLineEdit*>(QStringLiteral("edtSpec"));
    spec->setText(QStringLiteral("500ml24"));
    spec->setCursorPosition(5);
    e.insertSymbol(QStringLiteral("×"));
    QCOMPARE(spec->text(), QStringLiteral("500ml×24"));
}

void TestGoodGl::batchCategoryChange()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    msg.setDefaultAnswer(Messenger::Yes);
    TFrmGoodGl list;
    chooseNode(list, QStringLiteral("001001"));
    list.search();
    list.grid()->view()->selectRow(0);
    list.grid()->view()->selectionModel()->select(
        list.grid()->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TDlgEditGoodType*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        dlg->edtType()->setText(QStringLiteral("\\\\电子电器"));
        dlg->accept();
    });
    list.changeSelectedCategory();
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_goods where F_Type = :t"),
                 {{QStringLiteral("t"), QStringLiteral("\\\\电子电器")}}),
        qint64(6));
    QCOMPARE(list.rowCount(), 3);
}

void TestGoodGl::autoCodeProposal()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    SysOptions::current().autoGoodsCode = true;
    TFrmGoodGl list;
    TFrmGoodEdit e(TFrmGoodEdit::NewFromList, &list);
    QCOMPARE(e.codeBox()->text(), QStringLiteral("HP0031"));
    auto* autoBox = e.findChild<QCheckBox*>(QStringLiteral("chkAuto"));
    QVERIFY(autoBox->isChecked());
    autoBox->setChecked(false);
    e.codeBox()->setText(QStringLiteral("X"));
    autoBox->setChecked(true);
    QCOMPARE(e.codeBox()->text(), QStringLiteral("HP0031"));
    e.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("新品"));
    autoBox->setChecked(false);
    e.codeBox()->setText(QStringLiteral("HP0031"));
    QVERIFY(e.btnOKClick());
    // The option follows the box after an insert.
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_b2 from SysInfo")), qint64(0));
}

void TestGoodGl::openedByTheMainWindow()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(LoginService::loadSession(QStringLiteral("000"), Session::current()));
    TFrmMain main;
    main.SetLimits();
    QVERIFY(main.runAction(203));
    auto* w = qobject_cast<TFrmGoodGl*>(main.findWindow(QStringLiteral("TFrmGoodGl")));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("货品资料管理"));
    w->search();
    QCOMPARE(main.statusPanelText(2), QStringLiteral("记录数：30"));
    QVERIFY(main.runAction(203));
    QCOMPARE(main.findWindow(QStringLiteral("TFrmGoodGl")), w);
}

void TestGoodGl::printUsesTheRightTemplate_data()
{
    QTest::addColumn<bool>("priceRight");
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<bool>("pricesPrinted");
    QTest::newRow("with prices") << true << QStringLiteral("frGoodMan.fr3") << true;
    QTest::newRow("without prices") << false << QStringLiteral("frGoodMan1.fr3") << false;
}

void TestGoodGl::printUsesTheRightTemplate()
{
    QFETCH(bool, priceRight);
    QFETCH(QString, templateFile);
    QFETCH(bool, pricesPrinted);
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    PrintServices::setTemplateFolder(QDir::cleanPath(QStringLiteral(KELMORA_TEST_DATA "/../../resources/Qr")));
    Session::current().rPrice = priceRight;
    Session::current().operCode = QStringLiteral("007");
    GoodsRecordingPresenter presenter;
    TFrmGoodGl w;
    w.tbPrintClick(); // empty list: nothing
    QCOMPARE(presenter.previews, 0);
    chooseNode(w, QStringLiteral("002002")); // 紧固件
    w.search();
    w.tbPrintClick();
    QCOMPARE(presenter.previews, 1);
    QVERIFY2(presenter.last.errors.isEmpty(), qPrintable(presenter.last.errors.join(QLatin1Char('|'))));
    const QStringList texts = presenter.last.pageTexts(0);
    QVERIFY(texts.contains(QStringLiteral("货品资料")));
    QVERIFY(texts.contains(QStringLiteral("膨胀螺丝")));
    QVERIFY(texts.contains(QStringLiteral("1400"))); // opening quantity total of the four goods
    QCOMPARE(texts.contains(QStringLiteral("成本价")), pricesPrinted);
    if (!qEnvironmentVariableIsEmpty("KELMORA_SHOTS"))
        ReportRenderer::pageImage(presenter.last, 0, 96)
            .save(qEnvironmentVariable("KELMORA_SHOTS") + QLatin1Char('/') + QFileInfo(templateFile).baseName()
                + QStringLiteral(".png"));
    w.tbSetClick();
    QVERIFY(presenter.designFile.endsWith(templateFile));
    PrintServices::setTemplateFolder(QString());
}

void TestGoodGl::exportWritesTheShownRows()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    QTemporaryDir dir;
    QString offered;
    GridServices::setSaveDialog(
        [&](QWidget*, const QString& defaultName, const QStringList& filters, QString* chosen, QString* fileName) {
            offered = defaultName;
            *chosen = filters.at(4); // csv
            *fileName = dir.filePath(QStringLiteral("goods"));
            return true;
        });
    TFrmGoodGl w;
    chooseNode(w, QStringLiteral("001001")); // 饮料
    w.search();
    w.tbExportClick();
    GridServices::setSaveDialog({});
    QCOMPARE(offered, QStringLiteral("货品资料"));
    QFile f(dir.filePath(QStringLiteral("goods.csv")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY(text.contains(QStringLiteral("货品编码")));
    QVERIFY(text.contains(QStringLiteral("矿泉水")));
    QVERIFY(!text.contains(QStringLiteral("活动扳手")));
    QCOMPARE(msg.lastText(), QStringLiteral("导出 “goods.csv” 成功，打开该文件吗？"));
}

QTEST_MAIN(TestGoodGl)
#include "tst_goodgl.moc"
