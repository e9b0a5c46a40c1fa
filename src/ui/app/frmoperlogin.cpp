#include "frmoperlogin.h"

#include "app/inifile.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "data/datamodule.h"
#include "frmmain.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmOperLogin::TfrmOperLogin(Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
{
    setObjectName(QStringLiteral("frmOperLogin"));
    setWindowTitle(QStringLiteral("登录窗口"));
    // No system buttons: the window closes only through its own buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(promptText(), this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    auto* grid = new QGridLayout;
    edtOperCode = new QLineEdit(this);
    edtOperCode->setObjectName(QStringLiteral("edtOperCode"));
    edtOperName = new QLineEdit(this);
    edtOperName->setObjectName(QStringLiteral("edtOperName"));
    edtOperName->setReadOnly(true);
    edtOperName->setFocusPolicy(Qt::NoFocus);
    QPalette pal = edtOperName->palette();
    pal.setColor(QPalette::Base, QColor(0xf0, 0xf0, 0xe0));
    edtOperName->setPalette(pal);
    edtPassWord = new QLineEdit(this);
    edtPassWord->setObjectName(QStringLiteral("edtPassWord"));
    edtPassWord->setEchoMode(QLineEdit::Password);
    const QString captions[3] = {QStringLiteral("编  号："), QStringLiteral("姓  名："), QStringLiteral("密  码：")};
    QLineEdit* edits[3] = {edtOperCode, edtOperName, edtPassWord};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(captions[i], this);
        l->setBuddy(edits[i]);
        grid->addWidget(l, i, 0);
        grid->addWidget(edits[i], i, 1);
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(btnOk, &QPushButton::clicked, this, &TfrmOperLogin::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOperLogin::btnCancelClick);
    connect(edtOperCode, &QLineEdit::editingFinished, this, &TfrmOperLogin::refreshName);
    edtOperCode->installEventFilter(this);
    edtPassWord->installEventFilter(this);

    // The last operator who logged in is offered.
    if (DataModule* d = DataModule::instance(); d && d->config())
        edtOperCode->setText(d->config()->readString(QStringLiteral("config"), QStringLiteral("CurOperCode")));
    refreshName();
    if (edtOperCode->text().trimmed().isEmpty())
        edtOperCode->setFocus();
    else
        edtPassWord->setFocus();

    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TfrmOperLogin::Run(Mode mode, QWidget* parent)
{
    TfrmOperLogin login(mode, parent);
    return login.exec() == QDialog::Accepted;
}

void TfrmOperLogin::refreshName()
{
    edtOperName->setText(LoginService::operatorName(edtOperCode->text()));
}

void TfrmOperLogin::btnOkClick()
{
    // The name follows the code even when the code box was never left.
    refreshName();
    const QString code = edtOperCode->text().trimmed();
    if (code.isEmpty()) {
        ShowMess(LoginService::emptyCodeText(), Messenger::Information);
        edtOperCode->setFocus();
        return;
    }
    if (edtOperName->text().trimmed().isEmpty()) {
        ShowMess(LoginService::unknownCodeText(), Messenger::Information);
        edtOperCode->setFocus();
        return;
    }
    switch (LoginService::check(code, edtPassWord->text())) {
    case LoginService::Ok:
        loadSession();
        finish(true);
        return;
    case LoginService::EmptyCode:
        ShowMess(LoginService::emptyCodeText(), Messenger::Information);
        edtOperCode->setFocus();
        return;
    case LoginService::UnknownCode:
        ShowMess(LoginService::unknownCodeText(), Messenger::Information);
        edtOperCode->setFocus();
        return;
    case LoginService::Disabled:
        ShowMess(LoginService::disabledText(), Messenger::Warning);
        edtOperCode->setFocus();
        return;
    case LoginService::WrongPassword:
        break;
    }
    ++m_failures;
    if (m_failures < LoginService::maxFailures) {
        ShowMess(LoginService::wrongPasswordText(), Messenger::Information);
        edtPassWord->setFocus();
        edtPassWord->selectAll();
        return;
    }
    ShowMess(m_mode == ReloginMode ? LoginService::reloginFailedText() : LoginService::startupFailedText(),
        Messenger::Error);
    finish(false);
}

void TfrmOperLogin::btnCancelClick()
{
    finish(false);
}

void TfrmOperLogin::loadSession()
{
    // Loaded into a copy and swapped in whole, so the new operator never mixes
    // with the previous one's values.
    Session s = Session::current();
    LoginService::loadSession(edtOperCode->text().trimmed(), s);
    Session::current() = s;
    if (DataModule* d = DataModule::instance(); d && d->config()
        && !d->config()->writeString(QStringLiteral("Config"), QStringLiteral("CurOperCode"), s.operCode))
        ShowMess(QStringLiteral("配置文件写入失败：") + d->config()->errorString(), Messenger::Warning);
    if (TFrmMain* main = TFrmMain::instance())
        main->applySession();
}

void TfrmOperLogin::finish(bool success)
{
    m_finishing = true;
    if (success)
        accept();
    else
        reject();
}

bool TfrmOperLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter moves on; in the password box it confirms.
            if (watched == edtOperCode) {
                refreshName();
                edtPassWord->setFocus();
                return true;
            }
            if (watched == edtPassWord) {
                btnOkClick();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmOperLogin::keyPressEvent(QKeyEvent* event)
{
    // Escape does not leave the window: at start-up that would end the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmOperLogin::closeEvent(QCloseEvent* event)
{
    // Alt+F4 and the window manager's close are swallowed.
    if (!m_finishing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
