#include "frmgoodedit.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "dlgcodefuhaoxz.h"
#include "frmtreecodeman.h"
#include "masterdata/codelistservice.h"
#include "recordnavigator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
enum GoodEditColumn { ColDepot, ColAmount, ColPrice, ColTotal };
constexpr int GoodLineIdRole = Qt::UserRole + 1;

QDoubleSpinBox* goodEditNumber(QWidget* parent, const char* name, int decimals)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(-1e12, 1e12);
    s->setDecimals(decimals);
    s->setButtonSymbols(QAbstractSpinBox::NoButtons);
    s->setAlignment(Qt::AlignRight);
    return s;
}

QLineEdit* goodEditLine(QWidget* parent, const char* name, int maxLength = 255)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}
} // namespace

TFrmGoodEdit::TFrmGoodEdit(Mode mode, RecordNavigator* navigator, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_navigator(navigator)
{
    setObjectName(QStringLiteral("TFrmGoodEdit"));
    buildUi();
    applyRights();
    setCaption();
    m_continue->setVisible(mode == NewFromList);
    m_navBar->setVisible(mode == Edit);
    if (mode == Edit && m_navigator && m_navigator->currentRow() >= 0) {
        m_auto->setEnabled(false);
        moveTo(m_navigator->currentRow());
    } else {
        clearForNew();
    }
}

void TFrmGoodEdit::buildUi()
{
    const SysOptions& o = SysOptions::current();
    m_code = goodEditLine(this, "edtCode", 50);
    m_auto = new QCheckBox(QStringLiteral("自动"), this);
    m_auto->setObjectName(QStringLiteral("chkAuto"));
    connect(m_auto, &QCheckBox::toggled, this, &TFrmGoodEdit::autoToggled);
    m_name = goodEditLine(this, "edtName");
    m_type = goodEditLine(this, "edtType");
    m_type->setReadOnly(true);
    auto* typeButton = new QToolButton(this);
    typeButton->setObjectName(QStringLiteral("btnType"));
    typeButton->setText(QStringLiteral("..."));
    typeButton->setFocusPolicy(Qt::NoFocus);
    connect(typeButton, &QToolButton::clicked, this,
        [this] { m_type->setText(TFrmTreeCodeMan::pickCategory(this, m_type->text())); });
    m_spec = goodEditLine(this, "edtSpec");
    auto* specButton = new QToolButton(this);
    specButton->setObjectName(QStringLiteral("btnSpec"));
    specButton->setText(QStringLiteral("..."));
    specButton->setFocusPolicy(Qt::NoFocus);
    connect(specButton, &QToolButton::clicked, this, [this] {
        insertSymbol(TDlgCodeFuHaoXz::pickSymbol(this, CodeListService::symbolKind(), QStringLiteral("特殊符号")));
    });
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("cbbUnit"));
    m_unit->setEditable(true);
    m_unit->setInsertPolicy(QComboBox::NoInsert);
    m_unit->lineEdit()->setMaxLength(50);
    m_unit->installEventFilter(this);
    m_unit->lineEdit()->installEventFilter(this);
    m_barcode = goodEditLine(this, "edtBarcode", 50);
    m_enterPrice = goodEditNumber(this, "edtEnterPrice", o.iPrice);
    m_salePrice = goodEditNumber(this, "edtSalePrice", o.iPrice);
    m_deptUp = goodEditNumber(this, "edtDeptUp", o.iAmount);
    m_deptDown = goodEditNumber(this, "edtDeptDown", o.iAmount);
    m_depot = new QComboBox(this);
    m_depot->setObjectName(QStringLiteral("cbbDepot"));
    m_address = goodEditLine(this, "edtAddress");
    m_mem = new QPlainTextEdit(this);
    m_mem->setObjectName(QStringLiteral("memMem"));
    m_mem->setMaximumHeight(48);
    m_mem->setTabChangesFocus(true);
    m_flag = new QCheckBox(QStringLiteral("停用"), this);
    m_flag->setObjectName(QStringLiteral("chkFlag"));
    m_continue = new QCheckBox(QStringLiteral("连续新增"), this);
    m_continue->setObjectName(QStringLiteral("chkContinue"));
    m_continue->setChecked(true);

    auto* fields = new QGridLayout;
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    auto withButton = [this](QWidget* w, QWidget* b) {
        auto* box = new QWidget(this);
        auto* l = new QHBoxLayout(box);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(2);
        l->addWidget(w, 1);
        l->addWidget(b);
        return box;
    };
    fields->addWidget(label(QStringLiteral("货品编码：")), 0, 0);
    fields->addWidget(withButton(m_code, m_auto), 0, 1);
    fields->addWidget(label(QStringLiteral("货品名称：")), 0, 2);
    fields->addWidget(m_name, 0, 3);
    fields->addWidget(label(QStringLiteral("货品类型：")), 1, 0);
    fields->addWidget(withButton(m_type, typeButton), 1, 1);
    fields->addWidget(label(QStringLiteral("商品规格：")), 1, 2);
    fields->addWidget(withButton(m_spec, specButton), 1, 3);
    fields->addWidget(label(QStringLiteral("计量单位：")), 2, 0);
    fields->addWidget(m_unit, 2, 1);
    fields->addWidget(label(QStringLiteral("货品条码：")), 2, 2);
    fields->addWidget(m_barcode, 2, 3);
    m_priceLabels[0] = label(QStringLiteral("成 本 价："));
    m_priceLabels[1] = label(QStringLiteral("参考售价："));
    fields->addWidget(m_priceLabels[0], 3, 0);
    fields->addWidget(m_enterPrice, 3, 1);
    fields->addWidget(m_priceLabels[1], 3, 2);
    fields->addWidget(m_salePrice, 3, 3);
    fields->addWidget(label(QStringLiteral("库存上限：")), 4, 0);
    fields->addWidget(m_deptUp, 4, 1);
    fields->addWidget(label(QStringLiteral("库存下限：")), 4, 2);
    fields->addWidget(m_deptDown, 4, 3);
    fields->addWidget(label(QStringLiteral("默认仓库：")), 5, 0);
    fields->addWidget(m_depot, 5, 1);
    fields->addWidget(label(QStringLiteral("产    地：")), 5, 2);
    fields->addWidget(m_address, 5, 3);

    // User-defined fields, in KeyValue order: five texts, three numbers, three dates.
    int row = 6, col = 0;
    auto place = [&](QLabel* l, QWidget* w) {
        fields->addWidget(l, row, col);
        fields->addWidget(w, row, col + 1);
        col += 2;
        if (col == 4) {
            col = 0;
            ++row;
        }
    };
    for (int i = 0; i < 5; ++i) {
        m_zf[i] = goodEditLine(this, QStringLiteral("edtZF%1").arg(i + 1).toLatin1().constData());
        m_userLabels[i] = label(QString());
        place(m_userLabels[i], m_zf[i]);
    }
    for (int i = 0; i < 3; ++i) {
        m_sz[i] = goodEditNumber(this, QStringLiteral("edtSZ%1").arg(i + 1).toLatin1().constData(), 4);
        m_userLabels[5 + i] = label(QString());
        place(m_userLabels[5 + i], m_sz[i]);
    }
    for (int i = 0; i < 3; ++i) {
        m_rqOn[i] = new QCheckBox(this);
        m_rqOn[i]->setObjectName(QStringLiteral("chkRQ%1").arg(i + 1));
        m_rq[i] = new QDateEdit(this);
        m_rq[i]->setObjectName(QStringLiteral("edtRQ%1").arg(i + 1));
        m_rq[i]->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        m_rq[i]->setCalendarPopup(true);
        m_rq[i]->setEnabled(false);
        connect(m_rqOn[i], &QCheckBox::toggled, m_rq[i], &QDateEdit::setEnabled);
        m_userLabels[8 + i] = label(QString());
        place(m_userLabels[8 + i], withButton(m_rqOn[i], m_rq[i]));
    }
    if (col != 0)
        ++row;
    fields->addWidget(label(QStringLiteral("备    注：")), row, 0);
    fields->addWidget(m_mem, row, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumnCount(4);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("仓    库"), QStringLiteral("期初数量"), QStringLiteral("成本单价"), QStringLiteral("金额")});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setMinimumHeight(120);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_loadingGrid || (item->column() != ColAmount && item->column() != ColPrice))
            return;
        // Quantity × unit cost, whenever either changes.
        m_loadingGrid = true;
        const int r = item->row();
        const double total
            = m_grid->item(r, ColAmount)->text().toDouble() * m_grid->item(r, ColPrice)->text().toDouble();
        m_grid->item(r, ColTotal)->setText(QString::number(total, 'f', SysOptions::current().iTotal));
        m_loadingGrid = false;
        updateFooter();
    });
    m_footer = new QLabel(this);
    m_footer->setObjectName(QStringLiteral("lblFooter"));
    m_footer->setStyleSheet(QStringLiteral("background: #dcebff; padding: 2px;"));

    m_navBar = new QWidget(this);
    m_navBar->setObjectName(QStringLiteral("DBNavigator1"));
    auto* nav = new QHBoxLayout(m_navBar);
    nav->setContentsMargins(0, 0, 0, 0);
    const QPair<const char*, const char*> navButtons[]
        = {{"btnFirst", "首项"}, {"btnPrior", "前项"}, {"btnNext", "后项"}, {"btnLast", "末项"}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(navButtons[i].second), m_navBar);
        b->setObjectName(QString::fromLatin1(navButtons[i].first));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (!m_navigator || m_navigator->rowCount() == 0)
                return;
            const int cur = m_navigator->currentRow();
            const int target = i == 0 ? 0 : i == 1 ? cur - 1 : i == 2 ? cur + 1 : m_navigator->rowCount() - 1;
            moveTo(qBound(0, target, m_navigator->rowCount() - 1));
        });
        nav->addWidget(b);
    }

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &TFrmGoodEdit::btnOKClick);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_flag);
    buttons->addWidget(m_continue);
    buttons->addWidget(m_navBar);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(new QLabel(QStringLiteral("期初库存："), this));
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_footer);
    layout->addLayout(buttons);
    resize(720, 640);
}

void TFrmGoodEdit::applyRights()
{
    const Session& s = Session::current();
    m_ok->setEnabled(s.rHPedit || s.isAdmin());
    for (int i = 0; i < 11; ++i) {
        m_userLabels[i]->setText(s.zfCaptions[i] + QStringLiteral("："));
        m_userLabels[i]->setVisible(s.zfShown[i]);
    }
    for (int i = 0; i < 5; ++i)
        m_zf[i]->setVisible(s.zfShown[i]);
    for (int i = 0; i < 3; ++i)
        m_sz[i]->setVisible(s.zfShown[5 + i]);
    for (int i = 0; i < 3; ++i) {
        m_rqOn[i]->setVisible(s.zfShown[8 + i]);
        m_rq[i]->setVisible(s.zfShown[8 + i]);
    }
    const bool prices = s.rPrice || s.isAdmin();
    for (QWidget* w : {static_cast<QWidget*>(m_priceLabels[0]), static_cast<QWidget*>(m_priceLabels[1]),
             static_cast<QWidget*>(m_enterPrice), static_cast<QWidget*>(m_salePrice)})
        w->setVisible(prices);
    // Without the price right the opening stock's price and amount columns go.
    m_grid->setColumnHidden(ColPrice, !prices);
    m_grid->setColumnHidden(ColTotal, !prices);
    m_depot->clear();
    m_depot->addItems(CodeListService::permittedDepots());
}

void TFrmGoodEdit::setCaption()
{
    setWindowTitle(m_mode == Edit ? QStringLiteral("货品信息编辑 - 修改") : QStringLiteral("货品信息编辑 - 新增"));
}

void TFrmGoodEdit::loadOpeningGrid(const QString& code)
{
    QList<OpeningStockLine> lines;
    GoodsService::openingLines(code, lines);
    m_loadingGrid = true;
    m_grid->setRowCount(0);
    const SysOptions& o = SysOptions::current();
    for (const OpeningStockLine& l : lines) {
        const int r = m_grid->rowCount();
        m_grid->insertRow(r);
        auto* depot = new QTableWidgetItem(l.depot);
        depot->setFlags(depot->flags() & ~Qt::ItemIsEditable);
        depot->setData(GoodLineIdRole, l.id);
        m_grid->setItem(r, ColDepot, depot);
        auto* amount = new QTableWidgetItem(QString::number(l.amount, 'f', o.iAmount));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(r, ColAmount, amount);
        auto* price = new QTableWidgetItem(QString::number(l.price, 'f', o.iPrice));
        price->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(r, ColPrice, price);
        auto* total = new QTableWidgetItem(QString::number(l.total(), 'f', o.iTotal));
        total->setFlags(total->flags() & ~Qt::ItemIsEditable);
        total->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(r, ColTotal, total);
    }
    m_loadingGrid = false;
    updateFooter();
}

double TFrmGoodEdit::openingQuantity() const
{
    double sum = 0;
    for (int r = 0; r < m_grid->rowCount(); ++r)
        sum += m_grid->item(r, ColAmount)->text().toDouble();
    return sum;
}

double TFrmGoodEdit::openingAmount() const
{
    double sum = 0;
    for (int r = 0; r < m_grid->rowCount(); ++r)
        sum += m_grid->item(r, ColTotal)->text().toDouble();
    return sum;
}

void TFrmGoodEdit::updateFooter()
{
    const SysOptions& o = SysOptions::current();
    QString text = QStringLiteral("合    计    期初数量：") + QString::number(openingQuantity(), 'f', o.iAmount);
    if (!m_grid->isColumnHidden(ColTotal))
        text += QStringLiteral("    金额：") + QString::number(openingAmount(), 'f', o.iTotal);
    m_footer->setText(text);
}

QList<OpeningStockLine> TFrmGoodEdit::openingLines() const
{
    QList<OpeningStockLine> out;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        OpeningStockLine l;
        l.id = m_grid->item(r, ColDepot)->data(GoodLineIdRole).toLongLong();
        l.depot = m_grid->item(r, ColDepot)->text();
        l.amount = m_grid->item(r, ColAmount)->text().toDouble();
        l.price = m_grid->item(r, ColPrice)->text().toDouble();
        out << l;
    }
    return out;
}

GoodsRecord TFrmGoodEdit::record() const
{
    GoodsRecord g;
    g.id = m_mode == Edit ? m_id : 0;
    g.code = m_code->text();
    g.name = m_name->text();
    g.type = m_type->text();
    g.spec = m_spec->text();
    g.unit = m_unit->currentText();
    g.barcode = m_barcode->text();
    g.enterPrice = m_enterPrice->value();
    g.salePrice = m_salePrice->value();
    g.deptUp = m_deptUp->value();
    g.deptDown = m_deptDown->value();
    g.depot = m_depot->currentText();
    g.mem = m_mem->toPlainText();
    g.flag = m_flag->isChecked();
    g.address = m_address->text();
    for (int i = 0; i < 5; ++i)
        g.zf[i] = m_zf[i]->text();
    for (int i = 0; i < 3; ++i)
        g.sz[i] = m_sz[i]->value();
    for (int i = 0; i < 3; ++i)
        g.rq[i] = m_rqOn[i]->isChecked() ? m_rq[i]->date() : QDate();
    return g;
}

void TFrmGoodEdit::setRecord(const GoodsRecord& g)
{
    m_id = g.id;
    m_code->setText(g.code);
    m_name->setText(g.name);
    m_type->setText(g.type);
    m_spec->setText(g.spec);
    m_unit->setCurrentText(g.unit);
    m_barcode->setText(g.barcode);
    m_enterPrice->setValue(g.enterPrice);
    m_salePrice->setValue(g.salePrice);
    m_deptUp->setValue(g.deptUp);
    m_deptDown->setValue(g.deptDown);
    if (m_depot->findText(g.depot) < 0 && !g.depot.isEmpty())
        m_depot->addItem(g.depot);
    if (g.depot.isEmpty() && m_depot->count() > 0)
        m_depot->setCurrentIndex(0);
    else
        m_depot->setCurrentText(g.depot);
    m_address->setText(g.address);
    m_mem->setPlainText(g.mem);
    m_flag->setChecked(g.flag);
    for (int i = 0; i < 5; ++i)
        m_zf[i]->setText(g.zf[i]);
    for (int i = 0; i < 3; ++i)
        m_sz[i]->setValue(g.sz[i]);
    for (int i = 0; i < 3; ++i) {
        m_rqOn[i]->setChecked(g.rq[i].isValid());
        m_rq[i]->setDate(g.rq[i].isValid() ? g.rq[i] : QDate::currentDate());
    }
}

void TFrmGoodEdit::moveTo(int row)
{
    if (!m_navigator)
        return;
    m_navigator->setCurrentRow(row);
    const GoodsRecord g = GoodsRecord::fromRecord(m_navigator->recordAt(row));
    setRecord(g);
    m_previousCode = g.code;
    loadOpeningGrid(g.code);
}

void TFrmGoodEdit::clearForNew()
{
    setRecord(GoodsRecord());
    m_previousCode.clear();
    {
        const QSignalBlocker block(m_auto);
        m_auto->setChecked(SysOptions::current().autoGoodsCode);
    }
    if (m_auto->isChecked())
        m_code->setText(GoodsService::proposeCode());
    // A proposed code is skipped by Tab.
    m_code->setFocusPolicy(m_auto->isChecked() ? Qt::ClickFocus : Qt::StrongFocus);
    // A code that matches no opening stock line: every depot gets a zero line.
    loadOpeningGrid(QString());
}

void TFrmGoodEdit::autoToggled(bool on)
{
    if (on && m_mode != Edit)
        m_code->setText(GoodsService::proposeCode());
    m_code->setFocusPolicy(on ? Qt::ClickFocus : Qt::StrongFocus);
}

void TFrmGoodEdit::insertSymbol(const QString& symbol)
{
    if (!symbol.isEmpty())
        m_spec->insert(symbol);
}

bool TFrmGoodEdit::btnOKClick()
{
    if (!m_ok->isEnabled())
        return false;
    // Post the line being typed in: the editor commits when it loses the focus.
    if (QWidget* f = focusWidget(); f && f != m_grid && m_grid->isAncestorOf(f))
        m_grid->setFocus();
    GoodsRecord g = record();
    GoodsService::Field bad = GoodsService::NoField;
    if (!GoodsService::save(
            g, openingLines(), m_mode == Edit ? m_previousCode : QString(), m_auto->isChecked(), &bad)) {
        switch (bad) {
        case GoodsService::CodeField:
            m_code->setFocus();
            break;
        case GoodsService::NameField:
            m_name->setFocus();
            break;
        case GoodsService::OpeningField:
            m_grid->setFocus();
            break;
        default:
            break;
        }
        return false;
    }
    if (m_navigator)
        m_navigator->reopenAt(g.code);
    if (m_mode != NewFromList || !m_continue->isChecked()) {
        accept();
        return true;
    }
    clearForNew();
    m_name->setFocus();
    return true;
}

void TFrmGoodEdit::unitLeft()
{
    const QString unit = m_unit->currentText().trimmed();
    if (unit.isEmpty())
        return;
    bool ok = false;
    if (CodeListService::contains(QStringLiteral("goodunit"), unit, &ok) || !ok)
        return;
    if (ShowMess(QStringLiteral("此货品计量单位不存在，真的要新增此单位吗？"), Messenger::Question) == Messenger::No) {
        m_unit->setCurrentText(QString());
        m_unit->setFocus();
        return;
    }
    if (CodeListService::add(QStringLiteral("goodunit"), unit)) {
        m_barcode->setFocus();
        m_barcode->selectAll();
    }
}

bool TFrmGoodEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_unit || watched == m_unit->lineEdit()) {
        if (event->type() == QEvent::FocusIn) {
            const QString text = m_unit->currentText();
            QStringList units;
            dm().FillList(QStringLiteral("select f_name from t_code where f_type = 'goodunit'"), units);
            const QSignalBlocker block(m_unit);
            m_unit->clear();
            m_unit->addItems(units);
            m_unit->setCurrentText(text);
        } else if (event->type() == QEvent::FocusOut && watched == m_unit->lineEdit()) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                unitLeft();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmGoodEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Save) || (event->key() == Qt::Key_S && event->modifiers() & Qt::ControlModifier)) {
        btnOKClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() != m_mem
        && focusWidget() != m_grid) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}
