#pragma once

#include "masterdata/categorytree.h"

#include <QDialog>
#include <QHash>

class QAction;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The goods category window: maintains the tree, or picks a category for
// another window.
class TFrmTreeCodeMan : public QDialog
{
    Q_OBJECT
public:
    enum Mode { Maintenance, Picking };

    explicit TFrmTreeCodeMan(QWidget* parent = nullptr);

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    // Shows the window modally; the chosen path when confirmed, otherwise the
    // text it was given.
    QString pick(const QString& path);
    // Opens the window in picking mode on behalf of another window.
    static QString pickCategory(QWidget* parent, const QString& path);
    // Action 205: maintenance mode, modal, centred on the main window.
    static void showMaintenance(QWidget* mainWindow);

    QTreeWidget* tree() const { return m_tree; }
    const CategoryTree& categories() const { return m_categories; }
    QTreeWidgetItem* itemOf(int nodeIndex) const { return m_items.value(nodeIndex); }
    int nodeOf(QTreeWidgetItem* item) const;
    int selectedNode() const;
    // Selects and expands the nodes whose path equals the text (picking mode).
    void preselect(const QString& path);

    // The handlers, reachable for the tool bar, menus and tests.
    void acAddExecute();
    void acAddChildExecute();
    void acEditExecute();
    void acDeleteExecute();
    void confirm(bool fromEnter = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadTree();
    QTreeWidgetItem* addItem(int nodeIndex);
    void updateIcons();
    void refreshItem(int nodeIndex);

    Mode m_mode = Maintenance;
    CategoryTree m_categories;
    QHash<int, QTreeWidgetItem*> m_items;
    QTreeWidget* m_tree;
    QWidget* m_panel4;
    QAction* m_acAdd;
    QAction* m_acAddChild;
    QAction* m_acEdit;
    QAction* m_acDelete;
    QString m_result;
    bool m_confirmed = false;
};
