#pragma once

#include <QImage>
#include <memory>

// A picture the editor draws into and out of. Transparency travels in the image's alpha channel, which plays
// the role of the picture's mask: drawing a picture honours it, and copying a region keeps it pixel for
// pixel.
class Picture {
public:
    // depth 24 gives an opaque picture, depth 32 one that starts fully transparent.
    Picture(int width, int height, int depth = 32);
    explicit Picture(QImage image);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    // A new picture holding the given part of this one, transparency included. Throws std::bad_alloc when
    // memory for it cannot be had.
    std::shared_ptr<Picture> Copy(int x, int y, int width, int height) const;

private:
    QImage m_image;
};

using PicturePtr = std::shared_ptr<Picture>;

PicturePtr NewPicture(int width, int height, int depth);
