#include "dlggoodxz.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/gridformat.h"
#include "documents/entrykinds.h"
#include "documents/entrylayout.h"
#include "documents/entrystocktable.h"
#include "documents/numbering.h"
#include "entrycolumnchooser.h"
#include "entryformatdelegate.h"
#include "entrygridfooter.h"
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
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
bool pickerIsNumberField(const QString& f)
{
    const QString l = f.toLower();
    return l == QLatin1String("f_enterprice") || l == QLatin1String("f_saleprice")
        || l.startsWith(QLatin1String("f_sz"));
}
} // namespace

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
    m_goodsView = new QTableView(right);
    m_goodsView->setObjectName(QStringLiteral("DBGridEh1"));
    m_goodsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_goodsView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_goodsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_goodsView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_goods = new QSqlQueryModel(this);
    m_goodsView->setModel(m_goods);
    connect(m_goodsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        refreshStock();
        placeSelectButton();
    });
    m_goodsView->setItemDelegate(new EntryFormatDelegate(
        [this](const QModelIndex& i, const QVariant& v) { return formatGoodsValue(i.column(), v); }, m_goodsView));
    m_stockView = new QTableView(right);
    m_stockView->setObjectName(QStringLiteral("DBGridEh2"));
    m_stockView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stockView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_stock = new QSqlQueryModel(this);
    m_stockView->setModel(m_stock);
    m_stockView->setItemDelegate(new EntryFormatDelegate(
        [this](const QModelIndex& i, const QVariant& v) { return formatStockValue(i.column(), v); }, m_stockView));
    m_stockView->setMaximumHeight(160);
    m_stockView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_stockFooter = new EntryGridFooter(m_stockView, right);
    m_progress = new QProgressBar(right);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->hide();
    rv->addWidget(m_goodsView, 1);
    rv->addWidget(m_stockView);
    rv->addWidget(m_stockFooter);
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
    m_btnSelect = new QPushButton(QStringLiteral("选择(F2)"), m_goodsView->viewport());
    m_btnSelect->setObjectName(QStringLiteral("btnSelect"));
    m_btnSelect->setAutoDefault(false);
    m_btnSelect->hide();

    m_listMenu = new QMenu(this);
    m_listMenu->addAction(
        QStringLiteral("显示字段列表"), this, [this] { EntryColumnChooser::run(this, m_goodsView, m_columns); });
    m_listMenu->addAction(QStringLiteral("保存当前设置"), this, &TDlgGoodXz::saveLayout);
    m_goodsView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_goodsView, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& p) { m_listMenu->popup(m_goodsView->viewport()->mapToGlobal(p)); });

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
    connect(m_goodsView, &QAbstractItemView::doubleClicked, this, &TDlgGoodXz::choose);
    connect(m_btnSelect, &QPushButton::clicked, this, &TDlgGoodXz::choose);
    connect(m_btnOk, &QPushButton::clicked, this, [this] {
        choose();
        accept();
    });
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnNewGood, &QPushButton::clicked, this, &TDlgGoodXz::newGood);
    connect(m_goodsView->horizontalHeader(), &QHeaderView::sectionClicked, this, &TDlgGoodXz::sortByColumn);
    m_goodsView->viewport()->installEventFilter(this);
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
    const Session& s = Session::current();
    QList<EntryLineColumn>& cols = m_columns;
    EntryLayout::load(EntryKinds::pickerGridKey(), EntryLineFields::pickerColumns(), cols);
    static const QStringList user {QStringLiteral("f_zf1"), QStringLiteral("f_zf2"), QStringLiteral("f_zf3"),
        QStringLiteral("f_zf4"), QStringLiteral("f_zf5"), QStringLiteral("f_sz1"), QStringLiteral("f_sz2"),
        QStringLiteral("f_sz3"), QStringLiteral("f_rq1"), QStringLiteral("f_rq2"), QStringLiteral("f_rq3")};
    const bool seesPrices = s.rPrice || s.isAdmin();
    QStringList fields;
    for (EntryLineColumn& c : cols) {
        const int u = int(user.indexOf(c.field.toLower()));
        if (u >= 0) {
            if (!s.zfCaptions[u].isEmpty())
                c.caption = s.zfCaptions[u];
            c.visible = s.zfShown[u];
        }
        fields << c.field;
    }
    // Without the price right the price columns are not selected at all.
    if (!seesPrices) {
        for (int i = int(cols.size()) - 1; i >= 0; --i) {
            const QString f = cols.at(i).field.toLower();
            if (f == QLatin1String("f_enterprice") || f == QLatin1String("f_saleprice")) {
                cols.removeAt(i);
                fields.removeAt(i);
            }
        }
    }
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
    const QList<EntryLineColumn>& cols = m_columns;
    if (m_sortColumn >= 0 && m_sortColumn < cols.size())
        order = cols.at(m_sortColumn).field + (m_sortDesc ? QStringLiteral(" desc") : QStringLiteral(" asc"))
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
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, sql, p))
        return; // the list stays as it was
    m_goods->setQuery(std::move(q));
    const QList<EntryLineColumn>& cols = m_columns;
    for (int i = 0; i < cols.size() && i < m_goods->columnCount(); ++i) {
        m_goods->setHeaderData(i, Qt::Horizontal, cols.at(i).caption);
        m_goodsView->setColumnWidth(i, cols.at(i).width);
        m_goodsView->setColumnHidden(i, !cols.at(i).visible);
    }
    m_count = int(dm().GetSqlInt(countSql, p));
    m_lblCount->setText(countText(m_count));
    if (m_goods->rowCount() > 0)
        m_goodsView->setCurrentIndex(m_goods->index(0, 0));
    refreshStock();
    placeSelectButton();
}

QString TDlgGoodXz::currentGoodsCode() const
{
    const QModelIndex i = m_goodsView->currentIndex();
    if (!i.isValid())
        return QString();
    return m_goods->record(i.row()).value(QStringLiteral("F_code")).toString();
}

bool TDlgGoodXz::setCurrentGoodsCode(const QString& code)
{
    const int col = m_goods->record().indexOf(QStringLiteral("F_code"));
    if (col < 0)
        return false;
    for (int row = 0;; ++row) {
        while (row >= m_goods->rowCount() && m_goods->canFetchMore())
            m_goods->fetchMore();
        if (row >= m_goods->rowCount())
            return false;
        if (m_goods->index(row, col).data().toString() == code) {
            m_goodsView->setCurrentIndex(m_goods->index(row, 0));
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
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, sql, p))
        return;
    m_stock->setQuery(std::move(q));
    while (m_stock->canFetchMore())
        m_stock->fetchMore();
    const char* captions[] = {"仓    库", "当前库存", "平均单价", "库存金额"};
    for (int i = 0; i < 4; ++i)
        m_stock->setHeaderData(i, Qt::Horizontal, QString::fromUtf8(captions[i]));
    const bool seesPrices = s.rPrice || s.isAdmin();
    m_stockView->setColumnHidden(2, !seesPrices);
    m_stockView->setColumnHidden(3, !seesPrices);
    double amount = 0, total = 0;
    for (int r = 0; r < m_stock->rowCount(); ++r) {
        amount += m_stock->index(r, 1).data().toDouble();
        total += m_stock->index(r, 3).data().toDouble();
    }
    const SysOptions& o = SysOptions::current();
    m_stockFooter->setTexts({QStringLiteral("合  计"), GridFormat::formatNumber(amount, o.quantityFormat()), QString(),
        GridFormat::formatNumber(total, o.amountFormat())});
}

QString TDlgGoodXz::stockFooterText(int column) const
{
    return m_stockFooter->text(column);
}

QString TDlgGoodXz::formatGoodsValue(int column, const QVariant& v) const
{
    const QList<EntryLineColumn>& cols = m_columns;
    if (column < 0 || column >= cols.size() || v.isNull())
        return v.isNull() ? QString() : v.toString();
    const QString f = cols.at(column).field;
    if (f.startsWith(QLatin1String("F_RQ"), Qt::CaseInsensitive)) {
        const QDate d = Dates::toDate(v);
        return d.isValid() && !Dates::isBlank(d) ? Dates::formatDate(d) : QString();
    }
    if (pickerIsNumberField(f)) {
        const QString fmt = f.startsWith(QLatin1String("F_SZ"), Qt::CaseInsensitive)
            ? QString()
            : SysOptions::current().amountFormat();
        return GridFormat::formatNumber(v.toDouble(), fmt);
    }
    return v.toString();
}

QString TDlgGoodXz::formatStockValue(int column, const QVariant& v) const
{
    const SysOptions& o = SysOptions::current();
    switch (column) {
    case 1:
        return GridFormat::formatNumber(v.toDouble(), o.quantityFormat());
    case 2:
        return GridFormat::formatNumber(v.toDouble(), o.priceFormat());
    case 3:
        return GridFormat::formatNumber(v.toDouble(), o.amountFormat());
    default:
        return v.toString();
    }
}

void TDlgGoodXz::markChosen(const QString& code)
{
    dm().ExecSql(QStringLiteral("insert into tempCode(F_code) values(:code)"), {{QStringLiteral("code"), code}});
}

void TDlgGoodXz::choose()
{
    const QModelIndex cur = m_goodsView->currentIndex();
    if (!cur.isValid() || m_goods->rowCount() == 0 || !m_target)
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
    const int next = cur.row() + 1;
    while (next >= m_goods->rowCount() && m_goods->canFetchMore())
        m_goods->fetchMore();
    const QString remembered
        = next < m_goods->rowCount() ? m_goods->record(next).value(QStringLiteral("F_code")).toString() : QString();
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
    const QList<EntryLineColumn>& cols = m_columns;
    if (column < 0 || column >= cols.size()
        || cols.at(column).field.contains(QLatin1String("mem"), Qt::CaseInsensitive))
        return;
    if (m_sortColumn != column) {
        m_sortColumn = column;
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
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), Messenger::Question) != Messenger::Yes)
        return;
    QList<EntryLineColumn> cols;
    const QList<EntryLineColumn>& mine = m_columns;
    const QHeaderView* h = m_goodsView->horizontalHeader();
    for (int v = 0; v < h->count() && v < mine.size(); ++v) {
        const int logical = h->logicalIndex(v);
        EntryLineColumn c = mine.at(logical);
        c.width = h->sectionSize(logical) > 0 ? h->sectionSize(logical) : c.width;
        c.visible = !h->isSectionHidden(logical);
        cols << c;
    }
    EntryLayout::save(EntryKinds::pickerGridKey(), cols);
}

void TDlgGoodXz::placeSelectButton()
{
    const QModelIndex cur = m_goodsView->currentIndex();
    if (!cur.isValid()) {
        m_btnSelect->hide();
        return;
    }
    const QRect row = m_goodsView->visualRect(m_goods->index(cur.row(), 0));
    const int w = m_goodsView->viewport()->width();
    const int bw = qMax(72, w / 3);
    m_btnSelect->setGeometry(w - bw, row.top(), bw, qMax(row.height(), m_btnSelect->sizeHint().height() - 4));
    m_btnSelect->setVisible(row.isValid() && row.bottom() >= 0 && row.top() < m_goodsView->viewport()->height());
}

bool TDlgGoodXz::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_goodsView->viewport() && (event->type() == QEvent::Paint || event->type() == QEvent::Resize))
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
