#include "platform/Canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& Canvas::Buffer() {
    if (m_buffer.size() != size())
        m_buffer = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    return m_buffer;
}

void Canvas::Present() {
    // A paint handler that redraws the buffer is already inside the paint that will show it.
    if (!m_painting)
        update();
}

void Canvas::paintEvent(QPaintEvent*) {
    if (Paint) {
        m_painting = true;
        Paint();
        m_painting = false;
    }
    QPainter painter(this);
    if (m_buffer.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawImage(0, 0, m_buffer);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_dragging)
        return;
    const QPoint p = event->position().toPoint();
    m_dragging = MouseDown && MouseDown(p.x(), p.y());
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        if (MouseDrag)
            MouseDrag(p.x(), p.y());
    } else if (event->buttons() == Qt::NoButton) {
        if (MouseMove)
            MouseMove(p.x(), p.y());
    }
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    const QPoint p = event->position().toPoint();
    if (MouseUp)
        MouseUp(p.x(), p.y());
}

void Canvas::enterEvent(QEnterEvent*) {
    if (MouseEnter)
        MouseEnter();
}

void Canvas::leaveEvent(QEvent*) {
    if (MouseExit)
        MouseExit();
}

void Canvas::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    // Qt counts a turn away from the user as positive; the editor counts it as a step up, negative.
    const int dx = angle.x() > 0 ? -1 : (angle.x() < 0 ? 1 : 0);
    const int dy = angle.y() > 0 ? -1 : (angle.y() < 0 ? 1 : 0);
    const QPoint p = event->position().toPoint();
    const bool consumed = MouseWheel && (dx != 0 || dy != 0) && MouseWheel(p.x(), p.y(), dx, dy);
    event->setAccepted(consumed);
}
