#pragma once

#include <QLabel>
#include <QWidget>

// The start-up window: a picture with one status line near its lower left edge.
class TfrmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    // Sets the label and paints it at once, before anything slow follows.
    void setText(const QString& text);
    QString text() const { return Label1->text(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* Label1;
};
