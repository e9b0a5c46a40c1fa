#include "entrylineview.h"

#include "entrylinedelegate.h"

#include <QHeaderView>
#include <QKeyEvent>

EntryLineView::EntryLineView(QWidget* parent)
    : QTableView(parent)
    , m_delegate(new EntryLineDelegate(this))
{
    setObjectName(QStringLiteral("DBGridEh1"));
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setSectionsMovable(true);
    connect(m_delegate, &EntryLineDelegate::enterInEditor, this, &EntryLineView::enterPressed);
}

void EntryLineView::postEdit()
{
    if (QWidget* editor = indexWidget(currentIndex()); editor || isEditing()) {
        QWidget* w = editor ? editor : focusWidget();
        if (w && w != this) {
            emit m_delegate->commitData(w);
            emit m_delegate->closeEditor(w, QAbstractItemDelegate::NoHint);
        }
    }
}

void EntryLineView::cancelEdit()
{
    if (!isEditing())
        return;
    if (QWidget* w = focusWidget(); w && w != this)
        emit m_delegate->closeEditor(w, QAbstractItemDelegate::RevertModelCache);
}

void EntryLineView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !isEditing()) {
        emit enterPressed();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
