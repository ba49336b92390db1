#include "tiles/clsVOTileset.h"

#include "platform/MemoryReserve.h"
#include "platform/PNGu.h"

#include <QLocale>
#include <algorithm>
#include <new>

void clsVOTileset::Add(PicturePtr picture) {
    // Everything that can run out of memory comes before the count changes, so a failed Add adds nothing.
    auto tile = std::make_shared<clsVOTile>(std::move(picture));
    tile->SetCell(CellRef::Make(CellValues{static_cast<std::int16_t>(m_intTileCount), {}}));
    m_VOTiles.push_back(std::move(tile));
    ++m_intTileCount;
}

TileRef clsVOTileset::GetTile(int i) const {
    if (i < 0 || i >= m_intTileCount)
        return nullptr;
    return m_VOTiles[static_cast<std::size_t>(i)];
}

CellRef clsVOTileset::PlacedRecord(int i) const {
    if (i < 0 || i >= m_intTileCount)
        return nullptr;
    return m_VOTiles[static_cast<std::size_t>(i)]->Cell();
}

PicturePtr clsVOTileset::GetTileImage(int i) const {
    if (i < 0 || i >= m_intTileCount)
        return nullptr;
    return m_VOTiles[static_cast<std::size_t>(i)]->Image();
}

void clsVOTileset::CutTiles(const Picture& lines, qint64 columns, qint64 count) {
    const int tw = m_intTileWidth;
    const int th = m_intTileHeight;
    qint64 n = 0;
    for (int y = 0; y + th <= lines.Height(); y += th)
        for (qint64 column = 0; column < columns && n < count; ++column, ++n)
            Add(lines.Copy(static_cast<int>(column) * tw, y, tw, th));
}

std::vector<TileRef> clsVOTileset::TakeFrom(int first) {
    first = std::clamp(first, 0, m_intTileCount);
    std::vector<TileRef> taken(std::make_move_iterator(m_VOTiles.begin() + first),
                               std::make_move_iterator(m_VOTiles.end()));
    Truncate(first);
    return taken;
}

void clsVOTileset::Append(std::vector<TileRef> tiles) {
    m_VOTiles.insert(m_VOTiles.end(), std::make_move_iterator(tiles.begin()),
                     std::make_move_iterator(tiles.end()));
    m_intTileCount = static_cast<int>(m_VOTiles.size());
}

void clsVOTileset::Truncate(int count) {
    m_VOTiles.resize(static_cast<std::size_t>(count));
    m_intTileCount = count;
}

TilesetLoadResult clsVOTileset::LoadTileset(const FolderItem& file, MemoryReserve* reserve,
                                            const Progress& progress) {
    TilesetLoadResult result;
    if (file.IsNull())
        return result;
    const QString name = file.Name();
    const int tw = m_intTileWidth;
    const int th = m_intTileHeight;
    const int countBefore = m_intTileCount;
    result.FirstTile = countBefore;
    auto refuse = [&](const QString& text) {
        Truncate(countBefore);
        result.Text = text;
        result.Complete = false;
        return result;
    };
    if (tw < 1 || th < 1)
        return refuse(name + QStringLiteral(" not loaded: the tile size must be at least 1 by 1 pixel"));
    qint64 wanted = 0;
    qint64 taken = 0;
    try {
        PNGu::Reader reader(file.Path());
        if (!reader.Ok())
            return refuse(name + QStringLiteral(" could not be loaded"));
        result.ImageWidth = reader.Width();
        result.ImageHeight = reader.Height();
        const qint64 columns = reader.Width() / tw;
        const qint64 rows = reader.Height() / th;
        wanted = columns * rows;
        if (wanted == 0)
            return refuse(QStringLiteral("%1 holds no whole %2 × %3 tile").arg(name).arg(tw).arg(th));
        taken = std::min<qint64>(wanted, kMaxTiles - m_intTileCount);
        // A full tileset takes none of the image: that is no load, whatever the image held.
        if (taken == 0)
            return refuse(name +
                          QStringLiteral(" could not be loaded: the tileset is full; %1 tiles left out, a "
                                         "tileset holds at most %2 tiles")
                              .arg(wanted)
                              .arg(kMaxTiles));
        // Rows wider than a picture can be (a limit of the picture, not of memory) cannot be cut.
        if (reader.Width() > PNGu::kMaxPictureWidth)
            return refuse(QStringLiteral("%1 is too wide to load: %2 pixels")
                              .arg(name, QLocale(QLocale::English).toString(reader.Width())));
        m_VOTiles.reserve(static_cast<std::size_t>(countBefore + taken));
        // The tile rows the load takes, and the image rows they cover: the rest is never decoded.
        const qint64 tileRows = (taken + columns - 1) / columns;
        bool read = true;
        if (reader.Interlaced()) {
            // Every pass of an interlaced image runs over all its rows, so it is decoded whole, keeping the
            // rows that become tiles.
            Picture lines(QImage(reader.Width(), static_cast<int>(tileRows * th), QImage::Format_ARGB32));
            if (lines.Image().isNull())
                throw std::bad_alloc();
            read = reader.ReadInterlaced(lines.Image());
            if (read) {
                lines.Image().convertTo(QImage::Format_ARGB32_Premultiplied);
                CutTiles(lines, columns, taken);
            }
        } else {
            Picture band(QImage(reader.Width(), th, QImage::Format_ARGB32));
            if (band.Image().isNull())
                throw std::bad_alloc();
            for (qint64 row = 0; read && row < tileRows; ++row) {
                if (progress && !progress(row, tileRows))
                    return refuse(name + QStringLiteral(" not loaded: cancelled"));
                band.Image().reinterpretAsFormat(QImage::Format_ARGB32);
                read = reader.ReadRows(band.Image());
                if (read) {
                    band.Image().convertTo(QImage::Format_ARGB32_Premultiplied);
                    CutTiles(band, columns, taken - row * columns);
                }
            }
        }
        if (!read || !reader.Finish())
            return refuse(name + QStringLiteral(" could not be loaded"));
        result.ContentHash = reader.ContentHash();
    } catch (const std::bad_alloc&) {
        // The tiles cut so far stay, numbered as always; the rest of the image is left out.
        if (reserve)
            reserve->Release();
        result.TileCount = m_intTileCount - countBefore;
        result.Text = QStringLiteral("Out of memory: load stopped after %1 tiles").arg(result.TileCount);
        result.Complete = false;
        result.OutOfMemory = true;
        return result;
    }
    result.TileCount = m_intTileCount - countBefore;
    result.Text = name + QStringLiteral(" loaded");
    if (taken < wanted) {
        result.Complete = false;
        result.Text += QStringLiteral("; %1 tiles left out, a tileset holds at most %2 tiles")
                           .arg(wanted - taken)
                           .arg(kMaxTiles);
    }
    return result;
}
