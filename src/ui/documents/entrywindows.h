#pragma once

#include <QString>

class QWidget;

// Registers the eleven entry windows (actions 301-305, 401-404, 501, 502) with
// the main window's registry under their window classes.
void registerEntryWindows();

// Opens the entry window of a document's kind modally, positioned on the
// document (its list date is the document's entry date). False when the code
// belongs to none of the eleven kinds or the document is not there.
bool showEntryDocumentModal(const QString& code, QWidget* parent = nullptr);
