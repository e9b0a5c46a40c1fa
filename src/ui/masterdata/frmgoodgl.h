#pragma once

#include "masterdata/categorytree.h"
#include "masterdata/goodsservice.h"
#include "recordnavigator.h"

#include <QHash>
#include <QWidget>

class DataGrid;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// "货品资料管理": the goods list with its category tree.
class TFrmGoodGl : public QWidget, public GridRecordNavigator
{
    Q_OBJECT
public:
    explicit TFrmGoodGl(QWidget* parent = nullptr);

    static QString gridKey() { return QStringLiteral("goodgl"); }

    QTreeWidget* tree() const { return m_tree; }
    DataGrid* grid() const { return m_grid; }
    QComboBox* searchType() const { return m_combo; }
    QLineEdit* searchText() const { return m_edit; }
    QCheckBox* includeDisabled() const { return m_disabled; }
    const CategoryTree& categories() const { return m_categories; }
    QTreeWidgetItem* itemOf(int node) const { return m_items.value(node); }
    QString countText() const;
    // The list's current filter (what the next search runs).
    GoodsFilter filter() const;

    void search() override;
    void tbNewClick();
    void tbEditClick();
    void tbDelClick();
    void tbPrintClick();
    void tbSetClick();
    void tbExportClick();
    void changeSelectedCategory();
    void saveLayout();

signals:
    void countChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

protected:
    DataGrid* navigatorGrid() const override { return m_grid; }

private:
    void loadTree();
    void applyFormats();
    void updateCount();
    QString templateName() const;

    CategoryTree m_categories;
    QHash<int, QTreeWidgetItem*> m_items;
    QTreeWidget* m_tree;
    QComboBox* m_combo;
    QLineEdit* m_edit;
    QCheckBox* m_disabled;
    DataGrid* m_grid;
    QLabel* m_count;
    QAction* m_tbFirst;
    QAction* m_tbPrior;
    QAction* m_tbNext;
    QAction* m_tbLast;
    QAction* m_tbPrint;
    QAction* m_tbSet;
    QAction* m_tbExport;
};
