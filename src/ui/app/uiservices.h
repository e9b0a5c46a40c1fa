#pragma once

#include "data/sqlparams.h"

#include <QString>

class QComboBox;
class QDialog;
class QHBoxLayout;

// Small helpers windows share on top of the data module's services.
namespace UiServices {
// Fills the combo box's items through the list-filling service. The items are
// replaced only when the statement ran; the typed text of an editable box stays.
bool fillCombo(QComboBox* box, const QString& sql, const SqlParams& params = {}, bool keepText = true);
// The right-aligned button row of a small dialog: an accepting button (btnOK, the
// default) and a rejecting one, wired to the dialog's accept() and reject().
QHBoxLayout* dialogButtonRow(QDialog* dialog, const QString& okText, const QString& cancelText,
    const QString& cancelName = QStringLiteral("btnCancel"));
} // namespace UiServices
