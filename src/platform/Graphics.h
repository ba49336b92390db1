#pragma once

#include "platform/Picture.h"

#include <QColor>
#include <QPainter>

// Drawing into a picture in the editor's terms: a current colour (ForeColor) and integer rectangles given as
// left, top, width, height. Outlines are one pixel wide and cover exactly the rectangle's pixels.
class Graphics {
public:
    explicit Graphics(QImage& target);
    explicit Graphics(Picture& target) : Graphics(target.Image()) {}

    QColor ForeColor = Qt::black;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Fills with the background: transparent on pictures with transparency, white on opaque ones.
    void ClearRect(int x, int y, int width, int height);
    // A negative width or height fills the rectangle between the two edges it names.
    void FillRect(int x, int y, int width, int height);
    void DrawRect(int x, int y, int width, int height);
    void DrawLine(int x1, int y1, int x2, int y2);
    void FillRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight);
    void DrawRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight);
    void DrawPicture(const Picture& picture, int x, int y);
    void DrawPicture(const Picture& picture, int x, int y, int width, int height, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight);

    QPainter& Painter() { return m_painter; }
    // The bounding box of everything drawn through this object so far, so a caller can undo it cheaply.
    const QRect& Touched() const { return m_touched; }

private:
    QPainter m_painter;
    int m_width;
    int m_height;
    bool m_transparentBackground;
    QRect m_touched;

    void Touch(const QRect& area) { m_touched |= area; }
};

inline QColor RGB(int red, int green, int blue) {
    return QColor(red, green, blue);
}
