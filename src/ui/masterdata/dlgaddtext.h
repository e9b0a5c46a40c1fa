#pragma once

#include <QDialog>

class QLineEdit;

// "请输入要增加的标题名称": one text, refused when blank.
class TDLGaddText : public QDialog
{
    Q_OBJECT
public:
    explicit TDLGaddText(QWidget* parent = nullptr);
    QLineEdit* edit() const { return m_edit; }
    // True with the text when confirmed.
    static bool ask(QWidget* parent, QString& text);

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* m_edit;
};
