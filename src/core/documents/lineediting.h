#pragma once

#include "document.h"

#include <QString>
#include <optional>

class QSqlRecord;

// The line grid's rules without the grid: filling a line from the goods master,
// the kind's default unit price, and keeping amount and cost in step.
class LineEditing
{
public:
    enum class Entry { TypedCode, Barcode, Picker };

    // Default unit price of a new line of the document for the good (the window's
    // depot, counterpart and code are the document's). salePrice is the good's
    // F_salePrice as the caller has it.
    static double defaultUnitPrice(
        const Document& doc, const QString& goodsCode, double salePrice, Entry entry, QString* error = nullptr);

    // Fills the line from the good found by code (stopped goods too). Not found:
    // "货品"X"不存在，请检查输入？" (assembly components: "商品"...) and false.
    static bool fillByCode(const Document& doc, DocumentLine& line, const QString& goodsCode, QString* error = nullptr);
    // A new line from a barcode (stopped goods only for stocktaking), quantity
    // from the barcode panel. Empty barcode or not found: the message, nothing.
    static std::optional<DocumentLine> lineFromBarcode(
        const Document& doc, const QString& barcode, double quantity, QString* error = nullptr);
    // A line for a good chosen in the goods picker: quantity 1 (stocktaking: book
    // and counted quantity = stock on hand; components: no quantity).
    static std::optional<DocumentLine> lineFromPicker(
        const Document& doc, const QString& goodsCode, QString* error = nullptr);

    // Field handlers: a changed quantity, price, or (stocktaking) book or counted quantity.
    static bool amountChanged(const Document& doc, DocumentLine& line, QString* error = nullptr);
    static void priceChanged(const Document& doc, DocumentLine& line);
    static bool countChanged(const Document& doc, DocumentLine& line, QString* error = nullptr);

    // Line cost by the kind's rule for the line's current quantity and price.
    static double lineCost(const Document& doc, const DocumentLine& line, QString* error = nullptr);

    // The goods columns a line copies, as the look-up statements select them.
    static QString goodsColumns();
    static void copyGoods(const QSqlRecord& good, DocumentLine& line, bool userFields, bool barcode);
};
