#include "platform/Graphics.h"

#include <QPainterPath>

namespace {
QRect Between(int x, int y, int width, int height) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    return QRect(x, y, width, height);
}
} // namespace

Graphics::Graphics(QImage& target)
    : m_painter(&target), m_width(target.width()), m_height(target.height()),
      m_transparentBackground(target.hasAlphaChannel()) {}

void Graphics::ClearRect(int x, int y, int width, int height) {
    const QRect r = Between(x, y, width, height);
    Touch(r);
    if (m_transparentBackground) {
        const auto mode = m_painter.compositionMode();
        m_painter.setCompositionMode(QPainter::CompositionMode_Source);
        m_painter.fillRect(r, Qt::transparent);
        m_painter.setCompositionMode(mode);
    } else {
        m_painter.fillRect(r, Qt::white);
    }
}

void Graphics::FillRect(int x, int y, int width, int height) {
    const QRect r = Between(x, y, width, height);
    Touch(r);
    m_painter.fillRect(r, ForeColor);
}

void Graphics::DrawRect(int x, int y, int width, int height) {
    const QRect r = Between(x, y, width, height);
    if (r.isEmpty())
        return;
    Touch(r);
    // An outline one pixel inside the rectangle's edges, so a w x h outline covers exactly w x h pixels.
    m_painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), ForeColor);
    m_painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), ForeColor);
    m_painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), ForeColor);
    m_painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), ForeColor);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
    Touch(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
    m_painter.setPen(QPen(ForeColor, 1));
    m_painter.drawLine(x1, y1, x2, y2);
}

void Graphics::FillRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) {
    const QRect r = Between(x, y, width, height);
    Touch(r);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ForeColor);
    m_painter.drawRoundedRect(r, arcWidth / 2.0, arcHeight / 2.0);
    m_painter.restore();
}

void Graphics::DrawRoundRect(int x, int y, int width, int height, int arcWidth, int arcHeight) {
    const QRect r = Between(x, y, width, height);
    if (r.isEmpty())
        return;
    Touch(r);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(QPen(ForeColor, 1));
    m_painter.setBrush(Qt::NoBrush);
    // The pen straddles the path, so the outline path runs one pixel inside the far edges.
    m_painter.drawRoundedRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), arcWidth / 2.0,
                              arcHeight / 2.0);
    m_painter.restore();
}

void Graphics::DrawPicture(const Picture& picture, int x, int y) {
    Touch(QRect(x, y, picture.Width(), picture.Height()));
    m_painter.drawImage(x, y, picture.Image());
}

void Graphics::DrawPicture(const Picture& picture, int x, int y, int width, int height, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight) {
    Touch(QRect(x, y, width, height));
    m_painter.drawImage(QRect(x, y, width, height), picture.Image(),
                        QRect(sourceX, sourceY, sourceWidth, sourceHeight));
}
