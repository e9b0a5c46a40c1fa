#include "categorytreefiller.h"

#include "masterdata/categorytree.h"

#include <QTreeWidget>

namespace {
constexpr int CategoryFillerNodeRole = Qt::UserRole + 1;
}

QHash<int, QTreeWidgetItem*> CategoryTreeFiller::fill(QTreeWidget* view, const CategoryTree& tree)
{
    view->clear();
    QHash<int, QTreeWidgetItem*> items;
    for (int i = 0; i < tree.size(); ++i)
        if (!tree.node(i).removed)
            addItem(items, view, tree, i);
    items.value(0)->setExpanded(true);
    view->setCurrentItem(items.value(0));
    return items;
}

QTreeWidgetItem* CategoryTreeFiller::addItem(
    QHash<int, QTreeWidgetItem*>& items, QTreeWidget* view, const CategoryTree& tree, int node)
{
    const CategoryNode& n = tree.node(node);
    QTreeWidgetItem* item = node == 0 ? new QTreeWidgetItem(view) : new QTreeWidgetItem(items.value(n.parent));
    if (n.misplaced) {
        // Shown, not dropped: the code does not fit the tree.
        item->setText(0, n.name + QStringLiteral(" [编码错位:") + n.code + QLatin1Char(']'));
        item->setForeground(0, Qt::red);
    } else {
        item->setText(0, n.name);
    }
    item->setData(0, CategoryFillerNodeRole, node);
    item->setToolTip(0, node == 0 ? n.name : n.code + QLatin1Char(' ') + n.path);
    items.insert(node, item);
    if (tree.level(node) == 1)
        item->setExpanded(true);
    return item;
}

int CategoryTreeFiller::nodeOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, CategoryFillerNodeRole).toInt() : -1;
}

QString CategoryTreeFiller::pathOf(const QTreeWidgetItem* item, const CategoryTree& tree)
{
    const int n = nodeOf(item);
    return n < 0 ? QString() : tree.node(n).path;
}
