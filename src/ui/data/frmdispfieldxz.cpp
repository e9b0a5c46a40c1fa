#include "frmdispfieldxz.h"

#include "datagrid.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmDispFieldXZ::TFrmDispFieldXZ(DataGrid* grid, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_grid(grid)
    , m_list(new QListWidget(this))
    , m_ok(new QPushButton(QStringLiteral("确定"), this))
    , m_cancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName(QStringLiteral("TFrmDispFieldXZ"));
    setWindowTitle(QStringLiteral("字段列表"));
    m_list->setObjectName(QStringLiteral("CheckListBox1"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_ok->setDefault(true);

    for (int i = 0; i < grid->columnCount(); ++i) {
        const GridColumnDef c = grid->column(i);
        auto* item = new QListWidgetItem(c.caption, m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(c.visible ? Qt::Checked : Qt::Unchecked);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    auto* lay = new QHBoxLayout(this);
    lay->addWidget(m_list, 1);
    lay->addLayout(buttons);
    resize(300, 360);

    connect(m_ok, &QPushButton::clicked, this, &TFrmDispFieldXZ::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFrmDispFieldXZ::reject);
}

void TFrmDispFieldXZ::applyToGrid()
{
    const int n = qMin(m_list->count(), m_grid->columnCount());
    for (int i = 0; i < n; ++i) {
        const bool on = m_list->item(i)->checkState() == Qt::Checked;
        if (m_grid->isColumnVisible(i) != on)
            m_grid->setColumnVisible(i, on);
    }
}

void TFrmDispFieldXZ::accept()
{
    applyToGrid();
    QDialog::accept();
}
