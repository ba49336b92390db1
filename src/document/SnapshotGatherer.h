#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <cstdint>
#include <vector>

class MapDocument;
class clsVOCell;

// Turns a document into a snapshot, a slice at a time: a map of millions of cells can be gathered between
// events without the window pausing. The document must not change while it is gathered; whoever gathers in
// slices starts again when it does.
class SnapshotGatherer {
public:
    // mapPath: the file the snapshot is for; image paths are kept relative to its folder too. Throws
    // std::bad_alloc when memory for the snapshot's arrays cannot be had.
    // Layers::Later leaves the layers' data out of the snapshot, for whoever asks for them one at a time
    // with GatherLayer (Advance is then not used).
    enum class Layers { Gathered, Later };
    SnapshotGatherer(const MapDocument& document, const QString& mapPath, Layers layers = Layers::Gathered);

    // Gathers up to cells more map positions; true once the snapshot is whole.
    bool Advance(std::int64_t cells);
    std::int64_t Done() const { return m_done; }
    std::int64_t Total() const { return m_total; }
    MapSnapshot Take() { return std::move(m_snapshot); }
    // The snapshot so far (with Layers::Later: everything but the layers' data).
    const MapSnapshot& Header() const { return m_snapshot; }
    // Layer k's data whole, gathered at once. Throws std::bad_alloc when memory for it cannot be had.
    void GatherLayer(int k, LayerSnapshot* layer);

private:
    void GatherRange(int k, LayerSnapshot& layer, std::uint32_t from, std::uint32_t to);

    const MapDocument& m_document;
    MapSnapshot m_snapshot;
    // Tile i's template cell.
    std::vector<const clsVOCell*> m_templates;
    int m_layer = 0;
    std::uint32_t m_index = 0;
    std::int64_t m_done = 0;
    std::int64_t m_total = 0;
};

// The whole document at once.
MapSnapshot TakeSnapshot(const MapDocument& document, const QString& mapPath);
