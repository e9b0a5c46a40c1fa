#pragma once

#include <QTableView>

class EntryLineDelegate;
class EntryGridFooter;

// The line grid (DBGridEh1) of an entry window: Enter is reported to the window
// (after a typed value is posted), the picker columns carry an ellipsis button
// in edit state, and a footer row shows the sums.
class EntryLineView : public QTableView
{
    Q_OBJECT
public:
    explicit EntryLineView(QWidget* parent = nullptr);

    EntryLineDelegate* lineDelegate() const { return m_delegate; }
    EntryGridFooter* footer() const { return m_footer; }
    void setFooter(EntryGridFooter* footer) { m_footer = footer; }

    // Ends a cell edit, keeping (post) or dropping (cancel) the typed value.
    void postEdit();
    void cancelEdit();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    EntryLineDelegate* m_delegate;
    EntryGridFooter* m_footer = nullptr;
};
