#include "tiles/clsVOTileset.h"

#include "platform/PNGu.h"
#include "platform/UntrustedFile.h"

#include <QCryptographicHash>

#include <algorithm>
#include <new>

void clsVOTileset::Add(PicturePtr picture) {
    // Everything that can run out of memory comes before the count changes, so a failed Add adds nothing.
    auto tile = std::make_shared<clsVOTile>(std::move(picture));
    tile->SetImageIndex(static_cast<std::int16_t>(m_intTileCount));
    m_VOTiles.push_back(std::move(tile));
    ++m_intTileCount;
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

namespace {
// What identifies an image's content: a map file keeps it to tell whether the image is still the same.
QByteArray HashOfFile(const QString& path) {
    const std::unique_ptr<QFile> file = UntrustedFile::Open(path, PNGu::kMaxFileBytes, nullptr);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file || !hash.addData(file.get()))
        return QByteArray();
    return hash.result();
}
} // namespace

std::vector<TileRef> clsVOTileset::TakeFrom(int first) {
    first = std::clamp(first, 0, m_intTileCount);
    std::vector<TileRef> taken(std::make_move_iterator(m_VOTiles.begin() + first),
                               std::make_move_iterator(m_VOTiles.end()));
    m_VOTiles.resize(static_cast<std::size_t>(first));
    m_intTileCount = first;
    for (const TileRef& tile : taken)
        if (tile == m_SelectedVOTile)
            m_SelectedVOTile = nullptr;
    return taken;
}

void clsVOTileset::Append(std::vector<TileRef> tiles) {
    m_VOTiles.insert(m_VOTiles.end(), std::make_move_iterator(tiles.begin()),
                     std::make_move_iterator(tiles.end()));
    m_intTileCount = static_cast<int>(m_VOTiles.size());
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
    const int countBefore = m_intTileCount;
    qint64 taken = 0;
    qint64 wanted = 0;
    try {
        const PicturePtr source = PNGu::OpenAsPictureWithMask(file.Path(), 0.0);
        if (!source) {
            result.Text = name + QStringLiteral(" could not be loaded");
            result.Complete = false;
            return result;
        }
        result.ContentHash = HashOfFile(file.Path());
        result.ImageWidth = source->Width();
        result.ImageHeight = source->Height();
        result.FirstTile = m_intTileCount;
        const qint64 columns = source->Width() / tw;
        const qint64 rows = source->Height() / th;
        wanted = columns * rows;
        taken = std::min<qint64>(wanted, kMaxTiles - m_intTileCount);
        m_VOTiles.reserve(m_VOTiles.size() + static_cast<std::size_t>(taken));
        for (qint64 n = 0; n < taken; ++n) {
            const int row = static_cast<int>(n / columns);
            const int column = static_cast<int>(n % columns);
            Add(source->Copy(column * tw, row * th, tw, th));
        }
    } catch (const std::bad_alloc&) {
        // The tiles cut so far stay, numbered as always; the rest of the image is left out.
        result.Text =
            QStringLiteral("Out of memory: load stopped after %1 tiles").arg(m_intTileCount - countBefore);
        result.Complete = false;
        result.OutOfMemory = true;
        result.TileCount = m_intTileCount - countBefore;
        return result;
    }
    result.Text = name + QStringLiteral(" loaded");
    result.TileCount = m_intTileCount - countBefore;
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
