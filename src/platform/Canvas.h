#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A drawing surface that reports the mouse in the editor's terms. Positions are canvas pixels. A press of the
// left button is offered to MouseDown; when that returns true, the moves until the release come as
// MouseDrag and the release as MouseUp. Moves with no button held come as MouseMove. Other buttons are
// ignored. The wheel reports one step per event, negative when the wheel turns away from the user (up).
// The canvas shows the picture kept in its buffer; a paint first lets Paint refresh that buffer.
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
    std::function<bool(int, int, int, int)> MouseWheel;

    // The picture the canvas shows, sized to the canvas (kept, reused between frames).
    QImage& Buffer();
    const QImage& Buffer() const { return m_buffer; }
    // Shows the buffer's current content.
    void Present();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage m_buffer;
    bool m_dragging = false;
    bool m_painting = false;
};
