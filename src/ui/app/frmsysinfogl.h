#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

// The system options: decimals, costing method, stock and price options, barcode
// input, print rows and the user-defined field captions.
class TfrmSysInfoGl : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSysInfoGl(QWidget* parent = nullptr);

    static QString savedText() { return QStringLiteral("当前软件设置更改成功！"); }

public slots:
    // "确定": saves and closes; false (window stays open) when the save failed.
    bool btnOkClick();

private:
    void loadValues();

    QSpinBox* rceAmount;
    QSpinBox* rcePrice;
    QSpinBox* rceTotal;
    QButtonGroup* m_mode;
    QCheckBox* cbB1;
    QCheckBox* cbB2;
    QCheckBox* cbB3;
    QCheckBox* cbB4;
    QCheckBox* cbTM;
    QSpinBox* rsPrintNum;
    QCheckBox* m_fieldShown[11];
    QLineEdit* m_fieldCaption[11];
};
