#pragma once

// Real Qt events for the editor's canvases, sent to the widgets as the platform would deliver them, with
// exactly the buttons given; and strokes on the map canvas built from them. Every test drives the mouse
// through these, so the canvas and Qt's event order are always in the loop.
#include "window/frmMain.h"

#include <QPoint>
#include <QWidget>

namespace Input {
void Enter(QWidget* target, QPoint at);
void Leave(QWidget* target);
void Move(QWidget* target, QPoint at, Qt::MouseButtons held = Qt::NoButton);
// button goes down, the only one held, with the modifier keys given.
void Press(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers keys = Qt::NoModifier);
// button goes up, leaving none held.
void Release(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// A wheel turn of angle in Qt's units (120 per notch of an ordinary wheel; positive away from the user), with
// the keyboard's modifiers held.
void Wheel(QWidget* target, QPoint at, QPoint angle, Qt::KeyboardModifiers held = Qt::NoModifier);
// A click of the left button where the pointer already is.
void Click(QWidget* target, QPoint at);
} // namespace Input

// The canvas pixel in the middle of visible cell (c, r) with the tileset's tile size; negative cells give
// pixels left of or above the canvas.
QPoint CellMiddle(const frmMain& w, int c, int r);

// The pointer comes onto the map canvas and moves to p with no button held.
void HoverAt(frmMain& w, QPoint p);

// One stroke with the current tool on the map canvas: the pointer enters, comes to rest at the start, the
// left button goes down there, the pointer is dragged, and the button is released where the last drag ended.
// Positions are canvas pixels, or visible cells where given as (c, r).
class MouseStroke {
public:
    MouseStroke(frmMain& w, QPoint start);
    MouseStroke(frmMain& w, int c, int r) : MouseStroke(w, CellMiddle(w, c, r)) {}
    void DragTo(QPoint p);
    void DragTo(int c, int r) { DragTo(CellMiddle(m_w, c, r)); }
    void Release();

private:
    frmMain& m_w;
    QPoint m_last;
};

// Press on visible cell (c0, r0), drag to (c1, r1) and release there.
void DragStroke(frmMain& w, int c0, int r0, int c1, int r1);
// Press and release on one visible cell.
void Click(frmMain& w, int c, int r);

// The right button pressed and released at a point of a canvas, with the context menu request the platform
// sends between them.
void RightClick(QWidget* canvas, QPoint at);
