#include "templatedesigner.h"

#include "app/messenger.h"
#include "designercanvas.h"
#include "designercommand.h"
#include "pagesetupedit.h"
#include "print/reportfunctions.h"
#include "printfiledialogs.h"
#include "reportpreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {
enum DesignerMergeIds {
    MergeText = 1,
    MergeX,
    MergeY,
    MergeW,
    MergeH,
    MergeFont,
    MergeFontSize,
    MergeFrameWidth,
    MergeFormat,
    MergeName,
    MergeBandHeight,
    MergeBandName,
    MergeCondition,
    MergeRows,
    MergeNudge
};

// Display order of new bands: a band goes in front of the first band that comes later.
int designerBandRank(ReportBand::Type t)
{
    switch (t) {
    case ReportBand::ReportTitle:
        return 0;
    case ReportBand::PageHeader:
        return 1;
    case ReportBand::GroupHeader:
        return 2;
    case ReportBand::DataHeader:
        return 3;
    case ReportBand::MasterData:
        return 4;
    case ReportBand::DetailData:
        return 5;
    case ReportBand::GroupFooter:
        return 6;
    case ReportBand::DataFooter:
        return 7;
    case ReportBand::Summary:
        return 8;
    case ReportBand::PageFooter:
        return 9;
    }
    return 10;
}

QDoubleSpinBox* designerSpin(QWidget* parent, const QString& name, double lo, double hi, double step = 0.5)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setRange(lo, hi);
    s->setDecimals(1);
    s->setSingleStep(step);
    s->setKeyboardTracking(false);
    return s;
}

QCheckBox* designerCheck(QWidget* parent, const QString& name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}
} // namespace

TemplateDesigner::TemplateDesigner(const ReportEngine& engine, const QString& fileName, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_engine(engine)
    , m_tpl(engine.reportTemplate())
    , m_fileName(fileName)
{
    setObjectName(QStringLiteral("frxDesigner"));
    setWindowTitle(QStringLiteral("报表设计 - ") + QFileInfo(fileName).fileName());
    m_undo = new QUndoStack(this);
    m_undo->setObjectName(QStringLiteral("UndoStack"));
    buildUi();
    m_canvas->setTemplate(&m_tpl);
    refreshProperties();
    resize(1180, 800);
}

TemplateDesigner::~TemplateDesigner() = default;

void TemplateDesigner::buildUi()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbDesigner"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(bar);

    auto action = [&](const QString& name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action(QStringLiteral("actSave"), QStringLiteral("保存"), QKeySequence::Save, [this] { saveTemplate(); });
    action(QStringLiteral("actPreview"), QStringLiteral("预览"), QKeySequence(Qt::CTRL | Qt::Key_P),
        [this] { previewReport(); });
    bar->addSeparator();
    QAction* undo = m_undo->createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("actUndo"));
    undo->setShortcut(QKeySequence::Undo);
    bar->addAction(undo);
    QAction* redo = m_undo->createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("actRedo"));
    redo->setShortcut(QKeySequence::Redo);
    bar->addAction(redo);
    bar->addSeparator();
    action(QStringLiteral("actAddText"), QStringLiteral("文本"), {}, [this] { addObject(ReportObject::Text); });
    action(QStringLiteral("actAddLine"), QStringLiteral("线条"), {}, [this] { addObject(ReportObject::Line); });
    action(QStringLiteral("actAddRect"), QStringLiteral("矩形"), {}, [this] { addObject(ReportObject::Rect); });
    action(QStringLiteral("actAddPicture"), QStringLiteral("图片"), {}, [this] { addObject(ReportObject::Picture); });
    action(
        QStringLiteral("actAddCheckBox"), QStringLiteral("复选框"), {}, [this] { addObject(ReportObject::CheckBox); });
    auto* bandButton = new QToolButton(bar);
    bandButton->setObjectName(QStringLiteral("btnAddBand"));
    bandButton->setText(QStringLiteral("添加带区"));
    bandButton->setPopupMode(QToolButton::InstantPopup);
    auto* bandMenu = new QMenu(bandButton);
    for (auto t : {ReportBand::ReportTitle, ReportBand::PageHeader, ReportBand::DataHeader, ReportBand::MasterData,
             ReportBand::DetailData, ReportBand::GroupHeader, ReportBand::GroupFooter, ReportBand::DataFooter,
             ReportBand::Summary, ReportBand::PageFooter}) {
        QAction* a = bandMenu->addAction(ReportBand::caption(t));
        a->setObjectName(QStringLiteral("actBand_") + ReportBand::typeName(t));
        connect(a, &QAction::triggered, this, [this, t] { addBand(t); });
    }
    bandButton->setMenu(bandMenu);
    bar->addWidget(bandButton);
    action(QStringLiteral("actDelete"), QStringLiteral("删除"), {}, [this] { deleteSelection(); });
    bar->addSeparator();
    action(QStringLiteral("actPageSetup"), QStringLiteral("页面设置"), {}, [this] { editPageSetup(); });
    auto* zoom = new QComboBox(bar);
    zoom->setObjectName(QStringLiteral("cbDesignZoom"));
    for (int z : {75, 100, 125, 150, 200})
        zoom->addItem(QStringLiteral("%1%").arg(z), z / 100.0);
    zoom->setCurrentIndex(1);
    bar->addWidget(zoom);
    bar->addSeparator();
    action(QStringLiteral("actClose"), QStringLiteral("关闭"), {}, [this] { reject(); });

    auto* split = new QSplitter(this);
    layout->addWidget(split, 1);
    auto* scroll = new QScrollArea(split);
    scroll->setObjectName(QStringLiteral("scCanvas"));
    m_canvas = new DesignerCanvas;
    scroll->setWidget(m_canvas);
    scroll->setBackgroundRole(QPalette::Dark);
    split->addWidget(scroll);
    connect(zoom, &QComboBox::currentIndexChanged, this,
        [this, zoom] { m_canvas->setZoom(zoom->currentData().toDouble()); });
    m_canvas->setZoom(zoom->currentData().toDouble());

    auto* side = new QSplitter(Qt::Vertical, split);
    m_panels = new QStackedWidget(side);
    m_panels->setObjectName(QStringLiteral("pnlProperties"));
    auto* none = new QLabel(QStringLiteral("选择一个对象或带区以编辑其属性。"), m_panels);
    none->setWordWrap(true);
    none->setAlignment(Qt::AlignCenter);
    m_panels->addWidget(none);
    m_panels->addWidget(buildObjectPanel());
    m_panels->addWidget(buildBandPanel());
    side->addWidget(m_panels);
    m_tree = new QTreeWidget(side);
    m_tree->setObjectName(QStringLiteral("trData"));
    m_tree->setHeaderLabel(QStringLiteral("数据字段（双击插入）"));
    side->addWidget(m_tree);
    split->addWidget(side);
    side->setMinimumWidth(330);
    side->setMaximumWidth(520);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({840, 380});
    side->setSizes({430, 370});
    buildDataTree();
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { onTreeActivated(item); });

    connect(m_canvas, &DesignerCanvas::selectionChanged, this, &TemplateDesigner::refreshProperties);
    connect(m_canvas, &DesignerCanvas::geometryChanging, this, &TemplateDesigner::refreshProperties);
    connect(m_canvas, &DesignerCanvas::edited, this, &TemplateDesigner::onCanvasEdited);
    connect(m_canvas, &DesignerCanvas::deleteRequested, this, &TemplateDesigner::deleteSelection);
    connect(m_canvas, &DesignerCanvas::nudgeRequested, this, &TemplateDesigner::nudge);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowTitle(QStringLiteral("报表设计 - ") + QFileInfo(m_fileName).fileName()
            + (clean ? QString() : QStringLiteral(" *")));
    });
}

QWidget* TemplateDesigner::buildObjectPanel()
{
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("pnlObject"));
    auto* outer = new QVBoxLayout(w);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    outer->addStretch(1);
    m_objType = new QLabel(w);
    m_objType->setObjectName(QStringLiteral("lblObjType"));
    form->addRow(QStringLiteral("类型："), m_objType);
    m_objName = new QLineEdit(w);
    m_objName->setObjectName(QStringLiteral("edObjName"));
    form->addRow(QStringLiteral("名称："), m_objName);
    m_text = new QPlainTextEdit(w);
    m_text->setObjectName(QStringLiteral("edText"));
    m_text->setFixedHeight(70);
    form->addRow(QStringLiteral("文本/表达式："), m_text);
    auto* geo = new QHBoxLayout;
    m_x = designerSpin(w, QStringLiteral("spX"), -1000, 2000);
    m_y = designerSpin(w, QStringLiteral("spY"), -1000, 2000);
    m_w = designerSpin(w, QStringLiteral("spW"), 0, 2000);
    m_h = designerSpin(w, QStringLiteral("spH"), 0, 2000);
    for (auto* s : {m_x, m_y, m_w, m_h})
        geo->addWidget(s);
    form->addRow(QStringLiteral("左/上/宽/高(毫米)："), geo);
    m_font = new QComboBox(w);
    m_font->setObjectName(QStringLiteral("cbFont"));
    m_font->setEditable(true);
    m_font->addItems({QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体"), QStringLiteral("仿宋"),
        QStringLiteral("Arial"), QStringLiteral("Courier New")});
    m_fontSize = designerSpin(w, QStringLiteral("spFontSize"), 4, 96, 1);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(m_fontSize);
    form->addRow(QStringLiteral("字体/字号："), fontRow);
    auto* style = new QHBoxLayout;
    m_bold = designerCheck(w, QStringLiteral("chkBold"), QStringLiteral("粗体"));
    m_italic = designerCheck(w, QStringLiteral("chkItalic"), QStringLiteral("斜体"));
    m_underline = designerCheck(w, QStringLiteral("chkUnderline"), QStringLiteral("下划线"));
    style->addWidget(m_bold);
    style->addWidget(m_italic);
    style->addWidget(m_underline);
    form->addRow(QStringLiteral("字形："), style);
    auto* frame = new QHBoxLayout;
    m_frameL = designerCheck(w, QStringLiteral("chkFrameLeft"), QStringLiteral("左"));
    m_frameT = designerCheck(w, QStringLiteral("chkFrameTop"), QStringLiteral("上"));
    m_frameR = designerCheck(w, QStringLiteral("chkFrameRight"), QStringLiteral("右"));
    m_frameB = designerCheck(w, QStringLiteral("chkFrameBottom"), QStringLiteral("下"));
    m_frameWidth = designerSpin(w, QStringLiteral("spFrameWidth"), 0.1, 10, 0.5);
    for (QWidget* c : std::initializer_list<QWidget*> {m_frameL, m_frameT, m_frameR, m_frameB, m_frameWidth})
        frame->addWidget(c);
    form->addRow(QStringLiteral("边框/线宽(磅)："), frame);
    m_hAlign = new QComboBox(w);
    m_hAlign->setObjectName(QStringLiteral("cbHAlign"));
    m_hAlign->addItem(QStringLiteral("左对齐"), int(Qt::AlignLeft));
    m_hAlign->addItem(QStringLiteral("居中"), int(Qt::AlignHCenter));
    m_hAlign->addItem(QStringLiteral("右对齐"), int(Qt::AlignRight));
    m_vAlign = new QComboBox(w);
    m_vAlign->setObjectName(QStringLiteral("cbVAlign"));
    m_vAlign->addItem(QStringLiteral("顶端"), int(Qt::AlignTop));
    m_vAlign->addItem(QStringLiteral("垂直居中"), int(Qt::AlignVCenter));
    m_vAlign->addItem(QStringLiteral("底端"), int(Qt::AlignBottom));
    auto* align = new QHBoxLayout;
    align->addWidget(m_hAlign);
    align->addWidget(m_vAlign);
    form->addRow(QStringLiteral("对齐："), align);
    auto* flow = new QHBoxLayout;
    m_wrap = designerCheck(w, QStringLiteral("chkWrap"), QStringLiteral("自动换行"));
    m_stretch = designerCheck(w, QStringLiteral("chkStretch"), QStringLiteral("自动伸展"));
    flow->addWidget(m_wrap);
    flow->addWidget(m_stretch);
    form->addRow(QString(), flow);
    m_format = new QLineEdit(w);
    m_format->setObjectName(QStringLiteral("edFormat"));
    m_format->setPlaceholderText(QStringLiteral("如 0.00、#,##0.00、yyyy-MM-dd、@amount"));
    form->addRow(QStringLiteral("显示格式："), m_format);

    connect(m_objName, &QLineEdit::editingFinished, this, [this] {
        const QString n = m_objName->text().trimmed();
        if (!m_updating && !n.isEmpty())
            modifySelectedObject([n](ReportObject& o) { o.name = n; }, QStringLiteral("改名"), MergeName);
    });
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        const QString t = m_text->toPlainText();
        if (!m_updating)
            modifySelectedObject([t](ReportObject& o) { o.text = t; }, QStringLiteral("修改文本"), MergeText);
    });
    auto geoEdit = [this](QDoubleSpinBox* s, int id, const std::function<void(QRectF&, double)>& set) {
        connect(s, &QDoubleSpinBox::valueChanged, this, [this, id, set](double v) {
            if (!m_updating)
                modifySelectedObject([&](ReportObject& o) { set(o.geometry, v); }, QStringLiteral("位置和大小"), id);
        });
    };
    geoEdit(m_x, MergeX, [](QRectF& g, double v) { g.moveLeft(v); });
    geoEdit(m_y, MergeY, [](QRectF& g, double v) { g.moveTop(v); });
    geoEdit(m_w, MergeW, [](QRectF& g, double v) { g.setWidth(v); });
    geoEdit(m_h, MergeH, [](QRectF& g, double v) { g.setHeight(v); });
    connect(m_font, &QComboBox::currentTextChanged, this, [this](const QString& f) {
        if (!m_updating && !f.trimmed().isEmpty())
            modifySelectedObject(
                [f](ReportObject& o) { o.fontFamily = f.trimmed(); }, QStringLiteral("字体"), MergeFont);
    });
    connect(m_fontSize, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (!m_updating)
            modifySelectedObject([v](ReportObject& o) { o.fontSize = v; }, QStringLiteral("字号"), MergeFontSize);
    });
    auto boolEdit = [this](QCheckBox* c, const QString& what, const std::function<void(ReportObject&, bool)>& set) {
        connect(c, &QCheckBox::toggled, this, [this, what, set](bool on) {
            if (!m_updating)
                modifySelectedObject([&](ReportObject& o) { set(o, on); }, what);
        });
    };
    boolEdit(m_bold, QStringLiteral("粗体"), [](ReportObject& o, bool on) { o.bold = on; });
    boolEdit(m_italic, QStringLiteral("斜体"), [](ReportObject& o, bool on) { o.italic = on; });
    boolEdit(m_underline, QStringLiteral("下划线"), [](ReportObject& o, bool on) { o.underline = on; });
    boolEdit(m_wrap, QStringLiteral("自动换行"), [](ReportObject& o, bool on) { o.wordWrap = on; });
    boolEdit(m_stretch, QStringLiteral("自动伸展"), [](ReportObject& o, bool on) { o.stretch = on; });
    const QList<QPair<QCheckBox*, int>> frames
        = {{m_frameL, ReportObject::FrameLeft}, {m_frameT, ReportObject::FrameTop},
            {m_frameR, ReportObject::FrameRight}, {m_frameB, ReportObject::FrameBottom}};
    for (const auto& f : frames) {
        const int bit = f.second;
        boolEdit(f.first, QStringLiteral("边框"),
            [bit](ReportObject& o, bool on) { o.frame = on ? (o.frame | bit) : (o.frame & ~bit); });
    }
    connect(m_frameWidth, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (!m_updating)
            modifySelectedObject([v](ReportObject& o) { o.frameWidth = v; }, QStringLiteral("线宽"), MergeFrameWidth);
    });
    connect(m_hAlign, &QComboBox::currentIndexChanged, this, [this] {
        const auto a = Qt::Alignment(m_hAlign->currentData().toInt());
        if (!m_updating)
            modifySelectedObject([a](ReportObject& o) { o.hAlign = a; }, QStringLiteral("对齐"));
    });
    connect(m_vAlign, &QComboBox::currentIndexChanged, this, [this] {
        const auto a = Qt::Alignment(m_vAlign->currentData().toInt());
        if (!m_updating)
            modifySelectedObject([a](ReportObject& o) { o.vAlign = a; }, QStringLiteral("对齐"));
    });
    connect(m_format, &QLineEdit::editingFinished, this, [this] {
        const QString f = m_format->text().trimmed();
        if (!m_updating)
            modifySelectedObject([f](ReportObject& o) { o.format = f; }, QStringLiteral("显示格式"), MergeFormat);
    });
    return w;
}

QWidget* TemplateDesigner::buildBandPanel()
{
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("pnlBand"));
    auto* outer = new QVBoxLayout(w);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    outer->addStretch(1);
    m_bandType = new QLabel(w);
    m_bandType->setObjectName(QStringLiteral("lblBandType"));
    form->addRow(QStringLiteral("带区类型："), m_bandType);
    m_bandName = new QLineEdit(w);
    m_bandName->setObjectName(QStringLiteral("edBandName"));
    form->addRow(QStringLiteral("名称："), m_bandName);
    m_bandHeight = designerSpin(w, QStringLiteral("spBandHeight"), 1, 1000);
    form->addRow(QStringLiteral("高度(毫米)："), m_bandHeight);
    m_bandDataSet = new QComboBox(w);
    m_bandDataSet->setObjectName(QStringLiteral("cbDataSet"));
    m_bandDataSet->addItems({QString(), ReportEngine::masterName(), ReportEngine::detailName()});
    form->addRow(QStringLiteral("数据集："), m_bandDataSet);
    m_bandCondition = new QLineEdit(w);
    m_bandCondition->setObjectName(QStringLiteral("edCondition"));
    m_bandCondition->setPlaceholderText(QStringLiteral("如 frxDM.F_Type"));
    form->addRow(QStringLiteral("分组条件："), m_bandCondition);
    m_bandRows = new QLineEdit(w);
    m_bandRows->setObjectName(QStringLiteral("edRowsPerPage"));
    m_bandRows->setPlaceholderText(QStringLiteral("如 PageMaxRow（不足补空行）"));
    form->addRow(QStringLiteral("每页固定行数："), m_bandRows);

    auto bandEdit = [this](const std::function<void(ReportBand&)>& change, const QString& what, int id) {
        const int b = m_canvas->selectedBand();
        if (m_updating || b < 0)
            return;
        modifyTemplate([&](ReportTemplate& t) { change(t.bands[b]); }, what, id);
    };
    connect(m_bandName, &QLineEdit::editingFinished, this, [this, bandEdit] {
        const QString n = m_bandName->text().trimmed();
        if (!n.isEmpty())
            bandEdit([n](ReportBand& b) { b.name = n; }, QStringLiteral("带区名称"), MergeBandName);
    });
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, [bandEdit](double v) {
        bandEdit([v](ReportBand& b) { b.height = v; }, QStringLiteral("带区高度"), MergeBandHeight);
    });
    connect(m_bandDataSet, &QComboBox::currentTextChanged, this, [bandEdit](const QString& ds) {
        bandEdit([ds](ReportBand& b) { b.dataSet = ds; }, QStringLiteral("数据集"), -1);
    });
    connect(m_bandCondition, &QLineEdit::editingFinished, this, [this, bandEdit] {
        const QString c = m_bandCondition->text().trimmed();
        bandEdit([c](ReportBand& b) { b.condition = c; }, QStringLiteral("分组条件"), MergeCondition);
    });
    connect(m_bandRows, &QLineEdit::editingFinished, this, [this, bandEdit] {
        const QString r = m_bandRows->text().trimmed();
        bandEdit([r](ReportBand& b) { b.rowsPerPage = r; }, QStringLiteral("每页行数"), MergeRows);
    });
    return w;
}

void TemplateDesigner::buildDataTree()
{
    m_tree->clear();
    auto addItem = [](QTreeWidgetItem* parent, const QString& text, const QString& expr, const QString& tip = {}) {
        auto* it = new QTreeWidgetItem(parent, {text});
        it->setData(0, Qt::UserRole, expr);
        if (!tip.isEmpty())
            it->setToolTip(0, tip);
        return it;
    };
    for (const QString& ds : m_engine.dataSetNames()) {
        auto* top = new QTreeWidgetItem(m_tree, {ds});
        for (const QString& col : m_engine.dataSet(ds)->columns())
            addItem(top, col, ds + QLatin1Char('.') + col);
    }
    QStringList categories;
    for (const auto& v : m_tpl.variables)
        if (!categories.contains(v.category))
            categories << v.category;
    for (const QString& c : categories) {
        auto* top = new QTreeWidgetItem(m_tree, {c.isEmpty() ? QStringLiteral("变量") : c});
        for (const auto& v : m_tpl.variables)
            if (v.category == c)
                addItem(top, v.name, v.name, QStringLiteral("设计时的值：") + v.value);
    }
    auto* sys = new QTreeWidgetItem(m_tree, {QStringLiteral("系统变量")});
    addItem(sys, QStringLiteral("Page（页码）"), QStringLiteral("Page"));
    addItem(sys, QStringLiteral("TotalPages（总页数）"), QStringLiteral("TotalPages"));
    addItem(sys, QStringLiteral("Line（行号）"), QStringLiteral("Line"));
    addItem(sys, QStringLiteral("Date（日期）"), QStringLiteral("Date"));
    addItem(sys, QStringLiteral("Time（时间）"), QStringLiteral("Time"));
    auto* fns = new QTreeWidgetItem(m_tree, {QStringLiteral("函数")});
    addItem(fns, QStringLiteral("SUM（合计）"), QStringLiteral("SUM(frxDD.F_TotalPrice)"));
    addItem(fns, QStringLiteral("COUNT（计数）"), QStringLiteral("COUNT(frxDD.F_GoodCode)"));
    addItem(fns, QStringLiteral("IIF（条件）"), QStringLiteral("IIF(frxDD.F_Amount > 0, 'a', 'b')"));
    addItem(fns, QStringLiteral("FormatFloat"), QStringLiteral("FormatFloat('#,##0.00', frxDD.F_TotalPrice)"));
    for (const auto& info : ReportFunctions::registered())
        addItem(fns, info.name + QStringLiteral("（") + info.description + QStringLiteral("）"),
            info.name + QStringLiteral("(SUM(frxDD.F_TotalPrice))"), info.declaration);
    m_tree->expandAll();
}

void TemplateDesigner::onTreeActivated(QTreeWidgetItem* item)
{
    const QString expr = item ? item->data(0, Qt::UserRole).toString() : QString();
    if (!expr.isEmpty())
        insertExpression(QLatin1Char('[') + expr + QLatin1Char(']'));
}

QString TemplateDesigner::mergeKey() const
{
    return QStringLiteral("%1/%2").arg(m_canvas->selectedBand()).arg(m_canvas->selectedObject());
}

void TemplateDesigner::modifyTemplate(
    const std::function<void(ReportTemplate&)>& change, const QString& what, int mergeId)
{
    const ReportTemplate before = m_tpl;
    ReportTemplate after = m_tpl;
    change(after);
    if (after == before)
        return;
    m_undo->push(new DesignerCommand(this, before, after, what, mergeId, mergeKey()));
}

void TemplateDesigner::modifySelectedObject(
    const std::function<void(ReportObject&)>& change, const QString& what, int mergeId)
{
    const int b = m_canvas->selectedBand();
    const int o = m_canvas->selectedObject();
    if (b < 0 || o < 0)
        return;
    modifyTemplate([&](ReportTemplate& t) { change(t.bands[b].objects[o]); }, what, mergeId);
}

void TemplateDesigner::setTemplateState(const ReportTemplate& tpl)
{
    m_tpl = tpl;
    m_canvas->relayout();
    refreshProperties();
}

void TemplateDesigner::onCanvasEdited(const ReportTemplate& before, const QString& what)
{
    // The canvas already changed the template while dragging; record it.
    if (!(before == m_tpl))
        m_undo->push(new DesignerCommand(this, before, m_tpl, what));
    refreshProperties();
}

void TemplateDesigner::nudge(double dx, double dy, bool resize)
{
    modifySelectedObject(
        [&](ReportObject& o) {
            if (resize) {
                o.geometry.setWidth(qMax(0.0, o.geometry.width() + dx));
                o.geometry.setHeight(qMax(0.0, o.geometry.height() + dy));
            } else {
                o.geometry.translate(dx, dy);
            }
        },
        resize ? QStringLiteral("调整大小") : QStringLiteral("移动"), MergeNudge);
}

bool TemplateDesigner::selectObject(const QString& name)
{
    for (int b = 0; b < m_tpl.bands.size(); ++b)
        for (int o = 0; o < m_tpl.bands[b].objects.size(); ++o)
            if (m_tpl.bands[b].objects[o].name.compare(name, Qt::CaseInsensitive) == 0) {
                m_canvas->setSelection(b, o);
                return true;
            }
    return false;
}

void TemplateDesigner::selectBand(int band)
{
    m_canvas->setSelection(band, -1);
}

int TemplateDesigner::selectedBand() const
{
    return m_canvas->selectedBand();
}

const ReportObject* TemplateDesigner::selectedObject() const
{
    const int b = m_canvas->selectedBand();
    const int o = m_canvas->selectedObject();
    if (b < 0 || o < 0 || b >= m_tpl.bands.size() || o >= m_tpl.bands[b].objects.size())
        return nullptr;
    return &m_tpl.bands[b].objects[o];
}

void TemplateDesigner::refreshProperties()
{
    m_updating = true;
    const ReportObject* o = selectedObject();
    const int b = m_canvas->selectedBand();
    if (o) {
        m_panels->setCurrentIndex(1);
        static const char* typeNames[] = {"文本", "线条", "矩形", "图片", "复选框"};
        m_objType->setText(QString::fromUtf8(typeNames[o->type]));
        m_objName->setText(o->name);
        if (m_text->toPlainText() != o->text) {
            m_text->setPlainText(o->text);
            m_text->moveCursor(QTextCursor::End); // fields picked from the tree go to the end
        }
        m_text->setEnabled(o->type == ReportObject::Text || o->type == ReportObject::CheckBox);
        m_x->setValue(o->geometry.x());
        m_y->setValue(o->geometry.y());
        m_w->setValue(o->geometry.width());
        m_h->setValue(o->geometry.height());
        m_font->setCurrentText(o->fontFamily);
        m_fontSize->setValue(o->fontSize);
        m_bold->setChecked(o->bold);
        m_italic->setChecked(o->italic);
        m_underline->setChecked(o->underline);
        m_frameL->setChecked(o->frame & ReportObject::FrameLeft);
        m_frameT->setChecked(o->frame & ReportObject::FrameTop);
        m_frameR->setChecked(o->frame & ReportObject::FrameRight);
        m_frameB->setChecked(o->frame & ReportObject::FrameBottom);
        m_frameWidth->setValue(o->frameWidth);
        m_hAlign->setCurrentIndex(qMax(0, m_hAlign->findData(int(o->hAlign))));
        m_vAlign->setCurrentIndex(qMax(0, m_vAlign->findData(int(o->vAlign))));
        m_wrap->setChecked(o->wordWrap);
        m_stretch->setChecked(o->stretch);
        m_format->setText(o->format);
    } else if (b >= 0 && b < m_tpl.bands.size()) {
        const ReportBand& band = m_tpl.bands[b];
        m_panels->setCurrentIndex(2);
        m_bandType->setText(ReportBand::caption(band.type));
        m_bandName->setText(band.name);
        m_bandHeight->setValue(band.height);
        const int ds = m_bandDataSet->findText(band.dataSet, Qt::MatchFixedString);
        if (ds < 0)
            m_bandDataSet->addItem(band.dataSet);
        m_bandDataSet->setCurrentIndex(m_bandDataSet->findText(band.dataSet, Qt::MatchFixedString));
        m_bandCondition->setText(band.condition);
        m_bandRows->setText(band.rowsPerPage);
        m_bandCondition->setEnabled(band.type == ReportBand::GroupHeader);
        m_bandRows->setEnabled(band.isData());
    } else {
        m_panels->setCurrentIndex(0);
    }
    m_updating = false;
}

void TemplateDesigner::addObject(ReportObject::Type type)
{
    int b = m_canvas->selectedBand();
    if (b < 0) {
        if (m_tpl.bands.isEmpty()) {
            ShowMess(QStringLiteral("请先添加一个带区！"), Messenger::Information);
            return;
        }
        b = 0;
    }
    ReportObject o;
    o.type = type;
    const double width = m_tpl.page.contentWidth();
    switch (type) {
    case ReportObject::Text:
        o.name = m_tpl.uniqueName(QStringLiteral("Memo"));
        o.geometry = QRectF(0, 0, qMin(40.0, width), 6);
        o.text = QStringLiteral("文本");
        break;
    case ReportObject::Line:
        o.name = m_tpl.uniqueName(QStringLiteral("Line"));
        o.geometry = QRectF(0, 0, qMin(60.0, width), 0);
        break;
    case ReportObject::Rect:
        o.name = m_tpl.uniqueName(QStringLiteral("Shape"));
        o.geometry = QRectF(0, 0, qMin(30.0, width), 8);
        break;
    case ReportObject::Picture: {
        o.name = m_tpl.uniqueName(QStringLiteral("Picture"));
        o.geometry = QRectF(0, 0, 20, 20);
        const QString file = PrintFileDialogs::openFileName(
            this, QStringLiteral("选择图片"), QStringLiteral("图片 (*.png *.jpg *.jpeg *.bmp *.gif)"));
        if (file.isEmpty())
            return;
        if (!o.picture.load(file)) {
            ShowMess(QStringLiteral("无法读取图片：%1").arg(QDir::toNativeSeparators(file)), Messenger::Warning);
            return;
        }
        break;
    }
    case ReportObject::CheckBox:
        o.name = m_tpl.uniqueName(QStringLiteral("CheckBox"));
        o.geometry = QRectF(0, 0, 4, 4);
        o.text = QStringLiteral("frxDM.F_CheckFlag");
        break;
    }
    o.geometry.setHeight(qMin(o.geometry.height(), qMax(0.0, m_tpl.bands[b].height)));
    const int index = int(m_tpl.bands[b].objects.size());
    modifyTemplate([&](ReportTemplate& t) { t.bands[b].objects << o; }, QStringLiteral("添加对象"));
    m_canvas->setSelection(b, index);
}

void TemplateDesigner::addBand(ReportBand::Type type)
{
    ReportBand band;
    band.type = type;
    band.name = m_tpl.uniqueName(ReportBand::typeName(type));
    band.height = type == ReportBand::MasterData || type == ReportBand::DetailData ? 6 : 10;
    if (type == ReportBand::MasterData)
        band.dataSet = ReportEngine::masterName();
    else if (type == ReportBand::DetailData)
        band.dataSet = ReportEngine::detailName();
    int at = int(m_tpl.bands.size());
    for (int i = 0; i < m_tpl.bands.size(); ++i)
        if (designerBandRank(m_tpl.bands[i].type) > designerBandRank(type)) {
            at = i;
            break;
        }
    modifyTemplate([&](ReportTemplate& t) { t.bands.insert(at, band); }, QStringLiteral("添加带区"));
    m_canvas->setSelection(at, -1);
}

void TemplateDesigner::deleteSelection()
{
    const int b = m_canvas->selectedBand();
    const int o = m_canvas->selectedObject();
    if (b < 0)
        return;
    if (o >= 0) {
        modifyTemplate([&](ReportTemplate& t) { t.bands[b].objects.removeAt(o); }, QStringLiteral("删除对象"));
        m_canvas->setSelection(b, -1);
    } else {
        modifyTemplate([&](ReportTemplate& t) { t.bands.removeAt(b); }, QStringLiteral("删除带区"));
        m_canvas->setSelection(-1, -1);
    }
}

void TemplateDesigner::insertExpression(const QString& expression)
{
    const ReportObject* o = selectedObject();
    if (o && o->type == ReportObject::Text) {
        m_text->insertPlainText(expression); // textChanged records the edit
        return;
    }
    const int b = m_canvas->selectedBand();
    if (b < 0) {
        ShowMess(QStringLiteral("请先选择一个带区或文本对象！"), Messenger::Information);
        return;
    }
    ReportObject t;
    t.name = m_tpl.uniqueName(QStringLiteral("Memo"));
    t.text = expression;
    t.geometry = QRectF(0, 0, qMin(40.0, m_tpl.page.contentWidth()), qMin(6.0, m_tpl.bands[b].height));
    const int index = int(m_tpl.bands[b].objects.size());
    modifyTemplate([&](ReportTemplate& tpl) { tpl.bands[b].objects << t; }, QStringLiteral("插入字段"));
    m_canvas->setSelection(b, index);
}

bool TemplateDesigner::saveTemplate()
{
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QString error;
    if (!m_tpl.save(m_fileName, &error)) {
        ShowMess(
            QStringLiteral("模板保存失败：%1\n%2").arg(QDir::toNativeSeparators(m_fileName), error), Messenger::Error);
        return false;
    }
    m_undo->setClean();
    return true;
}

void TemplateDesigner::previewReport()
{
    ReportEngine engine = m_engine;
    engine.setTemplate(m_tpl);
    auto* preview = new ReportPreview(engine, this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->open();
}

void TemplateDesigner::editPageSetup()
{
    ReportPageSetup page = m_tpl.page;
    if (PageSetupEdit::edit(this, page))
        modifyTemplate([&](ReportTemplate& t) { t.page = page; }, QStringLiteral("页面设置"));
}

void TemplateDesigner::reject()
{
    if (!m_undo->isClean()) {
        const int answer = ShowMess(QStringLiteral("报表模板已经修改，是否保存？"), Messenger::Question);
        if (answer == Messenger::Yes && !saveTemplate())
            return;
    }
    QDialog::reject();
}
