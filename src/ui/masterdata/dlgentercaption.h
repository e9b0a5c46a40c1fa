#pragma once

#include <QDialog>

class QLineEdit;

// Asks for a node name ("节点名称"); refuses a blank one.
class TDLGenterCaption : public QDialog
{
    Q_OBJECT
public:
    explicit TDLGenterCaption(QWidget* parent = nullptr);
    QLineEdit* edtCurValue() const { return m_edit; }

    // The typed text when confirmed, an empty text when cancelled.
    static QString ask(QWidget* parent, const QString& title, const QString& initial = QString());

public slots:
    void accept() override;

private:
    QLineEdit* m_edit;
};
