#include "dlgeditgoodtype.h"

#include "app/uiservices.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "frmtreecodeman.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TDlgEditGoodType::TDlgEditGoodType(QWidget* parent)
    : QDialog(parent)
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TDlgEditGoodType"));
    setWindowTitle(QStringLiteral("批量修改货品类型"));
    m_edit->setObjectName(QStringLiteral("edtType"));
    m_edit->setReadOnly(true);
    m_edit->setMinimumWidth(280);
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("btnType"));
    button->setText(QStringLiteral("..."));
    connect(button, &QToolButton::clicked, this,
        [this] { m_edit->setText(TFrmTreeCodeMan::pickCategory(this, m_edit->text())); });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("商品类型："), this));
    row->addWidget(m_edit);
    row->addWidget(button);
    auto* buttons = UiServices::dialogButtonRow(this, QStringLiteral("确定"), QStringLiteral("取消"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void TDlgEditGoodType::accept()
{
    if (m_edit->text().trimmed().isEmpty()) {
        ShowMess(QStringLiteral("商品类型名称不能为空！"), Messenger::Information);
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

QString TDlgEditGoodType::ask(QWidget* parent)
{
    TDlgEditGoodType dlg(parent);
    DispFormPos(&dlg, 1);
    return dlg.exec() == QDialog::Accepted ? dlg.m_edit->text() : QString();
}
