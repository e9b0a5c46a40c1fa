#include "dlgaddtext.h"

#include "app/uiservices.h"

#include "app/dispformpos.h"
#include "app/messenger.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDLGaddText::TDLGaddText(QWidget* parent)
    : QDialog(parent)
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TDLGaddText"));
    setWindowTitle(QStringLiteral("请输入要增加的标题名称"));
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setMinimumWidth(240);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("名    称："), this));
    row->addWidget(m_edit);
    auto* buttons
        = UiServices::dialogButtonRow(this, QStringLiteral("确定"), QStringLiteral("关闭"), QStringLiteral("btnClose"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void TDLGaddText::accept()
{
    if (m_edit->text().trimmed().isEmpty()) {
        ShowMess(QStringLiteral("名称不能为空！"), Messenger::Information);
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

void TDLGaddText::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TDLGaddText::ask(QWidget* parent, QString& text)
{
    TDLGaddText dlg(parent);
    DispFormPos(&dlg, 1);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    text = dlg.m_edit->text();
    return true;
}
