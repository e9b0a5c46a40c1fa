#include "frmcltedit.h"

#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "recordnavigator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit* cltEditLine(QWidget* parent, const char* name, int maxLength = 50)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QComboBox* cltEditCombo(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(50);
    return c;
}
} // namespace

TfrmCltEdit::TfrmCltEdit(int kind, Mode mode, RecordNavigator* navigator, QWidget* parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_mode(mode)
    , m_navigator(navigator)
{
    setObjectName(QStringLiteral("TfrmCltEdit"));
    const QString who = kind == PartnerService::Client ? QStringLiteral("客户资料") : QStringLiteral("供应商资料");
    setWindowTitle(who + (mode == Edit ? QStringLiteral(" - 修改") : QStringLiteral(" - 新增")));

    m_code = cltEditLine(this, "edtCode");
    m_name = cltEditLine(this, "edtName", 255);
    m_type = cltEditCombo(this, "cbbType");
    m_type->installEventFilter(this);
    m_empName = cltEditCombo(this, "cbbEmpName");
    m_empName->installEventFilter(this);
    m_linkMan = cltEditLine(this, "edtLinkMan", 255);
    m_address = cltEditLine(this, "edtAddress", 255);
    m_postCode = cltEditLine(this, "edtPostCode");
    m_handPhone = cltEditLine(this, "edtHandPhone");
    m_phone = cltEditLine(this, "edtPhone");
    m_fax = cltEditLine(this, "edtFax");
    m_begPrice = new QDoubleSpinBox(this);
    m_begPrice->setObjectName(QStringLiteral("edtBegPrice"));
    m_begPrice->setRange(-1e12, 1e12);
    m_begPrice->setDecimals(SysOptions::current().iTotal);
    m_begPrice->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_begPrice->setAlignment(Qt::AlignRight);
    m_bank = cltEditLine(this, "edtBank");
    m_account = cltEditLine(this, "edtAccount");
    m_rateCode = cltEditLine(this, "edtRatecode");
    m_homepage = cltEditLine(this, "edtHomepage");
    m_email = cltEditLine(this, "edtEmail");
    m_enrol = cltEditLine(this, "edtEnrol");
    m_mem = new QPlainTextEdit(this);
    m_mem->setObjectName(QStringLiteral("memMem"));
    m_mem->setMaximumHeight(60);
    m_mem->setTabChangesFocus(true);
    m_useFlag = new QCheckBox(QStringLiteral("停用"), this);
    m_useFlag->setObjectName(QStringLiteral("chkUseFlag"));
    m_continue = new QCheckBox(QStringLiteral("连续新增"), this);
    m_continue->setObjectName(QStringLiteral("chkContinue"));
    m_continue->setChecked(true);
    m_continue->setVisible(mode == NewFromList);

    auto* grid = new QGridLayout;
    const QPair<const char*, QWidget*> fields[] = {
        {"编    号：", m_code},
        {"名    称：", m_name},
        {"类    型：", m_type},
        {"业 务 员：", m_empName},
        {"联 系 人：", m_linkMan},
        {"地    址：", m_address},
        {"邮    编：", m_postCode},
        {"手    机：", m_handPhone},
        {"固定电话：", m_phone},
        {"传    真：", m_fax},
        {"期初欠款：", m_begPrice},
        {"开户银行：", m_bank},
        {"银行帐号：", m_account},
        {"纳 税 号：", m_rateCode},
        {"公司主页：", m_homepage},
        {"电子邮箱：", m_email},
        {"公司法人：", m_enrol},
    };
    int i = 0;
    for (const auto& f : fields) {
        grid->addWidget(new QLabel(QString::fromUtf8(f.first), this), i / 2, (i % 2) * 2);
        grid->addWidget(f.second, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    const int memRow = (i + 1) / 2;
    grid->addWidget(new QLabel(QStringLiteral("备    注："), this), memRow, 0);
    grid->addWidget(m_mem, memRow, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    m_navBar = new QWidget(this);
    m_navBar->setObjectName(QStringLiteral("DBNavigator1"));
    m_navBar->setVisible(mode == Edit);
    auto* nav = new QHBoxLayout(m_navBar);
    nav->setContentsMargins(0, 0, 0, 0);
    const QPair<const char*, const char*> navButtons[]
        = {{"btnFirst", "首项"}, {"btnPrior", "前项"}, {"btnNext", "后项"}, {"btnLast", "末项"}};
    for (int n = 0; n < 4; ++n) {
        auto* b = new QPushButton(QString::fromUtf8(navButtons[n].second), m_navBar);
        b->setObjectName(QString::fromLatin1(navButtons[n].first));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, n] {
            if (!m_navigator || m_navigator->rowCount() == 0)
                return;
            const int cur = m_navigator->currentRow();
            const int target = n == 0 ? 0 : n == 1 ? cur - 1 : n == 2 ? cur + 1 : m_navigator->rowCount() - 1;
            moveTo(qBound(0, target, m_navigator->rowCount() - 1));
        });
        nav->addWidget(b);
    }
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setAutoDefault(false);
    m_ok->setEnabled(Session::current().rKHedit || Session::current().isAdmin());
    connect(m_ok, &QPushButton::clicked, this, &TfrmCltEdit::btnOKClick);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_useFlag);
    buttons->addWidget(m_continue);
    buttons->addWidget(m_navBar);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(620, 440);

    if (mode == Edit) {
        // The code of a stored partner is fixed: read-only, skipped by Tab, shaded.
        m_code->setReadOnly(true);
        m_code->setFocusPolicy(Qt::ClickFocus);
        m_code->setStyleSheet(QStringLiteral("background-color: rgb(163, 149, 242);"));
        if (m_navigator && m_navigator->currentRow() >= 0)
            moveTo(m_navigator->currentRow());
    }
}

PartnerRecord TfrmCltEdit::record() const
{
    PartnerRecord p;
    p.id = m_mode == Edit ? m_id : 0;
    p.code = m_code->text();
    p.name = m_name->text();
    p.type = m_type->currentText();
    p.empName = m_empName->currentText();
    p.linkMan = m_linkMan->text();
    p.address = m_address->text();
    p.postCode = m_postCode->text();
    p.handPhone = m_handPhone->text();
    p.phone = m_phone->text();
    p.fax = m_fax->text();
    p.begPrice = m_begPrice->value();
    p.bank = m_bank->text();
    p.account = m_account->text();
    p.rateCode = m_rateCode->text();
    p.homepage = m_homepage->text();
    p.email = m_email->text();
    p.enrol = m_enrol->text();
    p.mem = m_mem->toPlainText();
    p.useFlag = m_useFlag->isChecked();
    return p;
}

void TfrmCltEdit::setRecord(const PartnerRecord& p)
{
    m_id = p.id;
    m_code->setText(p.code);
    m_name->setText(p.name);
    m_type->setCurrentText(p.type);
    m_empName->setCurrentText(p.empName);
    m_linkMan->setText(p.linkMan);
    m_address->setText(p.address);
    m_postCode->setText(p.postCode);
    m_handPhone->setText(p.handPhone);
    m_phone->setText(p.phone);
    m_fax->setText(p.fax);
    m_begPrice->setValue(p.begPrice);
    m_bank->setText(p.bank);
    m_account->setText(p.account);
    m_rateCode->setText(p.rateCode);
    m_homepage->setText(p.homepage);
    m_email->setText(p.email);
    m_enrol->setText(p.enrol);
    m_mem->setPlainText(p.mem);
    m_useFlag->setChecked(p.useFlag);
}

void TfrmCltEdit::moveTo(int row)
{
    if (!m_navigator)
        return;
    m_navigator->setCurrentRow(row);
    setRecord(PartnerRecord::fromRecord(m_navigator->recordAt(row)));
}

bool TfrmCltEdit::btnOKClick()
{
    if (!m_ok->isEnabled())
        return false;
    PartnerRecord p = record();
    PartnerService::Field bad = PartnerService::NoField;
    if (!PartnerService::save(p, m_kind, &bad)) {
        if (bad == PartnerService::CodeField)
            m_code->setFocus();
        else if (bad == PartnerService::NameField)
            m_name->setFocus();
        return false;
    }
    if (m_navigator)
        m_navigator->reopenAt(p.code);
    if (m_mode != NewFromList || !m_continue->isChecked()) {
        accept();
        return true;
    }
    setRecord(PartnerRecord());
    m_code->setFocus();
    return true;
}

bool TfrmCltEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_type || watched == m_empName)) {
        auto* box = static_cast<QComboBox*>(watched);
        QStringList values;
        if (watched == m_type)
            dm().FillList(QStringLiteral("select distinct F_name from t_code where (F_name <> '') and F_type = :kind "
                                         "order by F_name"),
                values, {{QStringLiteral("kind"), PartnerService::typeListKind(m_kind)}});
        else
            dm().FillList(QStringLiteral("select distinct f_name from t_employee where (COALESCE(F_flag,0) = 0) order "
                                         "by f_name"),
                values);
        const QString text = box->currentText();
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(values);
        box->setCurrentText(text);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmCltEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_S && (event->modifiers() & Qt::ControlModifier)) {
        btnOKClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() != m_mem) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}
