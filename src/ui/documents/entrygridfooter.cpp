#include "entrygridfooter.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

EntryGridFooter::EntryGridFooter(QTableView* view, QWidget* parent)
    : QWidget(parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("gridFooter"));
    auto repaint = [this] { update(); };
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, repaint);
    connect(view->horizontalHeader(), &QHeaderView::sectionMoved, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void EntryGridFooter::setTexts(const QStringList& texts)
{
    m_texts = texts;
    update();
}

QSize EntryGridFooter::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 6);
}

void EntryGridFooter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QHeaderView* h = m_view->horizontalHeader();
    const int offset = m_view->verticalHeader()->isVisible() ? m_view->verticalHeader()->width() : 0;
    const int x0 = m_view->frameWidth() + offset;
    p.setPen(palette().color(QPalette::Mid));
    for (int c = 0; c < m_texts.size(); ++c) {
        if (h->isSectionHidden(c) || m_texts.at(c).isEmpty())
            continue;
        const QRect r(x0 + h->sectionViewportPosition(c), 0, h->sectionSize(c), height());
        p.setPen(palette().color(QPalette::ButtonText));
        const bool number = m_texts.at(c).front().isDigit() || m_texts.at(c).front() == QLatin1Char('-')
            || m_texts.at(c).front() == QChar(0xFFE5);
        p.drawText(
            r.adjusted(3, 0, -3, 0), Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft), m_texts.at(c));
    }
}
