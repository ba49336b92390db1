#include "document/DocumentBuilder.h"

#include "document/CellRecords.h"
#include "document/MapDocument.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <map>
#include <tuple>

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
    std::vector<const clsVOCell*> templates;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        CellRecord record = snapshot.templates[i];
        record.imageIndex = static_cast<std::int16_t>(i);
        tiles[i]->SetCell(MakeCell(record));
        templates.push_back(&tiles[i]->Template());
    }

    const int width = snapshot.mapWidth;
    const int height = snapshot.mapHeight;
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
