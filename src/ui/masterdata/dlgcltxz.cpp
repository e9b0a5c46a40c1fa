#include "dlgcltxz.h"

#include "app/dispformpos.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "frmcltedit.h"
#include "gridrecords.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

TDlgCltXz::TDlgCltXz(QWidget* parent)
    : QDialog(parent)
    , m_grid(new DataGrid(this))
    , m_left(new QTableWidget(this))
    , m_code(new QLineEdit(this))
    , m_name(new QLineEdit(this))
    , m_phone(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TDlgCltXz"));
    m_code->setObjectName(QStringLiteral("edtCode"));
    m_name->setObjectName(QStringLiteral("edtName"));
    m_phone->setObjectName(QStringLiteral("edtPhone"));
    for (QLineEdit* e : {m_code, m_name, m_phone})
        connect(e, &QLineEdit::textChanged, this, &TDlgCltXz::search);

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

    // The picker's designed columns: the list's without the bank fields.
    QList<GridColumnDef> cols = GridRecords::designedColumns(QStringLiteral("cltman"));
    cols.removeIf([](const GridColumnDef& c) {
        return c.fieldName == QLatin1String("F_Bank") || c.fieldName == QLatin1String("F_Account")
            || c.fieldName == QLatin1String("F_Ratecode") || c.fieldName == QLatin1String("F_Homepage")
            || c.fieldName == QLatin1String("F_Email") || c.fieldName == QLatin1String("F_Enrol");
    });
    for (GridColumnDef& c : cols)
        if (c.fieldName == QLatin1String("F_BegPrice"))
            c.displayFormat = SysOptions::current().amountFormat();
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumns(cols);
    m_grid->setRowSelect(true);
    connect(m_grid->view(), &QTableView::doubleClicked, this, &TDlgCltXz::choose);
    m_grid->view()->viewport()->installEventFilter(this);

    // "选择(F2)" floats over the current row.
    m_choose = new QPushButton(QStringLiteral("选择(F2)"), m_grid->view()->viewport());
    m_choose->setObjectName(QStringLiteral("btnChoose"));
    m_choose->setAutoDefault(false);
    m_choose->hide();
    connect(m_choose, &QPushButton::clicked, this, &TDlgCltXz::choose);
    connect(m_grid, &DataGrid::currentRowChanged, this, &TDlgCltXz::placeChooseButton);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(new QLabel(QStringLiteral("编    号："), this));
    boxes->addWidget(m_code);
    boxes->addWidget(new QLabel(QStringLiteral("名    称："), this));
    boxes->addWidget(m_name);
    boxes->addWidget(new QLabel(QStringLiteral("电    话："), this));
    boxes->addWidget(m_phone);
    auto* find = new QPushButton(QStringLiteral("查询"), this);
    find->setObjectName(QStringLiteral("btnSearch"));
    find->setAutoDefault(false);
    connect(find, &QPushButton::clicked, this, &TDlgCltXz::search);
    boxes->addWidget(find);

    auto* add = new QPushButton(QStringLiteral("新增单位"), this);
    add->setObjectName(QStringLiteral("btnAdd"));
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &TDlgCltXz::addPartner);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TDlgCltXz::choose);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* split = new QSplitter(this);
    split->addWidget(m_left);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 640});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(860, 480);
}

void TDlgCltXz::setKind(int kind)
{
    m_kind = kind == PartnerService::Client ? PartnerService::Client : PartnerService::Supplier;
    setWindowTitle(
        m_kind == PartnerService::Client ? QStringLiteral("客户资料选择") : QStringLiteral("供应商资料选择"));
    fillLeftList();
}

void TDlgCltXz::fillLeftList()
{
    m_reactToLeft = false;
    const QStringList values = PartnerService::leftValues(m_kind, PartnerLeftFilter::Salesman);
    m_left->setRowCount(int(values.size()) + 1);
    m_left->setItem(0, 0, new QTableWidgetItem(QStringLiteral("0")));
    m_left->setItem(0, 1, new QTableWidgetItem(QStringLiteral("全部")));
    for (int i = 0; i < values.size(); ++i) {
        m_left->setItem(i + 1, 0, new QTableWidgetItem(QString::number(i + 1)));
        m_left->setItem(i + 1, 1, new QTableWidgetItem(values.at(i)));
    }
    m_left->setCurrentCell(0, 1);
    search();
    m_reactToLeft = true;
}

void TDlgCltXz::search()
{
    PartnerLeftFilter left;
    const int r = m_left->currentRow();
    if (r > 0 && m_left->item(r, 1))
        left.value = m_left->item(r, 1)->text();
    SqlParams p;
    const QString sql = PartnerService::pickerSql(m_kind, m_code->text(), m_name->text(), m_phone->text(), left, p);
    m_grid->openQuery(sql, p);
    m_grid->fetchAll();
    if (rowCount() > 0)
        setCurrentRow(0);
    placeChooseButton();
}

void TDlgCltXz::placeChooseButton()
{
    const int r = currentRow();
    if (r < 0) {
        m_choose->hide();
        return;
    }
    // At the right end of the row, where it hides the least.
    const QRect rect = m_grid->view()->visualRect(m_grid->model()->index(r, 0));
    m_choose->adjustSize();
    m_choose->resize(m_choose->width(), rect.height() > 0 ? rect.height() : m_choose->height());
    m_choose->move(qMax(0, m_grid->view()->viewport()->width() - m_choose->width()), rect.top());
    m_choose->show();
}

void TDlgCltXz::choose()
{
    const int r = currentRow();
    if (rowCount() == 0 || r < 0)
        return;
    m_result = recordAt(r).value(QStringLiteral("F_Name")).toString();
    m_confirmed = true;
    accept();
}

void TDlgCltXz::addPartner()
{
    TfrmCltEdit w(m_kind, TfrmCltEdit::NewFromPicker, this, this);
    DispFormPos(&w, 1);
    w.exec();
}

QString TDlgCltXz::pick(const QString& text)
{
    m_confirmed = false;
    m_result.clear();
    exec();
    return m_confirmed ? m_result : text;
}

QString TDlgCltXz::pickPartner(QWidget* parent, int kind, const QString& text)
{
    TDlgCltXz dlg(parent);
    dlg.setKind(kind);
    DispFormPos(&dlg, 1);
    return dlg.pick(text);
}

bool TDlgCltXz::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->view()->viewport() && event->type() == QEvent::Resize)
        placeChooseButton();
    return QDialog::eventFilter(watched, event);
}

void TDlgCltXz::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F2 && m_choose->isVisible()) {
        choose();
        return;
    }
    QDialog::keyPressEvent(event);
}
