#pragma once

#include <QDialog>
#include <QSet>
#include <QString>
#include <memory>

class CategoryTree;
class DataGrid;
class GridModel;
class GoodPickerTarget;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// "货品选择": finds goods by category and filters, shows the stock of the current
// good in every depot, and puts chosen goods on the calling window's document
// one by one. The stock rows of a good are computed when it is first shown, into
// this connection's own working table, so pickers on several workstations never meet.
class TDlgGoodXz : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgGoodXz(QWidget* parent = nullptr);
    ~TDlgGoodXz() override;

    // The document kind of the calling window, or 121 / 131 for an assembly or
    // dismantling window's product field.
    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    void setTarget(GoodPickerTarget* target) { m_target = target; }

    // Empties the chosen-goods marks and shows the dialog modally.
    int start();
    // Prepares the dialog as start() does without showing it modally (tests, benchmarks).
    void prepare();

    // The goods query: the filters, the tree node, the chosen marks.
    void queryGoods();
    // Chooses the current good by the mode's routine.
    void choose();
    void newGood();
    void selectTreeNode(int categoryIndex); // 0 = the root
    void sortByColumn(int column);

    int goodsCount() const { return m_count; }
    QString currentGoodsCode() const;
    bool setCurrentGoodsCode(const QString& code);
    bool stockTableBuilt() const { return m_stockBuilt; }
    DataGrid* goodsGrid() const { return m_goodsGrid; }
    DataGrid* stockGrid() const { return m_stockGrid; }
    GridModel* goodsModel() const;
    GridModel* stockModel() const;
    QTableView* goodsView() const;
    QTableView* stockView() const;
    QString stockFooterText(int column) const;

    static QString countText(int n);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void loadTree();
    void applyShowSettings();
    bool buildStockTable();
    void refreshStock();
    void placeSelectButton();
    void markChosen(const QString& code);
    QString goodsSql(QString* countSql, QVariantMap& params) const;
    void saveLayout();

    int m_mode = 1;
    GoodPickerTarget* m_target = nullptr;
    bool m_stockBuilt = false;
    bool m_showSettingsDone = false;
    int m_count = 0;
    QString m_sortField; // the title the list is ordered by, empty for the goods code
    bool m_sortDesc = true;
    QString m_fieldOrder;
    QSet<QString> m_filled; // goods whose stock rows are in tempGood
    std::unique_ptr<CategoryTree> m_tree;

    QLineEdit* edtCode = nullptr;
    QLineEdit* edtName = nullptr;
    QLineEdit* edtSpec = nullptr;
    QPushButton* m_btnQuery = nullptr;
    QToolButton* m_btnTree = nullptr;
    QTreeWidget* tvTree = nullptr;
    DataGrid* m_goodsGrid = nullptr;
    DataGrid* m_stockGrid = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_lblCount = nullptr;
    QPushButton* m_btnNewGood = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnSelect = nullptr;
    QMenu* m_listMenu = nullptr;
};
