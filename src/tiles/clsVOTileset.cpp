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

namespace {
// Why an image width pixels wide, holding wanted whole tiles of which the tileset has room for taken, cannot
// be loaded; empty when it can.
QString SizeRefusal(const QString& name, int tw, int th, qint64 width, qint64 wanted, qint64 taken) {
    if (wanted == 0)
        return QStringLiteral("%1 holds no whole %2 × %3 tile").arg(name).arg(tw).arg(th);
    // A full tileset takes none of the image: that is no load, whatever the image held.
    if (taken == 0)
        return name +
               QStringLiteral(" could not be loaded: the tileset is full; %1 tiles left out, a tileset "
                              "holds at most %2 tiles")
                   .arg(wanted)
                   .arg(clsVOTileset::kMaxTiles);
    // Rows wider than a picture can be (a limit of the picture, not of memory) cannot be cut.
    if (width > PNGu::kMaxPictureWidth)
        return QStringLiteral("%1 is too wide to load: %2 pixels")
            .arg(name, QLocale(QLocale::English).toString(width));
    return QString();
}

// Memory ran out after added tiles were cut: they stay, numbered as always, and the rest of the image is left
// out. The reserve goes, so the editor has room to say so.
TilesetLoadResult StoppedByMemory(TilesetLoadResult result, int added, MemoryReserve* reserve) {
    if (reserve)
        reserve->Release();
    result.TileCount = added;
    result.Text = QStringLiteral("Out of memory: load stopped after %1 tiles").arg(added);
    result.Complete = false;
    result.OutOfMemory = true;
    return result;
}
} // namespace

bool clsVOTileset::CutInterlaced(PNGu::Reader& reader, qint64 columns, qint64 taken) {
    // Every pass of an interlaced image runs over all its rows, so it is decoded whole, keeping the rows
    // that become tiles.
    const qint64 tileRows = (taken + columns - 1) / columns;
    Picture lines(
        QImage(reader.Width(), static_cast<int>(tileRows * m_intTileHeight), QImage::Format_ARGB32));
    if (lines.Image().isNull())
        throw std::bad_alloc();
    if (!reader.ReadInterlaced(lines.Image()))
        return false;
    lines.Image().convertTo(QImage::Format_ARGB32_Premultiplied);
    CutTiles(lines, columns, taken);
    return true;
}

clsVOTileset::CutOutcome clsVOTileset::CutBands(PNGu::Reader& reader, qint64 columns, qint64 taken,
                                                const Progress& progress) {
    // One band of a tile row's height at a time; the rows below the last tile taken are never decoded.
    const qint64 tileRows = (taken + columns - 1) / columns;
    Picture band(QImage(reader.Width(), m_intTileHeight, QImage::Format_ARGB32));
    if (band.Image().isNull())
        throw std::bad_alloc();
    for (qint64 row = 0; row < tileRows; ++row) {
        if (progress && !progress(row, tileRows))
            return CutOutcome::Cancelled;
        band.Image().reinterpretAsFormat(QImage::Format_ARGB32);
        if (!reader.ReadRows(band.Image()))
            return CutOutcome::Failed;
        band.Image().convertTo(QImage::Format_ARGB32_Premultiplied);
        CutTiles(band, columns, taken - row * columns);
    }
    return CutOutcome::Done;
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
        wanted = columns * (reader.Height() / th);
        taken = std::min<qint64>(wanted, kMaxTiles - m_intTileCount);
        if (const QString why = SizeRefusal(name, tw, th, reader.Width(), wanted, taken); !why.isEmpty())
            return refuse(why);
        m_VOTiles.reserve(static_cast<std::size_t>(countBefore + taken));
        const CutOutcome cut =
            reader.Interlaced()
                ? (CutInterlaced(reader, columns, taken) ? CutOutcome::Done : CutOutcome::Failed)
                : CutBands(reader, columns, taken, progress);
        if (cut == CutOutcome::Cancelled)
            return refuse(name + QStringLiteral(" not loaded: cancelled"));
        if (cut == CutOutcome::Failed || !reader.Finish())
            return refuse(name + QStringLiteral(" could not be loaded"));
        result.ContentHash = reader.ContentHash();
    } catch (const std::bad_alloc&) {
        return StoppedByMemory(std::move(result), m_intTileCount - countBefore, reserve);
    }
    result.TileCount = m_intTileCount - countBefore;
    result.Text = name + QStringLiteral(" loaded");
    // The tiles the tileset had no room for are left out, and the status line says so in red.
    result.Complete = taken == wanted;
    if (!result.Complete)
        result.Text += QStringLiteral("; %1 tiles left out, a tileset holds at most %2 tiles")
                           .arg(wanted - taken)
                           .arg(kMaxTiles);
    return result;
}
