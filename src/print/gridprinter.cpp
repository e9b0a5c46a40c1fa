#include "gridprinter.h"

#include "app/clock.h"
#include "reportpresenter.h"

#include <QAbstractItemModel>

namespace {
constexpr double kGridRowHeight = 6;
constexpr double kGridBodySize = 9; // pt
constexpr double kGridHeaderSize = 10.5; // 14 pixels

// Fixed text as a quoted expression, so brackets in a caption never act as expressions.
QString gridLiteral(const QString& text)
{
    if (text.isEmpty())
        return QString();
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("['") + q + QStringLiteral("']");
}

ReportObject gridCell(const QString& name, double x, double w, double h, const QString& text)
{
    ReportObject o;
    o.name = name;
    o.geometry = QRectF(x, 0, w, h);
    o.text = text;
    o.fontFamily = QStringLiteral("宋体");
    o.fontSize = kGridBodySize;
    o.frame = ReportObject::FrameAll;
    return o;
}
} // namespace

QString GridPrinter::footerText(const QString& footerKey)
{
    if (footerKey.trimmed().isEmpty())
        return QString();
    if (footerKey == QLatin1String("date"))
        return QStringLiteral("打印日期：") + Clock::today().toString(QStringLiteral("yyyy年MM月dd日"));
    return footerKey;
}

ReportTemplate GridPrinter::buildTemplate(const QList<GridPrintColumn>& columns, const QString& title, int fitting,
    const QString& footerKey, const QString& pageHeaderText)
{
    ReportTemplate t = ReportTemplate::blank(title);
    // 10 mm rather than 1: printers cannot print that close to the paper's edge.
    t.page.marginLeft = t.page.marginTop = t.page.marginRight = t.page.marginBottom = 10;
    const double width = t.page.contentWidth();
    double total = 0;
    for (const auto& c : columns)
        total += qMax(1.0, c.width);

    if (!pageHeaderText.trimmed().isEmpty()) {
        ReportBand header;
        header.type = ReportBand::PageHeader;
        header.name = QStringLiteral("PageHeader1");
        header.height = 7;
        ReportObject o;
        o.name = QStringLiteral("HeaderLeft");
        o.geometry = QRectF(0, 0, width, 7);
        o.text = gridLiteral(pageHeaderText);
        o.fontSize = kGridHeaderSize;
        header.objects << o;
        t.bands << header;
    }

    // Three lines: empty, the title, empty.
    ReportBand titleBand;
    titleBand.type = ReportBand::ReportTitle;
    titleBand.name = QStringLiteral("ReportTitle1");
    titleBand.height = 24;
    const double lineHeights[3] = {6, 12, 6};
    double y = 0;
    for (int i = 0; i < 3; ++i) {
        ReportObject o;
        o.name = QStringLiteral("TitleLine%1").arg(i + 1);
        o.geometry = QRectF(0, y, width, lineHeights[i]);
        o.text = i == 1 ? gridLiteral(title) : QString();
        o.fontSize = i == 1 ? 16 : kGridBodySize;
        o.bold = i == 1;
        o.hAlign = Qt::AlignHCenter;
        titleBand.objects << o;
        y += lineHeights[i];
    }
    t.bands << titleBand;

    ReportBand head, data, foot;
    head.type = ReportBand::DataHeader;
    head.name = QStringLiteral("ColumnHeader");
    head.dataSet = ReportEngine::masterName();
    head.height = kGridRowHeight + 1;
    data.type = ReportBand::MasterData;
    data.name = QStringLiteral("Rows");
    data.dataSet = ReportEngine::masterName();
    data.height = kGridRowHeight;
    foot.type = ReportBand::DataFooter;
    foot.name = QStringLiteral("FooterRow");
    foot.dataSet = ReportEngine::masterName();
    foot.height = kGridRowHeight;
    bool anyFooter = false;
    double x = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const auto& c = columns[i];
        const double w = width * qMax(1.0, c.width) / total;
        ReportObject h = gridCell(QStringLiteral("Title%1").arg(i + 1), x, w, head.height, gridLiteral(c.title));
        h.hAlign = Qt::AlignHCenter;
        h.bold = true;
        h.wordWrap = true;
        h.stretch = fitting == 0;
        h.fill = QColor(0xE8, 0xE8, 0xE8);
        head.objects << h;
        ReportObject d
            = gridCell(QStringLiteral("Cell%1").arg(i + 1), x, w, data.height, QStringLiteral("[frxDM.C%1]").arg(i));
        d.hAlign = c.alignment & Qt::AlignHorizontal_Mask;
        d.wordWrap = fitting == 0;
        d.stretch = fitting == 0;
        data.objects << d;
        ReportObject f = gridCell(QStringLiteral("Footer%1").arg(i + 1), x, w, foot.height, gridLiteral(c.footer));
        f.hAlign = d.hAlign;
        f.fill = QColor(0x00, 0xFF, 0xFF); // the grid's aqua footer
        f.stretch = fitting == 0;
        f.wordWrap = fitting == 0;
        foot.objects << f;
        anyFooter = anyFooter || !c.footer.isEmpty();
        x += w;
    }
    t.bands << head << data;
    if (anyFooter)
        t.bands << foot;

    const QString right = footerText(footerKey);
    if (!right.isEmpty()) {
        ReportBand pf;
        pf.type = ReportBand::PageFooter;
        pf.name = QStringLiteral("PageFooter1");
        pf.height = 8;
        ReportObject o;
        o.name = QStringLiteral("FooterRight");
        o.geometry = QRectF(0, 1, width, 7);
        o.text = gridLiteral(right);
        o.fontSize = kGridBodySize;
        o.hAlign = Qt::AlignRight;
        pf.objects << o;
        t.bands << pf;
    }
    return t;
}

ReportEngine GridPrinter::engine(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns,
    const QString& title, int fitting, const QString& footerKey, const QString& pageHeaderText)
{
    ReportEngine e(buildTemplate(columns, title, fitting, footerKey, pageHeaderText));
    QList<int> cols;
    QStringList names;
    for (int i = 0; i < columns.size(); ++i) {
        cols << columns[i].modelColumn;
        names << QStringLiteral("C%1").arg(i);
    }
    e.setDataSet(ReportEngine::masterName(), ReportDataSet::fromModel(model, cols, names));
    return e;
}

bool GridPrinter::print(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns, const QString& title,
    int fitting, const QString& footerKey, const QString& pageHeaderText)
{
    ReportPresenter* p = ReportPresenter::instance();
    if (!p)
        return false;
    p->preview(engine(model, columns, title, fitting, footerKey, pageHeaderText));
    return true;
}
