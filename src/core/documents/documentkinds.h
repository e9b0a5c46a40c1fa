#pragma once

#include <QList>
#include <QString>

// Which stock test a kind runs before it saves.
enum class StockCheck {
    None, // receipts
    HeaderDepot, // every line against F_Depot
    SendingDepot, // transfer: every line against F_Client
    Counted, // stocktaking: the line's difference is added to the stock
    Components, // assembly: every component against F_Client, no rounding
    Product, // dismantling: the product only against F_Depot, no rounding
};

// How a new line's unit price is proposed.
enum class PriceSource {
    Purchase, // last purchase price by mode, else cost price
    Sales, // last sales-issue price by mode, else the good's sale price
    Cost, // cost price (other receipts/issues by barcode: as Purchase)
    ProductDepotCost, // assembly and dismantling: cost price in the product depot
};

// One document kind: everything the entry windows, the store and the reports
// read about it. Kept in one table so no window repeats these values.
struct DocumentKind
{
    int kind;
    QString name; // English name, for logs and the command line
    int operFlag; // stock direction of ordinary lines
    QString prefix;
    QString title; // document title
    QString windowClass;
    QString windowCaption;
    int actionCode; // the main window's action (also the role right)
    QString dateLabel;
    QString depotLabel;
    QString clientLabel; // empty: no counterpart field
    QString depotEmptyText; // refusal when the depot is empty
    QString clientEmptyText; // refusal when the counterpart is empty; empty: may stay empty
    QString deleteName; // "真的要删除当前" + deleteName + " " + code + "吗？"
    QString layoutKey;
    int pickerMode;
    int importType; // Excel import target type; 0 when the window has no import
    QString printStem;
    StockCheck check;
    PriceSource price;
    bool costFromPrice; // line cost = amount x price (else amount x cost price)

    bool issues() const { return check != StockCheck::None; }
    bool isAssembly() const { return kind == 12 || kind == 13; }
    // The statement GetNextCode runs for this kind; binds :pattern.
    QString maxCodeSql() const;
    QString deleteQuestion(const QString& code) const;
};

namespace DocumentKinds {
// The thirteen kinds in the order of the main window's actions.
const QList<DocumentKind>& all();
// nullptr for a kind no window creates.
const DocumentKind* find(int kind);
const DocumentKind* findByPrefix(const QString& prefix);
// The kind a document code belongs to, by its prefix; nullptr when unknown.
const DocumentKind* forCode(const QString& code);
} // namespace DocumentKinds
