#include "frmtreecodeman.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "categorytreefiller.h"
#include "dlgentercaption.h"
#include "masterdata/categoryservice.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

TFrmTreeCodeMan::TFrmTreeCodeMan(QWidget* parent)
    : QDialog(parent)
    , m_categories(QStringLiteral("商品类型"))
    , m_tree(new QTreeWidget(this))
    , m_panel4(new QWidget(this))
{
    setObjectName(QStringLiteral("TFrmTreeCodeMan"));
    resize(420, 520);
    m_tree->setObjectName(QStringLiteral("tvTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers); // in-place editing is refused
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->installEventFilter(this);

    m_acAdd = new QAction(QStringLiteral("添加同类(&A)"), this);
    m_acAdd->setObjectName(QStringLiteral("acAdd"));
    m_acAddChild = new QAction(QStringLiteral("添加子类(&C)"), this);
    m_acAddChild->setObjectName(QStringLiteral("acAddChild"));
    m_acEdit = new QAction(QStringLiteral("修    改"), this);
    m_acEdit->setObjectName(QStringLiteral("acEdit"));
    m_acEdit->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m_acDelete = new QAction(QStringLiteral("删除(包含子类)"), this);
    m_acDelete->setObjectName(QStringLiteral("acDelete"));
    m_acDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    for (QAction* a : {m_acAdd, m_acAddChild, m_acEdit, m_acDelete}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(m_acAdd, &QAction::triggered, this, &TFrmTreeCodeMan::acAddExecute);
    connect(m_acAddChild, &QAction::triggered, this, &TFrmTreeCodeMan::acAddChildExecute);
    connect(m_acEdit, &QAction::triggered, this, &TFrmTreeCodeMan::acEditExecute);
    connect(m_acDelete, &QAction::triggered, this, &TFrmTreeCodeMan::acDeleteExecute);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addAction(m_acAdd);
    bar->addAction(m_acAddChild);
    bar->addAction(m_acEdit);
    bar->addSeparator();
    bar->addAction(m_acDelete);

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    menu->addAction(m_acAdd);
    menu->addAction(m_acAddChild);
    menu->addAction(m_acEdit);
    menu->addSeparator();
    menu->addAction(m_acDelete);
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
        [this, menu](const QPoint& pos) { menu->popup(m_tree->viewport()->mapToGlobal(pos)); });

    auto* hint = new QLabel(
        QStringLiteral("    增加节点，需先选中左边框里的节点成灰色，然后才能选择增加同级节点或子节点"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: red;"));

    m_panel4->setObjectName(QStringLiteral("Panel4"));
    auto* ok = new QPushButton(QStringLiteral("确定"), m_panel4);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), m_panel4);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, [this] { confirm(false); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* panelLayout = new QHBoxLayout(m_panel4);
    panelLayout->addStretch();
    panelLayout->addWidget(ok);
    panelLayout->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(hint);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_panel4);

    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int n = nodeOf(item);
        if (n <= 0)
            return;
        if (m_mode == Picking)
            confirm(false);
        else if (m_categories.node(n).children.isEmpty())
            acEditExecute();
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { updateIcons(); });
    setMode(Maintenance);
}

void TFrmTreeCodeMan::setMode(Mode mode)
{
    m_mode = mode;
    setWindowTitle(QStringLiteral("商品类型资料"));
    m_panel4->setVisible(mode == Picking);
    loadTree();
}

void TFrmTreeCodeMan::loadTree()
{
    m_categories = CategoryTree(QStringLiteral("商品类型"));
    m_categories.load(CategoryTree::treeName());
    m_items.clear(); // the view deletes its items while refilling
    m_items = CategoryTreeFiller::fill(m_tree, m_categories);
    updateIcons();
}

QTreeWidgetItem* TFrmTreeCodeMan::addItem(int nodeIndex)
{
    return CategoryTreeFiller::addItem(m_items, m_tree, m_categories, nodeIndex);
}

void TFrmTreeCodeMan::refreshItem(int nodeIndex)
{
    if (QTreeWidgetItem* item = m_items.value(nodeIndex)) {
        item->setText(0, m_categories.node(nodeIndex).name);
        item->setToolTip(0, m_categories.node(nodeIndex).code + QLatin1Char(' ') + m_categories.node(nodeIndex).path);
    }
}

void TFrmTreeCodeMan::updateIcons()
{
    // Root, level-1 with children, other, selected (the tree image list).
    const QIcon icons[] = {style()->standardIcon(QStyle::SP_DriveHDIcon), style()->standardIcon(QStyle::SP_DirIcon),
        style()->standardIcon(QStyle::SP_FileIcon), style()->standardIcon(QStyle::SP_DirOpenIcon)};
    QTreeWidgetItem* current = m_tree->currentItem();
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        const int n = it.key();
        const bool parentAtLevel1 = m_categories.level(n) == 1 && !m_categories.node(n).children.isEmpty();
        int image = n == 0 ? 0 : (parentAtLevel1 ? 1 : 2);
        if (it.value() == current && n != 0 && !parentAtLevel1)
            image = 3;
        it.value()->setIcon(0, icons[image]);
    }
}

int TFrmTreeCodeMan::nodeOf(QTreeWidgetItem* item) const
{
    return CategoryTreeFiller::nodeOf(item);
}

int TFrmTreeCodeMan::selectedNode() const
{
    return nodeOf(m_tree->currentItem());
}

void TFrmTreeCodeMan::preselect(const QString& path)
{
    for (int n : m_categories.findPath(path)) {
        QTreeWidgetItem* item = m_items.value(n);
        for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            p->setExpanded(true);
        item->setExpanded(true);
        m_tree->setCurrentItem(item);
    }
}

QString TFrmTreeCodeMan::pick(const QString& path)
{
    m_result = path;
    m_confirmed = false;
    preselect(path);
    exec();
    return m_confirmed ? m_result : path;
}

QString TFrmTreeCodeMan::pickCategory(QWidget* parent, const QString& path)
{
    TFrmTreeCodeMan w(parent);
    w.setMode(Picking);
    DispFormPos(&w, 1);
    return w.pick(path);
}

void TFrmTreeCodeMan::showMaintenance(QWidget* mainWindow)
{
    TFrmTreeCodeMan w(mainWindow);
    w.setMode(Maintenance);
    if (mainWindow)
        w.move(mainWindow->geometry().center() - QPoint(w.width() / 2, w.height() / 2));
    w.exec();
}

void TFrmTreeCodeMan::confirm(bool fromEnter)
{
    const int n = selectedNode();
    if (n < 0)
        return;
    if (n == 0 && !fromEnter) {
        ShowMess(QStringLiteral("不能选择根节点！"), Messenger::Information);
        return;
    }
    m_result = m_categories.node(n).path;
    m_confirmed = true;
    accept();
}

void TFrmTreeCodeMan::acAddExecute()
{
    const int sel = selectedNode();
    if (sel < 0)
        return;
    if (sel == 0) {
        ShowMess(QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"), Messenger::Information);
        return;
    }
    const CategoryNode& n = m_categories.node(sel);
    const QString name = TDLGenterCaption::ask(
        this, QStringLiteral("添加 ") + n.code + QLatin1Char(' ') + n.name + QStringLiteral(" 同类"));
    if (name.trimmed().isEmpty())
        return;
    const int added = CategoryService::add(m_categories, sel, false, name);
    if (added > 0) {
        m_tree->setCurrentItem(addItem(added));
        updateIcons();
    }
}

void TFrmTreeCodeMan::acAddChildExecute()
{
    const int sel = selectedNode();
    if (sel < 0)
        return;
    const CategoryNode& n = m_categories.node(sel);
    const QString name = TDLGenterCaption::ask(
        this, QStringLiteral("添加 ") + n.code + QLatin1Char(' ') + n.name + QStringLiteral(" 子类"));
    if (name.trimmed().isEmpty())
        return;
    const int added = CategoryService::add(m_categories, sel, true, name);
    if (added > 0) {
        m_items.value(sel)->setExpanded(true);
        m_tree->setCurrentItem(addItem(added));
        updateIcons();
    }
}

void TFrmTreeCodeMan::acEditExecute()
{
    const int sel = selectedNode();
    if (sel <= 0)
        return;
    const CategoryNode& n = m_categories.node(sel);
    const QString name = TDLGenterCaption::ask(
        this, QStringLiteral("修改类别 ") + n.code + QLatin1Char(' ') + n.name + QStringLiteral(" 子类"), n.name);
    if (name.trimmed().isEmpty())
        return;
    if (CategoryService::rename(m_categories, sel, name) == CategoryService::Renamed)
        refreshItem(sel);
}

void TFrmTreeCodeMan::acDeleteExecute()
{
    const int sel = selectedNode();
    if (sel < 0)
        return;
    QTreeWidgetItem* item = m_items.value(sel);
    if (!CategoryService::remove(m_categories, sel))
        return;
    QList<int> gone;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        if (m_categories.node(it.key()).removed)
            gone << it.key();
    for (int g : gone)
        m_items.remove(g);
    delete item;
    updateIcons();
}

bool TFrmTreeCodeMan::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_mode == Picking) {
            confirm(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmTreeCodeMan::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    // Enter confirms only from the tree (picking mode); the default button must not.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}
