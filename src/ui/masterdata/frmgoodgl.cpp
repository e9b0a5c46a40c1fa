#include "frmgoodgl.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "categorytreefiller.h"
#include "dlgeditgoodtype.h"
#include "frmgoodedit.h"
#include "masterlistmodel.h"
#include "printservices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
TFrmGoodGl::Services goodGlServices;
} // namespace

void TFrmGoodGl::setServices(const Services& services)
{
    goodGlServices = services;
}

TFrmGoodGl::TFrmGoodGl(QWidget* parent)
    : QWidget(parent)
    , m_categories(QStringLiteral("货品类型"))
    , m_tree(new QTreeWidget(this))
    , m_combo(new QComboBox(this))
    , m_edit(new QLineEdit(this))
    , m_disabled(new QCheckBox(QStringLiteral("包含已停用"), this))
    , m_grid(new QTableView(this))
    , m_model(new MasterListModel(this))
    , m_footer(new QLabel(this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("TFrmGoodGl"));
    setWindowTitle(QStringLiteral("货品资料管理"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto act = [&](const char* name, const char* text, const QKeySequence& key, auto slot) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(a);
        }
        connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        return a;
    };
    act("tbNew", "新增", QKeySequence(QStringLiteral("Ctrl+A")), [this] { tbNewClick(); });
    act("tbEdit", "修改", QKeySequence(QStringLiteral("Ctrl+E")), [this] { tbEditClick(); });
    act("tbDel", "删除", QKeySequence(Qt::Key_Delete), [this] { tbDelClick(); });
    bar->addSeparator();
    m_tbFirst = act("tbFirst", "首项", QKeySequence(Qt::Key_Home), [this] { setCurrentRow(0); });
    m_tbPrior = act("tbPrior", "前项", QKeySequence(Qt::Key_PageUp), [this] { setCurrentRow(currentRow() - 1); });
    m_tbNext = act("tbNext", "后项", QKeySequence(Qt::Key_PageDown), [this] { setCurrentRow(currentRow() + 1); });
    m_tbLast = act("tbLast", "末项", QKeySequence(Qt::Key_End), [this] { setCurrentRow(rowCount() - 1); });
    bar->addSeparator();
    m_tbPrint = act("tbPrint", "打印", QKeySequence(), [this] { tbPrintClick(); });
    m_tbSet = act("tbSet", "设置", QKeySequence(), [this] { tbSetClick(); });
    m_tbExport = act("tbExport", "导出", QKeySequence(), [this] { tbExportClick(); });
    bar->addSeparator();
    act("tbExit", "退出", QKeySequence(), [this] { close(); });

    // Search bar.
    m_combo->setObjectName(QStringLiteral("ComboBox1"));
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_disabled->setObjectName(QStringLiteral("CheckBox2"));
    auto* find = new QToolButton(this);
    find->setObjectName(QStringLiteral("SpeedButton1"));
    find->setText(QStringLiteral("查询"));
    auto* toggleTree = new QToolButton(this);
    toggleTree->setObjectName(QStringLiteral("SpeedButton2"));
    toggleTree->setText(QStringLiteral("<<"));
    connect(toggleTree, &QToolButton::clicked, this, [this, toggleTree] {
        m_tree->setVisible(!m_tree->isVisible());
        toggleTree->setText(m_tree->isVisible() ? QStringLiteral("<<") : QStringLiteral(">>"));
    });
    connect(find, &QToolButton::clicked, this, &TFrmGoodGl::search);
    connect(m_edit, &QLineEdit::returnPressed, this, &TFrmGoodGl::search);
    connect(m_combo, &QComboBox::currentIndexChanged, m_edit, &QLineEdit::clear);
    connect(m_disabled, &QCheckBox::toggled, this, &TFrmGoodGl::search);
    auto* searchBar = new QHBoxLayout;
    searchBar->addWidget(toggleTree);
    searchBar->addWidget(new QLabel(QStringLiteral("查询类型："), this));
    searchBar->addWidget(m_combo);
    searchBar->addWidget(new QLabel(QStringLiteral("查询内容："), this));
    searchBar->addWidget(m_edit, 1);
    searchBar->addWidget(find);
    searchBar->addWidget(m_disabled);

    m_tree->setObjectName(QStringLiteral("tvTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &TFrmGoodGl::search);

    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSortingEnabled(true);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::doubleClicked, this, &TFrmGoodGl::tbEditClick);
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    popup->addAction(QStringLiteral("显示字段列表"), this, [this] {
        // Column chooser: visibility per column from a checkable menu.
        QMenu chooser(this);
        for (int c = 0; c < m_model->columns().size(); ++c) {
            QAction* a = chooser.addAction(m_model->columns().at(c).caption);
            a->setCheckable(true);
            a->setChecked(!m_grid->isColumnHidden(c));
            connect(a, &QAction::toggled, this, [this, c](bool on) {
                m_grid->setColumnHidden(c, !on);
                m_model->columns()[c].visible = on;
            });
        }
        chooser.exec(QCursor::pos());
    });
    popup->addAction(QStringLiteral("保存当前设置"), this, &TFrmGoodGl::saveLayout);
    popup->addSeparator();
    popup->addAction(QStringLiteral("更改当前所选商品类型"), this, &TFrmGoodGl::changeSelectedCategory);
    connect(m_grid, &QTableView::customContextMenuRequested, this,
        [this, popup](const QPoint& pos) { popup->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFrmGoodGl::updateNavigation);

    m_footer->setObjectName(QStringLiteral("lblFooter"));
    m_footer->setStyleSheet(QStringLiteral("background: #dcebff; padding: 2px;"));
    m_count->setObjectName(QStringLiteral("lblCount"));

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(searchBar);
    rightLayout->addWidget(m_grid, 1);
    rightLayout->addWidget(m_footer);
    auto* split = new QSplitter(this);
    split->addWidget(m_tree);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 700});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(bar);
    layout->addWidget(split, 1);
    layout->addWidget(m_count);
    resize(960, 600);

    // Showing the window: tree, layout, formats, combo captions; the grid
    // stays empty until the user searches.
    loadTree();
    m_model->loadLayout(gridKey());
    m_model->setDisabledField(QStringLiteral("F_Flag"));
    applyFormats();
    const Session& s = Session::current();
    m_combo->addItems({QStringLiteral("货品编号"), QStringLiteral("货品名称"), QStringLiteral("商品规格"),
        QStringLiteral("产    地"), QStringLiteral("备    注")});
    for (int i = 0; i < 5; ++i)
        m_combo->addItem(s.zfCaptions[i].isEmpty() ? QStringLiteral("字符项%1").arg(i + 1) : s.zfCaptions[i]);
    m_combo->setCurrentIndex(1);
    updateNavigation();
    updateCount();
}

void TFrmGoodGl::loadTree()
{
    m_categories = CategoryTree(QStringLiteral("货品类型"));
    m_categories.load(CategoryTree::treeName());
    m_items.clear(); // the view deletes its items while refilling
    m_items = CategoryTreeFiller::fill(m_tree, m_categories);
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        it.value()->setIcon(0,
            style()->standardIcon(it.key() == 0                      ? QStyle::SP_DriveHDIcon
                    : m_categories.node(it.key()).children.isEmpty() ? QStyle::SP_FileIcon
                                                                     : QStyle::SP_DirIcon));
    m_tree->setFocus();
}

void TFrmGoodGl::applyFormats()
{
    const Session& s = Session::current();
    const SysOptions& o = SysOptions::current();
    m_model->setDisplayFormat(QStringLiteral("F_BegAmount"), o.iAmount);
    m_model->setDisplayFormat(QStringLiteral("F_DeptUp"), o.iAmount);
    m_model->setDisplayFormat(QStringLiteral("F_DeptDown"), o.iAmount);
    if (s.rPrice || s.isAdmin()) {
        m_model->setDisplayFormat(QStringLiteral("F_EnterPrice"), o.iPrice);
        m_model->setDisplayFormat(QStringLiteral("F_SalePrice"), o.iPrice);
    } else {
        m_model->removeColumnOf(QStringLiteral("F_EnterPrice"));
        m_model->removeColumnOf(QStringLiteral("F_SalePrice"));
    }
    // User-defined fields: captions and visibility from KeyValue.
    const QString fields[11] = {QStringLiteral("F_ZF1"), QStringLiteral("F_ZF2"), QStringLiteral("F_ZF3"),
        QStringLiteral("F_ZF4"), QStringLiteral("F_ZF5"), QStringLiteral("F_SZ1"), QStringLiteral("F_SZ2"),
        QStringLiteral("F_SZ3"), QStringLiteral("F_RQ1"), QStringLiteral("F_RQ2"), QStringLiteral("F_RQ3")};
    for (int i = 0; i < 11; ++i) {
        const int c = m_model->columnOf(fields[i]);
        if (c < 0)
            continue;
        m_model->columns()[c].caption = s.zfCaptions[i];
        m_model->columns()[c].visible = s.zfShown[i];
    }
    for (int c = 0; c < m_model->columns().size(); ++c) {
        m_grid->setColumnHidden(c, !m_model->columns().at(c).visible);
        if (m_model->columns().at(c).width > 0)
            m_grid->setColumnWidth(c, m_model->columns().at(c).width);
    }
}

GoodsFilter TFrmGoodGl::filter() const
{
    GoodsFilter f;
    f.item = m_combo->currentIndex();
    f.text = m_edit->text();
    const int node = CategoryTreeFiller::nodeOf(m_tree->currentItem());
    f.categoryPath = node > 0 ? m_categories.node(node).path : QString();
    f.includeDisabled = m_disabled->isChecked();
    return f;
}

void TFrmGoodGl::search()
{
    if (!m_tree->currentItem())
        return;
    SqlParams p;
    const QString sql = GoodsService::searchSql(filter(), p);
    m_model->open(sql, p);
    m_searched = true;
    if (m_model->rowCount() > 0)
        setCurrentRow(0);
    updateNavigation();
    updateCount();
}

QString TFrmGoodGl::countText() const
{
    return QStringLiteral("记录数：") + QString::number(m_model->rowCount());
}

void TFrmGoodGl::updateCount()
{
    m_count->setText(countText());
    const SysOptions& o = SysOptions::current();
    m_footer->setText(QStringLiteral("合  计    期初数量：")
        + QString::number(m_model->sum(QStringLiteral("F_BegAmount")), 'f', o.iAmount));
    emit countChanged(countText());
}

void TFrmGoodGl::updateNavigation()
{
    const int n = rowCount(), r = currentRow();
    m_tbFirst->setEnabled(n > 0 && r > 0);
    m_tbPrior->setEnabled(n > 0 && r > 0);
    m_tbNext->setEnabled(n > 0 && r < n - 1);
    m_tbLast->setEnabled(n > 0 && r < n - 1);
    m_tbPrint->setEnabled(n > 0);
    m_tbExport->setEnabled(n > 0);
}

int TFrmGoodGl::rowCount() const
{
    return m_model->rowCount();
}

int TFrmGoodGl::currentRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void TFrmGoodGl::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    int col = 0;
    while (col < m_model->columnCount() - 1 && m_grid->isColumnHidden(col))
        ++col;
    m_grid->setCurrentIndex(m_model->index(row, col));
    m_grid->selectRow(row);
    updateNavigation();
}

QSqlRecord TFrmGoodGl::recordAt(int row) const
{
    return m_model->recordAt(row);
}

void TFrmGoodGl::reopenAt(const QString& code)
{
    m_model->reopen();
    updateCount();
    setCurrentRow(m_model->rowOf(QStringLiteral("F_Code"), code));
}

void TFrmGoodGl::tbNewClick()
{
    TFrmGoodEdit w(TFrmGoodEdit::NewFromList, this, this);
    DispFormPos(&w, 1);
    w.exec();
}

void TFrmGoodGl::tbEditClick()
{
    if (rowCount() == 0 || currentRow() < 0) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), Messenger::Error);
        return;
    }
    TFrmGoodEdit w(TFrmGoodEdit::Edit, this, this);
    DispFormPos(&w, 1);
    w.exec();
}

void TFrmGoodGl::tbDelClick()
{
    const int row = currentRow();
    if (rowCount() == 0 || row < 0)
        return;
    const QSqlRecord r = recordAt(row);
    const QString code = r.value(QStringLiteral("F_Code")).toString();
    if (GoodsService::isUsed(code)) {
        ShowMess(QStringLiteral("该货品资料已经被使用，不能被删除！"), Messenger::Warning);
        return;
    }
    if (ShowMess(
            QStringLiteral("真的要删除货品") + r.value(QStringLiteral("F_Name")).toString() + QStringLiteral("吗？"),
            Messenger::Question)
        != Messenger::Yes)
        return;
    if (!GoodsService::remove(r.value(QStringLiteral("F_ID")).toLongLong(), code))
        return;
    m_model->reopen();
    updateCount();
    setCurrentRow(qMin(row, rowCount() - 1));
}

void TFrmGoodGl::changeSelectedCategory()
{
    if (ShowMess(QStringLiteral("真的要改变当前所选货品的类型吗？"), Messenger::Question) == Messenger::No)
        return;
    const QString path = TDlgEditGoodType::ask(this);
    if (path.trimmed().isEmpty())
        return;
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        ShowMess(QStringLiteral("请选择需要更改类型的货品资料！"), Messenger::Information);
        return;
    }
    QList<qint64> ids;
    for (const QModelIndex& i : rows)
        ids << recordAt(i.row()).value(QStringLiteral("F_ID")).toLongLong();
    const QString code = recordAt(currentRow()).value(QStringLiteral("F_Code")).toString();
    if (GoodsService::changeCategory(ids, path))
        reopenAt(code);
}

void TFrmGoodGl::saveLayout()
{
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), Messenger::Question) != Messenger::Yes)
        return;
    for (int c = 0; c < m_model->columns().size(); ++c)
        if (!m_grid->isColumnHidden(c))
            m_model->columns()[c].width = m_grid->columnWidth(c);
    m_model->saveLayout(gridKey());
}

QString TFrmGoodGl::templateName() const
{
    return QStringLiteral("frGoodMan") + Session::current().templateSuffix();
}

void TFrmGoodGl::tbPrintClick()
{
    if (rowCount() == 0)
        return;
    PrintServices::reportPrint(templateName(), m_model->dataSet(), PrintServices::dataModuleValueSource());
}

void TFrmGoodGl::tbSetClick()
{
    PrintServices::reportDesign(templateName(), m_model->dataSet(), PrintServices::dataModuleValueSource());
}

void TFrmGoodGl::tbExportClick()
{
    if (rowCount() == 0)
        return;
    if (goodGlServices.exportGrid)
        goodGlServices.exportGrid(this, m_grid, QStringLiteral("货品资料"));
}

void TFrmGoodGl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
