#pragma once

#include <QSet>
#include <QStyledItemDelegate>

// Cells of the line grid: an ellipsis button on the picker columns while the
// document is edited, and Enter reported after the edit is committed.
class EntryLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit EntryLineDelegate(QObject* parent = nullptr);

    void setButtonColumns(const QSet<int>& columns) { m_buttonColumns = columns; }
    void setButtonsShown(bool shown) { m_buttonsShown = shown; }
    bool buttonsShown() const { return m_buttonsShown; }
    bool hasButton(int column) const { return m_buttonsShown && m_buttonColumns.contains(column); }
    static QRect buttonRect(const QRect& cell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

signals:
    void ellipsisClicked(const QModelIndex& index);
    void enterInEditor();

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    QSet<int> m_buttonColumns;
    bool m_buttonsShown = false;
};
