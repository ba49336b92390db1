#include "platform/Graphics.h"

#include "platform/PixelBlit.h"

#include <QPainterPath>

#include <algorithm>

Graphics::Graphics(QImage& target)
    : m_target(&target), m_painter(&target), m_width(target.width()), m_height(target.height()),
      m_transparentBackground(target.hasAlphaChannel()) {}

QRect Graphics::Clipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) const {
    // Far enough outside that an outline or a rounded corner drawn on a clipped edge stays out of sight.
    constexpr std::int64_t kMargin = 8;
    auto span = [](std::int64_t from, std::int64_t size, std::int64_t extent) {
        std::int64_t first = size < 0 ? from + size : from;
        std::int64_t last = size < 0 ? from : from + size; // one past the end
        first = std::clamp<std::int64_t>(first, -kMargin, extent + kMargin);
        last = std::clamp<std::int64_t>(last, -kMargin, extent + kMargin);
        return std::pair<int, int>(static_cast<int>(first), static_cast<int>(last - first));
    };
    const auto [left, w] = span(x, width, m_width);
    const auto [top, h] = span(y, height, m_height);
    return QRect(left, top, w, h);
}

void Graphics::ClearRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    const QRect r = Clipped(x, y, width, height);
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

void Graphics::FillRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    const QRect r = Clipped(x, y, width, height);
    Touch(r);
    m_painter.fillRect(r, ForeColor);
}

void Graphics::DrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    const QRect r = Clipped(x, y, width, height);
    if (r.isEmpty())
        return;
    Touch(r);
    // An outline one pixel inside the rectangle's edges, so a w x h outline covers exactly w x h pixels.
    m_painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), ForeColor);
    m_painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), ForeColor);
    m_painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), ForeColor);
    m_painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), ForeColor);
}

void Graphics::FillRoundRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                             int arcWidth, int arcHeight) {
    const QRect r = Clipped(x, y, width, height);
    Touch(r);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ForeColor);
    m_painter.drawRoundedRect(r, arcWidth / 2.0, arcHeight / 2.0);
    m_painter.restore();
}

void Graphics::DrawRoundRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                             int arcWidth, int arcHeight) {
    const QRect r = Clipped(x, y, width, height);
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

void Graphics::DrawPicture(const Picture& picture, std::int64_t x, std::int64_t y) {
    // A picture wholly outside draws nothing; one that overlaps lies within the int range.
    if (x >= m_width || y >= m_height || x + picture.Width() <= 0 || y + picture.Height() <= 0)
        return;
    const int left = static_cast<int>(x);
    const int top = static_cast<int>(y);
    Touch(QRect(left, top, picture.Width(), picture.Height()));
    m_painter.drawImage(left, top, picture.Image());
}

void Graphics::BlendImage(const QImage& image, std::int64_t x, std::int64_t y, int factor) {
    const std::int64_t width = std::int64_t{image.width()} * factor;
    const std::int64_t height = std::int64_t{image.height()} * factor;
    if (factor < 1 || x >= m_width || y >= m_height || x + width <= 0 || y + height <= 0)
        return;
    Touch(Clipped(x, y, width, height));
    if (m_target->format() != QImage::Format_RGB32) {
        // Within the checks above every edge fits an int. The painter repeats pixels when not told to smooth.
        m_painter.drawImage(QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                  static_cast<int>(height)),
                            image);
        return;
    }
    if (image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32)
        BlendOver(*m_target, x, y, image, factor);
    else
        BlendOver(*m_target, x, y, image.convertToFormat(QImage::Format_ARGB32_Premultiplied), factor);
}
