#pragma once

#include <QPixmap>
#include <QWidget>

// The desktop: a picture stretched over the whole MDI area, behind every child
// window. It lives on the area's viewport rather than as a child window of its
// own, so it never covers a window, never joins tiling and never shows in the
// window list.
class TFrmBtnImage : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmBtnImage(QWidget* viewport);

    static QPixmap picture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};
