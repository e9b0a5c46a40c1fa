#pragma once

#include "document.h"

#include <QList>
#include <QString>

// The stock test an issuing document passes before it is saved: every line (or,
// for a dismantling, the product) against the stock on hand in its issuing
// depot, the document itself left out. Lines of the same good count together,
// so two lines of 3 against a stock of 5 are one shortfall of 1.
class AvailabilityCheck
{
public:
    enum Outcome { Passed, Refused, Declined, Failed };
    enum Mode {
        Ask, // negative stock allowed: ask about each shortfall (no stops)
        Refuse, // negative stock not allowed: the first shortfall refuses
        Silent, // find the first shortfall without showing anything
    };

    struct Shortfall
    {
        QString goodsCode;
        QString depotText; // as shown in the window
        double remaining = 0;
    };

    // Runs the kind's check over the document's lines with leave-out code `code`.
    // Refuse shows the blocking message; Ask asks and returns Declined on "no".
    static Outcome run(const Document& doc, const QString& code, Mode mode, int quantityDecimals,
        Shortfall* first = nullptr, QString* error = nullptr);

    static QString refusalText(const Shortfall& s, int quantityDecimals);
    static QString questionText(const Shortfall& s, int quantityDecimals);
};
