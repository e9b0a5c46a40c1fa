// kelmora-test: pg
#include "app/clock.h"
#include "app/frmmain.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/gridmodel.h"
#include "documents/dlggoodxz.h"
#include "documents/documentkinds.h"
#include "documents/documentstore.h"
#include "documents/entrykinds.h"
#include "documents/entrylinemodel.h"
#include "documents/entrylineview.h"
#include "documents/entrywindows.h"
#include "documents/frmdeptgl.h"
#include "documents/stocklookup.h"
#include "printservices.h"
#include "reportengine.h"
#include "reportpresenter.h"
#include "support/testdatabase.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {
const QDate kToday(2024, 1, 15);

class EntryRecordingPresenter : public ReportPresenter
{
public:
    EntryRecordingPresenter() { ReportPresenter::setInstance(this); }
    ~EntryRecordingPresenter() override { ReportPresenter::setInstance(nullptr); }
    void preview(const ReportEngine& engine) override
    {
        ++previews;
        last = engine;
    }
    void design(const ReportEngine& engine, const QString& fileName) override
    {
        ++designs;
        last = engine;
        lastFile = fileName;
    }
    int previews = 0, designs = 0;
    ReportEngine last;
    QString lastFile;
};

void setAdminSession()
{
    Session s;
    s.operCode = QStringLiteral("000");
    s.operName = QStringLiteral("系统管理员");
    s.rNew = s.rEdit = s.rDel = s.rCheck = s.rSet = s.rPrice = true;
    Session::current() = s;
}

void exec(const QString& sql, const SqlParams& p = {})
{
    QVERIFY2(dm().ExecSql(sql, p), qPrintable(dm().lastDbError()));
}

void addGood(const QString& code, const QString& name, const QString& barcode, double enterPrice, double salePrice,
    bool stopped = false)
{
    exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Type,F_Spec,F_Unit,F_Barcode,F_EnterPrice,F_SalePrice,"
                        "F_Flag,F_address) values(:c,:n,'\\\\五金\\\\','S1','个',:b,:e,:s,:f,'本地')"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("b"), barcode},
            {QStringLiteral("e"), enterPrice}, {QStringLiteral("s"), salePrice},
            {QStringLiteral("f"), stopped ? 1 : 0}});
}

void addOpening(const QString& depot, const QString& good, double amount, double price)
{
    exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                        "values(:d,:g,:a,:p,:t)"),
        {{QStringLiteral("d"), depot}, {QStringLiteral("g"), good}, {QStringLiteral("a"), amount},
            {QStringLiteral("p"), price}, {QStringLiteral("t"), amount * price}});
}

template <class T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qWarning("no component %s", name);
    return c;
}

void click(QWidget* w, const char* name)
{
    QToolButton* b = child<QToolButton>(w, name);
    QVERIFY(b);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

void setCell(TFrmDeptGl& w, int row, const char* field, const QVariant& v)
{
    EntryLineModel* m = w.lineModel();
    const int col = m->columnOf(QString::fromLatin1(field));
    QVERIFY(col >= 0);
    QVERIFY(m->setData(m->index(row, col), v));
}

void setCurrentCell(TFrmDeptGl& w, int row, const char* field)
{
    EntryLineModel* m = w.lineModel();
    w.lineView()->setCurrentIndex(m->index(row, m->columnOf(QString::fromLatin1(field))));
}

int count(const QString& sql, const SqlParams& p = {})
{
    return int(dm().GetSqlInt(sql, p));
}
} // namespace

class TstEntryWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void purchaseReceiptLifeCycle();
    void salesIssueShortfall();
    void typedCodeAndBarcode();
    void stocktakingDifference();
    void transferSameDepotRefused();
    void deleteConfirmation_data();
    void deleteConfirmation();
    void lineRemovedBeforeSave();
    void listByDateAndLocate();
    void priceColumnsHiddenWithoutRight();
    void badEntryDateRefused();
    void cancelDiscardsLineChanges();
    void keys();
    void printAndDesign();
    void mainWindowOpensTheElevenWindows();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedMessenger> m_msg;
    std::unique_ptr<TFrmDeptGl> open(int kind);
};

void TstEntryWindow::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    m_msg = std::make_unique<ScriptedMessenger>();
    Clock::setFixedDate(kToday);
    setAdminSession();
    SysOptions::current() = SysOptions();
    exec(QStringLiteral("delete from t_code where F_type = 'depot'"));
    for (const char* d : {"A仓", "B仓"})
        exec(QStringLiteral("insert into t_code(F_Name,F_type) values(:n,'depot')"),
            {{QStringLiteral("n"), QString::fromUtf8(d)}});
    exec(QStringLiteral("insert into t_code(F_Name,F_type) values('生产部','department')"));
    exec(QStringLiteral("insert into t_client(F_Code,F_Name,F_operFlag) values('S01','供应商甲',0)"));
    exec(QStringLiteral("insert into t_client(F_Code,F_Name,F_operFlag) values('C01','客户乙',1)"));
    addGood(QStringLiteral("G001"), QStringLiteral("螺丝"), QStringLiteral("111"), 2, 3);
    addGood(QStringLiteral("G002"), QStringLiteral("螺母"), QStringLiteral("222"), 1, 1.5);
    addGood(QStringLiteral("G003"), QStringLiteral("旧垫片"), QStringLiteral("333"), 4, 5, true);
}

void TstEntryWindow::cleanup()
{
    m_msg.reset();
    m_db.reset();
    Clock::setFixed(QDateTime());
}

std::unique_ptr<TFrmDeptGl> TstEntryWindow::open(int kind)
{
    auto w = std::make_unique<TFrmDeptGl>(kind);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    return w;
}

void TstEntryWindow::purchaseReceiptLifeCycle()
{
    auto w = open(1);
    QCOMPARE(w->objectName(), QStringLiteral("TFrmInCaiGouDeptGl"));
    QCOMPARE(w->windowTitle(), QStringLiteral("采购收货入库管理"));
    QVERIFY(w->isBrowsing());
    click(w.get(), "tbNew");
    QVERIFY(!w->isBrowsing());
    QCOMPARE(child<QLineEdit>(w.get(), "edtCode")->text(), QStringLiteral("CGD20240115001"));
    QCOMPARE(w->lineModel()->rowCount(), 1); // one empty appended line
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("供应商甲"));

    // Pick two goods through the picker.
    {
        TDlgGoodXz dlg(w.get());
        dlg.setMode(1);
        dlg.setTarget(w.get());
        dlg.prepare();
        dlg.selectTreeNode(0);
        QCOMPARE(dlg.goodsCount(), 2); // the stopped good is not offered
        QCOMPARE(dlg.currentGoodsCode(), QStringLiteral("G001"));
        dlg.choose();
        QCOMPARE(dlg.goodsCount(), 1);
        QCOMPARE(dlg.currentGoodsCode(), QStringLiteral("G002"));
        dlg.choose();
        QCOMPARE(dlg.goodsCount(), 0);
    }
    QCOMPARE(w->lineModel()->rowCount(), 2); // the empty line gave way
    QCOMPARE(w->lineModel()->line(0).goodCode, QStringLiteral("G001"));
    QCOMPARE(w->lineModel()->line(0).amount, 1.0);
    setCell(*w, 0, "F_Amount", 5);
    setCell(*w, 0, "F_Price", 10);
    QCOMPARE(w->lineModel()->line(0).totalPrice, 50.0);
    QCOMPARE(w->lineModel()->line(0).cbPrice, 50.0);
    setCell(*w, 1, "F_Amount", 2);

    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QVERIFY(w->isBrowsing());
    QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115001"));
    QSqlQuery q(dm().db());
    QVERIFY(
        q.exec(QStringLiteral("select F_Flag,F_OperFlag,F_TotalPrice,F_Client,F_Depot,F_Maker,F_amount from DepotM")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toInt(), 1);
    QCOMPARE(q.value(2).toDouble(), 50.0 + 2 * w->lineModel()->line(1).price);
    QCOMPARE(q.value(3).toString(), QStringLiteral("供应商甲"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("A仓"));
    QCOMPARE(q.value(5).toString(), QStringLiteral("系统管理员"));
    QCOMPARE(q.value(6).toDouble(), 7.0);
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD where F_Code = 'CGD20240115001'")), 2);
    QCOMPARE(child<QLabel>(w.get(), "lblCheck")->text(), QStringLiteral("未审核"));

    // Audit, then editing and deleting are refused.
    m_msg->setNextAnswer(Messenger::Yes);
    click(w.get(), "tbCheck");
    QCOMPARE(m_msg->lastText(), QStringLiteral("审核记帐以后，单据不能再修改，真的要审核记帐吗？"));
    QCOMPARE(child<QLabel>(w.get(), "lblCheck")->text(), QStringLiteral("已审核"));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_CheckFlag = 1")), 1);
    QCOMPARE(child<QLineEdit>(w.get(), "edtAuditer")->text(), QStringLiteral("系统管理员"));
    m_msg->clear();
    click(w.get(), "tbEdit");
    QCOMPARE(m_msg->lastText(), QStringLiteral("此单据已经审核，不能再修改！"));
    QCOMPARE(m_msg->lastKind(), 2);
    QVERIFY(w->isBrowsing());
    click(w.get(), "tbDel");
    QCOMPARE(m_msg->lastText(), QStringLiteral("此单据已经审核，不能再修改！"));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 1);
    click(w.get(), "tbCheck");
    QCOMPARE(m_msg->lastText(), QStringLiteral("此单据已经审核！"));

    // The administrator un-audits; editing is possible again.
    QVERIFY(child<QToolButton>(w.get(), "tbFcheck")->isVisibleTo(w.get()));
    m_msg->setNextAnswer(Messenger::Yes);
    click(w.get(), "tbFcheck");
    QCOMPARE(m_msg->lastText(), QStringLiteral("此单据已经经过审核，真的要反审核此单吗？"));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_CheckFlag = 0")), 1);
    QCOMPARE(child<QLabel>(w.get(), "lblCheck")->text(), QStringLiteral("未审核"));
    click(w.get(), "tbEdit");
    QVERIFY(!w->isBrowsing());
    QVERIFY(w->isEditingExisting());
    click(w.get(), "tbCancel");

    // The stock the picker shows follows the saved document.
    {
        TDlgGoodXz dlg(w.get());
        dlg.setMode(1);
        dlg.setTarget(w.get());
        dlg.prepare();
        dlg.selectTreeNode(0);
        QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("G001")));
        QCOMPARE(dlg.stockModel()->rowCount(), 1);
        QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_dept")).toString(), QStringLiteral("A仓"));
        QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_amount")).toDouble(), 5.0);
    }
}

void TstEntryWindow::salesIssueShortfall()
{
    addOpening(QStringLiteral("A仓"), QStringLiteral("G001"), 3, 2);
    auto w = open(-2);
    click(w.get(), "tbNew");
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("客户乙"));
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    QCOMPARE(w->lineModel()->line(0).price, 3.0); // the sale price
    setCell(*w, 0, "F_Amount", 5);
    QCOMPARE(w->lineModel()->line(0).cbPrice, 10.0); // 5 x average cost 2

    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(),
        QStringLiteral("货品 \"G001\" 在仓库 \"A仓\" 中已经不足，操作会造成库存为 \"-2\"，当前操作不能继续！"));
    QCOMPARE(m_msg->lastKind(), 3);
    QVERIFY(!w->isBrowsing());
    QCOMPARE(w->lineModel()->rowCount(), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD")), 0);

    // Negative stock allowed: asked, and saved on yes.
    SysOptions::current().negativeStock = true;
    m_msg->clear();
    m_msg->setNextAnswer(Messenger::Yes);
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->texts().value(0),
        QStringLiteral("货品 \"G001\" 在仓库 \"A仓\" 中已经不足，操作会造成库存为 \"-2\"，当前操作继续吗？"));
    QVERIFY(w->isBrowsing());
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_Flag = -2 and F_OperFlag = -1")), 1);
    QCOMPARE(StockLookup::GetStockAmount(QStringLiteral("A仓"), QStringLiteral("G001")), -2.0);
}

void TstEntryWindow::typedCodeAndBarcode()
{
    auto w = open(1);
    click(w.get(), "tbNew");
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("供应商甲"));
    EntryLineView* grid = w->lineView();

    // Unknown code: message, cursor on the first column, line not filled.
    setCell(*w, 0, "F_GoodCode", QStringLiteral("ZZZ"));
    setCurrentCell(*w, 0, "F_GoodCode");
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(m_msg->lastText(), QStringLiteral("货品\"ZZZ\"不存在，请检查输入？"));
    QCOMPARE(m_msg->lastKind(), 0);
    QVERIFY(w->lineModel()->line(0).goodName.isEmpty());

    // A stopped good can be typed by code; Enter jumps to the quantity.
    setCell(*w, 0, "F_GoodCode", QStringLiteral("G003"));
    setCurrentCell(*w, 0, "F_GoodCode");
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(w->lineModel()->line(0).goodName, QStringLiteral("旧垫片"));
    QCOMPARE(w->lineModel()->line(0).tmCode, QStringLiteral("333"));
    QCOMPARE(w->lineModel()->fieldAt(grid->currentIndex().column()), QStringLiteral("F_Amount"));

    // Quantity 0 refuses the next line; a quantity adds it.
    m_msg->clear();
    setCell(*w, 0, "F_Amount", 0);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(m_msg->lastText(), QStringLiteral("对不起，货品数量不能为零！"));
    QCOMPARE(w->lineModel()->rowCount(), 1);
    setCell(*w, 0, "F_Amount", 2);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(w->lineModel()->rowCount(), 2);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(grid->currentIndex().column(), grid->horizontalHeader()->logicalIndex(0));

    // Typed into the cell editor as a user would: Enter posts the code and fills the line.
    w->activateWindow();
    grid->setFocus();
    setCurrentCell(*w, 1, "F_GoodCode");
    QTest::keyClicks(grid, QStringLiteral("G")); // the first key opens the cell editor
    QVERIFY(grid->isEditing());
    QLineEdit* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("002"));
    QCOMPARE(editor->text(), QStringLiteral("G002"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(w->lineModel()->line(1).goodName, QStringLiteral("螺母"));
    QCOMPARE(w->lineModel()->fieldAt(grid->currentIndex().column()), QStringLiteral("F_Amount"));
    m_msg->setNextAnswer(Messenger::Yes);
    w->deleteLine();
    QCOMPARE(w->lineModel()->rowCount(), 1);
    QVERIFY(w->lineModel()->appendLine() == 1);
    setCurrentCell(*w, 1, "F_GoodCode");

    // Barcodes: empty, stopped, found; the empty line being entered goes away.
    QToolButton* sbTM = child<QToolButton>(w.get(), "sbTM");
    sbTM->setChecked(true);
    QLineEdit* tm = child<QLineEdit>(w.get(), "edtTM");
    QVERIFY(tm->isVisibleTo(w.get()));
    m_msg->clear();
    QTest::keyClick(tm, Qt::Key_Return);
    QCOMPARE(m_msg->lastText(), QStringLiteral("请输入条码！"));
    tm->setText(QStringLiteral("333"));
    QTest::keyClick(tm, Qt::Key_Return);
    QCOMPARE(m_msg->lastText(), QStringLiteral("条码\"333\"不存在，请检查输入？"));
    QCOMPARE(tm->text(), QStringLiteral("333"));
    child<QLineEdit>(w.get(), "edtTMAmount")->setText(QStringLiteral("4"));
    tm->setText(QStringLiteral("111"));
    QTest::keyClick(tm, Qt::Key_Return);
    QVERIFY(tm->text().isEmpty());
    QCOMPARE(w->lineModel()->rowCount(), 2);
    QCOMPARE(w->lineModel()->line(1).goodCode, QStringLiteral("G001"));
    QCOMPARE(w->lineModel()->line(1).amount, 4.0);
    tm->setText(QStringLiteral("111"));
    QTest::keyClick(tm, Qt::Key_Return);
    QCOMPARE(w->lineModel()->rowCount(), 3); // the same barcode twice gives two lines

    m_msg->clear();
    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD where F_Code = :c"),
                 {{QStringLiteral("c"), w->currentCode()}}),
        3);
}

void TstEntryWindow::stocktakingDifference()
{
    addOpening(QStringLiteral("A仓"), QStringLiteral("G001"), 7, 2);
    auto w = open(11);
    QComboBox* depot = child<QComboBox>(w.get(), "cbbDepot");
    QCOMPARE(depot->currentIndex(), -1); // no depot preselected
    click(w.get(), "tbNew");
    w->openGoodPicker();
    QCOMPARE(m_msg->lastText(), QStringLiteral("盘点仓库不能为空！"));
    depot->setCurrentIndex(depot->findText(QStringLiteral("A仓")));
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    const DocumentLine& l = w->lineModel()->line(0);
    QCOMPARE(l.curAmount.value_or(-1), 7.0);
    QCOMPARE(l.sjAmount.value_or(-1), 7.0);
    QCOMPARE(l.amount, 0.0);
    setCell(*w, 0, "F_SJamount", 5);
    QCOMPARE(w->lineModel()->line(0).amount, -2.0);
    QCOMPARE(
        w->lineModel()->data(w->lineModel()->index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));

    m_msg->clear();
    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QCOMPARE(StockLookup::GetStockAmount(QStringLiteral("A仓"), QStringLiteral("G001")), 5.0);
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select COALESCE(F_Client,'') from DepotM")), QString());
}

void TstEntryWindow::transferSameDepotRefused()
{
    auto w = open(10);
    click(w.get(), "tbNew");
    QComboBox* in = child<QComboBox>(w.get(), "cbbDepot");
    QComboBox* out = child<QComboBox>(w.get(), "cbbClient");
    QVERIFY(in && out);
    QCOMPARE(in->currentIndex(), -1);
    QCOMPARE(out->currentIndex(), -1);
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(), QStringLiteral("调入仓库不能为空！"));
    in->setCurrentIndex(in->findText(QStringLiteral("A仓")));
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(), QStringLiteral("调出仓库不能为空！"));
    out->setCurrentIndex(out->findText(QStringLiteral("A仓")));
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(), QStringLiteral("调出仓库跟调入仓库相同，请检查！"));
    QCOMPARE(m_msg->lastKind(), 0);
    QVERIFY(!w->isBrowsing());
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 0);

    // Different depots: stock moves from B to A.
    addOpening(QStringLiteral("B仓"), QStringLiteral("G001"), 4, 2);
    out->setCurrentIndex(out->findText(QStringLiteral("B仓")));
    m_msg->clear();
    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QCOMPARE(StockLookup::GetStockAmount(QStringLiteral("A仓"), QStringLiteral("G001")), 1.0);
    QCOMPARE(StockLookup::GetStockAmount(QStringLiteral("B仓"), QStringLiteral("G001")), 3.0);
}

void TstEntryWindow::deleteConfirmation_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("1") << 1 << QStringLiteral("采购入库单");
    QTest::newRow("-1") << -1 << QStringLiteral("采购退货单");
    QTest::newRow("2") << 2 << QStringLiteral("销售退货单");
    QTest::newRow("-2") << -2 << QStringLiteral("销售出库单");
    QTest::newRow("3") << 3 << QStringLiteral("入库单");
    QTest::newRow("4") << 4 << QStringLiteral("领用退货单");
    QTest::newRow("-3") << -3 << QStringLiteral("领用出库单");
    QTest::newRow("5") << 5 << QStringLiteral("借货入库单");
    QTest::newRow("-5") << -5 << QStringLiteral("借入还出单");
    QTest::newRow("10") << 10 << QStringLiteral("库存调拨单");
    QTest::newRow("11") << 11 << QStringLiteral("库存盘点单");
}

void TstEntryWindow::deleteConfirmation()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    const DocumentKind* k = DocumentKinds::find(kind);
    const QString code = k->prefix + QStringLiteral("20240115001");
    exec(QStringLiteral("insert into DepotM(F_Code,F_Depot,F_Client,F_Flag,F_OperFlag,F_Date,F_MakeDate) "
                        "values(:c,'A仓','B仓',:k,:o,:d,:d)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("k"), kind}, {QStringLiteral("o"), k->operFlag},
            {QStringLiteral("d"), Dates::sqlDate(kToday)}});
    exec(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_Amount) values(:c,'G001',1)"),
        {{QStringLiteral("c"), code}});
    auto w = open(kind);
    QCOMPARE(w->currentCode(), code);
    QCOMPARE(w->lineModel()->rowCount(), 1);
    m_msg->setNextAnswer(Messenger::No);
    click(w.get(), "tbDel");
    QCOMPARE(
        m_msg->lastText(), QStringLiteral("真的要删除当前") + name + QLatin1Char(' ') + code + QStringLiteral("吗？"));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 1);
    m_msg->setNextAnswer(Messenger::Yes);
    click(w.get(), "tbDel");
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD")), 0);
    QCOMPARE(w->currentIndex(), -1);
    QCOMPARE(w->lineModel()->rowCount(), 0);
}

void TstEntryWindow::lineRemovedBeforeSave()
{
    auto w = open(1);
    click(w.get(), "tbNew");
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("供应商甲"));
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    QVERIFY(w->addPickedGood(QStringLiteral("G002")));
    click(w.get(), "tbSave");
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD")), 2);

    click(w.get(), "tbEdit");
    setCurrentCell(*w, 0, "F_GoodCode");
    m_msg->setNextAnswer(Messenger::No);
    w->deleteLine();
    QCOMPARE(m_msg->lastText(), QStringLiteral("真的要删除当前货品 \"螺丝\" 吗？"));
    QCOMPARE(w->lineModel()->rowCount(), 2);
    m_msg->setNextAnswer(Messenger::Yes);
    w->deleteLine();
    QCOMPARE(w->lineModel()->rowCount(), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD")), 2); // held until saved
    m_msg->clear();
    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotD")), 1);
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_GoodCode from DepotD")), QStringLiteral("G002"));
    QCOMPARE(dm().GetSqlFloat(QStringLiteral("select F_amount from DepotM")), 1.0);
}

void TstEntryWindow::listByDateAndLocate()
{
    auto add = [](const QString& code, const QDate& d) {
        exec(QStringLiteral("insert into DepotM(F_Code,F_Depot,F_Client,F_Flag,F_OperFlag,F_Date,F_MakeDate) "
                            "values(:c,'A仓','供应商甲',1,1,:d,:d)"),
            {{QStringLiteral("c"), code}, {QStringLiteral("d"), Dates::sqlDate(d)}});
    };
    add(QStringLiteral("CGD20240115001"), kToday);
    add(QStringLiteral("CGD20240115002"), kToday);
    add(QStringLiteral("CGD20240114001"), kToday.addDays(-1));
    exec(QStringLiteral(
             "insert into DepotM(F_Code,F_Depot,F_Flag,F_OperFlag,F_Date) values('XSD20240115001','A仓',-2,-1,:d)"),
        {{QStringLiteral("d"), Dates::sqlDate(kToday)}});
    {
        auto w = open(1);
        QCOMPARE(w->billList().size(), 2);
        QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115002")); // the last one
        click(w.get(), "tbFirst");
        QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115001"));
        QVERIFY(!child<QToolButton>(w.get(), "tbPrior")->isEnabled());
        click(w.get(), "tbNext");
        QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115002"));
        w->setListDate(kToday.addDays(-1));
        QCOMPARE(w->billList().size(), 1);
        QCOMPARE(w->currentCode(), QStringLiteral("CGD20240114001"));
        w->setListDate(kToday.addDays(-2));
        QCOMPARE(w->currentIndex(), -1);
        QVERIFY(child<QLineEdit>(w.get(), "edtCode")->text().isEmpty());
    }
    auto w = std::make_unique<TFrmDeptGl>(1);
    w->LocateCode = QStringLiteral("CGD20240115001");
    w->show();
    QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115001"));

    // A new document saved with another entry date leaves the list as it was.
    click(w.get(), "tbNew");
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("供应商甲"));
    child<QLineEdit>(w.get(), "edtDate")->setText(QStringLiteral("2024-01-20"));
    click(w.get(), "tbSave");
    QCOMPARE(w->billList().size(), 2);
    QCOMPARE(w->currentCode(), QStringLiteral("CGD20240115002"));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_Code = 'CGD20240115003'")), 1);
}

void TstEntryWindow::priceColumnsHiddenWithoutRight()
{
    Session s = Session::current();
    s.operCode = QStringLiteral("001");
    s.operName = QStringLiteral("仓管员");
    s.rPrice = false;
    Session::current() = s;
    auto w = open(1);
    EntryLineModel* m = w->lineModel();
    for (const char* f : {"F_Price", "F_TotalPrice", "F_CBprice"})
        QVERIFY2(w->lineView()->isColumnHidden(m->columnOf(QString::fromLatin1(f))), f);
    QVERIFY(!w->lineView()->isColumnHidden(m->columnOf(QStringLiteral("F_Amount"))));
    QVERIFY(!child<QToolButton>(w.get(), "tbFcheck")->isVisibleTo(w.get()));
    QVERIFY(!child<QAction>(w.get(), "actPrint0")->isVisible());
    QVERIFY(!child<QAction>(w.get(), "actPrint1")->isVisible());
    QVERIFY(child<QAction>(w.get(), "actPrint2")->isVisible());

    click(w.get(), "tbNew");
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("供应商甲"));
    QVERIFY(w->addPickedGood(QStringLiteral("G001"))); // price 2 (cost price)
    setCell(*w, 0, "F_Amount", 3);
    click(w.get(), "tbSave");
    QCOMPARE(dm().GetSqlFloat(QStringLiteral("select F_TotalPrice from DepotM")), 6.0);
    QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Maker from DepotM")), QStringLiteral("仓管员"));
}

void TstEntryWindow::badEntryDateRefused()
{
    auto w = open(3); // production receipt: may stay without department
    click(w.get(), "tbNew");
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    QLineEdit* date = child<QLineEdit>(w.get(), "edtDate");
    QCOMPARE(date->text(), QStringLiteral("2024-01-15"));
    date->setText(QStringLiteral("2024-13-01"));
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(), QStringLiteral("制单日期格式不正确，请输入 yyyy-mm-dd 格式的日期！"));
    QCOMPARE(m_msg->lastKind(), 0);
    QVERIFY(!w->isBrowsing());
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 0);
    date->setText(QStringLiteral("2024-01-15"));
    m_msg->clear();
    click(w.get(), "tbSave");
    QVERIFY2(m_msg->count() == 0, qPrintable(m_msg->texts().join(QLatin1Char('|'))));
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_Flag = 3 and COALESCE(F_Client,'') = ''")), 1);
}

void TstEntryWindow::cancelDiscardsLineChanges()
{
    auto w = open(-3);
    click(w.get(), "tbNew");
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    addOpening(QStringLiteral("A仓"), QStringLiteral("G001"), 10, 2);
    click(w.get(), "tbSave");
    QCOMPARE(m_msg->lastText(), QStringLiteral("领用部门不能为空！"));
    child<QComboBox>(w.get(), "cbbClient")->setCurrentIndex(0);
    click(w.get(), "tbSave");
    QVERIFY(w->isBrowsing());
    click(w.get(), "tbEdit");
    setCell(*w, 0, "F_Amount", 9);
    // Escape cancels the edit; the saved quantity is shown again.
    QTest::keyClick(w->lineView(), Qt::Key_Escape);
    QVERIFY(w->isBrowsing());
    QCOMPARE(w->lineModel()->line(0).amount, 1.0);
    QCOMPARE(dm().GetSqlFloat(QStringLiteral("select F_Amount from DepotD")), 1.0);
}

void TstEntryWindow::keys()
{
    auto w = open(2);
    QLineEdit* code = child<QLineEdit>(w.get(), "edtCode");
    QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!w->isBrowsing());
    QCOMPARE(code->text(), QStringLiteral("XTD20240115001"));
    // Enter in a header field moves on; Escape cancels.
    QLineEdit* client = child<QLineEdit>(w.get(), "cbeClient");
    client->setFocus();
    QTest::keyClick(client, Qt::Key_Return);
    QTest::keyClick(client, Qt::Key_Escape);
    QVERIFY(w->isBrowsing());
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM")), 0);

    QTest::keyClick(w->lineView(), Qt::Key_A, Qt::ControlModifier);
    client->setText(QStringLiteral("客户乙"));
    QVERIFY(w->addPickedGood(QStringLiteral("G002")));
    QCOMPARE(w->lineModel()->line(0).price, 1.5); // a sales return takes the sale price
    QTest::keyClick(client, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(w->isBrowsing());
    QCOMPARE(count(QStringLiteral("select count(*) from DepotM where F_Flag = 2")), 1);
    QTest::keyClick(w->lineView(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->isEditingExisting());
    QTest::keyClick(w->lineView(), Qt::Key_Escape);
    QVERIFY(w->isBrowsing());
    m_msg->setNextAnswer(Messenger::No);
    QTest::keyClick(w->lineView(), Qt::Key_Delete);
    QCOMPARE(m_msg->lastText(), QStringLiteral("真的要删除当前销售退货单 XTD20240115001吗？"));
    // Escape in browse state closes the window.
    QTest::keyClick(w->lineView(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

void TstEntryWindow::printAndDesign()
{
    EntryRecordingPresenter presenter;
    PrintServices::setTemplateFolder(QStringLiteral(KELMORA_TEST_DATA "/../../resources/Qr"));
    auto w = open(-5);
    click(w.get(), "tbPrint"); // empty list: nothing
    QCOMPARE(presenter.previews, 0);
    click(w.get(), "tbNew");
    child<QLineEdit>(w.get(), "cbeClient")->setText(QStringLiteral("客户乙"));
    addOpening(QStringLiteral("A仓"), QStringLiteral("G001"), 5, 2);
    QVERIFY(w->addPickedGood(QStringLiteral("G001")));
    QVERIFY(w->addPickedGood(QStringLiteral("G002")));
    SysOptions::current().negativeStock = true;
    m_msg->setDefaultAnswer(Messenger::Yes);
    click(w.get(), "tbSave");
    QVERIFY(w->isBrowsing());
    click(w.get(), "tbPrint");
    QCOMPARE(presenter.previews, 1);
    const ReportDataSet* header = presenter.last.dataSet(ReportEngine::masterName());
    const ReportDataSet* lines = presenter.last.dataSet(ReportEngine::detailName());
    QVERIFY(header && lines);
    QCOMPARE(header->rowCount(), 1);
    QCOMPARE(header->value(0, QStringLiteral("F_Code")).toString(), QStringLiteral("CRD20240115001"));
    QCOMPARE(lines->rowCount(), 2);
    child<QAction>(w.get(), "actDesign1")->trigger();
    QCOMPARE(presenter.designs, 1);
    QVERIFY(presenter.lastFile.endsWith(QStringLiteral("frJieHuoOutDept1.fr3")));
    QCOMPARE(child<QAction>(w.get(), "actPrint2")->text(), QStringLiteral("打印其他出库单(不含单价和金额)"));
    QCOMPARE(child<QAction>(w.get(), "actDesign0")->text(), QStringLiteral("设置其他出库单"));
    PrintServices::setTemplateFolder(QString());
}

void TstEntryWindow::mainWindowOpensTheElevenWindows()
{
    TFrmMain main;
    main.applySession();
    const QList<int> codes {301, 302, 303, 304, 305, 401, 402, 403, 404, 501, 502};
    for (int code : codes) {
        QVERIFY2(main.runAction(code), qPrintable(QString::number(code)));
        const EntryKind* k = nullptr;
        for (const EntryKind& e : EntryKinds::all())
            if (e.base().actionCode == code)
                k = &e;
        QVERIFY(k);
        auto* w = qobject_cast<TFrmDeptGl*>(main.findWindow(k->windowClass()));
        QVERIFY2(w, qPrintable(k->windowClass()));
        QCOMPARE(w->kind(), k->kind);
    }
    QCOMPARE(main.childWindows().size(), 11);
    QVERIFY(main.runAction(301)); // open-or-raise: still one
    QCOMPARE(main.childWindows().size(), 11);
    QVERIFY(main.closeAllChildren());
}

QTEST_MAIN(TstEntryWindow)
#include "tst_entrywindow.moc"
