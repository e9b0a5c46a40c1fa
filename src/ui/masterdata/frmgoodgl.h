#pragma once

#include "masterdata/categorytree.h"
#include "masterdata/goodsservice.h"
#include "recordnavigator.h"

#include <QHash>
#include <QWidget>

class MasterListModel;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// "货品资料管理": the goods list with its category tree.
class TFrmGoodGl : public QWidget, public RecordNavigator
{
    Q_OBJECT
public:
    explicit TFrmGoodGl(QWidget* parent = nullptr);

    static QString gridKey() { return QStringLiteral("goodgl"); }

    QTreeWidget* tree() const { return m_tree; }
    QTableView* grid() const { return m_grid; }
    MasterListModel* model() const { return m_model; }
    QComboBox* searchType() const { return m_combo; }
    QLineEdit* searchText() const { return m_edit; }
    QCheckBox* includeDisabled() const { return m_disabled; }
    const CategoryTree& categories() const { return m_categories; }
    QTreeWidgetItem* itemOf(int node) const { return m_items.value(node); }
    QString countText() const;
    // The list's current filter (what the next search runs).
    GoodsFilter filter() const;

    void search();
    void tbNewClick();
    void tbEditClick();
    void tbDelClick();
    void tbPrintClick();
    void tbSetClick();
    void tbExportClick();
    void changeSelectedCategory();
    void saveLayout();

    // RecordNavigator
    int rowCount() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    QSqlRecord recordAt(int row) const override;
    void reopenAt(const QString& code) override;

    // The grid export; set by the program once it is there.
    struct Services
    {
        void (*exportGrid)(QWidget* window, QTableView* grid, const QString& title) = nullptr;
    };
    static void setServices(const Services& services);

signals:
    void countChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadTree();
    void applyFormats();
    void updateNavigation();
    void updateCount();
    QString templateName() const;

    CategoryTree m_categories;
    QHash<int, QTreeWidgetItem*> m_items;
    QTreeWidget* m_tree;
    QComboBox* m_combo;
    QLineEdit* m_edit;
    QCheckBox* m_disabled;
    QTableView* m_grid;
    MasterListModel* m_model;
    QLabel* m_footer;
    QLabel* m_count;
    QAction* m_tbFirst;
    QAction* m_tbPrior;
    QAction* m_tbNext;
    QAction* m_tbLast;
    QAction* m_tbPrint;
    QAction* m_tbSet;
    QAction* m_tbExport;
    bool m_searched = false;
};
