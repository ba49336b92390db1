#include "MapInput.h"

#include "platform/Canvas.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace Input {

namespace {
void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons, held);
    QApplication::sendEvent(target, &event);
}
} // namespace

void Enter(QWidget* target, QPoint at) {
    const QPointF local(at);
    QEnterEvent event(local, local, QPointF(target->mapToGlobal(at)));
    QApplication::sendEvent(target, &event);
}

void Leave(QWidget* target) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(target, &event);
}

void Move(QWidget* target, QPoint at, Qt::MouseButtons held) {
    SendMouse(target, QEvent::MouseMove, at, Qt::NoButton, held);
}

void Press(QWidget* target, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    SendMouse(target, QEvent::MouseButtonPress, at, button, button, keys);
}

void Release(QWidget* target, QPoint at, Qt::MouseButton button) {
    SendMouse(target, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void Wheel(QWidget* target, QPoint at, QPoint angle, Qt::KeyboardModifiers held) {
    QWheelEvent event(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), angle, Qt::NoButton, held,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void Click(QWidget* target, QPoint at) {
    Press(target, at);
    Release(target, at);
}

} // namespace Input

QPoint CellMiddle(const frmMain& w, int c, int r) {
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    return {c * tw + tw / 2, r * th + th / 2};
}

void HoverAt(frmMain& w, QPoint p) {
    Input::Enter(w.Controls().canMain, p);
    Input::Move(w.Controls().canMain, p);
}

MouseStroke::MouseStroke(frmMain& w, QPoint start) : m_w(w), m_last(start) {
    HoverAt(w, start);
    Input::Press(w.Controls().canMain, start);
}

void MouseStroke::DragTo(QPoint p) {
    m_last = p;
    Input::Move(m_w.Controls().canMain, p, Qt::LeftButton);
}

void MouseStroke::Release() {
    Input::Release(m_w.Controls().canMain, m_last);
}

void DragStroke(frmMain& w, int c0, int r0, int c1, int r1) {
    MouseStroke s(w, c0, r0);
    s.DragTo(c1, r1);
    s.Release();
}

void Click(frmMain& w, int c, int r) {
    MouseStroke(w, c, r).Release();
}

void RightClick(QWidget* canvas, QPoint at) {
    Input::Enter(canvas, at);
    Input::Move(canvas, at);
    Input::Press(canvas, at, Qt::RightButton);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, canvas->mapToGlobal(at));
    QApplication::sendEvent(canvas, &request);
    Input::Release(canvas, at, Qt::RightButton);
}
