#pragma once

#include "data/sqlparams.h"

#include <QString>

class QComboBox;

// Small helpers windows share on top of the data module's services.
namespace UiServices {
// Fills the combo box's items through the list-filling service. The items are
// replaced only when the statement ran; the typed text of an editable box stays.
bool fillCombo(QComboBox* box, const QString& sql, const SqlParams& params = {}, bool keepText = true);
} // namespace UiServices
