#include "platform/Picture.h"

#include <new>

namespace {
QImage::Format FormatFor(int depth) {
    return depth == 24 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
}
} // namespace

Picture::Picture(int width, int height, int depth) : m_image(width, height, FormatFor(depth)) {
    m_image.fill(depth == 24 ? Qt::white : Qt::transparent);
}

Picture::Picture(QImage image) : m_image(std::move(image)) {}

PicturePtr Picture::Copy(int x, int y, int width, int height) const {
    QImage part = m_image.copy(x, y, width, height);
    // Qt answers a failed allocation with a null image; the editor's callers stop on std::bad_alloc.
    if (part.isNull() && width > 0 && height > 0)
        throw std::bad_alloc();
    return std::make_shared<Picture>(std::move(part));
}

PicturePtr NewPicture(int width, int height, int depth) {
    return std::make_shared<Picture>(width, height, depth);
}
