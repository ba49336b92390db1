#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

// A drawing surface that reports the mouse in the editor's terms. Positions are canvas pixels. A press of the
// left button is offered to MouseDown; when that returns true, a stroke is under way: the moves until the
// release come as MouseDrag and the release as MouseUp. A stroke lives only while the left button is held:
// when its release is lost (taken by a dialog, a menu or another window) it ends through MouseCancel instead,
// and nothing more comes as MouseDrag or MouseUp. Moves with no button held come as MouseMove, and a move or
// press over the canvas is always preceded by a MouseEnter. Other buttons are ignored. The wheel reports one
// step per 120 units of turn on each axis (one notch of an ordinary wheel), negative when the wheel turns
// away from the user (up); the small turns of a fine wheel or touchpad add up to whole steps. The canvas
// shows the picture kept in its buffer; a paint first lets Paint refresh that buffer. A request for a context
// menu (the right button, or the menu key) comes as ContextMenu, never in the middle of a stroke; a request
// for a tooltip asks ToolTipAt for the text at the pointer and the area of the canvas it holds for (the
// tooltip goes when the pointer leaves it); none is shown when the text is empty.
class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    std::function<void()> Paint;
    std::function<void()> MouseEnter;
    std::function<void()> MouseExit;
    std::function<void(int, int)> MouseMove;
    std::function<bool(int, int)> MouseDown;
    std::function<void(int, int)> MouseDrag;
    std::function<void(int, int)> MouseUp;
    std::function<void()> MouseCancel;
    std::function<bool(int, int, int, int)> MouseWheel;
    std::function<void(int, int)> ContextMenu;
    std::function<QString(int, int, QRect*)> ToolTipAt;

    // The picture the canvas shows, sized to the canvas (kept, reused between frames).
    QImage& Buffer();
    const QImage& Buffer() const { return m_buffer; }
    // Shows the buffer's current content.
    void Present();

    bool StrokeUnderWay() const { return m_dragging; }
    // The keyboard's modifiers held at the last press.
    Qt::KeyboardModifiers PressModifiers() const { return m_pressModifiers; }
    // Ends a stroke under way without its release, as when a modal dialog is about to take the mouse.
    void CancelStroke();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Watches the whole application while a stroke is under way, for whatever takes the mouse from it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Enter();
    void BeginStroke();

    QImage m_buffer;
    bool m_dragging = false;
    Qt::KeyboardModifiers m_pressModifiers;
    bool m_painting = false;
    bool m_inside = false;
    // Wheel turn not yet worth a whole step, per axis, in Qt's units (120 per notch).
    QPoint m_wheelRest;
};
