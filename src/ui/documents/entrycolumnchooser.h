#pragma once

#include "documents/entrylinefields.h"

#include <QList>
#include <QSet>

class QTableView;
class QWidget;

// The column list of a line grid or the picker's list: tick a column to show it.
// Locked columns (prices for an operator without the price right) are not offered.
namespace EntryColumnChooser {
void run(QWidget* parent, QTableView* view, const QList<EntryLineColumn>& columns, const QSet<int>& locked = {});
}
