#pragma once

#include "reporttemplate.h"

#include <QList>
#include <QRectF>
#include <QString>

// The laid-out pages the renderers draw: every object placed on its page (mm,
// from the page's top-left corner) with its final text.
struct PreparedItem
{
    ReportObject object; // style and type; geometry is ignored, rect holds the place
    QRectF rect;
    QString text;
    bool checked = false;
};

struct PreparedPage
{
    QList<PreparedItem> items;
};

struct PreparedReport
{
    QString name;
    ReportPageSetup page;
    QList<PreparedPage> pages;
    QStringList errors; // expression errors met while preparing (each once)

    int pageCount() const { return int(pages.size()); }
    // The texts of one page in reading order (top to bottom, left to right).
    QStringList pageTexts(int page) const;
};
