// kelmora-test: pg
#include "app/messenger.h"
#include "masterdata/dlgeditgoodtype.h"
#include "masterdata/dlgentercaption.h"
#include "masterdata/frmtreecodeman.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

class TestTreeCode : public QObject
{
    Q_OBJECT
private slots:
    void buildTreeThroughDialogs();
    void blankNameRefusedByDialog();
    void pickingPreselectsAndReturnsPath();
    void pickingRefusesRoot();
    void cancelReturnsGivenText();
    void deleteRemovesItems();
    void misplacedRowsVisible();
    void batchDialogRefusesBlank();

private:
    // Answers the next modal name dialog with text (empty: cancel).
    static void answerName(const QString& text);
};

void TestTreeCode::answerName(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* dlg = qobject_cast<TDLGenterCaption*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        if (text.isEmpty()) {
            dlg->reject();
            return;
        }
        dlg->edtCurValue()->setText(text);
        dlg->accept();
    });
}

void TestTreeCode::buildTreeThroughDialogs()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmTreeCodeMan w;
    QCOMPARE(w.windowTitle(), QStringLiteral("商品类型资料"));
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Panel4"))->isVisibleTo(&w));
    QTreeWidget* tree = w.tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("商品类型"));

    answerName(QStringLiteral("食品"));
    w.acAddChildExecute();
    answerName(QStringLiteral("五金"));
    w.acAddExecute();
    tree->setCurrentItem(w.itemOf(w.categories().findCode(QStringLiteral("001"))));
    answerName(QStringLiteral("水果"));
    w.acAddChildExecute();
    answerName(QStringLiteral("蔬菜"));
    w.acAddExecute();
    QCOMPARE(msg.count(), 0);

    QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("食品"));
    QCOMPARE(root->child(0)->childCount(), 2);
    QCOMPARE(root->child(0)->child(1)->text(0), QStringLiteral("蔬菜"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_likecode from t_treecode where F_code = '001002'")),
        QStringLiteral("\\\\食品\\蔬菜"));

    // Rename through the dialog; the item follows.
    tree->setCurrentItem(root->child(0));
    answerName(QStringLiteral("粮油"));
    w.acEditExecute();
    QCOMPARE(root->child(0)->text(0), QStringLiteral("粮油"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_likecode from t_treecode where F_code = '001002'")),
        QStringLiteral("\\\\粮油\\蔬菜"));

    // A fresh window shows the same tree.
    TFrmTreeCodeMan again;
    QCOMPARE(again.tree()->topLevelItem(0)->child(0)->child(0)->text(0), QStringLiteral("水果"));
    if (!qEnvironmentVariableIsEmpty("KELMORA_SHOTS"))
        again.grab().save(qEnvironmentVariable("KELMORA_SHOTS") + QStringLiteral("/treecode.png"));
}

void TestTreeCode::blankNameRefusedByDialog()
{
    ScriptedMessenger msg;
    TDLGenterCaption dlg;
    dlg.edtCurValue()->setText(QStringLiteral("   "));
    dlg.accept();
    QCOMPARE(msg.lastText(), QStringLiteral("节点名称不能为空！"));
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void TestTreeCode::pickingPreselectsAndReturnsPath()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmTreeCodeMan w;
    w.setMode(TFrmTreeCodeMan::Picking);
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Panel4"))->isVisibleTo(&w));
    QString got;
    QTimer::singleShot(0, [&w] {
        QCOMPARE(w.categories().node(w.selectedNode()).name, QStringLiteral("紧固件"));
        // Choose another node and confirm with the button.
        w.tree()->setCurrentItem(w.itemOf(w.categories().findCode(QStringLiteral("003001"))));
        w.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    got = w.pick(QStringLiteral("\\\\五金工具\\紧固件"));
    QCOMPARE(got, QStringLiteral("\\\\办公用品\\纸张本册"));
}

void TestTreeCode::pickingRefusesRoot()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    TFrmTreeCodeMan w;
    w.setMode(TFrmTreeCodeMan::Picking);
    QTimer::singleShot(0, [&w] {
        w.confirm(false);
        QVERIFY(w.isVisible());
        // Enter in the tree confirms even on the root.
        QTest::keyClick(w.tree(), Qt::Key_Return);
    });
    QCOMPARE(w.pick(QStringLiteral("nothing matches")), QStringLiteral("\\\\"));
    QCOMPARE(msg.lastText(), QStringLiteral("不能选择根节点！"));
}

void TestTreeCode::cancelReturnsGivenText()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    TFrmTreeCodeMan w;
    w.setMode(TFrmTreeCodeMan::Picking);
    QTimer::singleShot(0, [&w] { w.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click(); });
    QCOMPARE(w.pick(QStringLiteral("given")), QStringLiteral("given"));
}

void TestTreeCode::deleteRemovesItems()
{
    TestDatabase tdb(true);
    KELMORA_REQUIRE_DB(tdb);
    ScriptedMessenger msg;
    msg.setDefaultAnswer(Messenger::Yes);
    TFrmTreeCodeMan w;
    QTreeWidgetItem* root = w.tree()->topLevelItem(0);
    const int before = root->childCount();
    w.tree()->setCurrentItem(w.itemOf(w.categories().findCode(QStringLiteral("002"))));
    w.acDeleteExecute();
    QCOMPARE(root->childCount(), before - 1);
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from t_treecode where F_code like '002%'")),
        qint64(0));
}

void TestTreeCode::misplacedRowsVisible()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY(tdb.connection().exec(QStringLiteral("insert into t_treecode (F_code,F_name,F_likecode,F_flag) values "
                                                 "('009001','孤儿','\\\\x\\孤儿','goodtype')")));
    TFrmTreeCodeMan w;
    QTreeWidgetItem* root = w.tree()->topLevelItem(0);
    QCOMPARE(root->childCount(), 1);
    QVERIFY(root->child(0)->text(0).startsWith(QStringLiteral("孤儿")));
    QVERIFY(root->child(0)->text(0).contains(QStringLiteral("009001")));
}

void TestTreeCode::batchDialogRefusesBlank()
{
    ScriptedMessenger msg;
    TDlgEditGoodType dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("批量修改货品类型"));
    QVERIFY(dlg.edtType()->isReadOnly());
    dlg.accept();
    QCOMPARE(msg.lastText(), QStringLiteral("商品类型名称不能为空！"));
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestTreeCode)
#include "tst_treecode.moc"
