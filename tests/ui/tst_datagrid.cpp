// kelmora-test: pg
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "data/export/gridexporter.h"
#include "data/frmdispfieldxz.h"
#include "data/gridservices.h"
#include "data/workbook/workbookreader.h"
#include "support/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// The data grid over real query results on both backends, and the grid services on it.
class TestDataGrid : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_db;
    Session m_savedSession;

    static GridColumnDef col(const char* field, const char* caption, int footer = GridColumnDef::NoFooter)
    {
        GridColumnDef c;
        c.fieldName = QLatin1String(field);
        c.caption = QString::fromUtf8(caption);
        c.footerType = footer;
        return c;
    }

    static QList<GridColumnDef> builtInColumns()
    {
        return {col("F_Code", "编号", GridColumnDef::FooterText), col("F_Name", "名称"), col("F_Amount", "数量", 2),
            col("F_Price", "单价"), col("F_TotalPrice", "金额", GridColumnDef::FooterSum), col("F_Mem", "备注")};
    }

    static void addCfgRow(const QString& key, const QString& field, int order, const QString& caption)
    {
        QVERIFY(dm().ExecSql(QStringLiteral("insert into cfg_grid (F_name, F_fieldname, F_Order, F_Caption, F_Width, "
                                            "F_Visible, F_ReadOnly, F_DisplayFormat, F_FooterValue, F_FooterType, "
                                            "F_Alignment) values (:k, :f, :o, :c, 70, 1, 1, '', '', 0, 0)"),
            {{QStringLiteral("k"), key}, {QStringLiteral("f"), field}, {QStringLiteral("o"), order},
                {QStringLiteral("c"), caption}}));
    }

    static const QString& itemsSql()
    {
        static const QString s = QStringLiteral(
            "select F_Code, F_Name, F_Amount, F_Price, F_TotalPrice, F_Mem from kel_items order by F_Code");
        return s;
    }

    static void setOperator(bool priceRight)
    {
        Session& s = Session::current();
        s.operCode = QStringLiteral("001");
        s.rPrice = priceRight;
    }

private slots:
    void initTestCase()
    {
        m_savedSession = Session::current();
        m_db = std::make_unique<TestDatabase>();
        if (!m_db->ok())
            QSKIP(qPrintable(m_db->errorString()));
        QVERIFY(dm().ExecSql(QStringLiteral("create table kel_items (F_Code varchar(20), F_Name varchar(50), "
                                            "F_Amount double precision, F_Price numeric(19,4), "
                                            "F_TotalPrice numeric(19,4), F_Mem varchar(50))")));
        const struct
        {
            const char *code, *name;
            double amount, price;
            const char* mem;
        } rows[] = {{"A01", "螺丝", 10, 1.5, "b"}, {"A02", "螺母", 3, 20, "a"}, {"B01", "垫圈", 7.5, 0.2, "c"},
            {"C01", "弹簧", 1, 100, "d"}};
        for (const auto& r : rows) {
            QVERIFY(dm().ExecSql(QStringLiteral("insert into kel_items values (:c, :n, :a, :p, :t, :m)"),
                {{QStringLiteral("c"), QLatin1String(r.code)}, {QStringLiteral("n"), QString::fromUtf8(r.name)},
                    {QStringLiteral("a"), r.amount}, {QStringLiteral("p"), r.price},
                    {QStringLiteral("t"), r.amount * r.price}, {QStringLiteral("m"), QLatin1String(r.mem)}}));
        }
    }

    void cleanup()
    {
        Session::current() = m_savedSession;
        GridServices::setDialogRunner({});
        GridServices::setSaveDialog({});
        GridServices::setFileOpener({});
    }

    void cleanupTestCase() { m_db.reset(); }

    void rowsAndFields()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(g.openQuery(itemsSql()));
        QCOMPARE(g.rowCount(), 4);
        g.setCurrentRow(1);
        // PostgreSQL hands back lower-case names; either spelling finds the field.
        QCOMPARE(g.fieldValue(QStringLiteral("F_CODE")).toString(), QStringLiteral("A02"));
        QCOMPARE(g.value(2, QStringLiteral("f_name")).toString(), QStringLiteral("垫圈"));
        QCOMPARE(g.footerSum(4), 15 + 60 + 1.5 + 100.0);
        g.setColumnFooter(0, GridColumnDef::FooterText, QStringLiteral("合    计"));
        QCOMPARE(g.footerText(0), QStringLiteral("合    计"));
        g.setColumnDisplayFormat(4, QStringLiteral(",0.00"));
        QCOMPARE(g.footerText(4), QStringLiteral("176.50"));
        QCOMPARE(g.view()->model()->index(0, 4).data().toString(), QStringLiteral("15.00"));
        QCOMPARE(g.view()->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::Alignment(Qt::AlignCenter));
    }

    void keyboardMovesCurrentRow()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(g.openQuery(itemsSql()));
        g.resize(600, 200);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QSignalSpy spy(&g, &DataGrid::currentRowChanged);
        g.view()->setFocus();
        QTest::keyClick(g.view(), Qt::Key_Down);
        QCOMPARE(g.currentRow(), 1);
        QCOMPARE(g.fieldValue(QStringLiteral("F_Code")).toString(), QStringLiteral("A02"));
        QTest::keyClick(g.view(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(g.currentRow(), 3);
        QTest::keyClick(g.view(), Qt::Key_Right);
        QCOMPARE(g.currentRow(), 3);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.last().at(0).toInt(), 3);
    }

    void badQueryIsReported()
    {
        DataGrid g;
        ScriptedMessenger msg;
        QVERIFY(!g.openQuery(QStringLiteral("select nothing from nowhere")));
        QCOMPARE(msg.texts(), QStringList {DataModule::openFailText()});
    }

    // Rows come in as they are needed; the rest follow in the background.
    void lazyLoading()
    {
        DataGrid g;
        g.setColumns({col("n", "n", GridColumnDef::FooterSum)});
        QVERIFY(g.openQuery(QStringLiteral("with recursive s(n) as (select 1 union all select n + 1 from s where n < "
                                           "20000) select n from s")));
        QVERIFY(g.rowCount() < 20000);
        QVERIFY(g.rowCount() >= 100);
        // Other statements on the same connection meanwhile must not cut the result short.
        QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from kel_items")), 4);
        QTRY_COMPARE(g.rowCount(), 20000);
        QCOMPARE(g.footerSum(0), 20000.0 * 20001 / 2);
    }

    // Columns dragged to a new place keep it in the layout that is saved.
    void dragColumn()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(g.openQuery(itemsSql()));
        g.view()->horizontalHeader()->moveSection(0, 2);
        QTRY_COMPARE(g.column(2).fieldName, QStringLiteral("F_Code"));
        QCOMPARE(g.columns().at(2).fieldName, QStringLiteral("F_Code"));
        QCOMPARE(g.columns().at(0).fieldName, QStringLiteral("F_Name"));
        QCOMPARE(g.view()->model()->index(0, 2).data().toString(), QStringLiteral("A01"));
        QCOMPARE(g.view()->horizontalHeader()->visualIndex(2), 2);
        QCOMPARE(g.footerText(2), QStringLiteral(""));
    }

    void noStoredLayoutKeepsBuiltIn()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(GridServices::loadLayout(&g, QStringLiteral("nosuchgrid")));
        QCOMPARE(g.columnCount(), 6);
        QCOMPARE(g.column(1).caption, QStringLiteral("名称"));
    }

    // Hide a column through the chooser, save, reopen: it stays hidden. A caption
    // with a quote is saved too.
    void layoutRoundTrip()
    {
        dm().ExecSql(QStringLiteral("delete from cfg_grid where F_name = 'kelitems'"));
        addCfgRow(QStringLiteral("kelitems"), QStringLiteral("F_Name"), 0, QStringLiteral("名称"));
        addCfgRow(QStringLiteral("kelitems"), QStringLiteral("F_Code"), 1, QStringLiteral("编号"));
        addCfgRow(QStringLiteral("kelitems"), QStringLiteral("F_Amount"), 2, QStringLiteral("数量"));
        addCfgRow(QStringLiteral("kelitems"), QString(), 3, QStringLiteral("无字段"));
        {
            DataGrid g;
            g.setColumns(builtInColumns());
            QVERIFY(GridServices::loadLayout(&g, QStringLiteral("kelitems")));
            QCOMPARE(g.columnCount(), 3);
            QCOMPARE(g.column(0).fieldName, QStringLiteral("F_Name"));
            QVERIFY(g.openQuery(itemsSql()));
            QCOMPARE(g.view()->model()->index(0, 0).data().toString(), QStringLiteral("螺丝"));

            bool listed = false;
            GridServices::setDialogRunner([&listed](QDialog* d) {
                auto* list = d->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
                listed = list && list->count() == 3 && list->item(1)->text() == QStringLiteral("编号")
                    && list->item(1)->checkState() == Qt::Checked;
                if (list)
                    list->item(1)->setCheckState(Qt::Unchecked);
                d->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
                return d->result();
            });
            QVERIFY(GridServices::chooseColumns(&g));
            QVERIFY(listed);
            QVERIFY(!g.isColumnVisible(1));
            QVERIFY(g.view()->isColumnHidden(1));
            g.setColumnCaption(0, QStringLiteral("品名 'A'"));
            g.view()->setColumnWidth(2, 150);

            ScriptedMessenger msg;
            msg.setNextAnswer(Messenger::Yes);
            QVERIFY(GridServices::saveLayoutAsked(&g, QStringLiteral("kelitems")));
            QCOMPARE(msg.texts(), QStringList {QStringLiteral("真的要保存当前网格设置吗？")});
            QCOMPARE(msg.lastKind(), 1);
        }
        DataGrid g2;
        QVERIFY(GridServices::loadLayout(&g2, QStringLiteral("kelitems")));
        QCOMPARE(g2.columnCount(), 3);
        QVERIFY(!g2.isColumnVisible(1));
        QVERIFY(g2.view()->isColumnHidden(1));
        QCOMPARE(g2.column(0).caption, QStringLiteral("品名 'A'"));
        QCOMPARE(g2.column(2).width, 150);
    }

    void chooserCancelChangesNothing()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        TFrmDispFieldXZ dlg(&g);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("字段列表"));
        dlg.checkList()->item(0)->setCheckState(Qt::Unchecked);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(g.isColumnVisible(0));
    }

    void saveDeclined()
    {
        dm().ExecSql(QStringLiteral("delete from cfg_grid where F_name = 'kelno'"));
        addCfgRow(QStringLiteral("kelno"), QStringLiteral("F_Code"), 0, QStringLiteral("编号"));
        DataGrid g;
        QVERIFY(GridServices::loadLayout(&g, QStringLiteral("kelno")));
        g.setColumnCaption(0, QStringLiteral("改"));
        ScriptedMessenger msg;
        msg.setNextAnswer(Messenger::No);
        QVERIFY(!GridServices::saveLayoutAsked(&g, QStringLiteral("kelno")));
        QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Caption from cfg_grid where F_name = 'kelno'")),
            QStringLiteral("编号"));
    }

    void priceHandling_data()
    {
        QTest::addColumn<bool>("priceRight");
        QTest::addColumn<int>("handling");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("priceVisible");
        QTest::newRow("hidden") << false << 3 << 6 << false;
        QTest::newRow("removed") << false << 1 << 4 << false;
        QTest::newRow("kept with handling 0") << false << 0 << 6 << true;
        QTest::newRow("price right") << true << 1 << 6 << true;
    }

    void priceHandling()
    {
        QFETCH(bool, priceRight);
        QFETCH(int, handling);
        QFETCH(int, columns);
        QFETCH(bool, priceVisible);
        setOperator(priceRight);
        SysOptions::current().iPrice = 3;
        DataGrid g;
        g.setColumns(builtInColumns());
        GridServices::formatGrid(&g, 1, handling);
        QCOMPARE(g.columnCount(), columns);
        const int price = g.columnOf(QStringLiteral("F_Price"));
        QCOMPARE(price >= 0 && g.isColumnVisible(price), priceVisible);
        if (price >= 0)
            QCOMPARE(g.column(price).displayFormat, SysOptions::moneyFormatFor(3));
        QCOMPARE(
            g.column(g.columnOf(QStringLiteral("F_Amount"))).displayFormat, SysOptions::current().quantityFormat());
        // Removed columns are not offered by the chooser.
        TFrmDispFieldXZ dlg(&g);
        QCOMPARE(dlg.checkList()->count(), columns);
        SysOptions::current().iPrice = 2;
    }

    void administratorSeesPrices()
    {
        Session::current().operCode = QStringLiteral("000");
        Session::current().rPrice = false;
        DataGrid g;
        g.setColumns(builtInColumns());
        GridServices::formatGrid(&g, 1, 1);
        QCOMPARE(g.columnCount(), 6);
    }

    void amountTotal_data()
    {
        QTest::addColumn<bool>("priceRight");
        QTest::newRow("price right") << true;
        QTest::newRow("no price right") << false;
    }

    void amountTotal()
    {
        QFETCH(bool, priceRight);
        setOperator(priceRight);
        DataGrid g;
        g.setColumns(builtInColumns());
        GridServices::formatGrid(&g, 1, 1);
        QVERIFY(g.openQuery(itemsSql()));
        const int before = g.columnCount();
        QCOMPARE(GridServices::gridAmountTotal(&g), 176.5);
        QCOMPARE(g.columnCount(), before);
    }

    void titleSorting()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(g.openQuery(itemsSql()));
        // A click on the title itself.
        QHeaderView* h = g.view()->horizontalHeader();
        g.resize(700, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const int x = h->sectionViewportPosition(2) + h->sectionSize(2) / 2;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
        QCOMPARE(g.sortMarker(2), DataGrid::UpMarker);
        QCOMPARE(g.value(0, QStringLiteral("F_Amount")).toDouble(), 10.0);
        g.sortByTitle(2);
        QCOMPARE(g.sortMarker(2), DataGrid::DownMarker);
        QCOMPARE(g.value(0, QStringLiteral("F_Amount")).toDouble(), 1.0);
        g.sortByTitle(2);
        QCOMPARE(g.sortMarker(2), DataGrid::UpMarker);
        QCOMPARE(g.value(0, QStringLiteral("F_Amount")).toDouble(), 10.0);
        // Another column takes the marker; Chinese text sorts by pinyin (dan, dian, luo mu,
        // luo si), not by code point (垫 弹 螺丝 螺母).
        g.sortByTitle(1);
        QCOMPARE(g.sortMarker(2), DataGrid::NoMarker);
        QCOMPARE(g.sortMarker(1), DataGrid::UpMarker);
        g.sortByTitle(1);
        QStringList names;
        for (int r = 0; r < g.rowCount(); ++r)
            names << g.value(r, QStringLiteral("F_Name")).toString();
        QCOMPARE(names,
            QStringList(
                {QStringLiteral("弹簧"), QStringLiteral("垫圈"), QStringLiteral("螺母"), QStringLiteral("螺丝")}));
        g.sortByTitle(1);
        // "mem" columns only change the marker.
        const QString firstBefore = g.value(0, QStringLiteral("F_Code")).toString();
        g.sortByTitle(5);
        QCOMPARE(g.sortMarker(5), DataGrid::UpMarker);
        QCOMPARE(g.value(0, QStringLiteral("F_Code")).toString(), firstBefore);
        // The stock movement detail pairs the markers the other way.
        g.setSortPairing(DataGrid::UpIsAscending);
        g.sortByTitle(4);
        QCOMPARE(g.sortMarker(4), DataGrid::UpMarker);
        QCOMPARE(g.value(0, QStringLiteral("F_TotalPrice")).toDouble(), 1.5);
    }

    void titleClickLeftToOwner()
    {
        // A list that orders its rows in the query: the title click is only reported,
        // the rows stay in the query's order and the owner sets the marker.
        DataGrid g;
        g.setColumns(builtInColumns());
        g.setSortOnTitleClick(false);
        QVERIFY(g.openQuery(itemsSql()));
        QStringList before;
        for (int r = 0; r < g.rowCount(); ++r)
            before << g.value(r, QStringLiteral("F_Code")).toString();
        QSignalSpy spy(&g, &DataGrid::titleClicked);
        QHeaderView* h = g.view()->horizontalHeader();
        g.resize(700, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const int x = h->sectionViewportPosition(2) + h->sectionSize(2) / 2;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(g.sortMarker(2), DataGrid::NoMarker);
        QStringList after;
        for (int r = 0; r < g.rowCount(); ++r)
            after << g.value(r, QStringLiteral("F_Code")).toString();
        QCOMPARE(after, before);
        g.setSortMarker(2, DataGrid::DownMarker);
        QCOMPARE(g.sortMarker(2), DataGrid::DownMarker);
        QVERIFY(h->isSortIndicatorShown());
        QCOMPARE(h->sortIndicatorSection(), 2);
        QCOMPARE(h->sortIndicatorOrder(), Qt::AscendingOrder); // Qt draws the down arrow for ascending
        g.setSortMarker(7, DataGrid::UpMarker); // no such column: the marker goes
        QCOMPARE(g.sortMarker(2), DataGrid::NoMarker);
        QVERIFY(!h->isSortIndicatorShown());
    }

    void exportGrid_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("xls") << 1 << "goods"
                             << "goods.xls";
        QTest::newRow("txt no extension") << 2 << "goods"
                                          << "goods.txt";
        QTest::newRow("txt upper case") << 2 << "goods.TXT"
                                        << "goods.TXT";
        QTest::newRow("htm") << 3 << "goods.htm"
                             << "goods.htm";
        QTest::newRow("rtf") << 4 << "goods"
                             << "goods.rtf";
        QTest::newRow("csv") << 5 << "goods"
                             << "goods.csv";
        QTest::newRow("xlsx") << 6 << "goods"
                              << "goods.xlsx";
    }

    void exportGrid()
    {
        QFETCH(int, type);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        DataGrid g;
        g.setColumns(builtInColumns());
        g.setColumnVisible(5, false);
        g.setColumnDisplayFormat(4, QStringLiteral(",0.00"));
        QVERIFY(g.openQuery(itemsSql()));
        g.sortByTitle(0); // exported as shown: A01 last
        QString offeredName, offeredFilter;
        GridServices::setSaveDialog(
            [&](QWidget*, const QString& name, const QStringList& filters, QString* filter, QString* fileName) {
                offeredName = name;
                offeredFilter = *filter;
                *filter = filters.at(type - 1);
                *fileName = dir.filePath(typed);
                return true;
            });
        QString opened;
        GridServices::setFileOpener([&opened](const QString& f) {
            opened = f;
            return true;
        });
        ScriptedMessenger msg;
        msg.setNextAnswer(Messenger::Yes);
        const QString out = GridServices::exportGrid(&g, QStringLiteral("货品列表"));
        QCOMPARE(offeredName, QStringLiteral("货品列表"));
        QCOMPARE(offeredFilter, QStringLiteral("Excel 文档 (*.xls)"));
        QCOMPARE(out, dir.filePath(written));
        QCOMPARE(
            msg.texts(), QStringList {QStringLiteral("导出 “") + written + QStringLiteral("” 成功，打开该文件吗？")});
        QCOMPARE(opened, out);
        QVERIFY(QFileInfo(out).size() > 0);
        if (type == 1 || type == 6) {
            QString err;
            auto r = WorkbookReader::open(out, &err);
            QVERIFY2(r, qPrintable(err));
            QList<QStringList> rows;
            QVERIFY(r->readSheet(0, &rows));
            QCOMPARE(rows.size(), 5);
            QCOMPARE(rows.at(0),
                QStringList({QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("数量"),
                    QStringLiteral("单价"), QStringLiteral("金额")}));
            QCOMPARE(rows.at(1).at(0), QStringLiteral("C01"));
            QCOMPARE(rows.at(4),
                QStringList({QStringLiteral("A01"), QStringLiteral("螺丝"), QStringLiteral("10"), QStringLiteral("1.5"),
                    QStringLiteral("15")}));
        } else {
            QFile f(out);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll());
            QVERIFY(text.contains(QStringLiteral("螺丝")) || type == 4);
            QVERIFY(!text.contains(QStringLiteral("备注")));
            QVERIFY(text.indexOf(QStringLiteral("C01")) < text.indexOf(QStringLiteral("A01")));
        }
    }

    void exportCancelledAndFailed()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        QVERIFY(g.openQuery(itemsSql()));
        ScriptedMessenger msg;
        GridServices::setSaveDialog(
            [](QWidget*, const QString&, const QStringList&, QString*, QString*) { return false; });
        QVERIFY(GridServices::exportGrid(&g, QStringLiteral("x")).isEmpty());
        QCOMPARE(msg.count(), 0);
        GridServices::setSaveDialog([](QWidget*, const QString&, const QStringList&, QString*, QString* f) {
            *f = QStringLiteral("/nonexistent-dir/x");
            return true;
        });
        QVERIFY(GridServices::exportGrid(&g, QStringLiteral("x")).isEmpty());
        QCOMPARE(msg.count(), 1);
        QCOMPARE(msg.lastKind(), 3);
    }

    void lineGrid()
    {
        DataGrid g;
        g.setColumns({col("F_GoodName", "货品名称"), col("F_Type", "类别"), col("F_Amount", "数量"),
            col("F_Price", "单价"), col("F_Unit", "单位")});
        g.setRows({QStringLiteral("F_GoodName"), QStringLiteral("F_Type"), QStringLiteral("F_Amount"),
                      QStringLiteral("F_Price"), QStringLiteral("F_Unit")},
            {{QStringLiteral("螺丝"), QStringLiteral("五金"), 1, 2, QStringLiteral("个")}});
        GridServices::prepareLineGrid(&g);
        QAbstractItemModel* m = g.view()->model();
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!(m->flags(m->index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(m->flags(m->index(0, 2)) & Qt::ItemIsEditable);
        QVERIFY(!(m->flags(m->index(0, 4)) & Qt::ItemIsEditable));
        QVERIFY(m->setData(m->index(0, 2), 5.0, Qt::EditRole));
        QCOMPARE(g.value(0, QStringLiteral("F_Amount")).toDouble(), 5.0);
        const int r = g.appendRow();
        QCOMPARE(r, 1);
        QCOMPARE(g.currentRow(), 1);

        QSignalSpy spy(&g, &DataGrid::ellipsisClicked);
        g.resize(600, 200);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const QRect cell = g.view()->visualRect(m->index(0, 0));
        QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 5, cell.center().y()));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 0);
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("F_GoodName"));
    }

    void userFields()
    {
        Session& s = Session::current();
        for (int i = 0; i < 11; ++i) {
            s.zfCaptions[i] = QStringLiteral("自定义%1").arg(i + 1);
            s.zfShown[i] = i != 5;
        }
        DataGrid g;
        g.setColumns({col("F_ZF1", "ZF1"), col("F_SZ1", "SZ1"), col("f_rq3", "RQ3"), col("F_Code", "编号")});
        GridServices::applyUserFields(&g);
        QCOMPARE(g.column(0).caption, QStringLiteral("自定义1"));
        QCOMPARE(g.column(1).caption, QStringLiteral("自定义6"));
        QVERIFY(!g.isColumnVisible(1));
        QCOMPARE(g.column(2).caption, QStringLiteral("自定义11"));
        QVERIFY(g.isColumnVisible(2));
        QCOMPARE(g.column(3).caption, QStringLiteral("编号"));
    }

    void buttonsAndMenu()
    {
        QWidget w;
        auto* first = new QToolButton(&w);
        first->setObjectName(QStringLiteral("tbFirst"));
        auto* exportAct = new QAction(&w);
        exportAct->setObjectName(QStringLiteral("tbExport"));
        auto* other = new QToolButton(&w);
        other->setObjectName(QStringLiteral("tbQuery"));
        GridServices::enableButtons(&w, false);
        QVERIFY(!first->isEnabled());
        QVERIFY(!exportAct->isEnabled());
        QVERIFY(other->isEnabled());
        GridServices::enableButtons(&w, true);
        QVERIFY(first->isEnabled() && exportAct->isEnabled());

        auto* g = new DataGrid(&w);
        QMenu* menu = GridServices::installGridMenu(g, QStringLiteral("kelitems"));
        QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
        QCOMPARE(menu->findChild<QAction*>(QStringLiteral("N1"))->text(), QStringLiteral("显示字段列表"));
        QCOMPARE(menu->findChild<QAction*>(QStringLiteral("N2"))->text(), QStringLiteral("保存当前设置"));
    }

    void rowColoursAndScreenshot()
    {
        DataGrid g;
        g.setColumns(builtInColumns());
        g.setColumnDisplayFormat(4, QStringLiteral(",0.00"));
        g.setColumnFooter(0, GridColumnDef::FooterText, QStringLiteral("合    计"));
        QVERIFY(g.openQuery(itemsSql()));
        g.setRowColorHook([&g](int row, QColor& text, QColor&) {
            if (g.value(row, QStringLiteral("F_Amount")).toDouble() < 5)
                text = Qt::red;
        });
        QCOMPARE(g.view()->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!g.view()->model()->index(0, 0).data(Qt::ForegroundRole).isValid());
        g.sortByTitle(4); // the up marker shows on 金额
        g.resize(640, 240);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const QPixmap shot = g.grab();
        QVERIFY(!shot.isNull());
        const QString dir = qEnvironmentVariable("KELMORA_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            shot.save(dir + QStringLiteral("/datagrid.png"));
    }
};

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
