#include "frmmain.h"

#include "dispformpos.h"

#include <QMdiArea>

TFrmMain::TFrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(0x3a, 0x6e, 0xa5));
    setCentralWidget(m_mdi);
    DispFormPos(this, 2);
}

void TFrmMain::showEvent(QShowEvent* event)
{
    setWindowTitle(caption());
    QMainWindow::showEvent(event);
}
