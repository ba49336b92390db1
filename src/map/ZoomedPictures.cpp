#include "map/ZoomedPictures.h"

#include "map/MapZoom.h"

#include <algorithm>

namespace {
// Slots beyond this are not kept: a tileset numbers its pictures below it.
constexpr int kMaxSlots = 32768;
} // namespace

void ZoomedPictures::SetScale(int tileWidth, int tileHeight, int viewWidth, int viewHeight) {
    if (tileWidth == m_tileWidth && tileHeight == m_tileHeight && viewWidth == m_viewWidth &&
        viewHeight == m_viewHeight)
        return;
    m_tileWidth = tileWidth;
    m_tileHeight = tileHeight;
    m_viewWidth = viewWidth;
    m_viewHeight = viewHeight;
    Clear();
}

QSize ZoomedPictureSize(QSize picture, int tileWidth, int tileHeight, int viewWidth, int viewHeight) {
    const auto side = [](int pixels, int tile, int view) {
        return static_cast<int>(std::clamp<std::int64_t>(MapToView(pixels, tile, view), 1, 1 << 28));
    };
    return {side(picture.width(), tileWidth, viewWidth), side(picture.height(), tileHeight, viewHeight)};
}

const QImage& ZoomedPictures::Reduced(int slot, const Picture& picture) {
    Kept* kept = &m_loose;
    if (slot >= 0 && slot < kMaxSlots) {
        if (static_cast<std::size_t>(slot) >= m_kept.size())
            m_kept.resize(static_cast<std::size_t>(slot) + 1);
        kept = &m_kept[static_cast<std::size_t>(slot)];
    }
    const qint64 source = picture.Image().cacheKey();
    if (kept->source != source || kept->image.isNull()) {
        const QSize size =
            ZoomedPictureSize(picture.Image().size(), m_tileWidth, m_tileHeight, m_viewWidth, m_viewHeight);
        // Without memory for it the picture comes out null and is not drawn; drawing goes on.
        QImage image = picture.Image().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!image.isNull() && image.format() != QImage::Format_ARGB32_Premultiplied)
            image.convertTo(QImage::Format_ARGB32_Premultiplied);
        kept->image = std::move(image);
        kept->source = source;
    }
    return kept->image;
}

void ZoomedPictures::Clear() {
    m_kept.clear();
    m_kept.shrink_to_fit();
    m_loose = Kept();
}
