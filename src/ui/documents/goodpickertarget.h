#pragma once

#include "documents/document.h"

#include <QString>

class QSqlRecord;

// The window a goods picker puts its choices into.
class GoodPickerTarget
{
public:
    virtual ~GoodPickerTarget() = default;
    // The document as the window holds it now: header values and lines.
    virtual Document pickerDocument() const = 0;
    // Appends a line filled from the good; false when the good could not be used.
    virtual bool addPickedGood(const QString& goodsCode) = 0;
    // Header modes (121, 131): the good becomes the product of the document.
    virtual void setPickedProduct(const QSqlRecord&) { }
};
