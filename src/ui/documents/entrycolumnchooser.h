#pragma once

#include "documents/entrylinefields.h"

#include <QList>

class QTableView;
class QWidget;

// The column list of a line grid or the picker's list: tick a column to show it.
namespace EntryColumnChooser {
void run(QWidget* parent, QTableView* view, const QList<EntryLineColumn>& columns);
}
