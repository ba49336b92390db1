#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Maps written by other programs in the TMX (XML) and TMJ (JSON) formats, brought into the editor's plain
// form. Both readers hand what they find to one builder, which holds the rules of what this editor can show:
// what it cannot show is refused with a reason or, where a close picture remains, counted in a report.

// What an imported map holds that the editor cannot show, counted.
struct ImportReport {
    qint64 flippedTiles = 0;
    int flattenedGroups = 0;
    int skippedLayers = 0;
    int skippedObjects = 0;
    int ignoredLayerLooks = 0;
    qint64 unknownTiles = 0;

    // One short phrase per kind met ("3 flipped or rotated tiles placed unflipped"), empty when all is shown.
    QStringList Notes() const;
};

// A tileset as a map or a tileset file declares it.
struct ForeignTileset {
    QString name;
    // Absolute, or empty when the tileset has no image of its own.
    QString image;
    int tileWidth = 0;
    int tileHeight = 0;
    int spacing = 0;
    int margin = 0;
    // As declared; 0 when not.
    int imageWidth = 0;
    int imageHeight = 0;
    int tileCount = 0;
    int columns = 0;
    // Some tile has an image of its own: a collection of separate images.
    bool collection = false;
    // Local tile id and the game properties found on it; in ascending order of ids once SortTiles is done.
    std::vector<std::pair<int, CellRecord>> tiles;
};

// Puts the tiles in ascending order of their ids, the last of each id kept.
void SortTiles(ForeignTileset& tileset);

// A tileset image as found on disk.
struct ImageFacts {
    bool found = false;
    bool png = false;
    int width = 0;
    int height = 0;
};
using ImageProbe = std::function<ImageFacts(const QString& absolutePath)>;

// Sets the game property called name (as our export names it: passable, prop_width, custom1 ...) in record;
// false for any other name.
bool SetGameProperty(CellRecord& record, const QString& name, const QVariant& value);

class ForeignMapBuilder {
public:
    explicit ForeignMapBuilder(ImageProbe probe) : m_probe(std::move(probe)) {}

    // Each returns a refusal in a few words fit to follow "could not be opened: ", or an empty text.
    QString Begin(const QString& orientation, bool infinite, qint64 width, qint64 height, qint64 tileWidth,
                  qint64 tileHeight);
    // Tilesets in the order of their first gids, before the layers that use them; their tiles sorted.
    QString AddTileset(qint64 firstGid, const ForeignTileset& tileset);
    void SetName(const QString& name) {
        m_map.name = name;
        m_named = true;
    }
    // declaredWidth/Height: the layer's own size.
    QString BeginLayer(const QString& name, qint64 declaredWidth, qint64 declaredHeight, bool visible);
    // The next cell's gid, flags included; false once the layer has all its cells.
    bool Add(std::uint32_t gid) {
        if (!m_inLayer || qint64(m_tiles->size()) == m_cells)
            return false;
        m_tiles->push_back(TileOf(gid));
        return true;
    }
    QString EndLayer();
    // A point object; true when it was one of our export's cells (column and row properties) and went into
    // that cell of the last tile layer.
    bool CellObject(const std::vector<std::pair<QString, QVariant>>& properties);
    ImportReport& Report() { return m_report; }
    qint64 Cells() const { return m_cells; }
    // The whole map, named defaultName when the file gave it no name. A map with no tile layer gets one
    // empty layer.
    QString Finish(MapSnapshot* map, const QString& defaultName);

private:
    std::uint16_t TileOf(std::uint32_t gid);

    ImageProbe m_probe;
    MapSnapshot m_map;
    ImportReport m_report;
    // Per tileset: its first gid and, in the editor's numbering, its first tile value and tile count.
    struct Range {
        qint64 firstGid;
        int firstValue;
        int count;
    };
    std::vector<Range> m_ranges;
    std::size_t m_lastRange = 0;
    std::vector<CellException> m_exceptions[8];
    qint64 m_cells = 0;
    // The layer being read: its room is taken when it begins, but its pages are touched only as its cells
    // come, so a file that claims a large map and holds little data is refused having cost little.
    std::vector<std::uint16_t>* m_tiles = nullptr;
    int m_layers = 0;
    bool m_begun = false;
    bool m_inLayer = false;
    bool m_named = false;
};
