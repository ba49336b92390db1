#pragma once

#include "platform/Picture.h"

#include <QColor>
#include <QPainter>
#include <cstdint>

// Drawing into a picture in the editor's terms: a current colour (ForeColor) and integer rectangles given as
// left, top, width, height. Outlines are one pixel wide and cover exactly the rectangle's pixels.
// Positions and sizes are 64-bit: a rectangle built from a far-off position and a size cannot overflow, and
// its edges are clipped to a little beyond the picture before Qt sees them.
class Graphics {
public:
    explicit Graphics(QImage& target);
    explicit Graphics(Picture& target) : Graphics(target.Image()) {}

    QColor ForeColor = Qt::black;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Fills with the background: transparent on pictures with transparency, white on opaque ones.
    void ClearRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);
    // A negative width or height fills the rectangle between the two edges it names.
    void FillRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);
    void DrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);
    void FillRoundRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, int arcWidth,
                       int arcHeight);
    void DrawRoundRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, int arcWidth,
                       int arcHeight);
    void DrawPicture(const Picture& picture, std::int64_t x, std::int64_t y);
    // Draws an image with every pixel as a block of factor x factor pixels, blended as DrawPicture blends. On
    // an opaque (RGB32) target it does without the painter, fast enough for many small pictures; other
    // targets go through the painter.
    void BlendImage(const QImage& image, std::int64_t x, std::int64_t y, int factor = 1);

    QPainter& Painter() { return m_painter; }
    // The bounding box of everything drawn through this object so far, so a caller can undo it cheaply.
    const QRect& Touched() const { return m_touched; }

private:
    QImage* m_target;
    QPainter m_painter;
    int m_width;
    int m_height;
    bool m_transparentBackground;
    QRect m_touched;

    void Touch(const QRect& area) { m_touched |= area; }
    // The rectangle between the edges, normalised, with each edge clipped to a margin around the picture.
    QRect Clipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) const;
};

inline QColor RGB(int red, int green, int blue) {
    return QColor(red, green, blue);
}
