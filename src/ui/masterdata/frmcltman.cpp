#include "frmcltman.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "data/gridservices.h"
#include "frmcltedit.h"
#include "gridrecords.h"
#include "printservices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmCltMan::TfrmCltMan(QWidget* parent)
    : QWidget(parent)
    , m_grid(new DataGrid(this))
    , m_left(new QTableWidget(this))
    , m_leftKind(new QComboBox(this))
    , m_combo(new QComboBox(this))
    , m_edit(new QLineEdit(this))
    , m_disabled(new QCheckBox(QStringLiteral("包含已停用"), this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("TfrmCltMan"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto act = [&](const char* name, const char* text, const QKeySequence& key, auto slot) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(a);
        }
        connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        return a;
    };
    act("tbNew", "新增", QKeySequence(QStringLiteral("Ctrl+A")), [this] { tbNewClick(); });
    act("tbEdit", "修改", QKeySequence(QStringLiteral("Ctrl+E")), [this] { tbEditClick(); });
    act("tbDel", "删除", QKeySequence(Qt::Key_Delete), [this] { tbDelClick(); });
    bar->addSeparator();
    m_tbFirst = act("tbFirst", "首项", QKeySequence(Qt::Key_Home), [this] { setCurrentRow(0); });
    m_tbPrior = act("tbPrior", "前项", QKeySequence(Qt::Key_PageUp), [this] { setCurrentRow(currentRow() - 1); });
    m_tbNext = act("tbNext", "后项", QKeySequence(Qt::Key_PageDown), [this] { setCurrentRow(currentRow() + 1); });
    m_tbLast = act("tbLast", "末项", QKeySequence(Qt::Key_End), [this] { setCurrentRow(rowCount() - 1); });
    bar->addSeparator();
    m_tbPrint = act("tbPrint", "打印", QKeySequence(), [this] { tbPrintClick(); });
    act("tbSet", "设置", QKeySequence(), [this] { tbSetClick(); });
    m_tbExport = act("tbExport", "导出", QKeySequence(), [this] { tbExportClick(); });
    setNavigationActions(m_tbFirst, m_tbPrior, m_tbNext, m_tbLast, {m_tbPrint, m_tbExport});
    bar->addSeparator();
    act("tbExit", "退出", QKeySequence(), [this] { close(); });

    // Left panel: value list, kind of list, refresh button.
    m_left->setObjectName(QStringLiteral("vleList"));
    m_left->setColumnCount(2);
    m_left->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("业务员")});
    m_left->horizontalHeader()->setStretchLastSection(true);
    m_left->verticalHeader()->hide();
    m_left->setColumnWidth(0, 40);
    m_left->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_left->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_left->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_left, &QTableWidget::currentCellChanged, this, [this] {
        if (m_reactToLeft)
            search();
    });
    m_leftKind->setObjectName(QStringLiteral("cbbListType"));
    m_leftKind->addItems({QStringLiteral("业务员"), QStringLiteral("类  型")});
    connect(m_leftKind, &QComboBox::currentIndexChanged, this, &TfrmCltMan::fillLeftList);
    auto* refresh = new QPushButton(QStringLiteral("刷新列表"), this);
    refresh->setObjectName(QStringLiteral("btnRefreshList"));
    // Refills the left list (the button has no function of its own otherwise).
    connect(refresh, &QPushButton::clicked, this, &TfrmCltMan::fillLeftList);
    auto* leftPanel = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(leftPanel);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_left, 1);
    leftLayout->addWidget(m_leftKind);
    leftLayout->addWidget(refresh);

    m_combo->setObjectName(QStringLiteral("ComboBox1"));
    m_combo->addItems({QStringLiteral("编  号"), QStringLiteral("名  称"), QStringLiteral("联系人"),
        QStringLiteral("地  址"), QStringLiteral("备  注")});
    m_combo->setCurrentIndex(1);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_disabled->setObjectName(QStringLiteral("CheckBox1"));
    auto* find = new QToolButton(this);
    find->setObjectName(QStringLiteral("SpeedButton1"));
    find->setText(QStringLiteral("查询"));
    connect(find, &QToolButton::clicked, this, &TfrmCltMan::search);
    connect(m_edit, &QLineEdit::returnPressed, this, &TfrmCltMan::search);
    connect(m_combo, &QComboBox::currentIndexChanged, m_edit, &QLineEdit::clear);
    connect(m_disabled, &QCheckBox::toggled, this, &TfrmCltMan::search);
    auto* searchBar = new QHBoxLayout;
    searchBar->addWidget(new QLabel(QStringLiteral("查询类型："), this));
    searchBar->addWidget(m_combo);
    searchBar->addWidget(new QLabel(QStringLiteral("查询内容："), this));
    searchBar->addWidget(m_edit, 1);
    searchBar->addWidget(find);
    searchBar->addWidget(m_disabled);

    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setRowSelect(true);
    m_grid->setSortPairing(DataGrid::UpIsAscending);
    m_grid->setRowColorHook([this](int row, QColor& text, QColor& background) {
        if (m_grid->value(row, QStringLiteral("F_UseFlag")).toInt() != 0) {
            text = Qt::red;
            background = palette().color(QPalette::Button);
        }
    });
    connect(m_grid->view(), &QTableView::doubleClicked, this, &TfrmCltMan::tbEditClick);
    connect(m_grid, &DataGrid::currentRowChanged, this, [this] { updateNavigation(); });
    m_count->setObjectName(QStringLiteral("lblCount"));

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(searchBar);
    rightLayout->addWidget(m_grid, 1);
    auto* split = new QSplitter(this);
    split->addWidget(leftPanel);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 760});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(bar);
    layout->addWidget(split, 1);
    layout->addWidget(m_count);
    resize(960, 560);
}

void TfrmCltMan::setKind(int kind)
{
    const bool first = m_kind < 0;
    m_kind = kind == PartnerService::Client ? PartnerService::Client : PartnerService::Supplier;
    setWindowTitle(
        m_kind == PartnerService::Client ? QStringLiteral("客户资料管理") : QStringLiteral("供应商资料管理"));
    // The layout of the kind's grid key (the pop-up menu saves under it too).
    m_grid->setColumns(GridRecords::designedColumns(gridKey(m_kind)));
    GridServices::loadLayout(m_grid, gridKey(m_kind));
    if (const int c = m_grid->columnOf(QStringLiteral("F_BegPrice")); c >= 0)
        m_grid->setColumnDisplayFormat(c, SysOptions::current().amountFormat());
    delete m_menu;
    m_menu = GridServices::installGridMenu(m_grid, gridKey(m_kind));
    // The left list keeps its rows when the kind switches; it is filled the
    // first time and whenever the kind of list changes.
    if (first)
        fillLeftList();
    else
        search();
}

void TfrmCltMan::fillLeftList()
{
    const int listKind = m_leftKind->currentIndex() == 1 ? PartnerLeftFilter::Type : PartnerLeftFilter::Salesman;
    m_reactToLeft = false;
    m_left->setRowCount(0);
    const QStringList values = PartnerService::leftValues(m_kind, listKind);
    m_left->setRowCount(int(values.size()) + 1);
    m_left->setItem(0, 0, new QTableWidgetItem(QStringLiteral("0")));
    m_left->setItem(0, 1, new QTableWidgetItem(QStringLiteral("全部")));
    for (int i = 0; i < values.size(); ++i) {
        m_left->setItem(i + 1, 0, new QTableWidgetItem(QString::number(i + 1)));
        m_left->setItem(i + 1, 1, new QTableWidgetItem(values.at(i)));
    }
    m_left->setCurrentCell(0, 1);
    m_left->setHorizontalHeaderItem(1, new QTableWidgetItem(PartnerService::leftTitle(listKind)));
    search();
    m_reactToLeft = true;
}

PartnerLeftFilter TfrmCltMan::leftFilter() const
{
    PartnerLeftFilter f;
    f.listKind = m_left->horizontalHeaderItem(1) && m_left->horizontalHeaderItem(1)->text() == QStringLiteral("类  型")
        ? PartnerLeftFilter::Type
        : PartnerLeftFilter::Salesman;
    const int r = m_left->currentRow();
    if (r > 0 && m_left->item(r, 1))
        f.value = m_left->item(r, 1)->text();
    return f;
}

void TfrmCltMan::search()
{
    if (m_kind < 0)
        return;
    SqlParams p;
    const QString sql = PartnerService::listSql(
        m_kind, m_combo->currentIndex(), m_edit->text(), m_disabled->isChecked(), leftFilter(), p);
    m_grid->openQuery(sql, p);
    m_grid->fetchAll(); // the count is shown at once
    if (rowCount() > 0)
        setCurrentRow(0);
    updateNavigation();
    updateCount();
}

QString TfrmCltMan::countText() const
{
    return QStringLiteral("记录数：") + QString::number(m_grid->rowCount());
}

void TfrmCltMan::updateCount()
{
    m_count->setText(countText());
    emit countChanged(countText());
}

void TfrmCltMan::tbNewClick()
{
    TfrmCltEdit w(m_kind, TfrmCltEdit::NewFromList, this, this);
    DispFormPos(&w, 1);
    w.exec();
}

void TfrmCltMan::tbEditClick()
{
    if (rowCount() == 0 || currentRow() < 0) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), Messenger::Error);
        return;
    }
    TfrmCltEdit w(m_kind, TfrmCltEdit::Edit, this, this);
    DispFormPos(&w, 1);
    w.exec();
}

void TfrmCltMan::tbDelClick()
{
    const int row = currentRow();
    if (rowCount() == 0 || row < 0)
        return;
    const QSqlRecord r = recordAt(row);
    if (ShowMess(
            PartnerService::deleteQuestion(m_kind, r.value(QStringLiteral("F_Name")).toString()), Messenger::Question)
        != Messenger::Yes)
        return;
    if (!PartnerService::remove(r.value(QStringLiteral("F_ID")).toLongLong()))
        return;
    search();
    setCurrentRow(qMin(row, rowCount() - 1));
}

void TfrmCltMan::saveLayout()
{
    GridServices::saveLayoutAsked(m_grid, gridKey(m_kind));
}

QString TfrmCltMan::templateName() const
{
    return m_kind == PartnerService::Client ? QStringLiteral("frcltMan") : QStringLiteral("frSupMan");
}

void TfrmCltMan::tbPrintClick()
{
    if (rowCount() > 0)
        PrintServices::reportPrint(
            templateName(), GridRecords::dataSet(m_grid), PrintServices::dataModuleValueSource());
}

void TfrmCltMan::tbSetClick()
{
    PrintServices::reportDesign(templateName(), GridRecords::dataSet(m_grid), PrintServices::dataModuleValueSource());
}

void TfrmCltMan::tbExportClick()
{
    if (rowCount() > 0)
        GridServices::exportGrid(m_grid,
            m_kind == PartnerService::Client ? QStringLiteral("客户资料列表") : QStringLiteral("供应商资料列表"), 1,
            this);
}

void TfrmCltMan::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
