#include "platform/Canvas.h"

#include "platform/PlainToolTip.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

namespace {
// Qt's angle units in one notch of an ordinary wheel.
constexpr int kNotch = 120;

// Whole notches in rest, which keeps what is left over. A turn against the direction of what was kept starts
// afresh, so a reversed wheel answers at once.
int TakeNotches(int& rest, int delta) {
    if ((rest > 0 && delta < 0) || (rest < 0 && delta > 0))
        rest = 0;
    rest += delta;
    const int notches = rest / kNotch;
    rest -= notches * kNotch;
    return notches;
}
} // namespace

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

void Canvas::Enter() {
    // Qt does not always announce the pointer after a window that covered the canvas goes away.
    if (m_inside)
        return;
    m_inside = true;
    if (MouseEnter)
        MouseEnter();
}

void Canvas::BeginStroke() {
    m_dragging = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void Canvas::CancelStroke() {
    if (!m_dragging)
        return;
    m_dragging = false;
    QCoreApplication::instance()->removeEventFilter(this);
    if (MouseCancel)
        MouseCancel();
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    // A press while a stroke seems under way means its release went elsewhere: either this is a new press
    // of the left button, or the left button is up.
    if (m_dragging && (event->button() == Qt::LeftButton || !(event->buttons() & Qt::LeftButton)))
        CancelStroke();
    if (event->button() != Qt::LeftButton || m_dragging)
        return;
    Enter();
    m_pressModifiers = event->modifiers();
    const QPoint p = event->position().toPoint();
    if (MouseDown && MouseDown(p.x(), p.y()))
        BeginStroke();
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && !(event->buttons() & Qt::LeftButton))
        CancelStroke();
    const QPoint p = event->position().toPoint();
    if (m_dragging) {
        if (MouseDrag)
            MouseDrag(p.x(), p.y());
    } else if (event->buttons() == Qt::NoButton) {
        Enter();
        if (MouseMove)
            MouseMove(p.x(), p.y());
    }
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    QCoreApplication::instance()->removeEventFilter(this);
    const QPoint p = event->position().toPoint();
    if (MouseUp)
        MouseUp(p.x(), p.y());
}

void Canvas::enterEvent(QEnterEvent*) {
    if (m_dragging && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        CancelStroke();
    m_inside = true;
    if (MouseEnter)
        MouseEnter();
}

void Canvas::leaveEvent(QEvent*) {
    // While the button is held the canvas keeps the mouse and hears no leave, unless a popup or a modal
    // window has taken it.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget())
        CancelStroke();
    m_inside = false;
    if (MouseExit)
        MouseExit();
}

void Canvas::hideEvent(QHideEvent* event) {
    CancelStroke();
    QWidget::hideEvent(event);
}

bool Canvas::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        if (watched->isWidgetType()) {
            const auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && (widget->windowType() == Qt::Popup || widget->isModal()))
                CancelStroke();
        }
        break;
    case QEvent::WindowDeactivate:
        if (watched == window())
            CancelStroke();
        break;
    case QEvent::ApplicationDeactivate:
        CancelStroke();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Canvas::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int notchesX = TakeNotches(m_wheelRest.rx(), angle.x());
    const int notchesY = TakeNotches(m_wheelRest.ry(), angle.y());
    // Qt counts a turn away from the user as positive; the editor counts it as a step up, negative.
    const int dx = notchesX > 0 ? -1 : (notchesX < 0 ? 1 : 0);
    const int dy = notchesY > 0 ? -1 : (notchesY < 0 ? 1 : 0);
    const int steps = std::max(std::abs(notchesX), std::abs(notchesY));
    const QPoint p = event->position().toPoint();
    bool consumed = false;
    for (int i = 0; i < steps && MouseWheel; ++i)
        consumed =
            MouseWheel(p.x(), p.y(), i < std::abs(notchesX) ? dx : 0, i < std::abs(notchesY) ? dy : 0) ||
            consumed;
    event->setAccepted(consumed);
}

void Canvas::contextMenuEvent(QContextMenuEvent* event) {
    // A right press while the left button paints belongs to the stroke, not to a menu.
    if (m_dragging || !ContextMenu) {
        event->ignore();
        return;
    }
    event->accept();
    ContextMenu(event->pos().x(), event->pos().y());
}

bool Canvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !ToolTipAt)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    QRect area = rect();
    const QString text = ToolTipAt(help->pos().x(), help->pos().y(), &area);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), PlainToolTip(text), this, area);
    return true;
}
