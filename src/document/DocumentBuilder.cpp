#include "document/DocumentBuilder.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include <QDir>
#include <QFileInfo>

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

std::unique_ptr<MapDocument> BuildDocument(const MapSnapshot& snapshot, const QString& mapPath,
                                           TilesetImageResolver& resolver, const WorkProgress& progress) {
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
    std::vector<const clsVOCell*> templates;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        CellRecord record = snapshot.templates[i];
        record.imageIndex = static_cast<std::int16_t>(i);
        tiles[i]->SetCell(MakeCell(record));
        templates.push_back(&tiles[i]->Template());
    }

    const int width = snapshot.mapWidth;
    const int height = snapshot.mapHeight;
    const qint64 total = qint64(width) * height * snapshot.layers;
    qint64 done = 0;
    std::array<LayerGrid, 8> grids;
    for (int k = 0; k < snapshot.layers; ++k) {
        const LayerSnapshot& layer = snapshot.layer[static_cast<std::size_t>(k)];
        LayerGrid grid = LayerGrid().Resized(width, height);
        auto exception = layer.exceptions.begin();
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const std::uint32_t index = grid.IndexOf(column, row);
                const std::uint16_t value = layer.tiles[index];
                while (exception != layer.exceptions.end() && exception->index < index)
                    ++exception;
                if (value == 0)
                    continue;
                CellRef cell;
                if (exception != layer.exceptions.end() && exception->index == index) {
                    cell = MakeCell(exception->record);
                    ++exception;
                } else if (value != kOddTile) {
                    const std::size_t tile = value - 1u;
                    cell = tile < templates.size() ? templates[tile]->Copy() : CellRef::Make();
                    cell->SetImageIndex(static_cast<std::int16_t>(tile));
                    cell->SetX(column * snapshot.tileWidth);
                    cell->SetY(row * snapshot.tileHeight);
                    cell->SetZOrder(static_cast<std::uint8_t>(k));
                }
                grid.Exchange(index, cell);
            }
            done += width;
            if (progress && !progress(done, total))
                return nullptr;
        }
        grids[static_cast<std::size_t>(k)] = std::move(grid);
    }

    tileset->Append(std::move(tiles));
    MapSettingsValues settings;
    settings.mapWidth = width;
    settings.mapHeight = height;
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
