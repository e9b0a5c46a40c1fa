#include "reportrenderer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextStream>

namespace ReportRenderer {
namespace {
constexpr double kPadX = 0.5; // mm inside a text object's frame
constexpr double kPadY = 0.3;

const QImage& measureDevice()
{
    static const QImage img = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(47244); // 1200 dpi
        i.setDotsPerMeterY(47244);
        return i;
    }();
    return img;
}

double rendererPenPx(double pt, double pxPerMm)
{
    return qMax(1.0, pt * 25.4 / 72.0 * pxPerMm);
}

QRectF rendererToPx(const QRectF& mm, double pxPerMm, const QPointF& origin)
{
    return QRectF(
        origin.x() + mm.x() * pxPerMm, origin.y() + mm.y() * pxPerMm, mm.width() * pxPerMm, mm.height() * pxPerMm);
}

struct RowOfItems
{
    double top;
    QList<const PreparedItem*> items;
};

// Text objects grouped into rows by their top edge, rows top to bottom, items left to right.
QList<RowOfItems> rendererRows(const PreparedPage& page)
{
    QList<const PreparedItem*> items;
    for (const auto& it : page.items)
        if (it.object.type == ReportObject::Text)
            items << &it;
    std::stable_sort(items.begin(), items.end(),
        [](const PreparedItem* a, const PreparedItem* b) { return a->rect.top() < b->rect.top(); });
    QList<RowOfItems> rows;
    for (const auto* it : items) {
        if (rows.isEmpty() || it->rect.top() - rows.last().top > 1.0)
            rows.append(RowOfItems {it->rect.top(), {}});
        rows.last().items << it;
    }
    for (auto& r : rows)
        std::stable_sort(r.items.begin(), r.items.end(),
            [](const PreparedItem* a, const PreparedItem* b) { return a->rect.left() < b->rect.left(); });
    return rows;
}

bool rendererWrite(const QString& fileName, const QByteArray& data, QString* error)
{
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

QString rendererCsvField(const QString& s)
{
    if (s.contains(QLatin1Char(';')) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n'))) {
        QString q = s;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    }
    return s;
}
} // namespace

QFont fontFor(const ReportObject& o, const QPaintDevice* device, double pxPerMm)
{
    QFont f(o.fontFamily);
    const double dpi = device ? device->logicalDpiY() : 96.0;
    f.setPointSizeF(qMax(0.5, o.fontSize * 25.4 * pxPerMm / dpi));
    f.setBold(o.bold);
    f.setItalic(o.italic);
    f.setUnderline(o.underline);
    // Kerning shifts CJK glyphs in PDF text extraction.
    f.setKerning(false);
    return f;
}

int textFlags(const ReportObject& o)
{
    int flags = int(o.hAlign) | int(o.vAlign);
    if (o.wordWrap)
        flags |= Qt::TextWordWrap | Qt::TextWrapAnywhere;
    return flags;
}

double measureTextHeight(const ReportObject& o, const QString& text, double widthMm)
{
    const QImage& dev = measureDevice();
    const double pxPerMm = 1200.0 / 25.4;
    const QFont f = fontFor(o, &dev, pxPerMm);
    QFontMetricsF fm(f, &dev);
    const double w = qMax(1.0, (widthMm - 2 * kPadX) * pxPerMm);
    const QRectF r = fm.boundingRect(QRectF(0, 0, w, 1e7), textFlags(o), text.isEmpty() ? QStringLiteral(" ") : text);
    return r.height() / pxPerMm + 2 * kPadY;
}

void paintItem(QPainter& p, const PreparedItem& item, double pxPerMm, const QPointF& originPx)
{
    const ReportObject& o = item.object;
    const QRectF r = rendererToPx(item.rect, pxPerMm, originPx);
    p.save();
    switch (o.type) {
    case ReportObject::Line: {
        QPen pen(o.color);
        pen.setWidthF(rendererPenPx(o.frameWidth, pxPerMm));
        p.setPen(pen);
        p.drawLine(r.topLeft(), r.bottomRight());
        break;
    }
    case ReportObject::Rect: {
        if (o.fill.isValid())
            p.fillRect(r, o.fill);
        QPen pen(o.color);
        pen.setWidthF(rendererPenPx(o.frameWidth, pxPerMm));
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        break;
    }
    case ReportObject::Picture:
        if (!o.picture.isNull()) {
            const QSizeF s = QSizeF(o.picture.size()).scaled(r.size(), Qt::KeepAspectRatio);
            const QRectF target(
                r.x() + (r.width() - s.width()) / 2, r.y() + (r.height() - s.height()) / 2, s.width(), s.height());
            p.drawImage(target, o.picture);
        }
        break;
    case ReportObject::CheckBox: {
        const double side = qMin(r.width(), r.height());
        const QRectF box(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
        QPen pen(o.color);
        pen.setWidthF(rendererPenPx(o.frameWidth, pxPerMm));
        p.setPen(pen);
        p.drawRect(box);
        if (item.checked) {
            pen.setWidthF(rendererPenPx(o.frameWidth * 2, pxPerMm));
            p.setPen(pen);
            const QPointF a(box.left() + side * 0.2, box.top() + side * 0.5);
            const QPointF b(box.left() + side * 0.42, box.top() + side * 0.75);
            const QPointF c(box.left() + side * 0.8, box.top() + side * 0.25);
            p.drawLine(a, b);
            p.drawLine(b, c);
        }
        break;
    }
    case ReportObject::Text: {
        if (o.fill.isValid())
            p.fillRect(r, o.fill);
        if (!item.text.isEmpty()) {
            p.setFont(fontFor(o, p.device(), pxPerMm));
            p.setPen(o.color);
            const QRectF inner = r.adjusted(kPadX * pxPerMm, kPadY * pxPerMm, -kPadX * pxPerMm, -kPadY * pxPerMm);
            // Clipping costs much in PDF output; only text that overflows its box gets it.
            const QRectF need = p.boundingRect(inner, textFlags(o), item.text);
            const bool clip = !inner.contains(need);
            if (clip)
                p.setClipRect(r.adjusted(-1, -1, 1, 1));
            p.drawText(inner, textFlags(o), item.text);
            if (clip)
                p.setClipping(false);
        }
        break;
    }
    }
    if (o.frame && (o.type == ReportObject::Text || o.type == ReportObject::Picture)) {
        QPen pen(Qt::black);
        pen.setWidthF(rendererPenPx(o.frameWidth, pxPerMm));
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
        if (o.frame & ReportObject::FrameLeft)
            p.drawLine(r.topLeft(), r.bottomLeft());
        if (o.frame & ReportObject::FrameTop)
            p.drawLine(r.topLeft(), r.topRight());
        if (o.frame & ReportObject::FrameRight)
            p.drawLine(r.topRight(), r.bottomRight());
        if (o.frame & ReportObject::FrameBottom)
            p.drawLine(r.bottomLeft(), r.bottomRight());
    }
    p.restore();
}

void paintPage(QPainter& p, const PreparedReport& report, int page, double pxPerMm, const QPointF& originPx)
{
    if (page < 0 || page >= report.pages.size())
        return;
    p.fillRect(QRectF(originPx, QSizeF(report.page.width() * pxPerMm, report.page.height() * pxPerMm)), Qt::white);
    for (const auto& it : report.pages[page].items)
        paintItem(p, it, pxPerMm, originPx);
}

QImage pageImage(const PreparedReport& report, int page, double dpi)
{
    const double pxPerMm = dpi / 25.4;
    QImage img(qMax(1, qRound(report.page.width() * pxPerMm)), qMax(1, qRound(report.page.height() * pxPerMm)),
        QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintPage(p, report, page, pxPerMm);
    return img;
}

bool exportPdf(const PreparedReport& report, const QString& fileName, QString* error)
{
    QPdfWriter writer(fileName);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Kelmora"));
    writer.setTitle(report.name);
    const QPageLayout layout(QPageSize(QSizeF(report.page.width(), report.page.height()), QPageSize::Millimeter),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    writer.setPageLayout(layout);
    QPainter p;
    if (!p.begin(&writer)) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1").arg(fileName);
        return false;
    }
    const double pxPerMm = 600 / 25.4;
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        paintPage(p, report, i, pxPerMm);
    }
    if (!p.end()) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1").arg(fileName);
        return false;
    }
    return true;
}

bool exportPng(const PreparedReport& report, const QString& fileName, double dpi, QStringList* written, QString* error)
{
    const QFileInfo fi(fileName);
    const QString base = fi.path() + QLatin1Char('/') + fi.completeBaseName();
    for (int i = 0; i < report.pageCount(); ++i) {
        const QString name = report.pageCount() == 1 ? base + QStringLiteral(".png")
                                                     : QStringLiteral("%1_%2.png").arg(base).arg(i + 1);
        if (!pageImage(report, i, dpi).save(name, "PNG")) {
            if (error)
                *error = QStringLiteral("无法写入文件：%1").arg(name);
            return false;
        }
        if (written)
            *written << name;
    }
    return true;
}

QString toText(const PreparedReport& report)
{
    QString out;
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0)
            out += QLatin1Char('\f');
        for (const auto& row : rendererRows(report.pages[i])) {
            QStringList cells;
            for (const auto* it : row.items)
                cells << it->text.simplified();
            out += cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
        }
    }
    return out;
}

QString toCsv(const PreparedReport& report)
{
    QString out;
    for (int i = 0; i < report.pageCount(); ++i)
        for (const auto& row : rendererRows(report.pages[i])) {
            QStringList cells;
            for (const auto* it : row.items)
                cells << rendererCsvField(it->text);
            out += cells.join(QLatin1Char(';')) + QStringLiteral("\r\n");
        }
    return out;
}

QString toHtml(const PreparedReport& report)
{
    QString h;
    QTextStream s(&h);
    s << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << report.name.toHtmlEscaped()
      << "</title>\n<style>body{background:#888;margin:0}.page{position:relative;background:#fff;margin:8mm auto;"
         "overflow:hidden}.o{position:absolute;box-sizing:border-box;overflow:hidden;display:flex}"
         ".l{position:absolute}</style></head><body>\n";
    for (int i = 0; i < report.pageCount(); ++i) {
        s << "<div class=\"page\" style=\"width:" << report.page.width() << "mm;height:" << report.page.height()
          << "mm\">\n";
        for (const auto& it : report.pages[i].items) {
            const ReportObject& o = it.object;
            const QRectF& r = it.rect;
            const QString pos = QStringLiteral("left:%1mm;top:%2mm;width:%3mm;height:%4mm;")
                                    .arg(r.x())
                                    .arg(r.y())
                                    .arg(qMax(0.0, r.width()))
                                    .arg(qMax(0.0, r.height()));
            const double bw = qMax(0.1, o.frameWidth * 25.4 / 72);
            if (o.type == ReportObject::Line) {
                // Horizontal and vertical lines only; a slanted line becomes its box's top edge.
                const bool vertical = qAbs(r.width()) < 0.01;
                s << "<div class=\"l\" style=\"left:" << r.x() << "mm;top:" << r.y() << "mm;"
                  << (vertical ? QStringLiteral("width:0;height:%1mm;border-left:%2mm solid %3")
                                     .arg(r.height())
                                     .arg(bw)
                                     .arg(o.color.name())
                               : QStringLiteral("height:0;width:%1mm;border-top:%2mm solid %3")
                                     .arg(r.width())
                                     .arg(bw)
                                     .arg(o.color.name()))
                  << "\"></div>\n";
                continue;
            }
            QString style = pos;
            if (o.fill.isValid())
                style += QStringLiteral("background:%1;").arg(o.fill.name());
            if (o.type == ReportObject::Rect)
                style += QStringLiteral("border:%1mm solid %2;").arg(bw).arg(o.color.name());
            if (o.frame) {
                const QString b = QStringLiteral("%1mm solid #000;").arg(bw);
                if (o.frame & ReportObject::FrameLeft)
                    style += QStringLiteral("border-left:") + b;
                if (o.frame & ReportObject::FrameTop)
                    style += QStringLiteral("border-top:") + b;
                if (o.frame & ReportObject::FrameRight)
                    style += QStringLiteral("border-right:") + b;
                if (o.frame & ReportObject::FrameBottom)
                    style += QStringLiteral("border-bottom:") + b;
            }
            if (o.type == ReportObject::Text) {
                style += QStringLiteral("font-family:'%1',serif;font-size:%2pt;color:%3;")
                             .arg(o.fontFamily)
                             .arg(o.fontSize)
                             .arg(o.color.name());
                if (o.bold)
                    style += QStringLiteral("font-weight:bold;");
                if (o.italic)
                    style += QStringLiteral("font-style:italic;");
                if (o.underline)
                    style += QStringLiteral("text-decoration:underline;");
                const QString justify = (o.hAlign & Qt::AlignHCenter) ? QStringLiteral("center")
                    : (o.hAlign & Qt::AlignRight)                     ? QStringLiteral("flex-end")
                                                                      : QStringLiteral("flex-start");
                const QString align = (o.vAlign & Qt::AlignTop) ? QStringLiteral("flex-start")
                    : (o.vAlign & Qt::AlignBottom)              ? QStringLiteral("flex-end")
                                                                : QStringLiteral("center");
                style += QStringLiteral("justify-content:%1;align-items:%2;padding:0 0.5mm;white-space:%3;")
                             .arg(justify, align, o.wordWrap ? QStringLiteral("pre-wrap") : QStringLiteral("pre"));
                s << "<div class=\"o\" style=\"" << style << "\">" << it.text.toHtmlEscaped() << "</div>\n";
            } else if (o.type == ReportObject::CheckBox) {
                s << "<div class=\"o\" style=\"" << style << "\">" << (it.checked ? "&#9745;" : "&#9744;")
                  << "</div>\n";
            } else {
                s << "<div class=\"o\" style=\"" << style << "\"></div>\n";
            }
        }
        s << "</div>\n";
    }
    s << "</body></html>\n";
    return h;
}

bool exportHtml(const PreparedReport& report, const QString& fileName, QString* error)
{
    return rendererWrite(fileName, toHtml(report).toUtf8(), error);
}

bool exportText(const PreparedReport& report, const QString& fileName, QString* error)
{
    return rendererWrite(fileName, toText(report).toUtf8(), error);
}

bool exportCsv(const PreparedReport& report, const QString& fileName, QString* error)
{
    // With a byte-order mark, so spreadsheet programs read the Chinese text as UTF-8.
    return rendererWrite(fileName, QByteArray("\xEF\xBB\xBF") + toCsv(report).toUtf8(), error);
}

bool print(const PreparedReport& report, QPrinter& printer, QString* error, int fromPage, int toPage)
{
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(report.page.width(), report.page.height()), QPageSize::Millimeter),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    if (printer.docName().isEmpty())
        printer.setDocName(report.name);
    QPainter p;
    if (!p.begin(&printer)) {
        if (error)
            *error = QStringLiteral("无法开始打印，请检查打印机。");
        return false;
    }
    const double pxPerMm = printer.resolution() / 25.4;
    const int first = fromPage > 0 ? fromPage - 1 : 0;
    const int last = toPage > 0 ? qMin(toPage, report.pageCount()) - 1 : report.pageCount() - 1;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer.newPage();
        paintPage(p, report, i, pxPerMm);
    }
    return p.end();
}
} // namespace ReportRenderer
