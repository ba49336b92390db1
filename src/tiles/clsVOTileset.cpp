#include "tiles/clsVOTileset.h"

#include "platform/PNGu.h"

void clsVOTileset::Add(PicturePtr picture) {
    ++m_intTileCount;
    auto tile = std::make_shared<clsVOTile>(std::move(picture));
    tile->SetImageIndex(static_cast<std::int16_t>(m_intTileCount - 1));
    m_VOTiles.push_back(std::move(tile));
}

TileRef clsVOTileset::GetTile(int i) const {
    if (i < 0 || i >= m_intTileCount)
        return nullptr;
    return m_VOTiles[static_cast<std::size_t>(i)];
}

PicturePtr clsVOTileset::GetTileImage(int i) const {
    if (i < 0 || i >= m_intTileCount)
        return nullptr;
    return m_VOTiles[static_cast<std::size_t>(i)]->Image();
}

void clsVOTileset::SelectTileUnderMouse() {
    m_SelectedVOTile = nullptr;
    for (const TileRef& tile : m_VOTiles) {
        if (tile->MouseFocus) {
            m_SelectedVOTile = tile;
            return;
        }
    }
}

TilesetLoadResult clsVOTileset::LoadTileset(const FolderItem& file) {
    TilesetLoadResult result;
    if (file.IsNull())
        return result;
    const QString name = file.Name();
    const int tw = m_intTileWidth;
    const int th = m_intTileHeight;
    if (tw < 1 || th < 1) {
        result.Text = name + QStringLiteral(" not loaded: the tile size must be at least 1 by 1 pixel");
        result.Complete = false;
        return result;
    }
    const PicturePtr source = PNGu::OpenAsPictureWithMask(file.Path(), 0.0);
    if (!source) {
        result.Text = name + QStringLiteral(" could not be loaded");
        result.Complete = false;
        return result;
    }
    const qint64 columns = source->Width() / tw;
    const qint64 rows = source->Height() / th;
    const qint64 wanted = columns * rows;
    const qint64 room = kMaxTiles - m_intTileCount;
    const qint64 taken = std::min(wanted, room);
    m_VOTiles.reserve(m_VOTiles.size() + static_cast<std::size_t>(taken));
    for (qint64 n = 0; n < taken; ++n) {
        const int row = static_cast<int>(n / columns);
        const int column = static_cast<int>(n % columns);
        Add(source->Copy(column * tw, row * th, tw, th));
    }
    result.Added = static_cast<int>(taken);
    result.Text = name + QStringLiteral(" loaded");
    if (taken < wanted) {
        result.Complete = false;
        // A full tileset takes none of the image: that is no load, whatever the image held.
        if (taken == 0)
            result.Text = name + QStringLiteral(" could not be loaded: the tileset is full");
        result.Text += QStringLiteral("; %1 tiles left out, a tileset holds at most %2 tiles")
                           .arg(wanted - taken)
                           .arg(kMaxTiles);
    }
    return result;
}
