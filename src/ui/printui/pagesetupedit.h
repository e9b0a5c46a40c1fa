#pragma once

#include "print/reporttemplate.h"

class QWidget;

// Page size, orientation and margins of a template through the system's page setup dialog.
namespace PageSetupEdit {
// True when the user accepted; the page is changed then.
bool edit(QWidget* parent, ReportPageSetup& page);
} // namespace PageSetupEdit
