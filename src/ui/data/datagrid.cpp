#include "datagrid.h"

#include "app/messenger.h"
#include "data/datamodule.h"
#include "gridfootermodel.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Draws an always-visible "…" button at the right of the cells of one column and
// reports clicks on it.
class DgEllipsisDelegate : public QStyledItemDelegate
{
public:
    DgEllipsisDelegate(std::function<void(const QModelIndex&)> clicked, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_clicked(std::move(clicked))
    { }

    static QRect buttonRect(const QRect& cell)
    {
        return QRect(cell.right() - 17, cell.top() + 1, 17, cell.height() - 2);
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        o.rect.setRight(o.rect.right() - 18);
        QStyledItemDelegate::paint(p, o, index);
        QStyleOptionButton b;
        b.rect = buttonRect(option.rect);
        b.text = QStringLiteral("…");
        b.state = QStyle::State_Enabled | QStyle::State_Raised;
        QApplication::style()->drawControl(QStyle::CE_PushButton, &b, p);
    }

    bool editorEvent(
        QEvent* e, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index) override
    {
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton && buttonRect(option.rect).contains(me->position().toPoint())) {
                m_clicked(index);
                return true;
            }
        }
        return QStyledItemDelegate::editorEvent(e, model, option, index);
    }

private:
    std::function<void(const QModelIndex&)> m_clicked;
};
} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent)
    , m_model(new GridModel(this))
    , m_footerModel(new GridFooterModel(m_model, this))
    , m_view(new QTableView(this))
    , m_footer(new QTableView(this))
    , m_footerSpacer(new QWidget(this))
{
    m_view->setObjectName(QStringLiteral("gridView"));
    m_footer->setObjectName(QStringLiteral("gridFooter"));
    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current, const QModelIndex& previous) {
            if (current.row() != previous.row())
                emit currentRowChanged(current.isValid() ? current.row() : -1);
        });
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_view->horizontalHeader()->setSectionsMovable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setAlternatingRowColors(false);

    m_footer->setModel(m_footerModel);
    m_footer->horizontalHeader()->hide();
    m_footer->verticalHeader()->hide();
    m_footer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_footer->setFocusPolicy(Qt::NoFocus);
    m_footer->setSelectionMode(QAbstractItemView::NoSelection);
    m_footer->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int fh = m_view->verticalHeader()->defaultSectionSize();
    m_footer->verticalHeader()->setDefaultSectionSize(fh);
    m_footer->setFixedHeight(fh + 2 * m_footer->frameWidth());
    QPalette pal = m_footer->palette();
    pal.setColor(QPalette::Base, QColor(0, 255, 255));
    m_footer->setPalette(pal);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(m_view, 1);
    auto* footerRow = new QHBoxLayout;
    footerRow->setContentsMargins(0, 0, 0, 0);
    footerRow->setSpacing(0);
    footerRow->addWidget(m_footer, 1);
    footerRow->addWidget(m_footerSpacer);
    lay->addLayout(footerRow);
    m_footerSpacer->setFixedWidth(0);

    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer->horizontalScrollBar(),
        &QScrollBar::setValue);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int logical, int, int size) { m_footer->setColumnWidth(logical, size); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionMoved, this,
        [this] { QTimer::singleShot(0, this, &DataGrid::onSectionMoved); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        emit titleClicked(col);
        if (m_sortOnTitle)
            sortByTitle(col);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::applyViewColumns);
    connect(m_view->verticalScrollBar(), &QScrollBar::rangeChanged, this, &DataGrid::syncFooterWidths);
    m_view->verticalScrollBar()->installEventFilter(this);
    connect(m_model, &GridModel::fetchedAll, this, [this] {
        m_footer->viewport()->update();
        // A result that breaks off while being read is not shown as if it were complete.
        if (!m_model->errorString().isEmpty())
            ShowMess(DataModule::openFailText(), Messenger::Error);
    });
}

DataGrid::~DataGrid() = default;

bool DataGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->verticalScrollBar() && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        QTimer::singleShot(0, this, &DataGrid::syncFooterWidths);
    return QWidget::eventFilter(watched, event);
}

void DataGrid::syncFooterWidths()
{
    // The footer sits under the rows, not under the vertical scroll bar.
    const QScrollBar* sb = m_view->verticalScrollBar();
    m_footerSpacer->setFixedWidth(sb->isVisible() ? sb->width() : 0);
}

void DataGrid::applyViewColumns()
{
    m_applying = true;
    const auto& cols = m_model->columns();
    QHeaderView* h = m_view->horizontalHeader();
    for (int i = 0; i < cols.size(); ++i) {
        // Any earlier drag is already in the model's order.
        if (h->visualIndex(i) != i)
            h->moveSection(h->visualIndex(i), i);
    }
    for (int i = 0; i < cols.size(); ++i) {
        const GridColumnDef& c = cols.at(i);
        m_view->setColumnHidden(i, !c.visible);
        m_footer->setColumnHidden(i, !c.visible);
        const int w = c.width > 0 ? c.width : 80;
        m_view->setColumnWidth(i, w);
        m_footer->setColumnWidth(i, w);
    }
    const int ell = m_ellipsisField.isEmpty() ? -1 : m_model->columnOf(m_ellipsisField);
    for (int i = 0; i < cols.size(); ++i) {
        if (i != ell && m_view->itemDelegateForColumn(i))
            m_view->setItemDelegateForColumn(i, nullptr);
    }
    if (ell >= 0 && !m_view->itemDelegateForColumn(ell)) {
        m_view->setItemDelegateForColumn(ell,
            new DgEllipsisDelegate(
                [this](const QModelIndex& idx) {
                    const int c = idx.column();
                    if (c >= 0 && c < m_model->columns().size())
                        emit ellipsisClicked(idx.row(), m_model->columns().at(c).fieldName);
                },
                m_view));
    }
    // The marker belongs to a column; a new column set starts without one.
    h->setSortIndicatorShown(m_markerColumn >= 0 && m_markerColumn < cols.size());
    m_applying = false;
}

void DataGrid::onSectionMoved()
{
    if (m_applying)
        return;
    const QHeaderView* h = m_view->horizontalHeader();
    bool moved = false;
    for (int i = 0; i < h->count() && !moved; ++i)
        moved = h->visualIndex(i) != i;
    if (!moved)
        return;
    const QList<GridColumnDef> cols = columns();
    QString markerField = m_markerColumn >= 0 && m_markerColumn < m_model->columns().size()
        ? m_model->columns().at(m_markerColumn).fieldName
        : QString();
    const int cur = currentRow();
    m_model->setColumns(cols);
    m_markerColumn = markerField.isEmpty() ? -1 : m_model->columnOf(markerField);
    if (m_markerColumn >= 0)
        m_view->horizontalHeader()->setSortIndicator(
            m_markerColumn, m_marker == UpMarker ? Qt::DescendingOrder : Qt::AscendingOrder);
    setCurrentRow(cur);
}

void DataGrid::setColumns(const QList<GridColumnDef>& columns)
{
    m_markerColumn = -1;
    m_marker = NoMarker;
    m_model->setColumns(columns);
}

QList<GridColumnDef> DataGrid::columns() const
{
    const QHeaderView* h = m_view->horizontalHeader();
    const auto& cols = m_model->columns();
    QList<GridColumnDef> out;
    for (int v = 0; v < cols.size(); ++v) {
        const int logical = h->logicalIndex(v);
        if (logical < 0)
            continue;
        GridColumnDef c = cols.at(logical);
        if (c.visible && h->sectionSize(logical) > 0)
            c.width = h->sectionSize(logical);
        // The saved alignment is the one the grid shows.
        if (c.alignment == GridColumnDef::AlignDefault) {
            const Qt::Alignment a = m_model->alignment(logical);
            c.alignment = (a & Qt::AlignRight) ? GridColumnDef::AlignRight
                : (a & Qt::AlignHCenter)       ? GridColumnDef::AlignCenter
                                               : GridColumnDef::AlignLeft;
        }
        out << c;
    }
    return out;
}

int DataGrid::addColumn(const GridColumnDef& column)
{
    QList<GridColumnDef> cols = m_model->columns();
    cols << column;
    const int cur = currentRow();
    m_model->setColumns(cols);
    setCurrentRow(cur);
    return int(cols.size()) - 1;
}

void DataGrid::removeColumn(int column)
{
    QList<GridColumnDef> cols = m_model->columns();
    if (column < 0 || column >= cols.size())
        return;
    cols.removeAt(column);
    const int cur = currentRow();
    if (m_markerColumn == column)
        m_markerColumn = -1;
    else if (m_markerColumn > column)
        --m_markerColumn;
    m_model->setColumns(cols);
    setCurrentRow(cur);
}

int DataGrid::columnCount() const
{
    return int(m_model->columns().size());
}

int DataGrid::columnOf(const QString& fieldName) const
{
    return m_model->columnOf(fieldName);
}

GridColumnDef DataGrid::column(int column) const
{
    if (column < 0 || column >= m_model->columns().size())
        return {};
    GridColumnDef c = m_model->columns().at(column);
    const int w = m_view->horizontalHeader()->sectionSize(column);
    if (c.visible && w > 0)
        c.width = w;
    return c;
}

void DataGrid::setColumn(int col, const GridColumnDef& def)
{
    if (col < 0 || col >= columnCount())
        return;
    m_model->updateColumn(col, def);
    m_view->setColumnHidden(col, !def.visible);
    m_footer->setColumnHidden(col, !def.visible);
    if (def.width > 0) {
        m_view->setColumnWidth(col, def.width);
        m_footer->setColumnWidth(col, def.width);
    }
}

void DataGrid::setColumnVisible(int col, bool visible)
{
    GridColumnDef c = column(col);
    c.visible = visible;
    setColumn(col, c);
}

bool DataGrid::isColumnVisible(int col) const
{
    return col >= 0 && col < columnCount() && m_model->columns().at(col).visible;
}

void DataGrid::setColumnReadOnly(int col, bool readOnly)
{
    GridColumnDef c = column(col);
    c.readOnly = readOnly;
    setColumn(col, c);
}

void DataGrid::setColumnCaption(int col, const QString& caption)
{
    GridColumnDef c = column(col);
    c.caption = caption;
    setColumn(col, c);
}

void DataGrid::setColumnDisplayFormat(int col, const QString& format)
{
    GridColumnDef c = column(col);
    c.displayFormat = format;
    setColumn(col, c);
}

void DataGrid::setColumnFooter(int col, int footerType, const QString& value)
{
    GridColumnDef c = column(col);
    c.footerType = footerType;
    c.footerValue = value;
    setColumn(col, c);
}

bool DataGrid::openQuery(const QString& sql, const SqlParams& params)
{
    m_markerColumn = -1;
    m_marker = NoMarker;
    if (!m_model->openQuery(sql, params)) {
        ShowMess(DataModule::openFailText(), Messenger::Error);
        return false;
    }
    if (m_model->rowCount() > 0)
        setCurrentRow(0);
    // The rest of the rows come in the background, a batch per turn of the event loop,
    // so the first rows show at once and sums and counts are complete soon after.
    QPointer<DataGrid> self(this);
    auto step = std::make_shared<std::function<void()>>();
    *step = [self, step] {
        if (!self || self->m_model->allFetched())
            return;
        self->m_model->fetchRows(4096);
        if (!self->m_model->allFetched())
            QTimer::singleShot(0, self, *step);
    };
    if (!m_model->allFetched())
        QTimer::singleShot(0, this, *step);
    return true;
}

void DataGrid::setRows(const QStringList& fields, const QList<QVariantList>& rows)
{
    m_markerColumn = -1;
    m_marker = NoMarker;
    m_model->setRows(fields, rows);
}

void DataGrid::clear()
{
    m_model->clear();
}

bool DataGrid::isOpen() const
{
    return m_model->isOpen();
}

int DataGrid::rowCount() const
{
    return m_model->rowCount();
}

void DataGrid::fetchAll()
{
    m_model->fetchAll();
}

int DataGrid::appendRow(const QVariantList& values)
{
    const int r = m_model->appendRow(values);
    setCurrentRow(r);
    return r;
}

bool DataGrid::removeRow(int row)
{
    return m_model->removeRowAt(row);
}

int DataGrid::currentRow() const
{
    const QModelIndex i = m_view->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void DataGrid::setCurrentRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    int col = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : 0;
    while (col < columnCount() - 1 && m_view->isColumnHidden(col))
        ++col;
    m_view->setCurrentIndex(m_model->index(row, qMax(0, col)));
}

QVariant DataGrid::value(int row, const QString& fieldName) const
{
    return m_model->value(row, fieldName);
}

bool DataGrid::setValue(int row, const QString& fieldName, const QVariant& v)
{
    return m_model->setValue(row, fieldName, v);
}

QVariant DataGrid::fieldValue(const QString& fieldName) const
{
    return m_model->value(currentRow(), fieldName);
}

void DataGrid::setEditable(bool editable)
{
    m_model->setEditable(editable);
}

bool DataGrid::isEditable() const
{
    return m_model->editable();
}

void DataGrid::setRowSelect(bool wholeRows)
{
    m_view->setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DataGrid::setEllipsisField(const QString& fieldName)
{
    m_ellipsisField = fieldName;
    applyViewColumns();
}

void DataGrid::setRowColorHook(GridModel::RowColorHook hook)
{
    m_model->setRowColorHook(std::move(hook));
}

void DataGrid::sortByTitle(int column)
{
    if (!isOpen() || column < 0 || column >= columnCount())
        return;
    const Marker showing = m_markerColumn == column ? m_marker : NoMarker;
    const Marker next = showing == UpMarker ? DownMarker : UpMarker;
    m_markerColumn = column;
    m_marker = next;
    QHeaderView* h = m_view->horizontalHeader();
    h->setSortIndicatorShown(true);
    // Qt draws the up arrow for the descending indicator.
    h->setSortIndicator(column, next == UpMarker ? Qt::DescendingOrder : Qt::AscendingOrder);
    const QString field = m_model->columns().at(column).fieldName;
    if (field.toLower().contains(QLatin1String("mem")))
        return;
    const bool descending = (next == UpMarker) == (m_pairing == UpIsDescending);
    m_model->sortByField(field, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (m_model->rowCount() > 0)
        setCurrentRow(0);
}

void DataGrid::setSortMarker(int column, Marker marker)
{
    QHeaderView* h = m_view->horizontalHeader();
    if (marker == NoMarker || column < 0 || column >= columnCount()) {
        m_markerColumn = -1;
        m_marker = NoMarker;
        h->setSortIndicatorShown(false);
        return;
    }
    m_markerColumn = column;
    m_marker = marker;
    h->setSortIndicatorShown(true);
    h->setSortIndicator(column, marker == UpMarker ? Qt::DescendingOrder : Qt::AscendingOrder);
}

DataGrid::Marker DataGrid::sortMarker(int column) const
{
    return column == m_markerColumn ? m_marker : NoMarker;
}

double DataGrid::footerSum(int column)
{
    m_model->fetchAll();
    return m_footerModel->sum(column);
}

QString DataGrid::footerText(int column)
{
    m_model->fetchAll();
    return m_footerModel->text(column);
}

ExportTable DataGrid::exportTable()
{
    m_model->fetchAll();
    ExportTable t;
    QList<int> modelCols;
    const auto& cols = m_model->columns();
    for (int i = 0; i < cols.size(); ++i) {
        if (!cols.at(i).visible)
            continue;
        modelCols << i;
        t.columns << ExportTable::Column {cols.at(i).caption, cols.at(i).displayFormat, cols.at(i).alignment};
    }
    t.rowCount = m_model->rowCount();
    QPointer<GridModel> model(m_model);
    t.value = [model, modelCols](qsizetype row, int col) -> QVariant {
        return model ? model->cell(int(row), modelCols.at(col)) : QVariant();
    };
    return t;
}
