#include "dlgcodefuhaoxz.h"

#include "app/dispformpos.h"
#include "data/datamodule.h"
#include "dlgaddtext.h"
#include "masterdata/codelistservice.h"
#include "masterdata/likepattern.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

TDlgCodeFuHaoXz::TDlgCodeFuHaoXz(QWidget* parent)
    : QDialog(parent)
    , m_code(new QLineEdit(this))
    , m_name(new QLineEdit(this))
    , m_grid(new QTableWidget(this))
{
    setObjectName(QStringLiteral("TDlgCodeFuHaoXz"));
    resize(360, 420);
    m_code->setObjectName(QStringLiteral("edtCode"));
    m_name->setObjectName(QStringLiteral("edtName"));
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumnCount(1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("名称")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TDlgCodeFuHaoXz::choose);
    connect(m_code, &QLineEdit::textChanged, this, &TDlgCodeFuHaoXz::search);
    connect(m_name, &QLineEdit::textChanged, this, &TDlgCodeFuHaoXz::search);

    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("助 记 码："), this), 0, 0);
    boxes->addWidget(m_code, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("名    称："), this), 1, 0);
    boxes->addWidget(m_name, 1, 1);
    auto* find = new QPushButton(QStringLiteral("查询"), this);
    find->setObjectName(QStringLiteral("btnSearch"));
    connect(find, &QPushButton::clicked, this, &TDlgCodeFuHaoXz::search);
    boxes->addWidget(find, 1, 2);

    auto* add = new QPushButton(QStringLiteral("新增"), this);
    add->setObjectName(QStringLiteral("btnAdd"));
    connect(add, &QPushButton::clicked, this, [this] {
        QString text;
        if (TDLGaddText::ask(this, text))
            addEntry(text);
    });
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    connect(ok, &QPushButton::clicked, this, &TDlgCodeFuHaoXz::choose);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

void TDlgCodeFuHaoXz::setKind(const QString& kind, const QString& caption)
{
    m_kind = kind;
    setWindowTitle(caption);
    fill(QStringLiteral("select F_name,F_type from t_code where (F_name <> '') and F_type = :kind order by F_name "),
        {{QStringLiteral("kind"), kind}});
}

void TDlgCodeFuHaoXz::fill(const QString& sql, const QVariantMap& params)
{
    m_grid->setRowCount(0);
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, sql, params))
        return;
    while (q.next()) {
        const int r = m_grid->rowCount();
        m_grid->insertRow(r);
        m_grid->setItem(r, 0, new QTableWidgetItem(q.value(0).toString()));
    }
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentCell(0, 0);
}

void TDlgCodeFuHaoXz::search()
{
    QString sql = QStringLiteral("select F_name,F_type from t_code where F_type = :kind ");
    QVariantMap p {{QStringLiteral("kind"), m_kind}};
    const QString name = m_name->text().trimmed();
    if (!name.isEmpty()) {
        sql += QStringLiteral("and F_name like :name") + LikePattern::escapeClause();
        p.insert(QStringLiteral("name"), LikePattern::contains(name));
    }
    fill(sql + QStringLiteral("order by F_name"), p);
}

void TDlgCodeFuHaoXz::addEntry(const QString& name)
{
    if (!CodeListService::add(m_kind, name))
        return;
    search();
    for (int r = 0; r < m_grid->rowCount(); ++r)
        if (m_grid->item(r, 0)->text() == name)
            m_grid->setCurrentCell(r, 0);
}

void TDlgCodeFuHaoXz::choose()
{
    const int r = m_grid->currentRow();
    if (r < 0)
        return;
    m_result = m_grid->item(r, 0)->text();
    accept();
}

QString TDlgCodeFuHaoXz::pick()
{
    m_result.clear();
    return exec() == QDialog::Accepted ? m_result : QString();
}

QString TDlgCodeFuHaoXz::pickSymbol(QWidget* parent, const QString& kind, const QString& caption)
{
    TDlgCodeFuHaoXz dlg(parent);
    dlg.setKind(kind, caption);
    DispFormPos(&dlg, 1);
    return dlg.pick();
}

bool TDlgCodeFuHaoXz::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
