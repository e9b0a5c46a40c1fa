#pragma once

#include "entrylinefields.h"

#include <QList>
#include <QString>

// The stored column layout (cfg_grid) of an entry line grid or the goods
// picker's list, read over the designed columns: stored order, caption, width,
// visibility and formats win; columns the store does not know keep their
// designed values and come last.
namespace EntryLayout {
// False (message shown by the service) on a database error; columns then are the designed ones.
bool load(const QString& gridKey, const QList<EntryLineColumn>& designed, QList<EntryLineColumn>& out);
// Writes order, caption, width and visibility of every column that has a row.
bool save(const QString& gridKey, const QList<EntryLineColumn>& columns);
} // namespace EntryLayout
