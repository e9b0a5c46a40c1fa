#include "frmcodeman.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "data/datamodule.h"
#include "gridprinter.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr int CodeIdRole = Qt::UserRole + 1;
} // namespace

TFrmCodeMan::TFrmCodeMan(QWidget* parent)
    : QDialog(parent)
    , m_tabs(new QTabBar(this))
    , m_grid(new QTableWidget(this))
{
    setObjectName(QStringLiteral("TFrmCodeMan"));
    setWindowTitle(QStringLiteral("选项设置"));
    resize(520, 460);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto act = [&](const char* name, const char* text, const QKeySequence& key, void (TFrmCodeMan::*slot)()) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        addAction(a);
        return a;
    };
    m_tbNew = act("tbNew", "新增", QKeySequence(QStringLiteral("Ctrl+A")), &TFrmCodeMan::tbNewClick);
    m_tbEdit = act("tbEdit", "修改", QKeySequence(QStringLiteral("Ctrl+E")), &TFrmCodeMan::tbEditClick);
    m_tbDel = act("tbDel", "删除", QKeySequence(Qt::Key_Delete), &TFrmCodeMan::tbDelClick);
    m_tbSave = act("tbSave", "保存", QKeySequence(QStringLiteral("Ctrl+S")), &TFrmCodeMan::tbSaveClick);
    m_tbCancel = act("tbCancel", "取消", QKeySequence(), &TFrmCodeMan::tbCancelClick);
    bar->addSeparator();
    m_tbPrint = act("tbPrint", "打印", QKeySequence(), &TFrmCodeMan::tbPrintClick);
    m_tbRefresh = act("tbRefresh", "刷新", QKeySequence(), &TFrmCodeMan::tbRefreshClick);
    m_tbExit = new QAction(QStringLiteral("退出"), this);
    m_tbExit->setObjectName(QStringLiteral("tbExit"));
    connect(m_tbExit, &QAction::triggered, this, &QDialog::reject);
    bar->addAction(m_tbExit);

    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->setExpanding(false);
    m_tabs->setShape(QTabBar::RoundedNorth);
    for (const CodeListKind& k : CodeListService::kinds())
        m_tabs->setTabData(m_tabs->addTab(k.caption), k.tabName);

    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumnCount(1);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_tbEdit->isEnabled())
            tbEditClick();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(m_tabs);
    layout->addWidget(m_grid, 1);

    connect(m_tabs, &QTabBar::currentChanged, this, &TFrmCodeMan::selectTab);
    selectTab(0);
    setEditState(false);
}

void TFrmCodeMan::execute(QWidget* parent)
{
    TFrmCodeMan w(parent);
    DispFormPos(&w, 1);
    w.exec();
}

void TFrmCodeMan::selectTab(int index)
{
    const QString tab = m_tabs->tabData(index).toString();
    m_kind = CodeListService::kindOfTab(tab);
    m_caption = m_tabs->tabText(index);
    openList();
}

void TFrmCodeMan::openList()
{
    m_grid->setHorizontalHeaderLabels({m_caption.trimmed()});
    m_grid->setRowCount(0);
    CodeListService::load(m_kind, m_original);
    m_grid->setRowCount(int(m_original.size()));
    for (int r = 0; r < m_original.size(); ++r) {
        auto* item = new QTableWidgetItem(m_original.at(r).name);
        item->setData(CodeIdRole, m_original.at(r).id);
        m_grid->setItem(r, 0, item);
    }
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentCell(0, 0);
}

void TFrmCodeMan::setEditState(bool editing)
{
    m_editing = editing;
    for (QAction* a : {m_tbNew, m_tbEdit, m_tbDel, m_tbPrint, m_tbRefresh, m_tbExit})
        a->setEnabled(!editing);
    m_tbSave->setEnabled(editing);
    m_tbCancel->setEnabled(editing);
    m_tabs->setEnabled(!editing); // the kind cannot change while changes are pending
    m_grid->setEditTriggers(editing ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
}

void TFrmCodeMan::tbNewClick()
{
    setEditState(true);
    const int r = m_grid->rowCount();
    m_grid->insertRow(r);
    auto* item = new QTableWidgetItem(QString());
    item->setData(CodeIdRole, 0);
    m_grid->setItem(r, 0, item);
    m_grid->setCurrentCell(r, 0);
    m_grid->editItem(item);
}

void TFrmCodeMan::tbEditClick()
{
    if (m_grid->rowCount() == 0) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), Messenger::Error);
        return;
    }
    setEditState(true);
}

void TFrmCodeMan::tbSaveClick()
{
    // Post the row being typed in.
    if (QWidget* editor = m_grid->focusWidget(); editor && editor != m_grid)
        m_grid->setFocus();
    m_grid->setCurrentItem(m_grid->currentItem());
    QList<CodeEntry> entries;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        QTableWidgetItem* item = m_grid->item(r, 0);
        entries << CodeEntry {item ? item->data(CodeIdRole).toLongLong() : 0, item ? item->text() : QString(), m_kind};
    }
    QString why;
    if (!CodeListService::saveList(m_kind, entries, m_original, &why)) {
        // Nothing was written: stay in the edit state with the changes.
        ShowMess(QStringLiteral("保存失败，请检测数据库连接！") + QLatin1Char('\n') + why, Messenger::Error);
        return;
    }
    setEditState(false);
    openList();
}

void TFrmCodeMan::tbCancelClick()
{
    setEditState(false);
    openList();
}

void TFrmCodeMan::tbDelClick()
{
    const int r = m_grid->currentRow();
    if (m_grid->rowCount() == 0 || r < 0) {
        ShowMess(QStringLiteral("此表是空表，不需要删除！"), Messenger::Information);
        return;
    }
    QTableWidgetItem* item = m_grid->item(r, 0);
    if (ShowMess(CodeListService::deleteQuestion(m_caption, item->text()), Messenger::Question) == Messenger::No)
        return;
    QString why;
    if (!CodeListService::remove(item->data(CodeIdRole).toLongLong(), &why)) {
        ShowMess(DataModule::deleteFailText(), Messenger::Error);
        return;
    }
    openList();
    m_grid->setCurrentCell(qMin(r, m_grid->rowCount() - 1), 0);
}

void TFrmCodeMan::tbPrintClick()
{
    // The grid as shown: one column, fitting 1, the print date in the footer.
    GridPrintColumn column;
    column.modelColumn = 0;
    column.title = m_grid->horizontalHeaderItem(0)->text();
    column.width = m_grid->columnWidth(0);
    GridPrinter::print(
        *m_grid->model(), {column}, m_caption.trimmed() + QStringLiteral("设置"), 1, QStringLiteral("date"), QString());
}

void TFrmCodeMan::tbRefreshClick()
{
    openList();
}

void TFrmCodeMan::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_tbCancel->isEnabled())
            tbCancelClick();
        else
            reject();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}
