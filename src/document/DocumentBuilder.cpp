#include "document/DocumentBuilder.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include "document/MapFileFormat.h"
#include "map/MapSettings.h"

#include <QDir>
#include <QFileInfo>
#include <unordered_map>

namespace {

// The tiles one load gave, cut again from its image at the size it was cut at; empty when the image is not
// the one the map was made with.
std::vector<TileRef> CutAgain(const TilesetLoadRecord& load, const QString& path, bool* found,
                              QByteArray* hash) {
    clsVOTileset cutter;
    cutter.SetTileWidth(load.tileWidth);
    cutter.SetTileHeight(load.tileHeight);
    const TilesetLoadResult result = cutter.LoadTileset(FolderItem(path));
    if (result.OutOfMemory)
        throw std::bad_alloc();
    *found = result.ImageWidth > 0;
    const bool same = result.ImageWidth == load.imageWidth && result.ImageHeight == load.imageHeight &&
                      cutter.Count() >= load.tileCount &&
                      (load.contentHash.isEmpty() || result.ContentHash.isEmpty() ||
                       result.ContentHash == load.contentHash);
    if (!same)
        return {};
    *hash = result.ContentHash;
    std::vector<TileRef> tiles = cutter.TakeFrom(0);
    tiles.resize(static_cast<std::size_t>(load.tileCount));
    return tiles;
}

// The load's tiles: from its image where the image is found unchanged (or located by the user), otherwise
// placeholders without a picture. Updates the load's record to where its image was found.
std::vector<TileRef> LoadTiles(TilesetLoadRecord& load, const QString& mapPath,
                               TilesetImageResolver& resolver, bool* cancelled) {
    QStringList candidates;
    if (!load.relativePath.isEmpty())
        candidates << QFileInfo(mapPath).absoluteDir().absoluteFilePath(load.relativePath);
    candidates << load.absolutePath;
    bool anyFound = false;
    for (const QString& path : candidates) {
        bool found = false;
        QByteArray hash;
        std::vector<TileRef> tiles = CutAgain(load, path, &found, &hash);
        anyFound = anyFound || found;
        if (!tiles.empty()) {
            load.absolutePath = QFileInfo(path).absoluteFilePath();
            // A map imported from another program names its images without their hashes.
            if (load.contentHash.isEmpty())
                load.contentHash = hash;
            load.imageMissing = false;
            return tiles;
        }
    }
    auto problem = anyFound ? TilesetImageResolver::Problem::Changed : TilesetImageResolver::Problem::Missing;
    for (;;) {
        QString located;
        const TilesetImageResolver::Answer answer = resolver.Resolve(load, problem, &located);
        if (answer == TilesetImageResolver::Answer::Cancel) {
            *cancelled = true;
            return {};
        }
        if (answer == TilesetImageResolver::Answer::GoOn || located.isEmpty())
            break;
        bool found = false;
        QByteArray hash;
        TilesetLoadRecord wanted = load;
        // A file the user picks is taken when it gives the same tiles in the same places: its content may
        // have been edited since.
        wanted.contentHash.clear();
        std::vector<TileRef> tiles = CutAgain(wanted, located, &found, &hash);
        if (!tiles.empty()) {
            load.absolutePath = QFileInfo(located).absoluteFilePath();
            load.contentHash = hash;
            load.imageMissing = false;
            return tiles;
        }
        problem = found ? TilesetImageResolver::Problem::Changed : TilesetImageResolver::Problem::Missing;
    }
    load.imageMissing = true;
    std::vector<TileRef> placeholders;
    placeholders.reserve(static_cast<std::size_t>(load.tileCount));
    for (int i = 0; i < load.tileCount; ++i)
        placeholders.push_back(std::make_shared<clsVOTile>(nullptr));
    return placeholders;
}

} // namespace

namespace {

struct ValuesHash {
    std::size_t operator()(const CellValues& v) const noexcept {
        std::size_t h = qHash(v.game.custom1, qHash(v.game.custom2));
        for (const int field :
             {int(v.imageIndex), int(v.game.width), int(v.game.height), int(v.game.listIndex),
              int(v.game.imageValue), int(v.game.passable) * 2 + int(v.game.destroyable)})
            h = h * 1000003u ^ std::size_t(std::uint16_t(field));
        return h;
    }
};

// The records of a map being opened, equal ones shared. The lookup holds one entry per distinct record,
// each of them also held by the snapshot as at least one exception of a few dozen bytes, so it costs less
// than the file's records already do within the reader's limits; past kMaxShared distinct records (only a
// hostile or odd file has them) the others are made unshared, one per cell, as the snapshot's are.
class SharedRecords {
public:
    // Records the placed record of tile, so that an equal record read later shares it.
    void Seed(const CellRef& record) { m_lookup.emplace(record->Values(), record); }
    // The placed record of tile value v (v - 1 the tile), looked up once per value: most cells are one of
    // these.
    const CellRef& Placed(const clsVOTileset& tileset, std::uint16_t value) {
        if (m_placed.empty())
            m_placed.resize(kOddTile);
        CellRef& record = m_placed[value];
        if (!record) {
            const int tile = value - 1;
            record = tileset.PlacedRecord(tile);
            if (!record)
                record = For(CellValues{static_cast<std::int16_t>(tile), {}});
        }
        return record;
    }
    CellRef For(const CellValues& values) {
        if (const auto found = m_lookup.find(values); found != m_lookup.end())
            return found->second;
        CellRef record = CellRef::Make(values);
        if (m_lookup.size() < kMaxShared)
            m_lookup.emplace(values, record);
        return record;
    }

private:
    static constexpr std::size_t kMaxShared = std::size_t(1) << 20;
    std::unordered_map<CellValues, CellRef, ValuesHash> m_lookup;
    std::vector<CellRef> m_placed;
};

// The records of one layer laid into a new grid: a cell with no exception holds its tile's placed record.
bool BuildLayer(const MapSnapshot& snapshot, int k, const clsVOTileset& tileset, SharedRecords& shared,
                LayerGrid& grid, qint64* moved, const std::function<bool()>& rowDone) {
    const LayerSnapshot& layer = snapshot.layer[static_cast<std::size_t>(k)];
    auto exception = layer.exceptions.begin();
    for (int row = 0; row < snapshot.mapHeight; ++row) {
        for (int column = 0; column < snapshot.mapWidth; ++column) {
            const std::uint32_t index = grid.IndexOf(column, row);
            const std::uint16_t value = layer.tiles[index];
            while (exception != layer.exceptions.end() && exception->index < index)
                ++exception;
            if (value == 0)
                continue;
            if (exception != layer.exceptions.end() && exception->index == index) {
                const CellRecord& record = exception->record;
                *moved += record.x != column * snapshot.tileWidth || record.y != row * snapshot.tileHeight ||
                          record.zOrder != k;
                grid.Put(index, shared.For(ValuesOf(record)));
                ++exception;
            } else if (value != kOddTile) {
                grid.Put(index, shared.Placed(tileset, value));
            }
        }
        if (!rowDone())
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<MapDocument> BuildDocument(const MapSnapshot& snapshot, const QString& mapPath,
                                           TilesetImageResolver& resolver, const WorkProgress& progress,
                                           qint64* moved) {
    // Every record's count stays far within its 32 bits: the grids hold at most this many references.
    static_assert(qint64(MapFileFormat::kMaxLayers) * kMaxMapCells < (qint64(1) << 29));
    qint64 movedHere = 0;
    moved = moved ? moved : &movedHere;
    *moved = 0;
    auto tileset = std::make_shared<clsVOTileset>();
    std::vector<TilesetLoadRecord> loads = snapshot.loads;
    std::vector<TileRef> tiles;
    for (TilesetLoadRecord& load : loads) {
        bool cancelled = false;
        std::vector<TileRef> cut = LoadTiles(load, mapPath, resolver, &cancelled);
        if (cancelled)
            return nullptr;
        tiles.insert(tiles.end(), cut.begin(), cut.end());
    }
    // Templates the loads do not cover keep their places as placeholders, so every later index holds.
    while (tiles.size() < snapshot.templates.size())
        tiles.push_back(std::make_shared<clsVOTile>(nullptr));
    tiles.resize(snapshot.templates.size());
    SharedRecords shared;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const CellRecord& record = snapshot.templates[i];
        *moved += record.x != 0 || record.y != 0 || record.zOrder != 0;
        CellValues values = ValuesOf(record);
        values.imageIndex = static_cast<std::int16_t>(i);
        tiles[i]->SetCell(CellRef::Make(values));
        shared.Seed(tiles[i]->Cell());
    }
    tileset->Append(std::move(tiles));

    const qint64 total = qint64(snapshot.mapWidth) * snapshot.mapHeight * snapshot.layers;
    qint64 done = 0;
    const auto rowDone = [&] {
        done += snapshot.mapWidth;
        return !progress || progress(done, total);
    };
    std::array<LayerGrid, 8> grids;
    for (int k = 0; k < snapshot.layers; ++k) {
        LayerGrid grid = LayerGrid().Resized(snapshot.mapWidth, snapshot.mapHeight);
        if (!BuildLayer(snapshot, k, *tileset, shared, grid, moved, rowDone))
            return nullptr;
        grids[static_cast<std::size_t>(k)] = std::move(grid);
    }

    MapSettingsValues settings;
    settings.mapWidth = snapshot.mapWidth;
    settings.mapHeight = snapshot.mapHeight;
    settings.layers = snapshot.layers;
    settings.tileWidth = snapshot.tileWidth;
    settings.tileHeight = snapshot.tileHeight;
    settings.name = snapshot.name;
    settings.visibleLayers = snapshot.visibleLayers & static_cast<std::uint8_t>((1u << snapshot.layers) - 1);
    auto document = std::make_unique<MapDocument>();
    document->Replace(settings, std::move(grids), std::move(tileset), std::move(loads));
    document->SetFilePath(mapPath);
    return document;
}
