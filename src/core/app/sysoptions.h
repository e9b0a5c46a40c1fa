#pragma once

#include <QString>

// The program-wide option values, loaded when the main window is shown and
// replaced when the options window saves (SysOptionsService loads and saves them).
struct SysOptions
{
    int iAmount = 2; // quantity decimals
    int iPrice = 2; // price decimals
    int iTotal = 2; // amount decimals
    bool negativeStock = false; // F_b1
    bool autoGoodsCode = false; // F_b2
    bool lastPrice = false; // F_b3
    bool lastPriceClient = false; // F_b4
    int costingMode = 1; // F_iMode: 0 fixed unit price, 1 moving weighted average, 2 average cost
    int printNum = 5; // Config.ini iPrintNum
    bool barcodeInput = false; // Config.ini bTM
    int backupSchedule = 0; // Config.ini ibak

    // 2 when F_b3 is set, else 3 when F_b4 is set, else 1.
    int lastPriceMode() const { return lastPrice ? 2 : (lastPriceClient ? 3 : 1); }
    QString quantityFormat() const; // "0.##" for 2, "0." for 0
    QString priceFormat() const; // ",0.00" for 2, ",0.00##" for 4, ",0.0" for 1, ",0." for 0
    QString amountFormat() const;

    static QString quantityFormatFor(int decimals);
    static QString moneyFormatFor(int decimals);

    static SysOptions& current();
};
