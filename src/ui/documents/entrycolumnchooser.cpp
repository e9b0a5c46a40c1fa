#include "entrycolumnchooser.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace EntryColumnChooser {
void run(QWidget* parent, QTableView* view, const QList<EntryLineColumn>& columns, const QSet<int>& locked)
{
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("dlgColumnChooser"));
    dlg.setWindowTitle(QStringLiteral("显示字段列表"));
    auto* v = new QVBoxLayout(&dlg);
    auto* list = new QListWidget(&dlg);
    list->setObjectName(QStringLiteral("lstColumns"));
    for (int i = 0; i < columns.size(); ++i) {
        if (locked.contains(i))
            continue;
        auto* item = new QListWidgetItem(columns.at(i).caption, list);
        item->setData(Qt::UserRole, i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(view->isColumnHidden(i) ? Qt::Unchecked : Qt::Checked);
    }
    QObject::connect(list, &QListWidget::itemChanged, &dlg, [view](QListWidgetItem* item) {
        view->setColumnHidden(item->data(Qt::UserRole).toInt(), item->checkState() != Qt::Checked);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    v->addWidget(list);
    v->addWidget(buttons);
    dlg.exec();
}
} // namespace EntryColumnChooser
