#include "designercanvas.h"

#include "print/preparedreport.h"
#include "print/reportrenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr double kCanvasPad = 16; // px around the page
constexpr double kStripHeight = 18; // px, a band's caption strip
constexpr double kHandle = 7; // px
} // namespace

DesignerCanvas::DesignerCanvas(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DesignCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

double DesignerCanvas::pxPerMm() const
{
    return m_zoom * logicalDpiX() / 25.4;
}

void DesignerCanvas::setTemplate(ReportTemplate* tpl)
{
    m_tpl = tpl;
    relayout();
}

void DesignerCanvas::setZoom(double zoom)
{
    m_zoom = qBound(0.25, zoom, 6.0);
    relayout();
}

void DesignerCanvas::setSelection(int band, int object)
{
    if (!m_tpl || band < 0 || band >= m_tpl->bands.size()) {
        band = -1;
        object = -1;
    } else if (object >= m_tpl->bands[band].objects.size()) {
        object = -1;
    }
    if (band == m_band && object == m_object)
        return;
    m_band = band;
    m_object = object;
    update();
    emit selectionChanged();
}

void DesignerCanvas::relayout()
{
    m_areas.clear();
    m_strips.clear();
    if (!m_tpl) {
        update();
        return;
    }
    const double z = pxPerMm();
    const double left = kCanvasPad + m_tpl->page.marginLeft * z;
    const double width = m_tpl->page.contentWidth() * z;
    double y = kCanvasPad + m_tpl->page.marginTop * z;
    for (const auto& b : m_tpl->bands) {
        m_strips << QRectF(left, y, width, kStripHeight);
        y += kStripHeight;
        m_areas << QRectF(left, y, width, b.height * z);
        y += b.height * z + 2;
    }
    const double pageHeight = qMax(y + m_tpl->page.marginBottom * z, kCanvasPad + m_tpl->page.height() * z);
    setFixedSize(int(2 * kCanvasPad + m_tpl->page.width() * z), int(pageHeight + kCanvasPad));
    if (m_band >= m_tpl->bands.size() || (m_band >= 0 && m_object >= m_tpl->bands[m_band].objects.size())) {
        m_band = -1;
        m_object = -1;
        emit selectionChanged();
    }
    update();
}

QRectF DesignerCanvas::bandArea(int band) const
{
    return band >= 0 && band < m_areas.size() ? m_areas[band] : QRectF();
}

QRectF DesignerCanvas::objectRect(int band, int object) const
{
    if (!m_tpl || band < 0 || band >= m_areas.size() || object < 0 || object >= m_tpl->bands[band].objects.size())
        return {};
    const double z = pxPerMm();
    const QRectF g = m_tpl->bands[band].objects[object].geometry;
    return QRectF(m_areas[band].left() + g.x() * z, m_areas[band].top() + g.y() * z, g.width() * z, g.height() * z);
}

QPointF DesignerCanvas::handlePos(int band, int object) const
{
    return objectRect(band, object).bottomRight();
}

int DesignerCanvas::bandAt(const QPointF& pos, bool includeStrip) const
{
    for (int i = 0; i < m_areas.size(); ++i) {
        if (m_areas[i].adjusted(0, 0, 0, 2).contains(pos))
            return i;
        if (includeStrip && m_strips[i].contains(pos))
            return i;
    }
    return -1;
}

void DesignerCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0x9a, 0x9a, 0x9a));
    if (!m_tpl)
        return;
    const double z = pxPerMm();
    const QRectF page(kCanvasPad, kCanvasPad, m_tpl->page.width() * z, height() - 2 * kCanvasPad);
    p.fillRect(page, Qt::white);
    // Margins as dotted lines.
    p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 1, Qt::DotLine));
    const double l = kCanvasPad + m_tpl->page.marginLeft * z;
    const double r = kCanvasPad + (m_tpl->page.width() - m_tpl->page.marginRight) * z;
    p.drawLine(QPointF(l, page.top()), QPointF(l, page.bottom()));
    p.drawLine(QPointF(r, page.top()), QPointF(r, page.bottom()));
    if (m_tpl->bands.isEmpty()) {
        p.setPen(Qt::darkGray);
        p.drawText(page, Qt::AlignCenter, QStringLiteral("空白页：用“添加带区”开始设计"));
    }
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < m_tpl->bands.size(); ++i) {
        const ReportBand& b = m_tpl->bands[i];
        const QRectF strip = m_strips[i];
        const bool bandSelected = i == m_band && m_object < 0;
        p.fillRect(strip, bandSelected ? QColor(0xb8, 0xd0, 0xf0) : QColor(0xe4, 0xe4, 0xe4));
        p.setPen(QColor(0x40, 0x40, 0x40));
        QString caption = ReportBand::caption(b.type) + QStringLiteral("：") + b.name;
        if (!b.dataSet.isEmpty())
            caption += QStringLiteral("  [") + b.dataSet + QLatin1Char(']');
        if (!b.condition.isEmpty())
            caption += QStringLiteral("  分组：") + b.condition;
        if (!b.rowsPerPage.isEmpty())
            caption += QStringLiteral("  每页行数：") + b.rowsPerPage;
        QFont f = font();
        f.setPointSizeF(8);
        p.setFont(f);
        p.drawText(strip.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, caption);
        const QRectF area = m_areas[i];
        p.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1, Qt::DashLine));
        p.drawLine(area.bottomLeft(), area.bottomRight());
        for (int j = 0; j < b.objects.size(); ++j) {
            const ReportObject& o = b.objects[j];
            PreparedItem item;
            item.object = o;
            item.rect = o.geometry;
            item.text = o.text;
            item.checked = true;
            ReportRenderer::paintItem(p, item, z, area.topLeft());
            const QRectF orect = objectRect(i, j);
            if (!o.frame && o.type == ReportObject::Text) {
                p.setPen(QPen(QColor(0xb0, 0xc4, 0xde), 1, Qt::DotLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(orect);
            }
            if (i == m_band && j == m_object) {
                p.setPen(QPen(QColor(0x1e, 0x64, 0xd2), 1.5));
                p.setBrush(Qt::NoBrush);
                p.drawRect(orect.adjusted(-1, -1, 1, 1));
                p.fillRect(QRectF(orect.right() - kHandle / 2, orect.bottom() - kHandle / 2, kHandle, kHandle),
                    QColor(0x1e, 0x64, 0xd2));
            }
        }
    }
}

void DesignerCanvas::mousePressEvent(QMouseEvent* e)
{
    setFocus();
    if (!m_tpl || e->button() != Qt::LeftButton)
        return;
    const QPointF pos = e->position();
    const double z = pxPerMm();
    m_before = *m_tpl;
    m_changed = false;
    m_mode = Idle;
    // The resize handle of the selected object first.
    if (m_band >= 0 && m_object >= 0) {
        const QPointF h = handlePos(m_band, m_object);
        if (qAbs(pos.x() - h.x()) <= kHandle && qAbs(pos.y() - h.y()) <= kHandle) {
            m_mode = ResizeObject;
            return;
        }
    }
    for (int i = 0; i < m_tpl->bands.size(); ++i) {
        for (int j = int(m_tpl->bands[i].objects.size()) - 1; j >= 0; --j) {
            if (objectRect(i, j).adjusted(-3, -3, 3, 3).contains(pos)) {
                setSelection(i, j);
                const QRectF g = m_tpl->bands[i].objects[j].geometry;
                m_grabOffset
                    = QPointF((pos.x() - m_areas[i].left()) / z - g.x(), (pos.y() - m_areas[i].top()) / z - g.y());
                m_mode = MoveObject;
                return;
            }
        }
    }
    for (int i = 0; i < m_areas.size(); ++i)
        if (qAbs(pos.y() - m_areas[i].bottom()) <= 4 && pos.x() >= m_areas[i].left() && pos.x() <= m_areas[i].right()) {
            setSelection(i, -1);
            m_mode = ResizeBand;
            return;
        }
    setSelection(bandAt(pos, true), -1);
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_tpl)
        return;
    const QPointF pos = e->position();
    const double z = pxPerMm();
    if (m_mode == Idle) {
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (m_band >= 0 && m_object >= 0) {
            const QPointF h = handlePos(m_band, m_object);
            if (qAbs(pos.x() - h.x()) <= kHandle && qAbs(pos.y() - h.y()) <= kHandle)
                shape = Qt::SizeFDiagCursor;
        }
        for (const auto& a : m_areas)
            if (shape == Qt::ArrowCursor && qAbs(pos.y() - a.bottom()) <= 4 && pos.x() >= a.left()
                && pos.x() <= a.right())
                shape = Qt::SizeVerCursor;
        setCursor(shape);
        return;
    }
    if (!(e->buttons() & Qt::LeftButton) || m_band < 0)
        return;
    ReportBand& band = m_tpl->bands[m_band];
    const QPointF local((pos.x() - m_areas[m_band].left()) / z, (pos.y() - m_areas[m_band].top()) / z);
    if (m_mode == MoveObject && m_object >= 0) {
        QRectF& g = band.objects[m_object].geometry;
        const double maxX = qMax(0.0, m_tpl->page.contentWidth() - g.width());
        const QPointF to(qBound(0.0, snap(local.x() - m_grabOffset.x()), maxX), snap(local.y() - m_grabOffset.y()));
        if (to != g.topLeft()) {
            g.moveTopLeft(to);
            m_changed = true;
        }
    } else if (m_mode == ResizeObject && m_object >= 0) {
        QRectF& g = band.objects[m_object].geometry;
        const bool line = band.objects[m_object].type == ReportObject::Line;
        const double minSize = line ? 0.0 : 1.0;
        const double w = qMax(minSize, snap(local.x() - g.x()));
        const double h = qMax(minSize, snap(local.y() - g.y()));
        if (w != g.width() || h != g.height()) {
            g.setWidth(w);
            g.setHeight(h);
            m_changed = true;
        }
    } else if (m_mode == ResizeBand) {
        const double h = qMax(2.0, snap(local.y()));
        if (h != band.height) {
            band.height = h;
            m_changed = true;
            relayout();
        }
    }
    if (m_changed) {
        update();
        emit geometryChanging();
    }
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || m_mode == Idle)
        return;
    const Mode mode = m_mode;
    m_mode = Idle;
    if (!m_changed || !m_tpl)
        return;
    QString what = mode == MoveObject ? QStringLiteral("移动") : QStringLiteral("调整大小");
    if (mode == MoveObject && m_band >= 0 && m_object >= 0) {
        // Dropped over another band: the object moves there.
        const QRectF r = objectRect(m_band, m_object);
        const int target = bandAt(QPointF(r.left() + 1, r.top() + 1), false);
        if (target >= 0 && target != m_band) {
            ReportObject o = m_tpl->bands[m_band].objects.takeAt(m_object);
            o.geometry.moveTop(qMax(0.0, snap((r.top() - m_areas[target].top()) / pxPerMm())));
            m_tpl->bands[target].objects.append(o);
            m_band = target;
            m_object = int(m_tpl->bands[target].objects.size()) - 1;
            emit selectionChanged();
        } else {
            QRectF& g = m_tpl->bands[m_band].objects[m_object].geometry;
            g.moveTop(qBound(
                0.0, g.y(), qMax(0.0, m_tpl->bands[m_band].height - qMin(g.height(), m_tpl->bands[m_band].height))));
        }
    }
    relayout();
    emit edited(m_before, what);
}

void DesignerCanvas::keyPressEvent(QKeyEvent* e)
{
    const bool resize = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Delete:
        emit deleteRequested();
        return;
    case Qt::Key_Left:
        emit nudgeRequested(-kSnap, 0, resize);
        return;
    case Qt::Key_Right:
        emit nudgeRequested(kSnap, 0, resize);
        return;
    case Qt::Key_Up:
        emit nudgeRequested(0, -kSnap, resize);
        return;
    case Qt::Key_Down:
        emit nudgeRequested(0, kSnap, resize);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
