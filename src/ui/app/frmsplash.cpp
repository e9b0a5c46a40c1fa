#include "frmsplash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(470, 294);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(14);
    Label1->setFont(f);
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label1->setGeometry(18, 258, 430, 22);
    Label1->setText(QStringLiteral("系统正在启动，请稍候 ....."));
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void TfrmSplash::setText(const QString& text)
{
    Label1->setText(text);
    Label1->repaint();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x2e, 0x86, 0xab));
    p.fillRect(rect(), g);
    p.setPen(QColor(255, 255, 255, 60));
    for (int i = 0; i < 6; ++i)
        p.drawRect(300 + i * 22, 40 + i * 18, 120, 80);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(30, 70, 420, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kelmora 仓库管理"));
    QFont sub(QStringLiteral("WenQuanYi Micro Hei"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.drawText(QRect(32, 124, 420, 30), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("进货 · 出货 · 库存 · 报表   v3.85 网络版"));
}
