#pragma once

#include "reportengine.h"

#include <QList>
#include <QString>

class QAbstractItemModel;

// One visible grid column as the grid shows it.
struct GridPrintColumn
{
    int modelColumn = 0;
    QString title;
    double width = 80; // on screen, any unit: only the proportions count
    Qt::Alignment alignment = Qt::AlignLeft;
    QString footer; // the footer row's text (sum or fixed text), may be empty
};

// Prints a grid as it is shown: visible columns with their titles, the rows'
// display texts and the footer row, under a three-line title.
class GridPrinter
{
public:
    // Fitting 0: fit to the page width, rows grow with their text.
    // Fitting 1: fit to the page width in the columns' proportions, one line per row.
    static ReportTemplate buildTemplate(const QList<GridPrintColumn>& columns, const QString& title, int fitting,
        const QString& footerKey, const QString& pageHeaderText);
    static ReportEngine engine(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns,
        const QString& title, int fitting, const QString& footerKey, const QString& pageHeaderText);
    // The right text of the page footer: "打印日期：" + today for "date", else the key.
    static QString footerText(const QString& footerKey);
    // Shows the preview (through the installed presenter). False when there is none.
    static bool print(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns, const QString& title,
        int fitting, const QString& footerKey, const QString& pageHeaderText);
};
