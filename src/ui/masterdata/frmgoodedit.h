#pragma once

#include "masterdata/goodsservice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class RecordNavigator;

// "货品信息编辑": one good with its opening stock per depot.
class TFrmGoodEdit : public QDialog
{
    Q_OBJECT
public:
    enum Mode { NewFromList, Edit, NewFromPicker };

    // The navigator is the list the window came from (may be null).
    TFrmGoodEdit(Mode mode, RecordNavigator* navigator, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    QString previousCode() const { return m_previousCode; }
    QLineEdit* codeBox() const { return m_code; }
    QTableWidget* openingGrid() const { return m_grid; }
    QPushButton* okButton() const { return m_ok; }
    // Total quantity and amount of the opening stock grid (the footer).
    double openingQuantity() const;
    double openingAmount() const;

    // Reads the boxes into a record (no checks).
    GoodsRecord record() const;
    void setRecord(const GoodsRecord& g);
    QList<OpeningStockLine> openingLines() const;

    // "确定": validate, save, then close or start the next new good.
    bool btnOKClick();
    // Moves the navigator and reloads every box.
    void moveTo(int row);
    // The unit box lost the focus: offer to add an unknown unit.
    void unitLeft();
    // Ticking "自动" proposes a code at once.
    void autoToggled(bool on);
    void insertSymbol(const QString& symbol);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void applyRights();
    void loadOpeningGrid(const QString& code);
    void updateFooter();
    void clearForNew();
    void setCaption();

    Mode m_mode;
    RecordNavigator* m_navigator;
    qint64 m_id = 0;
    QString m_previousCode;
    bool m_loadingGrid = false;

    QLineEdit* m_code;
    QCheckBox* m_auto;
    QLineEdit* m_name;
    QLineEdit* m_type;
    QLineEdit* m_spec;
    QComboBox* m_unit;
    QLineEdit* m_barcode;
    QDoubleSpinBox* m_enterPrice;
    QDoubleSpinBox* m_salePrice;
    QDoubleSpinBox* m_deptUp;
    QDoubleSpinBox* m_deptDown;
    QComboBox* m_depot;
    QLineEdit* m_address;
    QPlainTextEdit* m_mem;
    QCheckBox* m_flag;
    QCheckBox* m_continue;
    QLineEdit* m_zf[5];
    QDoubleSpinBox* m_sz[3];
    QCheckBox* m_rqOn[3];
    QDateEdit* m_rq[3];
    QLabel* m_userLabels[11];
    QLabel* m_priceLabels[2];
    QTableWidget* m_grid;
    QLabel* m_footer;
    QWidget* m_navBar;
    QPushButton* m_ok;
};
