#include "frmgoodgl.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "categorytreefiller.h"
#include "data/datagrid.h"
#include "data/gridservices.h"
#include "dlgeditgoodtype.h"
#include "frmgoodedit.h"
#include "gridrecords.h"
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

TFrmGoodGl::TFrmGoodGl(QWidget* parent)
    : QWidget(parent)
    , m_categories(QStringLiteral("货品类型"))
    , m_tree(new QTreeWidget(this))
    , m_combo(new QComboBox(this))
    , m_edit(new QLineEdit(this))
    , m_disabled(new QCheckBox(QStringLiteral("包含已停用"), this))
    , m_grid(new DataGrid(this))
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
    setNavigationActions(m_tbFirst, m_tbPrior, m_tbNext, m_tbLast, {m_tbPrint, m_tbExport});
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
    m_grid->setRowSelect(true);
    m_grid->view()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setSortPairing(DataGrid::UpIsAscending);
    // Disabled goods in red on the button face.
    m_grid->setRowColorHook([this](int row, QColor& text, QColor& background) {
        if (m_grid->value(row, QStringLiteral("F_Flag")).toInt() != 0) {
            text = Qt::red;
            background = palette().color(QPalette::Button);
        }
    });
    connect(m_grid->view(), &QTableView::doubleClicked, this, &TFrmGoodGl::tbEditClick);
    QMenu* popup = GridServices::installGridMenu(m_grid, gridKey());
    popup->addSeparator();
    QAction* n3 = popup->addAction(QStringLiteral("更改当前所选商品类型"), this, &TFrmGoodGl::changeSelectedCategory);
    n3->setObjectName(QStringLiteral("N3"));
    connect(m_grid, &DataGrid::currentRowChanged, this, [this] { updateNavigation(); });

    m_count->setObjectName(QStringLiteral("lblCount"));

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(searchBar);
    rightLayout->addWidget(m_grid, 1);
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
    m_grid->setColumns(GridRecords::designedColumns(gridKey()));
    GridServices::loadLayout(m_grid, gridKey());
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
    for (const char* f : {"F_BegAmount", "F_DeptUp", "F_DeptDown"})
        if (const int c = m_grid->columnOf(QString::fromLatin1(f)); c >= 0)
            m_grid->setColumnDisplayFormat(c, o.quantityFormat());
    for (const char* f : {"F_EnterPrice", "F_SalePrice"}) {
        const int c = m_grid->columnOf(QString::fromLatin1(f));
        if (c < 0)
            continue;
        if (s.rPrice || s.isAdmin())
            m_grid->setColumnDisplayFormat(c, o.priceFormat());
        else
            m_grid->removeColumn(c);
    }
    GridServices::applyUserFields(m_grid);
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
    m_grid->openQuery(sql, p);
    m_grid->fetchAll(); // the count is shown at once
    if (rowCount() > 0)
        setCurrentRow(0);
    updateNavigation();
    updateCount();
}

QString TFrmGoodGl::countText() const
{
    return QStringLiteral("记录数：") + QString::number(m_grid->rowCount());
}

void TFrmGoodGl::updateCount()
{
    m_count->setText(countText());
    emit countChanged(countText());
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
    search();
    setCurrentRow(qMin(row, rowCount() - 1));
}

void TFrmGoodGl::changeSelectedCategory()
{
    if (ShowMess(QStringLiteral("真的要改变当前所选货品的类型吗？"), Messenger::Question) == Messenger::No)
        return;
    const QString path = TDlgEditGoodType::ask(this);
    if (path.trimmed().isEmpty())
        return;
    const QModelIndexList rows = m_grid->view()->selectionModel()->selectedRows();
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
    GridServices::saveLayoutAsked(m_grid, gridKey());
}

QString TFrmGoodGl::templateName() const
{
    return QStringLiteral("frGoodMan") + Session::current().templateSuffix();
}

void TFrmGoodGl::tbPrintClick()
{
    if (rowCount() == 0)
        return;
    PrintServices::reportPrint(templateName(), GridRecords::dataSet(m_grid), PrintServices::dataModuleValueSource());
}

void TFrmGoodGl::tbSetClick()
{
    PrintServices::reportDesign(templateName(), GridRecords::dataSet(m_grid), PrintServices::dataModuleValueSource());
}

void TFrmGoodGl::tbExportClick()
{
    if (rowCount() == 0)
        return;
    GridServices::exportGrid(m_grid, QStringLiteral("货品资料"), 1, this);
}

void TFrmGoodGl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
