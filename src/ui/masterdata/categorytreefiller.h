#pragma once

#include <QHash>

class CategoryTree;
class QTreeWidget;
class QTreeWidgetItem;

// Fills a tree view from a loaded category tree (the tree loading service as
// windows use it): root first and expanded, level-1 nodes expanded, misplaced
// rows in red under the root. Each item carries its node index.
class CategoryTreeFiller
{
public:
    static QHash<int, QTreeWidgetItem*> fill(QTreeWidget* view, const CategoryTree& tree);
    // Adds one node (its parent's item must be in items).
    static QTreeWidgetItem* addItem(
        QHash<int, QTreeWidgetItem*>& items, QTreeWidget* view, const CategoryTree& tree, int node);
    // The node index an item carries; -1 for none.
    static int nodeOf(const QTreeWidgetItem* item);
    // The stored path of the item's category ("" for none, two backslashes for the root).
    static QString pathOf(const QTreeWidgetItem* item, const CategoryTree& tree);
};
