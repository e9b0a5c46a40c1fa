#include "frmdeptgl.h"

#include "app/clock.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/gridformat.h"
#include "dlggoodxz.h"
#include "documents/documentkinds.h"
#include "documents/documentstore.h"
#include "documents/entrykinds.h"
#include "documents/entrylinefields.h"
#include "documents/lineediting.h"
#include "documents/numbering.h"
#include "entrycolumnchooser.h"
#include "entrygridfooter.h"
#include "entryhooks.h"
#include "entrylinedelegate.h"
#include "entrylinemodel.h"
#include "entrylineview.h"
#include "printservices.h"
#include "reportdataset.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleValidator>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The read-only colour of code fields (15898019).
const QColor entryReadOnlyColour(0xA3, 0x95, 0xF2);

QToolButton* deptToolButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    b->setMinimumWidth(44);
    return b;
}

QLabel* deptLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

void deptSetReadOnlyColour(QLineEdit* e)
{
    QPalette p = e->palette();
    p.setColor(QPalette::Base, entryReadOnlyColour);
    e->setPalette(p);
    e->setReadOnly(true);
}

bool deptIsPriceField(const QString& field)
{
    return field.contains(QLatin1String("price"), Qt::CaseInsensitive);
}
} // namespace

TFrmDeptGl::TFrmDeptGl(int kind, QWidget* parent)
    : QWidget(parent)
    , m_kind(EntryKinds::find(kind))
{
    Q_ASSERT(m_kind);
    if (!m_kind)
        m_kind = EntryKinds::find(1);
    setObjectName(m_kind->windowClass());
    setWindowTitle(m_kind->base().windowCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    m_listDate = Clock::today();
    buildUi();
    // Create: list date today, the drop-downs filled, the first depot chosen.
    fillLists();
    if (m_kind->preselectDepot && cbbDepot->count() > 0)
        cbbDepot->setCurrentIndex(0);
    else
        cbbDepot->setCurrentIndex(-1);
    m_editFlag = false;
}

TFrmDeptGl::~TFrmDeptGl() = default;

int TFrmDeptGl::kind() const
{
    return m_kind->kind;
}

void TFrmDeptGl::buildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(2, 2, 2, 2);
    root->setSpacing(2);

    m_toolBar = new QFrame(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    buildToolBar(m_toolBar);
    root->addWidget(m_toolBar);

    // Title row: document title, list date, audit state.
    auto* titleRow = new QHBoxLayout;
    m_title = new QLabel(m_kind->title(), this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont tf = m_title->font();
    tf.setPointSize(tf.pointSize() + 8);
    tf.setBold(true);
    m_title->setFont(tf);
    m_dtpDate = new QDateEdit(this);
    m_dtpDate->setObjectName(QStringLiteral("dtpDate"));
    m_dtpDate->setDisplayFormat(QString::fromLatin1(Dates::DateFormat));
    m_dtpDate->setCalendarPopup(true);
    m_dtpDate->setDate(m_listDate);
    connect(m_dtpDate, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (d == m_listDate)
            return;
        m_listDate = d;
        if (m_shown && m_browse) {
            OpenBillList(0);
            ShowCurrentBill();
        }
    });
    m_lblCheck = new QLabel(QStringLiteral("未审核"), this);
    m_lblCheck->setObjectName(QStringLiteral("lblCheck"));
    QFont cf = m_lblCheck->font();
    cf.setPointSize(cf.pointSize() + 4);
    cf.setBold(true);
    m_lblCheck->setFont(cf);
    titleRow->addStretch(1);
    titleRow->addWidget(m_title);
    titleRow->addSpacing(24);
    titleRow->addWidget(new QLabel(QStringLiteral("日期："), this));
    titleRow->addWidget(m_dtpDate);
    titleRow->addStretch(1);
    titleRow->addWidget(m_lblCheck);
    root->addLayout(titleRow);

    m_header = new QGroupBox(this);
    m_header->setObjectName(QStringLiteral("GroupBox1"));
    buildHeader(m_header);
    root->addWidget(m_header);

    // Barcode panel.
    m_barcodePanel = new QFrame(this);
    m_barcodePanel->setObjectName(QStringLiteral("pnlTM"));
    auto* tm = new QHBoxLayout(m_barcodePanel);
    tm->setContentsMargins(4, 0, 4, 0);
    edtTM = new QLineEdit(m_barcodePanel);
    edtTM->setObjectName(QStringLiteral("edtTM"));
    edtTMAmount = new QLineEdit(QStringLiteral("1"), m_barcodePanel);
    edtTMAmount->setObjectName(QStringLiteral("edtTMAmount"));
    edtTMAmount->setValidator(new QDoubleValidator(edtTMAmount));
    edtTMAmount->setMaximumWidth(80);
    edtTMAmount->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    tm->addWidget(new QLabel(QStringLiteral("条    码："), m_barcodePanel));
    tm->addWidget(edtTM, 1);
    tm->addWidget(new QLabel(QStringLiteral("数    量："), m_barcodePanel));
    tm->addWidget(edtTMAmount);
    root->addWidget(m_barcodePanel);

    // Line grid with its footer.
    m_lines = new EntryLineModel(this);
    m_lines->setNumberFormat([this](const QString& f, double v) { return formatNumber(f, v); });
    m_grid = new EntryLineView(this);
    m_grid->setModel(m_lines);
    m_footer = new EntryGridFooter(m_grid, this);
    m_grid->setFooter(m_footer);
    auto* gridBox = new QVBoxLayout;
    gridBox->setSpacing(0);
    gridBox->addWidget(m_grid, 1);
    gridBox->addWidget(m_footer);
    root->addLayout(gridBox, 1);
    connect(m_lines, &EntryLineModel::linesChanged, this, &TFrmDeptGl::updateFooter);
    connect(m_lines, &EntryLineModel::lookupFailed, this, [](const QString& m) { ShowMess(m, Messenger::Error); });
    connect(m_grid, &EntryLineView::enterPressed, this, &TFrmDeptGl::gridEnter);
    connect(m_grid->lineDelegate(), &EntryLineDelegate::ellipsisClicked, this, [this](const QModelIndex& i) {
        m_grid->setCurrentIndex(i);
        openGoodPicker();
    });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_browse && m_kind->doubleClickEdits && tbEdit->isEnabled())
            tbEditClick();
    });

    // Grid popup menu (edit state) and its shortcuts.
    m_gridMenu = new QMenu(this);
    m_actAddLine = m_gridMenu->addAction(QStringLiteral("增行"), this, &TFrmDeptGl::addLine);
    m_actAddLine->setObjectName(QStringLiteral("actAddLine"));
    m_actAddLine->setShortcut(QKeySequence(Qt::Key_F9));
    m_actDelLine = m_gridMenu->addAction(QStringLiteral("删行"), this, &TFrmDeptGl::deleteLine);
    m_actDelLine->setObjectName(QStringLiteral("actDelLine"));
    m_actDelLine->setShortcut(QKeySequence(Qt::Key_F10));
    m_gridMenu->addSeparator();
    m_actColumns = m_gridMenu->addAction(QStringLiteral("显示字段列表"), this, &TFrmDeptGl::showColumnChooser);
    m_actColumns->setShortcut(QKeySequence(Qt::Key_F11));
    m_actSaveLayout = m_gridMenu->addAction(QStringLiteral("保存当前设置"), this, &TFrmDeptGl::saveGridLayout);
    m_actSaveLayout->setShortcut(QKeySequence(Qt::Key_F12));
    for (QAction* a : {m_actAddLine, m_actDelLine, m_actColumns, m_actSaveLayout}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        if (!m_browse)
            m_gridMenu->popup(m_grid->viewport()->mapToGlobal(p));
    });

    // Footer panel.
    m_footerPanel = new QFrame(this);
    m_footerPanel->setObjectName(QStringLiteral("Panel2"));
    auto* fp = new QHBoxLayout(m_footerPanel);
    fp->setContentsMargins(4, 2, 4, 2);
    sbTM = new QToolButton(m_footerPanel);
    sbTM->setObjectName(QStringLiteral("sbTM"));
    sbTM->setText(QStringLiteral("条码输入"));
    sbTM->setCheckable(true);
    connect(sbTM, &QToolButton::toggled, this, [this](bool down) {
        m_barcodePanel->setVisible(!m_browse && down);
        if (!m_browse && down)
            edtTM->setFocus();
    });
    sbExcel = new QToolButton(m_footerPanel);
    sbExcel->setObjectName(QStringLiteral("sbExcel"));
    sbExcel->setText(QStringLiteral("Excel导入"));
    connect(sbExcel, &QToolButton::clicked, this, [this] {
        if (const auto& hook = EntryHooks::excelImport())
            hook(this, m_kind->base().importType);
    });
    edtMaker = new QLineEdit(m_footerPanel);
    edtMaker->setObjectName(QStringLiteral("edtMaker"));
    edtMaker->setReadOnly(true);
    edtAuditer = new QLineEdit(m_footerPanel);
    edtAuditer->setObjectName(QStringLiteral("edtAuditer"));
    edtAuditer->setReadOnly(true);
    edtDate = new QLineEdit(m_footerPanel);
    edtDate->setObjectName(QStringLiteral("edtDate"));
    edtDate->setMaximumWidth(110);
    fp->addWidget(sbTM);
    fp->addWidget(sbExcel);
    fp->addStretch(1);
    fp->addWidget(new QLabel(QStringLiteral("制 单 人："), m_footerPanel));
    fp->addWidget(edtMaker);
    fp->addWidget(new QLabel(QStringLiteral("审 核 人："), m_footerPanel));
    fp->addWidget(edtAuditer);
    fp->addWidget(new QLabel(QStringLiteral("制单日期："), m_footerPanel));
    fp->addWidget(edtDate);
    root->addWidget(m_footerPanel);

    // The window sees keys before its controls.
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* w : children)
        w->installEventFilter(this);
    resize(900, 600);
}

void TFrmDeptGl::buildToolBar(QWidget* bar)
{
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(1);
    auto sep = [&] {
        auto* f = new QFrame(bar);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        h->addWidget(f);
    };
    tbNew = deptToolButton(bar, "tbNew", QStringLiteral("新增"));
    tbEdit = deptToolButton(bar, "tbEdit", QStringLiteral("修改"));
    tbDel = deptToolButton(bar, "tbDel", QStringLiteral("删除"));
    tbFirst = deptToolButton(bar, "tbFirst", QStringLiteral("首项"));
    tbPrior = deptToolButton(bar, "tbPrior", QStringLiteral("前项"));
    tbNext = deptToolButton(bar, "tbNext", QStringLiteral("后项"));
    tbLast = deptToolButton(bar, "tbLast", QStringLiteral("末项"));
    tbSave = deptToolButton(bar, "tbSave", QStringLiteral("保存"));
    tbCancel = deptToolButton(bar, "tbCancel", QStringLiteral("取消"));
    tbCheck = deptToolButton(bar, "tbCheck", QStringLiteral("审核"));
    tbFcheck = deptToolButton(bar, "tbFcheck", QStringLiteral("反审"));
    tbPrint = deptToolButton(bar, "tbPrint", QStringLiteral("打印"));
    tbSet = deptToolButton(bar, "tbSet", QStringLiteral("设置"));
    tbExit = deptToolButton(bar, "tbExit", QStringLiteral("退出"));
    for (QToolButton* b : {tbNew, tbEdit, tbDel})
        h->addWidget(b);
    sep();
    for (QToolButton* b : {tbFirst, tbPrior, tbNext, tbLast})
        h->addWidget(b);
    sep();
    h->addWidget(tbSave);
    h->addWidget(tbCancel);
    sep();
    for (QToolButton* b : {tbCheck, tbFcheck, tbPrint, tbSet})
        h->addWidget(b);
    sep();
    h->addWidget(tbExit);
    h->addStretch(1);

    connect(tbNew, &QToolButton::clicked, this, &TFrmDeptGl::tbNewClick);
    connect(tbEdit, &QToolButton::clicked, this, &TFrmDeptGl::tbEditClick);
    connect(tbDel, &QToolButton::clicked, this, &TFrmDeptGl::tbDelClick);
    connect(tbFirst, &QToolButton::clicked, this, &TFrmDeptGl::tbFirstClick);
    connect(tbPrior, &QToolButton::clicked, this, &TFrmDeptGl::tbPriorClick);
    connect(tbNext, &QToolButton::clicked, this, &TFrmDeptGl::tbNextClick);
    connect(tbLast, &QToolButton::clicked, this, &TFrmDeptGl::tbLastClick);
    connect(tbSave, &QToolButton::clicked, this, &TFrmDeptGl::tbSaveClick);
    connect(tbCancel, &QToolButton::clicked, this, &TFrmDeptGl::tbCancelClick);
    connect(tbCheck, &QToolButton::clicked, this, &TFrmDeptGl::tbCheckClick);
    connect(tbFcheck, &QToolButton::clicked, this, &TFrmDeptGl::tbFcheckClick);
    connect(tbExit, &QToolButton::clicked, this, &QWidget::close);

    m_printMenu = new QMenu(this);
    m_printMenu->setObjectName(QStringLiteral("pmPrint"));
    m_setMenu = new QMenu(this);
    m_setMenu->setObjectName(QStringLiteral("pmSet"));
    for (int i = 0; i < 3; ++i) {
        QAction* p = m_printMenu->addAction(m_kind->printCaption(i), this, [this, i] { printTemplate(i); });
        p->setObjectName(QStringLiteral("actPrint%1").arg(i));
        m_printEntries << p;
        QAction* d = m_setMenu->addAction(m_kind->designCaption(i), this, [this, i] { designTemplate(i); });
        d->setObjectName(QStringLiteral("actDesign%1").arg(i));
        m_designEntries << d;
    }
    tbPrint->setMenu(m_printMenu);
    tbPrint->setPopupMode(QToolButton::MenuButtonPopup);
    tbSet->setMenu(m_setMenu);
    tbSet->setPopupMode(QToolButton::MenuButtonPopup);
    connect(tbPrint, &QToolButton::clicked, this, [this] { printTemplate(m_printDefault); });
    connect(tbSet, &QToolButton::clicked, this, [this] { designTemplate(m_printDefault); });
}

void TFrmDeptGl::buildHeader(QGroupBox* box)
{
    const DocumentKind& k = m_kind->base();
    auto* g = new QGridLayout(box);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);

    edtCode = new QLineEdit(box);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    deptSetReadOnlyColour(edtCode);
    dtpMakeDate = new QDateEdit(box);
    dtpMakeDate->setObjectName(QStringLiteral("dtpMakeDate"));
    dtpMakeDate->setDisplayFormat(QString::fromLatin1(Dates::DateFormat));
    dtpMakeDate->setCalendarPopup(true);
    dtpMakeDate->setDate(Clock::today());
    cbbDepot = new QComboBox(box);
    cbbDepot->setObjectName(QStringLiteral("cbbDepot"));
    cbbDepot->setEditable(false);

    QWidget* counterpart = nullptr;
    if (m_kind->hasClientPicker()) {
        auto* w = new QWidget(box);
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(0);
        cbeClient = new QLineEdit(w);
        cbeClient->setObjectName(QStringLiteral("cbeClient"));
        m_clientButton = new QToolButton(w);
        m_clientButton->setObjectName(QStringLiteral("cbeClientButton"));
        m_clientButton->setText(QStringLiteral("…"));
        connect(m_clientButton, &QToolButton::clicked, this, &TFrmDeptGl::pickClient);
        h->addWidget(cbeClient, 1);
        h->addWidget(m_clientButton);
        counterpart = w;
    } else if (m_kind->counterpart != EntryKind::Counterpart::None) {
        cbbClient = new QComboBox(box);
        cbbClient->setObjectName(QStringLiteral("cbbClient"));
        counterpart = cbbClient;
    }
    cbbEmpName = new QComboBox(box);
    cbbEmpName->setObjectName(QStringLiteral("cbbEmpName"));
    cbbEmpName->setEditable(true);
    edtOldCode = new QLineEdit(box);
    edtOldCode->setObjectName(QStringLiteral("edtOldCode"));
    Mem = new QPlainTextEdit(box);
    Mem->setObjectName(QStringLiteral("Mem"));
    Mem->setTabChangesFocus(true);
    Mem->setMaximumHeight(48);
    m_btnAddLine = new QPushButton(QStringLiteral("增行(&F9)"), box);
    m_btnAddLine->setObjectName(QStringLiteral("btnAddLine"));
    m_btnDelLine = new QPushButton(QStringLiteral("删行(&F10)"), box);
    m_btnDelLine->setObjectName(QStringLiteral("btnDelLine"));
    connect(m_btnAddLine, &QPushButton::clicked, this, &TFrmDeptGl::addLineButton);
    connect(m_btnDelLine, &QPushButton::clicked, this, &TFrmDeptGl::deleteLine);

    g->addWidget(deptLabel(QStringLiteral("单据编号："), box), 0, 0);
    g->addWidget(edtCode, 0, 1);
    g->addWidget(deptLabel(k.dateLabel, box), 0, 2);
    g->addWidget(dtpMakeDate, 0, 3);
    g->addWidget(deptLabel(k.depotLabel, box), 0, 4);
    g->addWidget(cbbDepot, 0, 5);
    int col = 0;
    if (counterpart) {
        g->addWidget(deptLabel(k.clientLabel, box), 1, 0);
        g->addWidget(counterpart, 1, 1);
        col = 2;
    }
    g->addWidget(deptLabel(QStringLiteral("经 手 人："), box), 1, col);
    g->addWidget(cbbEmpName, 1, col + 1);
    g->addWidget(deptLabel(QStringLiteral("原始单号："), box), 1, col + 2);
    g->addWidget(edtOldCode, 1, col + 3);
    g->addWidget(deptLabel(QStringLiteral("备    注："), box), 2, 0);
    g->addWidget(Mem, 2, 1, 1, 5);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_btnAddLine);
    buttons->addWidget(m_btnDelLine);
    g->addLayout(buttons, 0, 6, 3, 1);
    for (int c : {1, 3, 5})
        g->setColumnStretch(c, 1);
}

void TFrmDeptGl::fillLists()
{
    const Session& s = Session::current();
    QStringList depots;
    dm().FillList(QStringLiteral("select f_name from t_code Where (f_type = 'depot') ") + s.depotNameClause(), depots,
        s.depotParams());
    cbbDepot->clear();
    cbbDepot->addItems(depots);
    QStringList emps;
    dm().FillList(QStringLiteral("select f_name from t_employee where (COALESCE(f_flag,0) = 0)"), emps);
    cbbEmpName->clear();
    cbbEmpName->addItems(emps);
    if (cbbClient) {
        QStringList items;
        // The sending depot of a transfer is not limited to the operator's depots.
        const QString type = m_kind->counterpart == EntryKind::Counterpart::Depots ? QStringLiteral("depot")
                                                                                   : QStringLiteral("department");
        dm().FillList(QStringLiteral("select f_name from t_code Where (F_type = :type) "), items,
            {{QStringLiteral("type"), type}});
        cbbClient->clear();
        cbbClient->addItems(items);
        cbbClient->setCurrentIndex(-1);
    }
}

QString TFrmDeptGl::operName() const
{
    return Session::current().operName;
}

QString TFrmDeptGl::formatNumber(const QString& field, double v) const
{
    const SysOptions& o = SysOptions::current();
    const QString f = field.toLower();
    if (f == QLatin1String("f_amount") && m_kind->countedLines)
        return GridFormat::formatNumber(v, QStringLiteral("0.####"));
    if (f == QLatin1String("f_amount") || f == QLatin1String("f_curamount") || f == QLatin1String("f_sjamount"))
        return GridFormat::formatNumber(v, o.quantityFormat());
    if (f == QLatin1String("f_price"))
        return GridFormat::formatNumber(v, o.priceFormat());
    if (f == QLatin1String("f_totalprice") || f == QLatin1String("f_cbprice"))
        return GridFormat::formatNumber(v, o.amountFormat());
    return GridFormat::formatNumber(v, QString());
}

void TFrmDeptGl::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    applyShowSettings();
}

void TFrmDeptGl::applyShowSettings()
{
    const Session& s = Session::current();
    tbFcheck->setVisible(s.isAdmin());
    sbTM->setChecked(SysOptions::current().barcodeInput);
    SetBrowseMode(true);
    OpenBillList(LocateCode.isEmpty() ? 0 : 2, LocateCode);
    ShowCurrentBill();

    // Layout, price columns, user-defined captions.
    const QList<EntryLineColumn> designed = EntryLineFields::defaultColumns(kind());
    const QList<GridColumnDef> designedLayout = EntryLineFields::gridColumns(designed);
    QList<GridColumnDef> stored;
    const GridLayout::LoadResult loaded = GridLayout::load(m_kind->base().layoutKey, stored);
    // Rows read before an error still count, as for every other grid.
    m_layoutColumns = loaded == GridLayout::LoadResult::NoRows ? designedLayout
                                                               : EntryLineFields::layoutOver(designedLayout, stored);
    QList<EntryLineColumn> cols;
    for (const GridColumnDef& g : m_layoutColumns) {
        EntryLineColumn c;
        for (const EntryLineColumn& d : designed)
            if (d.field == g.fieldName)
                c = d;
        c.caption = g.caption;
        c.width = g.width;
        c.visible = g.visible;
        c.footerFormat = g.displayFormat;
        c.footerType = g.footerType;
        c.footerValue = g.footerValue;
        c.alignment = g.alignment == GridColumnDef::AlignDefault ? 0 : g.alignment;
        cols << c;
    }
    const bool seesPrices = s.rPrice || s.isAdmin();
    for (EntryLineColumn& c : cols) {
        const QString f = c.field.toLower();
        static const QStringList user {QStringLiteral("f_zf1"), QStringLiteral("f_zf2"), QStringLiteral("f_zf3"),
            QStringLiteral("f_zf4"), QStringLiteral("f_zf5"), QStringLiteral("f_sz1"), QStringLiteral("f_sz2"),
            QStringLiteral("f_sz3"), QStringLiteral("f_rq1"), QStringLiteral("f_rq2"), QStringLiteral("f_rq3")};
        const int u = int(user.indexOf(f));
        if (u >= 0) {
            if (!s.zfCaptions[u].isEmpty())
                c.caption = s.zfCaptions[u];
            c.visible = s.zfShown[u];
        }
    }
    m_lines->setColumns(cols);
    QSet<int> buttons;
    buttons.insert(m_lines->columnOf(QStringLiteral("F_GoodName")));
    if (m_kind->countedLines)
        buttons.insert(m_lines->columnOf(QStringLiteral("F_GoodCode")));
    buttons.remove(-1);
    m_grid->lineDelegate()->setButtonColumns(buttons);
    for (int i = 0; i < cols.size(); ++i) {
        m_grid->setColumnWidth(i, cols.at(i).width);
        const bool hidePrice = !seesPrices && deptIsPriceField(cols.at(i).field);
        m_grid->setColumnHidden(i, !cols.at(i).visible || hidePrice);
    }
    if (!seesPrices) {
        // Without the price right only the template without prices and amounts is offered.
        m_printEntries.at(0)->setVisible(false);
        m_printEntries.at(1)->setVisible(false);
        m_designEntries.at(0)->setVisible(false);
        m_designEntries.at(1)->setVisible(false);
        m_printDefault = 2;
    }
    updateFooter();
}

void TFrmDeptGl::SetBrowseMode(bool browse)
{
    m_browse = browse;
    const Session& s = Session::current();
    const bool admin = s.isAdmin();
    tbNew->setEnabled(browse && (admin || s.rNew));
    tbEdit->setEnabled(browse && (admin || s.rEdit));
    tbDel->setEnabled(browse && (admin || s.rDel));
    tbCheck->setEnabled(browse && (admin || s.rCheck));
    tbSet->setEnabled(browse && (admin || s.rSet));
    for (QToolButton* b : {tbFirst, tbPrior, tbNext, tbLast, tbExit, tbPrint, tbFcheck})
        b->setEnabled(browse);
    m_dtpDate->setEnabled(browse);
    tbSave->setEnabled(!browse);
    tbCancel->setEnabled(!browse);
    m_header->setEnabled(!browse);
    m_footerPanel->setEnabled(!browse);
    sbExcel->setEnabled(!browse && bool(EntryHooks::excelImport()));
    if (m_clientButton)
        m_clientButton->setEnabled(bool(EntryHooks::clientPicker()));
    for (QAction* a : {m_actAddLine, m_actDelLine, m_actColumns, m_actSaveLayout})
        a->setEnabled(!browse);
    m_barcodePanel->setVisible(!browse && sbTM->isChecked());
}

void TFrmDeptGl::setListDate(const QDate& date)
{
    m_listDate = date;
    const QSignalBlocker block(m_dtpDate);
    m_dtpDate->setDate(date);
    if (m_shown && m_browse) {
        OpenBillList(0);
        ShowCurrentBill();
    }
}

// positionMode: 0 last, 1 first, 2 by code, 3 by F_ID.
void TFrmDeptGl::OpenBillList(int positionMode, const QString& code, qint64 id)
{
    const Session& s = Session::current();
    SqlParams p = s.depotParams();
    p.insert(QStringLiteral("kind"), kind());
    p.insert(QStringLiteral("listDate"), Dates::sqlDate(m_listDate));
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!dm().OpenQry(q,
            QStringLiteral("Select * from DepotM Where (COALESCE(F_Flag,0) = :kind)") + s.documentDepotClause()
                + QStringLiteral("And F_date = :listDate Order By F_Code"),
            p))
        return; // the previous contents stay
    QList<Document> list;
    while (q.next())
        list << DocumentStore::headerFromRecord(q.record());
    m_list = list;
    m_cur = m_list.isEmpty() ? -1 : int(m_list.size()) - 1;
    if (m_list.isEmpty()) {
        edtCode->clear();
        return;
    }
    if (positionMode == 1)
        m_cur = 0;
    for (int i = 0; i < m_list.size(); ++i) {
        if ((positionMode == 2 && m_list.at(i).code == code) || (positionMode == 3 && m_list.at(i).id == id)) {
            m_cur = i;
            break;
        }
    }
}

void TFrmDeptGl::ShowCurrentBill()
{
    if (m_cur >= 0 && m_cur < m_list.size()) {
        const Document& d = m_list.at(m_cur);
        edtCode->setText(d.code);
        m_curCode = d.code;
        dtpMakeDate->setDate(d.makeDate.isValid() && !Dates::isBlank(d.makeDate) ? d.makeDate : Clock::today());
        const int di = cbbDepot->findText(d.depot);
        if (di >= 0)
            cbbDepot->setCurrentIndex(di);
        else if (cbbDepot->isEditable())
            cbbDepot->setEditText(d.depot);
        else {
            // A depot no longer listed (or not permitted) is still shown as stored.
            cbbDepot->addItem(d.depot);
            cbbDepot->setCurrentIndex(cbbDepot->count() - 1);
        }
        setCounterpartText(d.client);
        cbbEmpName->setEditText(d.empName);
        edtOldCode->setText(d.oldCode);
        Mem->setPlainText(d.mem);
        edtMaker->setText(d.maker);
        edtAuditer->setText(d.auditer);
        edtDate->setText(EntryKinds::entryDateText(d.date));
        m_lblCheck->setText(d.checked ? QStringLiteral("已审核") : QStringLiteral("未审核"));
        m_lblCheck->setStyleSheet(d.checked ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
    } else {
        m_curCode = edtCode->text().trimmed();
        dtpMakeDate->setDate(Clock::today());
        setCounterpartText(QString());
        cbbEmpName->setEditText(QString());
        cbbEmpName->setCurrentIndex(-1);
        edtOldCode->clear();
        Mem->clear();
        edtMaker->clear();
        edtAuditer->clear();
        edtDate->setText(Clock::today().toString(QString::fromLatin1(Dates::DateFormat)));
        m_lblCheck->setText(QStringLiteral("未审核"));
        m_lblCheck->setStyleSheet(QStringLiteral("color: black;"));
    }
    loadLines(m_curCode.isEmpty() ? QString::number(kind()) : m_curCode);
}

void TFrmDeptGl::loadLines(const QString& code)
{
    DocumentStore store;
    const std::optional<Document> doc = store.load(code);
    if (!store.errorString().isEmpty()) {
        ShowMess(DataModule::openFailText(), Messenger::Error);
        return;
    }
    syncHeader();
    m_lines->setLines(doc ? doc->lines : QList<DocumentLine>());
}

void TFrmDeptGl::setGridEditable(bool editable)
{
    m_lines->setEditable(editable);
    m_grid->lineDelegate()->setButtonsShown(editable);
    m_grid->viewport()->update();
}

Document TFrmDeptGl::headerFromFields() const
{
    Document d;
    d.kind = kind();
    d.id = (m_editFlag && m_cur >= 0) ? m_list.at(m_cur).id : 0;
    d.code = edtCode->text().trimmed().isEmpty() ? m_curCode : edtCode->text().trimmed();
    d.depot = cbbDepot->currentText();
    d.client = counterpartText();
    d.makeDate = dtpMakeDate->date();
    EntryKinds::parseEntryDate(edtDate->text(), d.date);
    d.maker = operName();
    d.auditer = edtAuditer->text();
    d.empName = cbbEmpName->currentText();
    d.oldCode = edtOldCode->text();
    d.mem = Mem->toPlainText();
    return d;
}

void TFrmDeptGl::syncHeader()
{
    m_lines->setDocumentHeader(headerFromFields());
}

Document TFrmDeptGl::shownDocument() const
{
    Document d = headerFromFields();
    if (m_cur >= 0 && m_cur < m_list.size() && m_browse) {
        d = m_list.at(m_cur);
    }
    d.lines = m_lines->lines();
    return d;
}

QString TFrmDeptGl::counterpartText() const
{
    if (cbeClient)
        return cbeClient->text();
    if (cbbClient)
        return cbbClient->currentText();
    return QString();
}

void TFrmDeptGl::setCounterpartText(const QString& text)
{
    if (cbeClient) {
        cbeClient->setText(text);
    } else if (cbbClient) {
        const int i = cbbClient->findText(text);
        if (i >= 0 || text.isEmpty()) {
            cbbClient->setCurrentIndex(i);
        } else {
            cbbClient->addItem(text);
            cbbClient->setCurrentIndex(cbbClient->count() - 1);
        }
    }
}

void TFrmDeptGl::focusCounterpart()
{
    if (cbeClient)
        cbeClient->setFocus();
    else if (cbbClient)
        cbbClient->setFocus();
}

void TFrmDeptGl::pickClient()
{
    const auto& hook = EntryHooks::clientPicker();
    if (!hook)
        return;
    if (const std::optional<QString> name = hook(this, m_kind->clientPickerMode(), cbeClient->text()))
        cbeClient->setText(*name);
}

void TFrmDeptGl::updateFooter()
{
    QStringList texts;
    const QList<EntryLineColumn>& cols = m_lines->columns();
    for (const EntryLineColumn& c : cols) {
        if (c.footerType == 1)
            texts << c.footerValue;
        else if (c.footerType == 2)
            texts << (c.footerFormat.isEmpty() ? formatNumber(c.field, m_lines->columnSum(c.field))
                                               : GridFormat::formatNumber(m_lines->columnSum(c.field), c.footerFormat));
        else
            texts << QString();
    }
    m_footer->setTexts(texts);
}

void TFrmDeptGl::updateNavButtons()
{
    const bool atStart = m_cur <= 0;
    const bool atEnd = m_cur < 0 || m_cur >= m_list.size() - 1;
    tbFirst->setEnabled(!atStart);
    tbPrior->setEnabled(!atStart);
    tbNext->setEnabled(!atEnd);
    tbLast->setEnabled(!atEnd);
}

// ---- life cycle -------------------------------------------------------------

void TFrmDeptGl::tbNewClick()
{
    QString err;
    const QString code = Numbering::nextCodeFor(kind(), &err);
    if (code.isEmpty())
        return; // the numbering error has been shown
    SetBrowseMode(false);
    m_editFlag = false;
    edtCode->setText(code);
    if (!m_kind->preselectDepot) {
        cbbDepot->setCurrentIndex(-1);
        if (cbbClient)
            cbbClient->setCurrentIndex(-1);
    }
    m_cur = -1; // blank header; the list is shown again on save or cancel
    ShowCurrentBill();
    dtpMakeDate->setFocus();
    setGridEditable(true);
    m_lines->appendLine();
    m_grid->setCurrentIndex(m_lines->index(0, 0));
}

void TFrmDeptGl::tbEditClick()
{
    if (m_cur < 0) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), Messenger::Error);
        return;
    }
    if (m_list.at(m_cur).checked) {
        ShowMess(DocumentStore::auditedText(), Messenger::Warning);
        return;
    }
    SetBrowseMode(false);
    ShowCurrentBill();
    m_editFlag = true;
    dtpMakeDate->setFocus();
    setGridEditable(true);
}

void TFrmDeptGl::tbDelClick()
{
    if (m_cur < 0)
        return;
    if (m_list.at(m_cur).checked) {
        ShowMess(DocumentStore::auditedText(), Messenger::Warning);
        return;
    }
    const QString code = m_list.at(m_cur).code;
    if (ShowMess(m_kind->base().deleteQuestion(code), Messenger::Question) == Messenger::No)
        return;
    DocumentStore store;
    const DocumentStore::Result r = store.remove(code);
    if (r != DocumentStore::Done && r != DocumentStore::NotFound)
        return;
    OpenBillList(1);
    ShowCurrentBill();
}

bool TFrmDeptGl::validateForSave()
{
    const DocumentKind& k = m_kind->base();
    if (cbbDepot->currentText().trimmed().isEmpty()) {
        ShowMess(k.depotEmptyText, Messenger::Information);
        cbbDepot->setFocus();
        return false;
    }
    if (!k.clientEmptyText.isEmpty() && counterpartText().trimmed().isEmpty()) {
        ShowMess(k.clientEmptyText, Messenger::Information);
        focusCounterpart();
        return false;
    }
    if (kind() == 10 && cbbDepot->currentText().trimmed() == counterpartText().trimmed()) {
        ShowMess(QStringLiteral("调出仓库跟调入仓库相同，请检查！"), Messenger::Information);
        cbbDepot->setFocus();
        return false;
    }
    QDate d;
    if (!EntryKinds::parseEntryDate(edtDate->text(), d)) {
        ShowMess(EntryKinds::badEntryDateText(), Messenger::Information);
        edtDate->setFocus();
        return false;
    }
    return true;
}

void TFrmDeptGl::tbSaveClick()
{
    if (m_browse)
        return;
    m_grid->postEdit();
    if (!validateForSave())
        return;
    Document doc = headerFromFields();
    if (kind() == 11)
        doc.client.clear();
    doc.lines = m_lines->lines();
    const bool editing = m_editFlag;
    const qint64 id = doc.id;
    DocumentStore store;
    DocumentStore::SaveOptions opt;
    opt.operName = operName();
    opt.validateHeader = false;
    const DocumentStore::Result r = store.save(doc, opt);
    if (r != DocumentStore::Done) {
        // Nothing written: the window stays in edit state with its lines as they are.
        return;
    }
    edtCode->setText(doc.code);
    OpenBillList(editing ? 3 : 0, QString(), id);
    SetBrowseMode(true);
    setGridEditable(false);
    ShowCurrentBill();
    m_editFlag = false;
}

void TFrmDeptGl::tbCancelClick()
{
    if (m_browse)
        return;
    m_grid->cancelEdit();
    SetBrowseMode(true);
    edtCode->clear();
    OpenBillList(m_cur >= 0 ? 2 : 0, m_cur >= 0 ? m_list.at(m_cur).code : QString());
    setGridEditable(false);
    ShowCurrentBill();
    m_editFlag = false;
}

void TFrmDeptGl::tbCheckClick()
{
    if (m_cur < 0)
        return;
    if (m_list.at(m_cur).checked) {
        ShowMess(DocumentStore::alreadyAuditedText(), Messenger::Warning);
        return;
    }
    if (ShowMess(QStringLiteral("审核记帐以后，单据不能再修改，真的要审核记帐吗？"), Messenger::Question)
        == Messenger::No)
        return;
    const QString code = m_list.at(m_cur).code;
    DocumentStore store;
    if (store.audit(code, operName()) != DocumentStore::Done)
        return;
    OpenBillList(m_kind->firstAfterAudit ? 1 : 2, code);
    ShowCurrentBill();
}

void TFrmDeptGl::tbFcheckClick()
{
    if (m_cur < 0)
        return;
    if (ShowMess(QStringLiteral("此单据已经经过审核，真的要反审核此单吗？"), Messenger::Question) == Messenger::No)
        return;
    const QString code = m_list.at(m_cur).code;
    DocumentStore store;
    if (store.unaudit(code, operName()) != DocumentStore::Done)
        return;
    OpenBillList(m_kind->firstAfterAudit ? 1 : 2, code);
    ShowCurrentBill();
}

void TFrmDeptGl::tbFirstClick()
{
    if (m_list.isEmpty())
        return;
    m_cur = 0;
    ShowCurrentBill();
    tbFirst->setEnabled(false);
    tbPrior->setEnabled(false);
    tbNext->setEnabled(true);
    tbLast->setEnabled(true);
}

void TFrmDeptGl::tbPriorClick()
{
    if (m_list.isEmpty())
        return;
    if (m_cur <= 0) {
        tbFirst->setEnabled(false);
        tbPrior->setEnabled(false);
    } else {
        --m_cur;
    }
    tbNext->setEnabled(true);
    tbLast->setEnabled(true);
    ShowCurrentBill();
}

void TFrmDeptGl::tbNextClick()
{
    if (m_list.isEmpty())
        return;
    if (m_cur >= m_list.size() - 1) {
        tbLast->setEnabled(false);
        tbNext->setEnabled(false);
    } else {
        ++m_cur;
    }
    tbFirst->setEnabled(true);
    tbPrior->setEnabled(true);
    ShowCurrentBill();
}

void TFrmDeptGl::tbLastClick()
{
    if (m_list.isEmpty())
        return;
    m_cur = int(m_list.size()) - 1;
    ShowCurrentBill();
    tbFirst->setEnabled(true);
    tbPrior->setEnabled(true);
    tbLast->setEnabled(false);
    tbNext->setEnabled(false);
}

bool TFrmDeptGl::printData(ReportDataSet& header, ReportDataSet& lines) const
{
    const SqlParams p {{QStringLiteral("code"), m_curCode}};
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select * from DepotM where F_Code = :code"), p))
        return false;
    header = ReportDataSet::fromQuery(q);
    QSqlQuery d(dm().db());
    if (!dm().OpenQry(d,
            QStringLiteral("select * from DepotD where F_code = :code")
                + (m_kind->orderedLines ? QStringLiteral(" order by F_ID") : QString()),
            p))
        return false;
    lines = ReportDataSet::fromQuery(d);
    return true;
}

void TFrmDeptGl::printTemplate(int index)
{
    if (m_cur < 0 || !m_browse)
        return;
    ReportDataSet header, lines;
    if (printData(header, lines))
        PrintServices::documentPrint(m_kind->templateName(index), header, lines);
}

void TFrmDeptGl::designTemplate(int index)
{
    if (!m_browse)
        return;
    ReportDataSet header, lines;
    if (m_cur >= 0 && !printData(header, lines))
        return;
    PrintServices::documentDesign(m_kind->templateName(index), header, lines);
}

// ---- lines ------------------------------------------------------------------

void TFrmDeptGl::addLine()
{
    if (m_browse)
        return;
    m_grid->postEdit();
    const int row = m_lines->appendLine();
    m_grid->setCurrentIndex(m_lines->index(row, 0));
    m_grid->setFocus();
}

void TFrmDeptGl::addLineButton()
{
    if (m_kind->addLineOpensPicker)
        openGoodPicker();
    else
        addLine();
}

void TFrmDeptGl::deleteLine()
{
    if (m_browse || m_lines->rowCount() == 0)
        return;
    m_grid->postEdit();
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    const QString name = m_lines->line(row).goodName;
    if (ShowMess(QStringLiteral("真的要删除当前货品 \"") + name + QStringLiteral("\" 吗？"), Messenger::Question)
        == Messenger::No)
        return;
    m_lines->removeLine(row);
}

void TFrmDeptGl::openGoodPicker()
{
    if (m_browse)
        return;
    m_grid->postEdit();
    if (m_kind->countedLines && cbbDepot->currentText().trimmed().isEmpty()) {
        ShowMess(m_kind->base().depotEmptyText, Messenger::Information);
        cbbDepot->setFocus();
        return;
    }
    TDlgGoodXz dlg(this);
    dlg.setMode(kind());
    dlg.setTarget(this);
    dlg.start();
}

Document TFrmDeptGl::pickerDocument() const
{
    Document d = headerFromFields();
    d.lines = m_lines->lines();
    return d;
}

bool TFrmDeptGl::addPickedGood(const QString& goodsCode)
{
    syncHeader();
    QString err;
    const std::optional<DocumentLine> line = LineEditing::lineFromPicker(m_lines->header(), goodsCode, &err);
    if (!line) {
        if (!err.isEmpty())
            ShowMess(err, Messenger::Error);
        return false;
    }
    // An untouched empty line gives way to the appended one, as a cancelled insert would.
    const int last = m_lines->rowCount() - 1;
    int row;
    if (last >= 0 && m_lines->line(last).isEmpty() && m_lines->line(last).id == 0) {
        m_lines->replaceLine(last, *line);
        row = last;
    } else {
        row = m_lines->appendLine(*line);
    }
    m_grid->setCurrentIndex(m_lines->index(row, 0));
    return true;
}

void TFrmDeptGl::appendImportedLines(const QList<DocumentLine>& lines)
{
    for (DocumentLine l : lines) {
        l.code = m_curCode.isEmpty() ? edtCode->text().trimmed() : m_curCode;
        m_lines->appendLine(l);
    }
}

void TFrmDeptGl::gridEnter()
{
    if (m_browse)
        return;
    m_grid->postEdit();
    const QModelIndex cur = m_grid->currentIndex();
    if (!cur.isValid())
        return;
    const int row = cur.row();
    const QString code = m_lines->line(row).goodCode.trimmed();
    if (code.isEmpty())
        return;
    const QString field = m_lines->fieldAt(cur.column());
    const int firstColumn = m_grid->horizontalHeader()->logicalIndex(0);
    if (field.compare(QLatin1String("F_GoodCode"), Qt::CaseInsensitive) == 0) {
        syncHeader();
        DocumentLine l = m_lines->line(row);
        QString err;
        if (!LineEditing::fillByCode(m_lines->header(), l, code, &err)) {
            if (!err.isEmpty())
                ShowMess(err, Messenger::Error);
            m_grid->setCurrentIndex(m_lines->index(row, firstColumn));
            return;
        }
        m_lines->replaceLine(row, l);
    }
    const int amountColumn = m_lines->columnOf(QStringLiteral("F_Amount"));
    if (cur.column() == firstColumn) {
        if (amountColumn >= 0)
            m_grid->setCurrentIndex(m_lines->index(row, amountColumn));
    } else if (cur.column() == amountColumn) {
        if (m_lines->line(row).amount != 0) {
            const int next = m_lines->appendLine();
            m_grid->setCurrentIndex(m_lines->index(next, firstColumn));
        } else {
            ShowMess(QStringLiteral("对不起，货品数量不能为零！"), Messenger::Information);
        }
    }
}

void TFrmDeptGl::barcodeEnter()
{
    if (m_browse)
        return;
    const QString barcode = edtTM->text().trimmed();
    if (barcode.isEmpty()) {
        ShowMess(QStringLiteral("请输入条码！"), Messenger::Information);
        edtTM->setFocus();
        return;
    }
    // A line being entered is dropped: an empty appended line goes away.
    m_grid->cancelEdit();
    const int cur = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : m_lines->rowCount() - 1;
    if (cur >= 0 && cur < m_lines->rowCount() && m_lines->line(cur).isEmpty() && m_lines->line(cur).id == 0)
        m_lines->removeLine(cur);
    syncHeader();
    bool ok = false;
    double qty = edtTMAmount->text().trimmed().toDouble(&ok);
    if (!ok)
        qty = 1;
    QString err;
    const std::optional<DocumentLine> line = LineEditing::lineFromBarcode(m_lines->header(), barcode, qty, &err);
    if (!line) {
        if (!err.isEmpty())
            ShowMess(err, Messenger::Error);
        edtTM->setFocus();
        return;
    }
    const int row = m_lines->appendLine(*line);
    m_grid->setCurrentIndex(m_lines->index(row, 0));
    edtTM->clear();
    edtTM->setFocus();
}

void TFrmDeptGl::saveGridLayout()
{
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), Messenger::Question) != Messenger::Yes)
        return;
    QList<GridColumnDef> cols;
    const QHeaderView* h = m_grid->horizontalHeader();
    for (int v = 0; v < h->count() && v < m_layoutColumns.size(); ++v) {
        const int logical = h->logicalIndex(v);
        const EntryLineColumn& shown = m_lines->columns().at(logical);
        GridColumnDef c = m_layoutColumns.at(logical);
        c.caption = shown.caption;
        c.width = h->sectionSize(logical) > 0 ? h->sectionSize(logical) : c.width;
        // A price column hidden for lack of the right keeps its stored visibility.
        if (!(deptIsPriceField(c.fieldName) && !(Session::current().rPrice || Session::current().isAdmin())))
            c.visible = !h->isSectionHidden(logical);
        // The alignment saved is the one the grid shows.
        if (c.alignment == GridColumnDef::AlignDefault)
            c.alignment
                = EntryLineFields::isNumeric(c.fieldName) ? GridColumnDef::AlignRight : GridColumnDef::AlignLeft;
        cols << c;
    }
    GridLayout::save(m_kind->base().layoutKey, cols);
}

void TFrmDeptGl::showColumnChooser()
{
    QSet<int> locked;
    if (!(Session::current().rPrice || Session::current().isAdmin()))
        for (int i = 0; i < m_lines->columns().size(); ++i)
            if (deptIsPriceField(m_lines->columns().at(i).field))
                locked.insert(i);
    EntryColumnChooser::run(this, m_grid, m_lines->columns(), locked);
}

// ---- keys -------------------------------------------------------------------

void TFrmDeptGl::keyPressEvent(QKeyEvent* event)
{
    if (!eventFilter(this, event))
        QWidget::keyPressEvent(event);
}

bool TFrmDeptGl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    const int key = ke->key();
    const bool ctrl = ke->modifiers() & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_A && tbNew->isEnabled()) {
        tbNewClick();
        return true;
    }
    if (ctrl && key == Qt::Key_E && tbEdit->isEnabled()) {
        tbEditClick();
        return true;
    }
    if (ctrl && key == Qt::Key_S && tbSave->isEnabled()) {
        tbSaveClick();
        return true;
    }
    if (key == Qt::Key_Escape) {
        // An open cell editor takes its own Escape first.
        if (m_grid->isEditing() && watched != m_grid && watched != this)
            return false;
        if (tbCancel->isEnabled())
            tbCancelClick();
        else
            close();
        return true;
    }
    if (key == Qt::Key_Delete && !ctrl && tbDel->isEnabled() && m_browse) {
        tbDelClick();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w == Mem || (w && (w == m_grid || m_grid->isAncestorOf(w))))
            return false;
        if (w == edtTM) {
            barcodeEnter();
            return true;
        }
        if (w && w != this)
            focusNextChild();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
