#pragma once

#include "preparedreport.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;
class QPrinter;

// Draws prepared pages: on any QPainter (screen, printer, PDF, image) and as
// HTML, text and CSV exports.
namespace ReportRenderer {
// The object's font, sized so that it prints at its point size at pxPerMm on the device.
QFont fontFor(const ReportObject& o, const QPaintDevice* device, double pxPerMm);
// Height in mm the text needs in the object's width (word wrap as the object says).
double measureTextHeight(const ReportObject& o, const QString& text, double widthMm);
int textFlags(const ReportObject& o);

// Draws one object at rect (mm, relative to origin) on the painter.
void paintItem(QPainter& p, const PreparedItem& item, double pxPerMm, const QPointF& originPx = {});
// White page, then its items.
void paintPage(QPainter& p, const PreparedReport& report, int page, double pxPerMm, const QPointF& originPx = {});
QImage pageImage(const PreparedReport& report, int page, double dpi);

bool exportPdf(const PreparedReport& report, const QString& fileName, QString* error = nullptr);
// One PNG per page: name.png for a single page, name_1.png, name_2.png ... otherwise.
bool exportPng(const PreparedReport& report, const QString& fileName, double dpi = 150, QStringList* written = nullptr,
    QString* error = nullptr);
bool exportHtml(const PreparedReport& report, const QString& fileName, QString* error = nullptr);
// Plain text, one line per row of objects; pages are separated by a form feed.
bool exportText(const PreparedReport& report, const QString& fileName, QString* error = nullptr);
// One record per row of objects, separated by ";".
bool exportCsv(const PreparedReport& report, const QString& fileName, QString* error = nullptr);
QString toText(const PreparedReport& report);
QString toCsv(const PreparedReport& report);
QString toHtml(const PreparedReport& report);
// Prints every page (or from..to, 1-based) on the printer as it is set up.
bool print(const PreparedReport& report, QPrinter& printer, QString* error = nullptr, int fromPage = 0, int toPage = 0);
} // namespace ReportRenderer
