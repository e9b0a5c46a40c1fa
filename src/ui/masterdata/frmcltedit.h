#pragma once

#include "masterdata/partnerservice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RecordNavigator;

// "客户资料" / "供应商资料": one client or supplier.
class TfrmCltEdit : public QDialog
{
    Q_OBJECT
public:
    enum Mode { NewFromList, Edit, NewFromPicker };

    TfrmCltEdit(int kind, Mode mode, RecordNavigator* navigator, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    QLineEdit* codeBox() const { return m_code; }
    QLineEdit* nameBox() const { return m_name; }
    QComboBox* typeBox() const { return m_type; }
    QPushButton* okButton() const { return m_ok; }
    PartnerRecord record() const;
    void setRecord(const PartnerRecord& p);

    bool btnOKClick();
    void moveTo(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_kind;
    Mode m_mode;
    RecordNavigator* m_navigator;
    qint64 m_id = 0;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QComboBox* m_type;
    QComboBox* m_empName;
    QLineEdit* m_linkMan;
    QLineEdit* m_address;
    QLineEdit* m_postCode;
    QLineEdit* m_handPhone;
    QLineEdit* m_phone;
    QLineEdit* m_fax;
    QDoubleSpinBox* m_begPrice;
    QLineEdit* m_bank;
    QLineEdit* m_account;
    QLineEdit* m_rateCode;
    QLineEdit* m_homepage;
    QLineEdit* m_email;
    QLineEdit* m_enrol;
    QPlainTextEdit* m_mem;
    QCheckBox* m_useFlag;
    QCheckBox* m_continue;
    QWidget* m_navBar;
    QPushButton* m_ok;
};
