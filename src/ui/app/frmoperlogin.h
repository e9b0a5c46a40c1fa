#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The login window, in start-up mode (once, before the main window shows) or
// re-login mode (the main window's "重新登录").
class TfrmOperLogin : public QDialog
{
    Q_OBJECT
public:
    enum Mode { StartupMode, ReloginMode };

    explicit TfrmOperLogin(Mode mode, QWidget* parent = nullptr);

    // Creates the window, shows it modally and destroys it. True when an operator
    // logged in; in start-up mode false means the program must end.
    static bool Run(Mode mode, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    int failures() const { return m_failures; }

    static QString promptText()
    {
        return QStringLiteral("请输入正确的操作员编号及密码，系统超级用户编号“000”，系统初始密码为空：");
    }

public slots:
    void btnOkClick();
    void btnCancelClick();
    // Refills the name box from the code box (unknown code: empty name).
    void refreshName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSession();
    void finish(bool success);

    Mode m_mode;
    int m_failures = 0;
    bool m_finishing = false;
    QLineEdit* edtOperCode;
    QLineEdit* edtOperName;
    QLineEdit* edtPassWord;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};
