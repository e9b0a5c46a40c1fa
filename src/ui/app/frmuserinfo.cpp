#include "frmuserinfo.h"

#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptionsservice.h"
#include "frmmain.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

TFrmUserInfo::TFrmUserInfo(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmUserInfo"));
    setWindowTitle(QStringLiteral("公司信息"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);

    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto edit = [this](const QString& name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->installEventFilter(this);
        return e;
    };
    auto* main = new QWidget(m_pages);
    main->setObjectName(QStringLiteral("TabSheet1"));
    auto* form = new QFormLayout(main);
    edtCode = edit(QStringLiteral("edtCode"));
    edtName = edit(QStringLiteral("edtName"));
    edtManager = edit(QStringLiteral("edtManager"));
    edtPhone = edit(QStringLiteral("edtPhone"));
    edtHomepage = edit(QStringLiteral("edtHomepage"));
    edtHomepage->setCursor(Qt::PointingHandCursor);
    edtHomepage->setToolTip(QStringLiteral("双击打开主页"));
    edtEmail = edit(QStringLiteral("edtEmail"));
    edtEmail->setCursor(Qt::PointingHandCursor);
    edtEmail->setToolTip(QStringLiteral("双击发送电子邮件"));
    edtMovePhone = edit(QStringLiteral("edtMovePhone"));
    form->addRow(QStringLiteral("公司名称："), edtCode);
    form->addRow(QStringLiteral("联系地址："), edtName);
    form->addRow(QStringLiteral("负责人："), edtManager);
    form->addRow(QStringLiteral("联系电话："), edtPhone);
    form->addRow(QStringLiteral("主页："), edtHomepage);
    form->addRow(QStringLiteral("电子邮箱："), edtEmail);
    form->addRow(QStringLiteral("手机："), edtMovePhone);
    m_pages->addTab(main, QStringLiteral("主要资料"));

    auto* other = new QWidget(m_pages);
    other->setObjectName(QStringLiteral("TabSheet2"));
    auto* form2 = new QFormLayout(other);
    edtEnroler = edit(QStringLiteral("edtEnroler"));
    Mem = new QPlainTextEdit(other);
    Mem->setObjectName(QStringLiteral("Mem"));
    form2->addRow(QStringLiteral("注册法人："), edtEnroler);
    form2->addRow(QStringLiteral("公司简介："), Mem);
    m_pages->addTab(other, QStringLiteral("其他资料"));
    layout->addWidget(m_pages);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch(1);
    QPushButton* btnClear = button(QStringLiteral("btnClear"), QStringLiteral("重填"));
    QPushButton* btnSave = button(QStringLiteral("btnSave"), QStringLiteral("保存"));
    QPushButton* btnClose = button(QStringLiteral("btnClose"), QStringLiteral("关闭"));
    QPushButton* btnEdit = button(QStringLiteral("btnEdit"), QStringLiteral("修改"));
    layout->addLayout(buttons);
    connect(btnClear, &QPushButton::clicked, this, &TFrmUserInfo::btnClearClick);
    connect(btnSave, &QPushButton::clicked, this, &TFrmUserInfo::btnSaveClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnEdit, &QPushButton::clicked, this, &TFrmUserInfo::loadFromDatabase);

    resize(460, 360);
    setFixedSize(sizeHint().expandedTo(QSize(460, 360)));
    loadFromDatabase();
}

void TFrmUserInfo::loadFromDatabase()
{
    SysOptionsService::Company c;
    if (!SysOptionsService::loadCompany(c))
        return;
    edtCode->setText(c.code);
    edtName->setText(c.name);
    edtManager->setText(c.manager);
    edtPhone->setText(c.phone);
    edtHomepage->setText(c.homepage);
    edtEmail->setText(c.email);
    edtMovePhone->setText(c.handPhone);
    edtEnroler->setText(c.enroler);
    Mem->setPlainText(c.mem);
}

void TFrmUserInfo::btnClearClick()
{
    for (QLineEdit* e : {edtCode, edtName, edtManager, edtPhone, edtHomepage, edtEmail, edtMovePhone, edtEnroler})
        e->clear();
    Mem->clear();
}

bool TFrmUserInfo::btnSaveClick()
{
    SysOptionsService::Company c;
    c.code = edtCode->text();
    c.name = edtName->text();
    c.manager = edtManager->text();
    c.phone = edtPhone->text();
    c.homepage = edtHomepage->text();
    c.email = edtEmail->text();
    c.handPhone = edtMovePhone->text();
    c.enroler = edtEnroler->text();
    c.mem = Mem->toPlainText();
    if (!SysOptionsService::saveCompany(c))
        return false;
    // The report title is built as at login, telephone included.
    Session::current().companyTitle = LoginService::companyTitle();
    ShowMess(savedText(), Messenger::Information);
    return true;
}

bool TFrmUserInfo::CheckEmail(const QString& address)
{
    if (address.isEmpty())
        return false;
    for (const QChar ch : address) {
        const ushort u = ch.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-'
            || u == '.' || u == '_' || u == '@';
        if (!ok)
            return false;
    }
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at < 0 || address.contains(QLatin1String("..")))
        return false;
    if (at == 0)
        return false;
    const QString domain = address.mid(at + 1);
    if (domain.size() <= 3)
        return false;
    const qsizetype dot = domain.indexOf(QLatin1Char('.'));
    return dot >= 0 && domain.size() - dot - 1 >= 3;
}

QString TFrmUserInfo::webAddress(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QString();
    if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return t;
    return QStringLiteral("http://") + t;
}

void TFrmUserInfo::openHomepage()
{
    const QString address = webAddress(edtHomepage->text());
    if (!address.isEmpty())
        TFrmMain::openUrl(QUrl(address));
}

void TFrmUserInfo::openEmail()
{
    const QString address = edtEmail->text().trimmed();
    if (CheckEmail(address))
        TFrmMain::openUrl(QUrl(QStringLiteral("mailto:") + address + QStringLiteral("?subject")));
}

bool TFrmUserInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == edtHomepage)
            openHomepage();
        else if (watched == edtEmail)
            openEmail();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
