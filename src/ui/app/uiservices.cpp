#include "uiservices.h"

#include "data/datamodule.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace UiServices {
bool fillCombo(QComboBox* box, const QString& sql, const SqlParams& params, bool keepText)
{
    if (!box)
        return false;
    QStringList items;
    if (!dm().FillList(sql, items, params))
        return false;
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    if (keepText && box->isEditable())
        box->setEditText(text);
    else if (keepText)
        box->setCurrentIndex(box->findText(text));
    return true;
}

QHBoxLayout* dialogButtonRow(
    QDialog* dialog, const QString& okText, const QString& cancelText, const QString& cancelName)
{
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(cancelText, dialog);
    cancel->setObjectName(cancelName);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}
} // namespace UiServices
