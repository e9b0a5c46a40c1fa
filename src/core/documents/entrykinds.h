#pragma once

#include <QDate>
#include <QList>
#include <QString>

struct DocumentKind;

// What the eleven ordinary entry windows add to the document kind table: the
// counterpart control, the line-adding button, double-click, list and audit
// particulars, and the print and design entries. One table, one window design.
struct EntryKind
{
    enum class Counterpart {
        SupplierPicker, // text field with button, partner picker mode 0
        ClientPicker, // text field with button, partner picker mode 1
        Departments, // drop-down of departments
        Depots, // drop-down of every depot (the transfer's sending depot)
        None, // stocktaking
    };

    int kind = 1;
    Counterpart counterpart = Counterpart::SupplierPicker;
    bool addLineOpensPicker = false; // "增行" opens the goods picker instead of appending
    bool doubleClickEdits = true;
    bool orderedLines = true; // lines loaded in F_ID order
    bool preselectDepot = true; // the first depot is chosen when the window is made
    bool firstAfterAudit = false; // the list shows its first document after (un)audit
    bool countedLines = false; // stocktaking: book, counted and difference columns

    const DocumentKind& base() const;
    QString windowClass() const;
    QString title() const;
    int clientPickerMode() const { return counterpart == Counterpart::SupplierPicker ? 0 : 1; }
    bool hasClientPicker() const
    {
        return counterpart == Counterpart::SupplierPicker || counterpart == Counterpart::ClientPicker;
    }

    // Template i (0, 1, 2): stem, stem + "1", stem + "2".
    QString templateName(int i) const;
    QString printCaption(int i) const;
    QString designCaption(int i) const;
};

namespace EntryKinds {
// The eleven kinds in the order of the main window's actions.
const QList<EntryKind>& all();
const EntryKind* find(int kind);
const EntryKind* findByClass(const QString& windowClass);

// The grid key of the line grid of every kind, and the goods picker's.
QStringList gridKeys();
QString pickerGridKey();

// The entry date field must read as yyyy-mm-dd before a document is saved.
QString entryDateText(const QDate& d);
bool parseEntryDate(const QString& text, QDate& out);
QString badEntryDateText();
} // namespace EntryKinds
