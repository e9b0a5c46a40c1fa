#pragma once

#include <QDialog>

class QLineEdit;

// "批量修改货品类型": picks the category path for a batch change.
class TDlgEditGoodType : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgEditGoodType(QWidget* parent = nullptr);
    QLineEdit* edtType() const { return m_edit; }

    // The chosen path when confirmed, an empty text when cancelled.
    static QString ask(QWidget* parent);

public slots:
    void accept() override;

private:
    QLineEdit* m_edit;
};
