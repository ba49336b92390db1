#include "document/DocumentBuilder.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include "document/MapFileFormat.h"
#include "document/MapSettings.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {

// One image as read for a map being opened: its size, its content hash and every whole tile it cuts into.
struct CutImage {
    // The file could be read as an image, at least its header.
    bool found = false;
    int width = 0;
    int height = 0;
    QByteArray hash;
    std::vector<PicturePtr> pictures;
};

// Reads and cuts each image once per open, however many loads name it: loads that name the same file at
// the same tile size share its pictures. progress is asked as the rows of an image are cut, so a long read
// can be cancelled.
class ImageCuts {
public:
    explicit ImageCuts(std::function<bool()> goOn) : m_goOn(std::move(goOn)) {}

    // The image at path cut at the load's tile size; null when the user cancelled while it was read.
    const CutImage* Cut(const QString& path, int tileWidth, int tileHeight) {
        const Key key{QFileInfo(path).absoluteFilePath(), tileWidth, tileHeight};
        if (const auto known = m_cuts.find(key); known != m_cuts.end())
            return &known->second;
        clsVOTileset cutter;
        cutter.SetTileWidth(tileWidth);
        cutter.SetTileHeight(tileHeight);
        bool cancelled = false;
        const TilesetLoadResult result = cutter.LoadTileset(
            FolderItem(path), nullptr, [&](qint64, qint64) { return !(cancelled = !m_goOn()); });
        if (result.OutOfMemory)
            throw std::bad_alloc();
        if (cancelled)
            return nullptr;
        CutImage& cut = m_cuts[key];
        cut.found = result.ImageWidth > 0;
        cut.width = result.ImageWidth;
        cut.height = result.ImageHeight;
        cut.hash = result.ContentHash;
        for (const TileRef& tile : cutter.TakeFrom(0))
            cut.pictures.push_back(tile->Image());
        return &cut;
    }

private:
    using Key = std::tuple<QString, int, int>;
    std::function<bool()> m_goOn;
    std::map<Key, CutImage> m_cuts;
};

enum class Cutting { Same, Other, Cancelled };

// The tiles one load gave, cut again from the image at path at the size it was cut at: Other when the image
// is not the one the map was made with (*found tells whether there was an image at all).
Cutting CutAgain(ImageCuts& cuts, const TilesetLoadRecord& load, const QString& path, bool* found,
                 QByteArray* hash, std::vector<TileRef>* tiles) {
    const CutImage* cut = cuts.Cut(path, load.tileWidth, load.tileHeight);
    if (!cut)
        return Cutting::Cancelled;
    *found = cut->found;
    const bool same = cut->width == load.imageWidth && cut->height == load.imageHeight &&
                      std::ssize(cut->pictures) >= load.tileCount &&
                      (load.contentHash.isEmpty() || cut->hash.isEmpty() || cut->hash == load.contentHash);
    if (!same)
        return Cutting::Other;
    *hash = cut->hash;
    tiles->clear();
    tiles->reserve(static_cast<std::size_t>(load.tileCount));
    for (int i = 0; i < load.tileCount; ++i)
        tiles->push_back(std::make_shared<clsVOTile>(cut->pictures[static_cast<std::size_t>(i)]));
    return Cutting::Same;
}

// What the user said about a missing or changed image, for the other loads that name the same file: the
// file located (empty: opened without it).
using Answers = std::map<QString, QString>;

// Asks about a load whose image was not found as it was: the file located, or an empty path (the map opens
// without it); false when the user cancelled.
bool Ask(ImageCuts& cuts, TilesetLoadRecord& load, TilesetImageResolver& resolver, bool anyFound,
         std::vector<TileRef>* tiles, QString* located, bool* cancelled) {
    auto problem = anyFound ? TilesetImageResolver::Problem::Changed : TilesetImageResolver::Problem::Missing;
    for (;;) {
        located->clear();
        const TilesetImageResolver::Answer answer = resolver.Resolve(load, problem, located);
        if (answer == TilesetImageResolver::Answer::Cancel) {
            *cancelled = true;
            return false;
        }
        if (answer == TilesetImageResolver::Answer::GoOn || located->isEmpty()) {
            located->clear();
            return true;
        }
        bool found = false;
        QByteArray hash;
        TilesetLoadRecord wanted = load;
        // A file the user picks is taken when it gives the same tiles in the same places: its content may
        // have been edited since.
        wanted.contentHash.clear();
        const Cutting cutting = CutAgain(cuts, wanted, *located, &found, &hash, tiles);
        if (cutting == Cutting::Cancelled) {
            *cancelled = true;
            return false;
        }
        if (cutting == Cutting::Same) {
            load.contentHash = hash;
            return true;
        }
        problem = found ? TilesetImageResolver::Problem::Changed : TilesetImageResolver::Problem::Missing;
    }
}

// Tiles without a picture, standing for those of an image that is missing, so every later index holds.
std::vector<TileRef> Placeholders(int count) {
    std::vector<TileRef> placeholders;
    placeholders.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        placeholders.push_back(std::make_shared<clsVOTile>(nullptr));
    return placeholders;
}

// The load's tiles: from its image where the image is found unchanged (or located by the user), otherwise
// placeholders without a picture. Updates the load's record to where its image was found.
std::vector<TileRef> LoadTiles(ImageCuts& cuts, Answers& answers, TilesetLoadRecord& load,
                               const QString& mapPath, TilesetImageResolver& resolver, bool* cancelled) {
    QStringList candidates;
    if (!load.relativePath.isEmpty())
        candidates << QFileInfo(mapPath).absoluteDir().absoluteFilePath(load.relativePath);
    candidates << load.absolutePath;
    bool anyFound = false;
    std::vector<TileRef> tiles;
    for (const QString& path : candidates) {
        bool found = false;
        QByteArray hash;
        const Cutting cutting = CutAgain(cuts, load, path, &found, &hash, &tiles);
        if (cutting == Cutting::Cancelled) {
            *cancelled = true;
            return {};
        }
        anyFound = anyFound || found;
        if (cutting == Cutting::Same) {
            load.absolutePath = QFileInfo(path).absoluteFilePath();
            // A map imported from another program names its images without their hashes.
            if (load.contentHash.isEmpty())
                load.contentHash = hash;
            load.imageMissing = false;
            return tiles;
        }
    }
    // Asked once for each file: every load that names it takes the same answer.
    QString located;
    const auto answered = answers.find(load.absolutePath);
    if (answered != answers.end()) {
        located = answered->second;
        bool found = false;
        QByteArray hash;
        TilesetLoadRecord wanted = load;
        wanted.contentHash.clear();
        const Cutting cutting =
            located.isEmpty() ? Cutting::Other : CutAgain(cuts, wanted, located, &found, &hash, &tiles);
        if (cutting == Cutting::Cancelled) {
            *cancelled = true;
            return {};
        }
        if (cutting == Cutting::Same)
            load.contentHash = hash;
        else if (!located.isEmpty() && !Ask(cuts, load, resolver, anyFound, &tiles, &located, cancelled))
            return {};
    } else {
        const QString named = load.absolutePath;
        if (!Ask(cuts, load, resolver, anyFound, &tiles, &located, cancelled))
            return {};
        answers[named] = located;
    }
    if (!located.isEmpty()) {
        load.absolutePath = QFileInfo(located).absoluteFilePath();
        load.imageMissing = false;
        return tiles;
    }
    load.imageMissing = true;
    return Placeholders(load.tileCount);
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

// The map's settings as the snapshot holds them.
MapSettingsValues SettingsOf(const MapSnapshot& snapshot) {
    MapSettingsValues settings;
    settings.mapWidth = snapshot.mapWidth;
    settings.mapHeight = snapshot.mapHeight;
    settings.layers = snapshot.layers;
    settings.tileWidth = snapshot.tileWidth;
    settings.tileHeight = snapshot.tileHeight;
    settings.name = snapshot.name;
    settings.visibleLayers = snapshot.visibleLayers & static_cast<std::uint8_t>((1u << snapshot.layers) - 1);
    return settings;
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
    // The images are read first, one step each, then the layers' cells.
    const qint64 total =
        qint64(snapshot.mapWidth) * snapshot.mapHeight * snapshot.layers + qint64(loads.size());
    qint64 done = 0;
    ImageCuts cuts([&] { return !progress || progress(done, total); });
    Answers answers;
    std::vector<TileRef> tiles;
    for (TilesetLoadRecord& load : loads) {
        bool cancelled = false;
        std::vector<TileRef> cut = LoadTiles(cuts, answers, load, mapPath, resolver, &cancelled);
        if (cancelled || (progress && !progress(++done, total)))
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

    auto document = std::make_unique<MapDocument>();
    document->Replace(SettingsOf(snapshot), std::move(grids), std::move(tileset), std::move(loads));
    document->SetFilePath(mapPath);
    return document;
}
