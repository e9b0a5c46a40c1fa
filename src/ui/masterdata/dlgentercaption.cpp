#include "dlgentercaption.h"

#include "app/uiservices.h"

#include "app/dispformpos.h"
#include "app/messenger.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDLGenterCaption::TDLGenterCaption(QWidget* parent)
    : QDialog(parent)
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TDLGenterCaption"));
    m_edit->setObjectName(QStringLiteral("edtCurValue"));
    m_edit->setMinimumWidth(260);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("节点名称"), this));
    row->addWidget(m_edit);
    auto* buttons = UiServices::dialogButtonRow(this, QStringLiteral("确定"), QStringLiteral("取消"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void TDLGenterCaption::accept()
{
    if (m_edit->text().trimmed().isEmpty()) {
        ShowMess(QStringLiteral("节点名称不能为空！"), Messenger::Information);
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

QString TDLGenterCaption::ask(QWidget* parent, const QString& title, const QString& initial)
{
    TDLGenterCaption dlg(parent);
    dlg.setWindowTitle(title);
    dlg.m_edit->setText(initial);
    dlg.m_edit->selectAll();
    DispFormPos(&dlg, 1);
    return dlg.exec() == QDialog::Accepted ? dlg.m_edit->text() : QString();
}
