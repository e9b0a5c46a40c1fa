#include "entrylinedelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

EntryLineDelegate::EntryLineDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{ }

QRect EntryLineDelegate::buttonRect(const QRect& cell)
{
    const int w = qMin(18, cell.width() / 2);
    return QRect(cell.right() - w + 1, cell.top() + 1, w - 1, cell.height() - 2);
}

void EntryLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!hasButton(index.column())) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem text = option;
    text.rect.setRight(buttonRect(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, text, index);
    QStyleOptionButton b;
    b.rect = buttonRect(option.rect);
    b.text = QStringLiteral("…");
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &b, painter, option.widget);
}

bool EntryLineDelegate::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (hasButton(index.column())
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick)) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (buttonRect(option.rect).contains(me->position().toPoint())) {
            if (event->type() == QEvent::MouseButtonRelease)
                emit ellipsisClicked(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool EntryLineDelegate::eventFilter(QObject* editor, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The base commits the typed value and closes the editor (queued); the
            // line grid's Enter rule runs on the posted line after that.
            const bool handled = QStyledItemDelegate::eventFilter(editor, event);
            QMetaObject::invokeMethod(this, &EntryLineDelegate::enterInEditor, Qt::QueuedConnection);
            return handled;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}
