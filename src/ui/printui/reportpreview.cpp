#include "reportpreview.h"

#include "app/messenger.h"
#include "pagesetupedit.h"
#include "print/reportrenderer.h"
#include "printfiledialogs.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// Draws the current page at the preview's zoom.
class PreviewPageWidget : public QWidget
{
public:
    explicit PreviewPageWidget(ReportPreview* preview)
        : QWidget(nullptr)
        , m_preview(preview)
    {
        setObjectName(QStringLiteral("PageView"));
    }

    double pxPerMm() const { return m_preview->zoom() * logicalDpiX() / 25.4; }

    void updateSize()
    {
        const auto& page = m_preview->prepared().page;
        setFixedSize(qRound(page.width() * pxPerMm()) + 2 * kGap, qRound(page.height() * pxPerMm()) + 2 * kGap);
        update();
    }

    static constexpr int kGap = 12;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        const auto& r = m_preview->prepared();
        const QRectF pageRect(kGap, kGap, r.page.width() * pxPerMm(), r.page.height() * pxPerMm());
        p.fillRect(pageRect.translated(3, 3), QColor(0x50, 0x50, 0x50));
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        ReportRenderer::paintPage(p, r, m_preview->currentPage(), pxPerMm(), pageRect.topLeft());
    }

private:
    ReportPreview* m_preview;
};

namespace {
QToolButton* previewButton(QToolBar* bar, const QString& name, const QString& text, const QKeySequence& key = {})
{
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (!key.isEmpty())
        b->setShortcut(key);
    bar->addWidget(b);
    return b;
}

QString previewDefaultFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}
} // namespace

ReportPreview::ReportPreview(const ReportEngine& engine, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_engine(engine)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbPreview"));
    layout->addWidget(bar);

    connect(previewButton(bar, QStringLiteral("btnPrint"), QStringLiteral("打印"), QKeySequence::Print),
        &QToolButton::clicked, this, &ReportPreview::printReport);
    connect(previewButton(bar, QStringLiteral("btnSave"), QStringLiteral("保存"), QKeySequence::Save),
        &QToolButton::clicked, this, &ReportPreview::saveAsPdf);
    auto* exportButton = previewButton(bar, QStringLiteral("btnExport"), QStringLiteral("导出"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto* exportMenu = new QMenu(exportButton);
    exportMenu->setObjectName(QStringLiteral("mnuExport"));
    const QList<QPair<QString, QString>> kinds = {{QStringLiteral("pdf"), QStringLiteral("PDF 文件")},
        {QStringLiteral("png"), QStringLiteral("PNG 图片")}, {QStringLiteral("html"), QStringLiteral("HTML 网页")},
        {QStringLiteral("csv"), QStringLiteral("CSV 文件")}, {QStringLiteral("txt"), QStringLiteral("文本文件")}};
    for (const auto& k : kinds) {
        QAction* a = exportMenu->addAction(k.second);
        a->setObjectName(QStringLiteral("actExport_") + k.first);
        const QString kind = k.first;
        connect(a, &QAction::triggered, this, [this, kind] { exportAs(kind); });
    }
    exportButton->setMenu(exportMenu);
    bar->addSeparator();

    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("cbZoom"));
    for (int z : {50, 75, 100, 125, 150, 200})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z / 100.0);
    m_zoomBox->addItem(QStringLiteral("页宽"), -1.0);
    m_zoomBox->addItem(QStringLiteral("整页"), -2.0);
    m_zoomBox->setCurrentIndex(2);
    bar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this, &ReportPreview::applyZoomChoice);
    bar->addSeparator();

    connect(previewButton(bar, QStringLiteral("btnFirst"), QStringLiteral("首页"), Qt::Key_Home), &QToolButton::clicked,
        this, &ReportPreview::firstPage);
    connect(previewButton(bar, QStringLiteral("btnPrior"), QStringLiteral("上页"), Qt::Key_PageUp),
        &QToolButton::clicked, this, &ReportPreview::priorPage);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    connect(previewButton(bar, QStringLiteral("btnNext"), QStringLiteral("下页"), Qt::Key_PageDown),
        &QToolButton::clicked, this, &ReportPreview::nextPage);
    connect(previewButton(bar, QStringLiteral("btnLast"), QStringLiteral("末页"), Qt::Key_End), &QToolButton::clicked,
        this, &ReportPreview::lastPage);
    bar->addSeparator();
    connect(previewButton(bar, QStringLiteral("btnPageSetup"), QStringLiteral("页面设置")), &QToolButton::clicked, this,
        &ReportPreview::pageSetup);
    connect(previewButton(bar, QStringLiteral("btnClose"), QStringLiteral("关闭")), &QToolButton::clicked, this,
        &QDialog::reject);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scPages"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PreviewPageWidget(this);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    resize(1000, 760);
    refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::refresh()
{
    m_prepared = m_engine.prepare();
    if (m_prepared.pages.isEmpty())
        m_prepared.pages.append(PreparedPage());
    if (!m_prepared.name.isEmpty())
        setWindowTitle(QStringLiteral("打印预览 - ") + m_prepared.name);
    m_page = qBound(0, m_page, m_prepared.pageCount() - 1);
    applyZoomChoice();
}

void ReportPreview::applyZoomChoice()
{
    const double v = m_zoomBox->currentData().toDouble();
    m_fitMode = v == -1.0 ? 1 : (v == -2.0 ? 2 : 0);
    if (m_fitMode == 0) {
        m_zoom = v;
    } else {
        const double dpmm = logicalDpiX() / 25.4;
        const double availW = m_scroll->viewport()->width() - 2.0 * PreviewPageWidget::kGap - 4;
        const double availH = m_scroll->viewport()->height() - 2.0 * PreviewPageWidget::kGap - 4;
        const double zw = availW / (m_prepared.page.width() * dpmm);
        const double zh = availH / (m_prepared.page.height() * dpmm);
        m_zoom = qMax(0.1, m_fitMode == 1 ? zw : qMin(zw, zh));
    }
    updateView();
}

void ReportPreview::setZoom(double zoom)
{
    m_fitMode = 0;
    m_zoom = qBound(0.1, zoom, 8.0);
    updateView();
}

void ReportPreview::updateView()
{
    m_view->updateSize();
    m_pageLabel->setText(QStringLiteral("第 %1 / %2 页").arg(m_page + 1).arg(m_prepared.pageCount()));
    for (const char* name : {"btnFirst", "btnPrior"})
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(name)))
            b->setEnabled(m_page > 0);
    for (const char* name : {"btnNext", "btnLast"})
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(name)))
            b->setEnabled(m_page < m_prepared.pageCount() - 1);
}

void ReportPreview::setPage(int page)
{
    m_page = qBound(0, page, m_prepared.pageCount() - 1);
    m_scroll->verticalScrollBar()->setValue(0);
    updateView();
}

void ReportPreview::firstPage()
{
    setPage(0);
}

void ReportPreview::priorPage()
{
    setPage(m_page - 1);
}

void ReportPreview::nextPage()
{
    setPage(m_page + 1);
}

void ReportPreview::lastPage()
{
    setPage(m_prepared.pageCount() - 1);
}

void ReportPreview::printReport()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        ShowMess(QStringLiteral("没有找到默认打印机，请先安装打印机！"), Messenger::Warning);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    QString error;
    if (!ReportRenderer::print(m_prepared, printer, &error))
        ShowMess(error, Messenger::Error);
}

bool ReportPreview::saveAsPdf()
{
    return exportAs(QStringLiteral("pdf"));
}

bool ReportPreview::exportAs(const QString& kind)
{
    struct Kind
    {
        const char* key;
        const char* filter;
    };
    static const Kind kinds[] = {{"pdf", "PDF 文件 (*.pdf)"}, {"png", "PNG 图片 (*.png)"},
        {"html", "HTML 网页 (*.html *.htm)"}, {"csv", "CSV 文件 (*.csv)"}, {"txt", "文本文件 (*.txt)"}};
    QString filter;
    for (const auto& k : kinds)
        if (kind == QLatin1String(k.key))
            filter = QString::fromUtf8(k.filter);
    if (filter.isEmpty())
        return false;
    const QString base = m_prepared.name.isEmpty() ? QStringLiteral("report") : m_prepared.name;
    QString file = PrintFileDialogs::saveFileName(
        this, QStringLiteral("导出"), QDir(previewDefaultFolder()).filePath(base + QLatin1Char('.') + kind), filter);
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QLatin1Char('.') + kind;
    QString error;
    bool ok = false;
    if (kind == QLatin1String("pdf"))
        ok = ReportRenderer::exportPdf(m_prepared, file, &error);
    else if (kind == QLatin1String("png"))
        ok = ReportRenderer::exportPng(m_prepared, file, 150, nullptr, &error);
    else if (kind == QLatin1String("html"))
        ok = ReportRenderer::exportHtml(m_prepared, file, &error);
    else if (kind == QLatin1String("csv"))
        ok = ReportRenderer::exportCsv(m_prepared, file, &error);
    else
        ok = ReportRenderer::exportText(m_prepared, file, &error);
    if (!ok)
        ShowMess(QStringLiteral("导出失败：%1\n%2").arg(QDir::toNativeSeparators(file), error), Messenger::Error);
    return ok;
}

void ReportPreview::pageSetup()
{
    if (PageSetupEdit::edit(this, m_engine.reportTemplate().page))
        refresh();
}

void ReportPreview::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageDown:
        nextPage();
        return;
    case Qt::Key_PageUp:
        priorPage();
        return;
    case Qt::Key_Home:
        firstPage();
        return;
    case Qt::Key_End:
        lastPage();
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void ReportPreview::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (m_fitMode != 0)
        applyZoomChoice();
}
