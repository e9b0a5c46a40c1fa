// kelmora-test: pg
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/gridmodel.h"
#include "documents/dlggoodxz.h"
#include "documents/entrystocktable.h"
#include "documents/goodpickertarget.h"
#include "support/testdatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QtTest>
#include <memory>

namespace {
// A window that only records what the picker puts on its document.
class RecordingTarget : public GoodPickerTarget
{
public:
    Document doc;
    QStringList picked;
    QString product;
    Document pickerDocument() const override { return doc; }
    bool addPickedGood(const QString& code) override
    {
        picked << code;
        DocumentLine l;
        l.goodCode = code;
        doc.lines << l;
        return true;
    }
    void setPickedProduct(const QSqlRecord& good) override
    {
        product = good.value(good.indexOf(QStringLiteral("F_code"))).toString();
    }
};

void pickerExec(const QString& sql, const SqlParams& p = {})
{
    QVERIFY2(dm().ExecSql(sql, p), qPrintable(dm().lastDbError()));
}

void addGoodRow(const QString& code, const QString& name, const QString& type, const QString& spec, double enterPrice,
    bool stopped = false)
{
    pickerExec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Type,F_Spec,F_EnterPrice,F_SalePrice,F_Flag) "
                              "values(:c,:n,:t,:s,:e,:e,:f)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("t"), type},
            {QStringLiteral("s"), spec}, {QStringLiteral("e"), enterPrice}, {QStringLiteral("f"), stopped ? 1 : 0}});
}

void addDoc(const QString& code, int kind, int oper, const QString& depot, const QString& client, const QString& good,
    double amount, double cost)
{
    pickerExec(QStringLiteral("insert into DepotM(F_Code,F_Depot,F_Client,F_Flag,F_OperFlag,F_Date) "
                              "values(:c,:d,:cl,:k,:o,'2024-01-15 00:00:00')"),
        {{QStringLiteral("c"), code}, {QStringLiteral("d"), depot}, {QStringLiteral("cl"), client},
            {QStringLiteral("k"), kind}, {QStringLiteral("o"), oper}});
    pickerExec(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_Amount,F_Price,F_TotalPrice,F_CBprice) "
                              "values(:c,:g,:a,:p,:t,:cb)"),
        {{QStringLiteral("c"), code}, {QStringLiteral("g"), good}, {QStringLiteral("a"), amount},
            {QStringLiteral("p"), cost / amount}, {QStringLiteral("t"), cost}, {QStringLiteral("cb"), cost}});
}

QStringList listedCodes(TDlgGoodXz& dlg)
{
    GridModel* m = dlg.goodsModel();
    m->fetchAll();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->value(r, QStringLiteral("F_code")).toString();
    return out;
}
} // namespace

class TstGoodPicker : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingBeforeTreeNode();
    void filters_data();
    void filters();
    void chosenGoodsLeaveTheList();
    void componentModesLeaveOutEveryLine();
    void headerModeChoosesProductAndCloses();
    void stockGridPerDepot();
    void stockGridOnlyPermittedDepots();
    void fixedUnitPriceShowsEnterPrice();
    void otherConnectionDoesNotDisturb();
    void sortingByTitle();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedMessenger> m_msg;
};

void TstGoodPicker::init()
{
    m_db = std::make_unique<TestDatabase>();
    KELMORA_REQUIRE_DB(*m_db);
    m_msg = std::make_unique<ScriptedMessenger>();
    Session s;
    s.operCode = QStringLiteral("000");
    s.operName = QStringLiteral("系统管理员");
    s.rPrice = true;
    Session::current() = s;
    SysOptions::current() = SysOptions();
    // Categories: 五金 (001) with 螺丝类 (001001) below it, and 电器 (002).
    pickerExec(QStringLiteral("delete from t_treecode"));
    const char* tree[][3]
        = {{"001", "五金", "\\\\五金"}, {"001001", "螺丝类", "\\\\五金\\螺丝类"}, {"002", "电器", "\\\\电器"}};
    for (auto& t : tree)
        pickerExec(
            QStringLiteral("insert into t_treecode(F_code,F_name,F_likecode,F_flag) values(:c,:n,:l,'goodtype')"),
            {{QStringLiteral("c"), QString::fromUtf8(t[0])}, {QStringLiteral("n"), QString::fromUtf8(t[1])},
                {QStringLiteral("l"), QString::fromUtf8(t[2])}});
    addGoodRow(QStringLiteral("A001"), QStringLiteral("十字螺丝"), QStringLiteral("\\\\五金\\螺丝类"),
        QStringLiteral("M3"), 2);
    addGoodRow(QStringLiteral("A002"), QStringLiteral("六角螺母"), QStringLiteral("\\\\五金"), QStringLiteral("M4"), 1);
    addGoodRow(QStringLiteral("B001"), QStringLiteral("插座"), QStringLiteral("\\\\电器"), QStringLiteral("10A"), 15);
    addGoodRow(
        QStringLiteral("B002"), QStringLiteral("旧插头"), QStringLiteral("\\\\电器"), QStringLiteral("5A"), 5, true);
}

void TstGoodPicker::cleanup()
{
    m_msg.reset();
    m_db.reset();
}

void TstGoodPicker::nothingBeforeTreeNode()
{
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.findChild<QLineEdit*>(QStringLiteral("edtCode"))->setText(QStringLiteral("A"));
    QCOMPARE(dlg.goodsModel()->rowCount(), 0);
    QVERIFY(!dlg.stockTableBuilt());
    dlg.findChild<QLineEdit*>(QStringLiteral("edtCode"))->clear();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.stockTableBuilt());
    QCOMPARE(listedCodes(dlg), (QStringList {QStringLiteral("A001"), QStringLiteral("A002"), QStringLiteral("B001")}));
    QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("lblCount"))->text(), QStringLiteral("当前货品数量： 3 个"));
}

void TstGoodPicker::filters_data()
{
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QStringList>("expected");
    auto u = [](const char* t) { return QString::fromUtf8(t); };
    QTest::newRow("code prefix") << 0 << u("A") << u("") << u("") << QStringList {u("A001"), u("A002")};
    QTest::newRow("code not inside") << 0 << u("001") << u("") << u("") << QStringList {};
    QTest::newRow("name inside") << 0 << u("") << u("螺") << u("") << QStringList {u("A001"), u("A002")};
    QTest::newRow("spec inside") << 0 << u("") << u("") << u("M") << QStringList {u("A001"), u("A002")};
    QTest::newRow("wildcard literal") << 0 << u("") << u("%") << u("") << QStringList {};
    QTest::newRow("category and below") << 1 << u("") << u("") << u("") << QStringList {u("A001"), u("A002")};
    QTest::newRow("sub category") << 2 << u("") << u("") << u("") << QStringList {u("A001")};
    QTest::newRow("stopped not listed") << 3 << u("") << u("") << u("") << QStringList {u("B001")};
    QTest::newRow("category and name") << 1 << u("") << u("螺母") << u("") << QStringList {u("A002")};
}

void TstGoodPicker::filters()
{
    QFETCH(int, node);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, spec);
    QFETCH(QStringList, expected);
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(node);
    dlg.findChild<QLineEdit*>(QStringLiteral("edtCode"))->setText(code);
    dlg.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(name);
    dlg.findChild<QLineEdit*>(QStringLiteral("edtSpec"))->setText(spec);
    QCOMPARE(listedCodes(dlg), expected);
    QCOMPARE(dlg.goodsCount(), int(expected.size()));
}

void TstGoodPicker::chosenGoodsLeaveTheList()
{
    RecordingTarget t;
    {
        TDlgGoodXz dlg;
        dlg.setMode(-2);
        dlg.setTarget(&t);
        dlg.prepare();
        dlg.selectTreeNode(0);
        QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A002")));
        dlg.choose();
        QCOMPARE(t.picked, QStringList {QStringLiteral("A002")});
        QCOMPARE(listedCodes(dlg), (QStringList {QStringLiteral("A001"), QStringLiteral("B001")}));
        QCOMPARE(dlg.currentGoodsCode(), QStringLiteral("B001")); // the good that followed
        // F2 presses the floating button.
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY(dlg.findChild<QPushButton*>(QStringLiteral("btnSelect"))->isVisible());
        QTest::keyClick(&dlg, Qt::Key_F2);
        QCOMPARE(t.picked.size(), 2);
        QCOMPARE(t.picked.last(), QStringLiteral("B001"));
        QCOMPARE(listedCodes(dlg), QStringList {QStringLiteral("A001")});
    }
    // Reopened, the picker lists them again.
    TDlgGoodXz again;
    again.setTarget(&t);
    again.prepare();
    again.selectTreeNode(0);
    QCOMPARE(again.goodsCount(), 3);
}

void TstGoodPicker::componentModesLeaveOutEveryLine()
{
    RecordingTarget t;
    DocumentLine l;
    l.goodCode = QStringLiteral("B001");
    t.doc.lines << l;
    TDlgGoodXz dlg;
    dlg.setMode(12);
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QCOMPARE(dlg.goodsCount(), 3); // before the first choice the document's goods are still listed
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A001")));
    dlg.choose();
    QCOMPARE(listedCodes(dlg), QStringList {QStringLiteral("A002")});
}

void TstGoodPicker::headerModeChoosesProductAndCloses()
{
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setMode(121);
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("B001")));
    dlg.choose();
    QCOMPARE(t.product, QStringLiteral("B001"));
    QVERIFY(t.picked.isEmpty());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from tempCode")), 0);
}

void TstGoodPicker::stockGridPerDepot()
{
    pickerExec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                              "values('A仓','A001',10,2,20)"));
    addDoc(QStringLiteral("CGD1"), 1, 1, QStringLiteral("A仓"), QStringLiteral("S"), QStringLiteral("A001"), 10, 40);
    addDoc(QStringLiteral("DBD1"), 10, 1, QStringLiteral("B仓"), QStringLiteral("A仓"), QStringLiteral("A001"), 5, 15);
    // A good that came in and went out again has no row.
    addDoc(QStringLiteral("CGD2"), 1, 1, QStringLiteral("A仓"), QStringLiteral("S"), QStringLiteral("A002"), 3, 3);
    addDoc(QStringLiteral("XSD1"), -2, -1, QStringLiteral("A仓"), QStringLiteral("C"), QStringLiteral("A002"), 3, 3);
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A001")));
    GridModel* s = dlg.stockModel();
    QCOMPARE(s->rowCount(), 2);
    QCOMPARE(s->value(0, QStringLiteral("F_dept")).toString(), QStringLiteral("A仓"));
    QCOMPARE(s->value(0, QStringLiteral("F_amount")).toDouble(), 15.0); // 10 + 10 - 5
    QCOMPARE(s->value(1, QStringLiteral("F_dept")).toString(), QStringLiteral("B仓"));
    QCOMPARE(s->value(1, QStringLiteral("F_amount")).toDouble(), 5.0);
    QCOMPARE(dlg.stockFooterText(0), QStringLiteral("合  计"));
    QCOMPARE(dlg.stockFooterText(1), QStringLiteral("20"));
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A002")));
    QCOMPARE(dlg.stockModel()->rowCount(), 0);
    QCOMPARE(dlg.stockFooterText(1), QStringLiteral("0"));
}

void TstGoodPicker::stockGridOnlyPermittedDepots()
{
    for (const char* d : {"A仓", "B仓"})
        pickerExec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values(:d,'A001',4,2,8)"),
            {{QStringLiteral("d"), QString::fromUtf8(d)}});
    Session s = Session::current();
    s.operCode = QStringLiteral("001");
    s.ckFlag = 1;
    s.permittedDepots = {QStringLiteral("B仓")};
    s.rPrice = false;
    Session::current() = s;
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A001")));
    QCOMPARE(dlg.stockModel()->rowCount(), 1);
    QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_dept")).toString(), QStringLiteral("B仓"));
    // Without the price right the value columns are not shown.
    QVERIFY(dlg.stockView()->isColumnHidden(2));
    QVERIFY(dlg.stockView()->isColumnHidden(3));
    QCOMPARE(dlg.goodsModel()->fieldIndex(QStringLiteral("F_enterPrice")), -1);
}

void TstGoodPicker::fixedUnitPriceShowsEnterPrice()
{
    pickerExec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                              "values('A仓','B001',2,9,18)"));
    SysOptions::current().costingMode = 0;
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("B001")));
    QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_price")).toDouble(), 15.0);
    QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_totalPrice")).toDouble(), 30.0);
}

void TstGoodPicker::otherConnectionDoesNotDisturb()
{
    pickerExec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                              "values('A仓','A001',6,2,12)"));
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A001")));
    QCOMPARE(dlg.stockModel()->rowCount(), 1);
    // Another workstation opens its own picker: its table and marks stay on its connection.
    std::unique_ptr<Connection> other = m_db->openAnother();
    QVERIFY(other);
    EntryStockTable table(*other);
    QVERIFY2(table.clear() && table.fill(QStringLiteral("A001"), 1), qPrintable(table.errorString()));
    QVERIFY(other->exec(QStringLiteral("delete from tempGood")));
    QVERIFY(other->exec(QStringLiteral("insert into tempCode(F_code) values('A001')")));
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A002")));
    QVERIFY(dlg.setCurrentGoodsCode(QStringLiteral("A001")));
    QCOMPARE(dlg.stockModel()->rowCount(), 1);
    QCOMPARE(dlg.stockModel()->value(0, QStringLiteral("F_amount")).toDouble(), 6.0);
    dlg.queryGoods();
    QCOMPARE(dlg.goodsCount(), 3);
}

void TstGoodPicker::sortingByTitle()
{
    RecordingTarget t;
    TDlgGoodXz dlg;
    dlg.setTarget(&t);
    dlg.prepare();
    dlg.selectTreeNode(0);
    const int nameColumn = dlg.goodsGrid()->columnOf(QStringLiteral("F_enterPrice"));
    QVERIFY(nameColumn >= 0);
    dlg.sortByColumn(nameColumn); // ascending first
    QCOMPARE(listedCodes(dlg), (QStringList {QStringLiteral("A002"), QStringLiteral("A001"), QStringLiteral("B001")}));
    dlg.sortByColumn(nameColumn);
    QCOMPARE(listedCodes(dlg), (QStringList {QStringLiteral("B001"), QStringLiteral("A001"), QStringLiteral("A002")}));
}

QTEST_MAIN(TstGoodPicker)
#include "tst_goodpicker.moc"
