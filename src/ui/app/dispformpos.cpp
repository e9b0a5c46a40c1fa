#include "dispformpos.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void DispFormPos(QWidget* window, int mode)
{
    if (!window)
        return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    switch (mode) {
    case 2: {
        // The main window takes most of the screen, centred.
        const QSize size(qMin(avail.width(), qMax(1024, avail.width() * 9 / 10)),
            qMin(avail.height(), qMax(700, avail.height() * 9 / 10)));
        window->resize(size);
        window->move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
        break;
    }
    case 0:
    case 1:
    default: {
        QWidget* ref = window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
        const QRect area = (ref && ref != window && ref->isVisible()) ? ref->frameGeometry() : avail;
        QSize size = window->size();
        if (size.width() > avail.width() || size.height() > avail.height())
            size = size.boundedTo(avail.size());
        window->resize(size);
        QPoint topLeft = area.center() - QPoint(size.width() / 2, size.height() / 2);
        topLeft.setX(qBound(avail.left(), topLeft.x(), qMax(avail.left(), avail.right() - size.width())));
        topLeft.setY(qBound(avail.top(), topLeft.y(), qMax(avail.top(), avail.bottom() - size.height())));
        window->move(topLeft);
        break;
    }
    }
}
