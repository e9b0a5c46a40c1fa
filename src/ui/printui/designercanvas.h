#pragma once

#include "print/reporttemplate.h"

#include <QList>
#include <QRectF>
#include <QWidget>

// The designer's page: the bands one under the other, each with its caption
// strip, and their objects. Click selects, dragging moves an object (also into
// another band), the corner handle resizes it and a band's lower edge sets the
// band's height. Positions snap to half millimetres.
class DesignerCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit DesignerCanvas(QWidget* parent = nullptr);

    // The template the designer owns; the canvas edits it in place while dragging.
    void setTemplate(ReportTemplate* tpl);
    void setSelection(int band, int object);
    int selectedBand() const { return m_band; }
    int selectedObject() const { return m_object; }
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    void relayout();

    // Where a band's drawing area and an object lie on the canvas (pixels).
    QRectF bandArea(int band) const;
    QRectF objectRect(int band, int object) const;
    QPointF handlePos(int band, int object) const; // the resize handle's centre

    static constexpr double kSnap = 0.5; // mm

signals:
    void selectionChanged();
    void geometryChanging(); // live, while dragging
    // A drag finished: the template before it, and what it did.
    void edited(const ReportTemplate& before, const QString& what);
    void deleteRequested();
    void nudgeRequested(double dxMm, double dyMm, bool resize);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    enum Mode { Idle, MoveObject, ResizeObject, ResizeBand };
    double pxPerMm() const;
    int bandAt(const QPointF& pos, bool includeStrip) const;
    static double snap(double mm) { return qRound(mm / kSnap) * kSnap; }

    ReportTemplate* m_tpl = nullptr;
    QList<QRectF> m_areas;
    QList<QRectF> m_strips;
    int m_band = -1;
    int m_object = -1;
    double m_zoom = 1.0;
    Mode m_mode = Idle;
    QPointF m_grabOffset; // mm, pointer to the object's top-left
    ReportTemplate m_before;
    bool m_changed = false;
};
