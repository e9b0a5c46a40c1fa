#pragma once

#include "data/gridlayout.h"
#include "document.h"

#include <QList>
#include <QString>
#include <QVariant>

// One column of an entry window's line grid.
struct EntryLineColumn
{
    QString field; // DepotD column name
    QString caption;
    int width = 80;
    bool editable = true;
    int footerType = 0; // 0 none, 1 fixed text, 2 sum
    QString footerValue;
    QString displayFormat;
    QString footerFormat;
    int alignment = 0; // 0 left, 1 centre, 2 right
    bool visible = true;
};

// Reading and writing a document line by its DepotD column name (any case),
// and the designed columns of the line grids.
namespace EntryLineFields {
QVariant value(const DocumentLine& line, const QString& field);
// False for an unknown or read-only field. Numbers accept text ("", "1.5").
bool setValue(DocumentLine& line, const QString& field, const QVariant& v);

bool isNumeric(const QString& field);
bool isDate(const QString& field);
// Goods name, type, specification, place of origin and unit come from the goods master.
bool isGoodsDescriptive(const QString& field);

// The designed columns of a kind's line grid (stocktaking has its own set).
QList<EntryLineColumn> defaultColumns(int kind);
// The goods picker's list.
QList<EntryLineColumn> pickerColumns();

// Designed columns as a grid layout: the footer format is the column's stored
// display format; alignment 0 means the grid's default (numbers right).
QList<GridColumnDef> gridColumns(const QList<EntryLineColumn>& columns);
// A stored layout over the designed columns: stored order, caption, width,
// visibility, formats and footers win; stored fields the grid does not know are
// left out (the lines are read by field name) and designed columns the store
// lacks come last, as designed.
QList<GridColumnDef> layoutOver(const QList<GridColumnDef>& designed, const QList<GridColumnDef>& stored);
} // namespace EntryLineFields
