#pragma once

#include "masterdata/partnerservice.h"
#include "recordnavigator.h"

#include <QWidget>

class DataGrid;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableWidget;

// "客户资料管理" / "供应商资料管理": one list window for both partner kinds.
class TfrmCltMan : public QWidget, public GridRecordNavigator
{
    Q_OBJECT
public:
    explicit TfrmCltMan(QWidget* parent = nullptr);

    static QString gridKey(int kind)
    {
        return kind == PartnerService::Client ? QStringLiteral("cltman") : QStringLiteral("supman");
    }

    // Switches the window to clients (1) or suppliers (0) and searches.
    void setKind(int kind);
    int kind() const { return m_kind; }

    DataGrid* grid() const { return m_grid; }
    QTableWidget* leftList() const { return m_left; }
    QComboBox* leftKind() const { return m_leftKind; }
    QComboBox* searchType() const { return m_combo; }
    QLineEdit* searchText() const { return m_edit; }
    QCheckBox* includeDisabled() const { return m_disabled; }
    QString countText() const;

    void search() override;
    void fillLeftList();
    void tbNewClick();
    void tbEditClick();
    void tbDelClick();
    void tbPrintClick();
    void tbSetClick();
    void tbExportClick();
    void saveLayout();

signals:
    void countChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

protected:
    DataGrid* navigatorGrid() const override { return m_grid; }

private:
    void updateCount();
    PartnerLeftFilter leftFilter() const;
    QString templateName() const;

    int m_kind = -1;
    DataGrid* m_grid;
    QTableWidget* m_left;
    QComboBox* m_leftKind;
    QComboBox* m_combo;
    QLineEdit* m_edit;
    QCheckBox* m_disabled;
    QLabel* m_count;
    QAction* m_tbFirst;
    QAction* m_tbPrior;
    QAction* m_tbNext;
    QAction* m_tbLast;
    QAction* m_tbPrint;
    QAction* m_tbExport;
    bool m_reactToLeft = true;
    QMenu* m_menu = nullptr;
};
