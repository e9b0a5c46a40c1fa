#include "frmbtnimage.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

TFrmBtnImage::TFrmBtnImage(QWidget* viewport)
    : QWidget(viewport)
    , m_picture(picture())
{
    setObjectName(QStringLiteral("FrmBtnImage"));
    setWindowTitle(QStringLiteral("桌面"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    viewport->installEventFilter(this);
    setGeometry(viewport->rect());
    lower();
}

QPixmap TFrmBtnImage::picture()
{
    // Drawn rather than shipped: a quiet gradient with the product name.
    QPixmap pm(1200, 800);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(0x4a, 0x7e, 0xb5));
    g.setColorAt(1, QColor(0x1f, 0x44, 0x72));
    p.fillRect(pm.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(900 - i * 40, 620 + i * 10), 420 - i * 50, 260 - i * 30);
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(56);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRect(0, 250, pm.width(), 90), Qt::AlignCenter, QStringLiteral("Kelmora仓库管理软件"));
    f.setPixelSize(24);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(QRect(0, 345, pm.width(), 40), Qt::AlignCenter, QStringLiteral("进货 · 出货 · 库存 · 报表"));
    return pm;
}

bool TFrmBtnImage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        lower();
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmBtnImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), m_picture);
}
