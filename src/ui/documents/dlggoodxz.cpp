#include "dlggoodxz.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datagrid.h"
#include "data/datamodule.h"
#include "data/gridlayout.h"
#include "data/gridmodel.h"
#include "data/gridservices.h"
#include "documents/entrykinds.h"
#include "documents/entrylinefields.h"
#include "documents/entrystocktable.h"
#include "documents/numbering.h"
#include "entryhooks.h"
#include "goodpickertarget.h"
#include "masterdata/categorytree.h"
#include "masterdata/goodsservice.h"
#include "masterdata/likepattern.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TDlgGoodXz::TDlgGoodXz(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TDlgGoodXz"));
    setWindowTitle(QStringLiteral("货品选择"));
    buildUi();
}

TDlgGoodXz::~TDlgGoodXz() = default;

void TDlgGoodXz::buildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);

    auto* top = new QHBoxLayout;
    edtCode = new QLineEdit(this);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    edtSpec = new QLineEdit(this);
    edtSpec->setObjectName(QStringLiteral("edtSpec"));
    m_btnQuery = new QPushButton(QStringLiteral("查询"), this);
    m_btnQuery->setObjectName(QStringLiteral("btnQuery"));
    m_btnQuery->setAutoDefault(false);
    m_btnTree = new QToolButton(this);
    m_btnTree->setObjectName(QStringLiteral("btnTree"));
    m_btnTree->setText(QStringLiteral("<<"));
    top->addWidget(new QLabel(QStringLiteral("货品编码："), this));
    top->addWidget(edtCode);
    top->addWidget(new QLabel(QStringLiteral("货品名称："), this));
    top->addWidget(edtName);
    top->addWidget(new QLabel(QStringLiteral("货品规格："), this));
    top->addWidget(edtSpec);
    top->addWidget(m_btnQuery);
    top->addStretch(1);
    top->addWidget(m_btnTree);
    root->addLayout(top);

    auto* split = new QSplitter(Qt::Horizontal, this);
    tvTree = new QTreeWidget(split);
    tvTree->setObjectName(QStringLiteral("tvTree"));
    tvTree->setHeaderHidden(true);
    auto* right = new QWidget(split);
    auto* rv = new QVBoxLayout(right);
    rv->setContentsMargins(0, 0, 0, 0);
    m_goodsGrid = new DataGrid(right);
    m_goodsGrid->setObjectName(QStringLiteral("DBGridEh1"));
    m_goodsGrid->setRowSelect(true);
    m_goodsGrid->setEditable(false);
    // The list is ordered by the database (the order survives a new query); the title only asks for it.
    m_goodsGrid->setSortOnTitleClick(false);
    m_goodsGrid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_goodsGrid->footerView()->hide();
    connect(m_goodsGrid, &DataGrid::currentRowChanged, this, [this] {
        refreshStock();
        placeSelectButton();
    });
    m_stockGrid = new DataGrid(right);
    m_stockGrid->setObjectName(QStringLiteral("DBGridEh2"));
    m_stockGrid->setRowSelect(true);
    m_stockGrid->setEditable(false);
    m_stockGrid->setSortOnTitleClick(false);
    m_stockGrid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stockGrid->setMaximumHeight(160 + m_stockGrid->footerView()->height());
    m_progress = new QProgressBar(right);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->hide();
    rv->addWidget(m_goodsGrid, 1);
    rv->addWidget(m_stockGrid);
    rv->addWidget(m_progress);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 620});
    root->addWidget(split, 1);

    auto* bottom = new QHBoxLayout;
    m_lblCount = new QLabel(countText(0), this);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_btnNewGood = new QPushButton(QStringLiteral("新增商品"), this);
    m_btnNewGood->setObjectName(QStringLiteral("btnNewGood"));
    m_btnOk = new QPushButton(QStringLiteral("确定"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnClose = new QPushButton(QStringLiteral("关闭"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton* b : {m_btnNewGood, m_btnOk, m_btnClose})
        b->setAutoDefault(false);
    bottom->addWidget(m_lblCount);
    bottom->addStretch(1);
    bottom->addWidget(m_btnNewGood);
    bottom->addWidget(m_btnOk);
    bottom->addWidget(m_btnClose);
    root->addLayout(bottom);

    // The floating choice button over the current row.
    m_btnSelect = new QPushButton(QStringLiteral("选择(F2)"), goodsView()->viewport());
    m_btnSelect->setObjectName(QStringLiteral("btnSelect"));
    m_btnSelect->setAutoDefault(false);
    m_btnSelect->hide();

    m_listMenu = new QMenu(this);
    m_listMenu->addAction(
        QStringLiteral("显示字段列表"), this, [this] { GridServices::chooseColumns(m_goodsGrid, this); });
    m_listMenu->addAction(QStringLiteral("保存当前设置"), this, &TDlgGoodXz::saveLayout);
    goodsView()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(goodsView(), &QWidget::customContextMenuRequested, this,
        [this](const QPoint& p) { m_listMenu->popup(goodsView()->viewport()->mapToGlobal(p)); });

    connect(edtCode, &QLineEdit::textChanged, this, &TDlgGoodXz::queryGoods);
    connect(edtName, &QLineEdit::textChanged, this, &TDlgGoodXz::queryGoods);
    connect(edtSpec, &QLineEdit::textChanged, this, &TDlgGoodXz::queryGoods);
    connect(m_btnQuery, &QPushButton::clicked, this, &TDlgGoodXz::queryGoods);
    connect(tvTree, &QTreeWidget::itemDoubleClicked, this, &TDlgGoodXz::queryGoods);
    connect(tvTree, &QTreeWidget::currentItemChanged, this, [this] { queryGoods(); });
    connect(m_btnTree, &QToolButton::clicked, this, [this] {
        tvTree->setVisible(!tvTree->isVisible());
        m_btnTree->setText(tvTree->isVisible() ? QStringLiteral("<<") : QStringLiteral(">>"));
    });
    connect(goodsView(), &QAbstractItemView::doubleClicked, this, &TDlgGoodXz::choose);
    connect(m_btnSelect, &QPushButton::clicked, this, &TDlgGoodXz::choose);
    connect(m_btnOk, &QPushButton::clicked, this, [this] {
        choose();
        accept();
    });
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnNewGood, &QPushButton::clicked, this, &TDlgGoodXz::newGood);
    connect(m_goodsGrid, &DataGrid::titleClicked, this, &TDlgGoodXz::sortByColumn);
    goodsView()->viewport()->installEventFilter(this);
    resize(860, 560);
}

QString TDlgGoodXz::countText(int n)
{
    return QStringLiteral("当前货品数量： ") + QString::number(n) + QStringLiteral(" 个");
}

void TDlgGoodXz::prepare()
{
    QSqlQuery q(dm().db());
    Sql::exec(q, QStringLiteral("delete from tempCode"));
    m_stockBuilt = false;
    if (!m_showSettingsDone)
        applyShowSettings();
}

int TDlgGoodXz::start()
{
    prepare();
    return exec();
}

void TDlgGoodXz::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_showSettingsDone)
        applyShowSettings();
}

void TDlgGoodXz::applyShowSettings()
{
    m_showSettingsDone = true;
    // The list selects the goods fields by its columns: a stored field the goods
    // table does not have is left out.
    const QList<GridColumnDef> designed = EntryLineFields::gridColumns(EntryLineFields::pickerColumns());
    QList<GridColumnDef> stored;
    const GridLayout::LoadResult r = GridLayout::load(EntryKinds::pickerGridKey(), stored);
    m_goodsGrid->setColumns(
        r == GridLayout::LoadResult::NoRows ? designed : EntryLineFields::layoutOver(designed, stored));
    GridServices::applyUserFields(m_goodsGrid);
    // Without the price right the price columns are not selected at all.
    GridServices::formatGrid(m_goodsGrid, 6, 1);
    QStringList fields;
    for (const GridColumnDef& c : m_goodsGrid->columns())
        fields << c.fieldName;
    m_fieldOrder = fields.join(QLatin1Char(','));
    m_btnNewGood->setEnabled(bool(EntryHooks::goodsEditor()));
    loadTree();
}

void TDlgGoodXz::loadTree()
{
    m_tree = std::make_unique<CategoryTree>(QStringLiteral("商品类别"));
    m_tree->load(CategoryTree::treeName());
    const QSignalBlocker block(tvTree);
    tvTree->clear();
    QHash<int, QTreeWidgetItem*> items;
    for (int i = 0; i < m_tree->size(); ++i) {
        const CategoryNode& n = m_tree->node(i);
        if (n.removed)
            continue;
        QTreeWidgetItem* parent = n.parent >= 0 ? items.value(n.parent) : nullptr;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvTree);
        item->setText(0, n.name);
        item->setData(0, Qt::UserRole, i);
        items.insert(i, item);
    }
    if (QTreeWidgetItem* root = items.value(0))
        root->setExpanded(true);
    tvTree->setCurrentItem(nullptr);
    tvTree->setFocus();
}

void TDlgGoodXz::selectTreeNode(int categoryIndex)
{
    std::function<QTreeWidgetItem*(QTreeWidgetItem*)> find = [&](QTreeWidgetItem* it) -> QTreeWidgetItem* {
        if (it->data(0, Qt::UserRole).toInt() == categoryIndex)
            return it;
        for (int i = 0; i < it->childCount(); ++i)
            if (QTreeWidgetItem* f = find(it->child(i)))
                return f;
        return nullptr;
    };
    for (int i = 0; i < tvTree->topLevelItemCount(); ++i)
        if (QTreeWidgetItem* f = find(tvTree->topLevelItem(i))) {
            tvTree->setCurrentItem(f); // runs the query
            return;
        }
}

bool TDlgGoodXz::buildStockTable()
{
    // A new opening starts from an empty stock table; goods are added as they are shown.
    m_progress->setRange(0, 2);
    m_progress->setValue(0);
    m_progress->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    EntryStockTable table(dm().connection());
    const bool ok = table.clear();
    m_filled.clear();
    m_progress->setValue(1);
    QApplication::restoreOverrideCursor();
    m_progress->hide();
    if (!ok)
        ShowMess(table.errorString(), Messenger::Error);
    return ok;
}

QString TDlgGoodXz::goodsSql(QString* countSql, QVariantMap& p) const
{
    QString where
        = QStringLiteral("from t_goods where not(F_code in (select F_code from tempCode)) and COALESCE(F_flag,0) = 0 ");
    if (!edtCode->text().isEmpty()) {
        where += QStringLiteral("And COALESCE(f_code,'') Like :fCode") + LikePattern::escapeClause();
        p.insert(QStringLiteral("fCode"), LikePattern::prefix(edtCode->text()));
    }
    if (!edtName->text().trimmed().isEmpty()) {
        where += QStringLiteral("And COALESCE(f_name,'') Like :fName") + LikePattern::escapeClause();
        p.insert(QStringLiteral("fName"), LikePattern::contains(edtName->text()));
    }
    if (!edtSpec->text().trimmed().isEmpty()) {
        where += QStringLiteral("And COALESCE(f_spec,'') Like :fSpec") + LikePattern::escapeClause();
        p.insert(QStringLiteral("fSpec"), LikePattern::contains(edtSpec->text().trimmed()));
    }
    const int node = tvTree->currentItem() ? tvTree->currentItem()->data(0, Qt::UserRole).toInt() : 0;
    if (node > 0 && m_tree)
        where += GoodsService::categoryClause(QStringLiteral("F_type"), m_tree->node(node).path, p);
    if (countSql)
        *countSql = QStringLiteral("select count(*) ") + where;
    QString order = QStringLiteral("F_code");
    if (!m_sortField.isEmpty())
        order = m_sortField + (m_sortDesc ? QStringLiteral(" desc") : QStringLiteral(" asc"))
            + QStringLiteral(", F_code");
    return QStringLiteral("select ") + m_fieldOrder + QLatin1Char(' ') + where + QStringLiteral("order by ") + order;
}

void TDlgGoodXz::queryGoods()
{
    if (!tvTree->currentItem())
        return;
    if (!m_stockBuilt) {
        m_stockBuilt = true;
        QSqlQuery q(dm().db());
        Sql::exec(q, QStringLiteral("delete from tempCode"));
        buildStockTable();
    }
    QVariantMap p;
    QString countSql;
    const QString sql = goodsSql(&countSql, p);
    // Widths the operator dragged survive the new query.
    m_goodsGrid->setColumns(m_goodsGrid->columns());
    if (!m_goodsGrid->openQuery(sql, p))
        return; // reported by the grid
    const int sortColumn = m_sortField.isEmpty() ? -1 : m_goodsGrid->columnOf(m_sortField);
    if (sortColumn >= 0)
        m_goodsGrid->setSortMarker(sortColumn, m_sortDesc ? DataGrid::DownMarker : DataGrid::UpMarker);
    m_count = int(dm().GetSqlInt(countSql, p));
    m_lblCount->setText(countText(m_count));
    refreshStock();
    placeSelectButton();
}

GridModel* TDlgGoodXz::goodsModel() const
{
    return m_goodsGrid->model();
}

GridModel* TDlgGoodXz::stockModel() const
{
    return m_stockGrid->model();
}

QTableView* TDlgGoodXz::goodsView() const
{
    return m_goodsGrid->view();
}

QTableView* TDlgGoodXz::stockView() const
{
    return m_stockGrid->view();
}

QString TDlgGoodXz::currentGoodsCode() const
{
    if (m_goodsGrid->currentRow() < 0)
        return QString();
    return m_goodsGrid->fieldValue(QStringLiteral("F_code")).toString();
}

bool TDlgGoodXz::setCurrentGoodsCode(const QString& code)
{
    GridModel* m = m_goodsGrid->model();
    if (m->fieldIndex(QStringLiteral("F_code")) < 0)
        return false;
    for (int row = 0;; ++row) {
        while (row >= m->rowCount() && !m->allFetched())
            m->fetchRows(256);
        if (row >= m->rowCount())
            return false;
        if (m->value(row, QStringLiteral("F_code")).toString() == code) {
            m_goodsGrid->setCurrentRow(row);
            refreshStock();
            placeSelectButton();
            return true;
        }
    }
}

void TDlgGoodXz::refreshStock()
{
    const Session& s = Session::current();
    const QString code = currentGoodsCode();
    if (!code.isEmpty() && !m_filled.contains(code)) {
        EntryStockTable table(dm().connection());
        if (!table.fill(code, SysOptions::current().costingMode))
            ShowMess(table.errorString(), Messenger::Error); // the grid shows what the table holds
        m_filled.insert(code);
    }
    QVariantMap p = s.depotParams();
    p.insert(QStringLiteral("F_code"), code);
    QString sql = QStringLiteral("select F_dept,F_amount,F_price,F_totalPrice from tempGood where F_code = :F_code ");
    if (s.restricted())
        sql += QStringLiteral("and ((F_dept in (:sessionDepots))Or(F_dept = '')or(F_dept is Null)) ");
    sql += QStringLiteral("order by F_dept");
    auto column = [](const char* field, const char* caption, int width) {
        GridColumnDef c;
        c.fieldName = QLatin1String(field);
        c.caption = QString::fromUtf8(caption);
        c.width = width;
        return c;
    };
    QList<GridColumnDef> cols {column("F_dept", "仓    库", 100), column("F_amount", "当前库存", 80),
        column("F_price", "平均单价", 80), column("F_totalPrice", "库存金额", 90)};
    cols[0].footerType = GridColumnDef::FooterText;
    cols[0].footerValue = QStringLiteral("合  计");
    cols[1].footerType = GridColumnDef::FooterSum;
    cols[3].footerType = GridColumnDef::FooterSum;
    m_stockGrid->setColumns(cols);
    // Quantity, price and amount formats; the value columns hidden without the price right.
    GridServices::formatGrid(m_stockGrid, 1, 3);
    if (!m_stockGrid->openQuery(sql, p))
        return;
    m_stockGrid->fetchAll();
}

QString TDlgGoodXz::stockFooterText(int column) const
{
    return m_stockGrid->footerText(column);
}

void TDlgGoodXz::markChosen(const QString& code)
{
    dm().ExecSql(QStringLiteral("insert into tempCode(F_code) values(:code)"), {{QStringLiteral("code"), code}});
}

void TDlgGoodXz::choose()
{
    const int cur = m_goodsGrid->currentRow();
    if (cur < 0 || m_goodsGrid->rowCount() == 0 || !m_target)
        return;
    const QString code = currentGoodsCode();
    if (m_mode == 121 || m_mode == 131) {
        QSqlQuery q(dm().db());
        if (dm().OpenQry(
                q, QStringLiteral("select * from t_goods where F_code = :code"), {{QStringLiteral("code"), code}})
            && q.next())
            m_target->setPickedProduct(q.record());
        accept();
        return;
    }
    if (!m_target->addPickedGood(code))
        return;
    if (m_mode == 12 || m_mode == 13) {
        for (const DocumentLine& l : m_target->pickerDocument().lines)
            if (!l.goodCode.trimmed().isEmpty())
                markChosen(l.goodCode);
    } else {
        markChosen(code);
    }
    // The chosen good leaves the list; the cursor stands on the one that followed it.
    GridModel* m = m_goodsGrid->model();
    const int next = cur + 1;
    while (next >= m->rowCount() && !m->allFetched())
        m->fetchRows(256);
    const QString remembered = next < m->rowCount() ? m->value(next, QStringLiteral("F_code")).toString() : QString();
    queryGoods();
    if (!remembered.isEmpty())
        setCurrentGoodsCode(remembered);
}

void TDlgGoodXz::newGood()
{
    const auto& hook = EntryHooks::goodsEditor();
    if (!hook)
        return;
    QString code;
    if (SysOptions::current().autoGoodsCode)
        code = Numbering::GetNextSeqCode(QStringLiteral("select max(F_code) from t_goods"), 6);
    hook(this, code);
}

void TDlgGoodXz::sortByColumn(int column)
{
    if (column < 0 || column >= m_goodsGrid->columnCount())
        return;
    const QString field = m_goodsGrid->column(column).fieldName;
    if (field.contains(QLatin1String("mem"), Qt::CaseInsensitive))
        return;
    if (m_sortField.compare(field, Qt::CaseInsensitive) != 0) {
        m_sortField = field;
        m_sortDesc = false;
    } else {
        m_sortDesc = !m_sortDesc;
    }
    const QString keep = currentGoodsCode();
    queryGoods();
    if (!keep.isEmpty())
        setCurrentGoodsCode(keep);
}

void TDlgGoodXz::saveLayout()
{
    GridServices::saveLayoutAsked(m_goodsGrid, EntryKinds::pickerGridKey());
}

void TDlgGoodXz::placeSelectButton()
{
    QTableView* view = goodsView();
    const QModelIndex cur = view->currentIndex();
    if (!cur.isValid()) {
        m_btnSelect->hide();
        return;
    }
    const QRect row = view->visualRect(view->model()->index(cur.row(), 0));
    const int w = view->viewport()->width();
    const int bw = qMax(72, w / 3);
    m_btnSelect->setGeometry(w - bw, row.top(), bw, qMax(row.height(), m_btnSelect->sizeHint().height() - 4));
    m_btnSelect->setVisible(row.isValid() && row.bottom() >= 0 && row.top() < view->viewport()->height());
}

bool TDlgGoodXz::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == goodsView()->viewport() && (event->type() == QEvent::Paint || event->type() == QEvent::Resize))
        QMetaObject::invokeMethod(this, &TDlgGoodXz::placeSelectButton, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

void TDlgGoodXz::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F2) {
        if (m_btnSelect->isVisible())
            m_btnSelect->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
