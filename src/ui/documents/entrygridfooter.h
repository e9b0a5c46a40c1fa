#pragma once

#include <QStringList>
#include <QWidget>

class QTableView;

// The footer row under a grid: one text per column, drawn under its column
// whatever the column order, width or scroll position.
class EntryGridFooter : public QWidget
{
    Q_OBJECT
public:
    explicit EntryGridFooter(QTableView* view, QWidget* parent = nullptr);

    void setTexts(const QStringList& texts); // by model column
    QString text(int column) const { return m_texts.value(column); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTableView* m_view;
    QStringList m_texts;
};
