#include "uiservices.h"

#include "data/datamodule.h"

#include <QComboBox>

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
} // namespace UiServices
