#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// Company information (the single SysInfo row).
class TFrmUserInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmUserInfo(QWidget* parent = nullptr);

    // The e-mail check of the window: letters, digits, "-", ".", "_" and one
    // part before and after the at sign, with a dotted domain.
    static bool CheckEmail(const QString& address);
    // The address a web page box opens (the scheme is added when missing).
    static QString webAddress(const QString& text);
    static QString savedText() { return QStringLiteral("当前更改成功！"); }

public slots:
    void loadFromDatabase(); // shown and "修改"
    void btnClearClick(); // "重填"
    bool btnSaveClick(); // "保存"
    void openHomepage();
    void openEmail();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget* m_pages;
    QLineEdit* edtCode;
    QLineEdit* edtName;
    QLineEdit* edtManager;
    QLineEdit* edtPhone;
    QLineEdit* edtHomepage;
    QLineEdit* edtEmail;
    QLineEdit* edtMovePhone;
    QLineEdit* edtEnroler;
    QPlainTextEdit* Mem;
};
