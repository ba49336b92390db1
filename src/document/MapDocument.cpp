#include "document/MapDocument.h"

#include "document/CellRecords.h"
#include "document/DocumentSteps.h"
#include "document/MapSettings.h"
#include "tiles/CellGameValues.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

MapDocument::MapDocument() : m_tileset(std::make_shared<clsVOTileset>()) {
    m_tileset->SetTileWidth(m_settings.tileWidth);
    m_tileset->SetTileHeight(m_settings.tileHeight);
    PlaceGrids();
    connect(&m_history, &History::cleanChanged, this, &MapDocument::titleChanged);
}

MapDocument::~MapDocument() {
    // An edit the window still holds outlives nothing it could write to.
    if (m_openEdit)
        m_openEdit->Commit();
}

bool MapDocument::SizeGrids() {
    std::array<LayerGrid, 8> grids;
    try {
        for (int k = 0; k < 8; ++k)
            if (LayerInUse(k))
                grids[static_cast<std::size_t>(k)] = Grid(k).Resized(MapWidth(), MapHeight());
    } catch (const std::bad_alloc&) {
        // The map must be the size its grids really are, or an edit would reach past them.
        m_settings.mapWidth = Grid(0).Width();
        m_settings.mapHeight = Grid(0).Height();
        emit settingsChanged();
        return false;
    }
    m_layers.swap(grids);
    PlaceGrids();
    emit settingsChanged();
    return true;
}

void MapDocument::PlaceGrids() noexcept {
    for (int k = 0; k < 8; ++k)
        Grid(k).SetPlace(k, m_settings.tileWidth, m_settings.tileHeight);
}

LayerGrid* MapDocument::EditableRow(int layer, int row) {
    if (!LayerInUse(layer) || row < 0 || row >= MapHeight() || row >= Grid(layer).Height())
        return nullptr;
    return &Grid(layer);
}

bool MapDocument::LayerInUse(int k) const {
    return k == 0 || (k > 0 && k < 8 && k < m_settings.layers);
}

void MapDocument::SetFilePath(const QString& path) {
    m_filePath = path;
    emit titleChanged();
}

void MapDocument::SetImportedFrom(const QString& path) {
    m_importedFrom = path;
    emit titleChanged();
}

QString MapDocument::DisplayName() const {
    if (m_filePath.isEmpty())
        return m_importedFrom.isEmpty() ? QStringLiteral("Untitled")
                                        : QFileInfo(m_importedFrom).completeBaseName();
    return QFileInfo(m_filePath).fileName();
}

void MapDocument::EndOpenEdit() {
    if (m_openEdit)
        m_openEdit->Commit();
}

void MapDocument::Undo() {
    EndOpenEdit();
    m_history.Undo();
}

void MapDocument::Redo() {
    EndOpenEdit();
    m_history.Redo();
}

// ---- Cell edits -----------------------------------------------------------------------------------------

MapDocument::CellEdit::CellEdit(MapDocument& document, QString text)
    : m_document(document), m_text(std::move(text)) {
    m_document.EndOpenEdit();
    m_document.m_openEdit = this;
}

MapDocument::CellEdit::~CellEdit() {
    if (m_document.m_openEdit == this)
        m_document.m_openEdit = nullptr;
    if (m_done || m_changes.Empty())
        return;
    // Not committed: the edit stopped part way, and the map goes back to what it was before it.
    m_changes.ExchangeAll(m_document.m_layers, true);
    m_document.AnnounceCells(m_changes.Bounds());
}

void MapDocument::CellEdit::Place(int layer, int column, int row, int tile) {
    PlaceRun(layer, row, column, column, tile);
}

void MapDocument::CellEdit::PlaceRun(int layer, int row, int first, int last, int tile) {
    const CellRef record = m_document.Tileset().PlacedRecord(tile);
    if (record)
        PutRun(layer, row, first, last, [&record](int) -> const CellRef& { return record; });
}

void MapDocument::CellEdit::Put(int layer, int column, int row, const CellRef& record) {
    PutRun(layer, row, column, column, [&record](int) -> const CellRef& { return record; });
}

void MapDocument::CellEdit::EraseRun(int layer, int row, int first, int last) {
    static const CellRef kEmpty;
    PutRun(layer, row, first, last, [](int) -> const CellRef& { return kEmpty; });
}

void MapDocument::CellEdit::SetValues(int layer, int column, int row, const GameValues& values) {
    if (!m_document.LayerInUse(layer) || !m_document.Layer(layer).Inside(column, row))
        return;
    const CellRef& held = m_document.Layer(layer).Record(column, row);
    if (!held)
        return;
    // A cell set back to exactly its tile's values shares the tile's record again.
    CellRef tile = m_document.Tileset().PlacedRecord(held->ImageIndex());
    if (!tile || GameValuesOf(*tile) != values)
        tile = CellRef::Make(*held, values);
    Put(layer, column, row, tile);
}

void MapDocument::CellEdit::Flush() {
    std::array<QRect, 8> changed;
    for (std::size_t k = 0; k < changed.size(); ++k)
        changed[k] = m_unannounced[k].Rect();
    m_unannounced = {};
    m_document.AnnounceCells(changed);
}

void MapDocument::CellEdit::Commit() {
    if (m_done)
        return;
    Flush();
    if (!m_changes.Empty()) {
        m_document.m_history.Reserve();
        m_changes.Recount();
        auto step = std::make_unique<CellsStep>(m_document, m_text, std::move(m_changes));
        m_changes = CellChanges();
        if (m_selectionMove)
            step->SetSelectionMove(m_selectionMove->first, m_selectionMove->second);
        m_document.m_history.Push(std::move(step));
    }
    m_done = true;
    if (m_document.m_openEdit == this)
        m_document.m_openEdit = nullptr;
}

void MapDocument::AnnounceCells(const std::array<QRect, 8>& bounds) {
    for (int k = 0; k < 8; ++k)
        if (!bounds[static_cast<std::size_t>(k)].isEmpty())
            emit cellsChanged(k, bounds[static_cast<std::size_t>(k)]);
}

// ---- Settings and visibility ----------------------------------------------------------------------------

QString MapDocument::Refusal(const MapSettingsValues& wanted) {
    if (wanted.mapWidth < 1 || wanted.mapWidth > kMaxMapSide)
        return QStringLiteral("Map width %1 is outside 1 to %2").arg(wanted.mapWidth).arg(kMaxMapSide);
    if (wanted.mapHeight < 1 || wanted.mapHeight > kMaxMapSide)
        return QStringLiteral("Map height %1 is outside 1 to %2").arg(wanted.mapHeight).arg(kMaxMapSide);
    if (qint64(wanted.mapWidth) * wanted.mapHeight > kMaxMapCells)
        return QStringLiteral("Map size %1 × %2 is more than %3 cells")
            .arg(wanted.mapWidth)
            .arg(wanted.mapHeight)
            .arg(kMaxMapCells);
    if (wanted.tileWidth < 1 || wanted.tileWidth > kMaxTileSide)
        return QStringLiteral("Tile width %1 is outside 1 to %2").arg(wanted.tileWidth).arg(kMaxTileSide);
    if (wanted.tileHeight < 1 || wanted.tileHeight > kMaxTileSide)
        return QStringLiteral("Tile height %1 is outside 1 to %2").arg(wanted.tileHeight).arg(kMaxTileSide);
    if (wanted.layers < 1 || wanted.layers > 8)
        return QStringLiteral("%1 layers is outside 1 to 8").arg(wanted.layers);
    return {};
}

MapDocument::ApplyResult MapDocument::Apply(const MapSettingsValues& wanted, const Progress& progress) {
    EndOpenEdit();
    if (QString reason = Refusal(wanted); !reason.isEmpty())
        return {ApplyResult::Refused, std::move(reason)};
    MapSettingsValues next = wanted;
    // A layer not in use has no cells to show.
    next.visibleLayers &= static_cast<std::uint8_t>((1u << next.layers) - 1);
    if (next == m_settings)
        return {};
    const bool gridsChange =
        next.mapWidth != MapWidth() || next.mapHeight != MapHeight() || next.layers != Layers();
    std::array<LayerGrid, 8> grids;
    if (gridsChange)
        for (int k = 0; k < next.layers; ++k) {
            if (progress && !progress(k, next.layers))
                return {ApplyResult::Cancelled, {}};
            grids[static_cast<std::size_t>(k)] = Grid(k).Resized(next.mapWidth, next.mapHeight);
        }
    auto step = std::make_unique<SettingsStep>(*this, next, std::move(grids), gridsChange);
    m_history.Reserve();
    step->Exchange();
    m_history.Push(std::move(step));
    return {};
}

void MapDocument::ExchangeSettings(MapSettingsValues& settings, std::array<LayerGrid, 8>* grids) {
    std::swap(m_settings, settings);
    if (grids)
        m_layers.swap(*grids);
    m_tileset->SetTileWidth(m_settings.tileWidth);
    m_tileset->SetTileHeight(m_settings.tileHeight);
    // A cell's position is worked out from where it lies, so a new tile size visits no cell.
    PlaceGrids();
    emit settingsChanged();
    emit visibilityChanged();
}

void MapDocument::SetLayerVisible(int k, bool shown) {
    if (k < 0 || k > 7 || LayerVisible(k) == shown || (shown && !LayerInUse(k)))
        return;
    EndOpenEdit();
    const std::uint8_t other = static_cast<std::uint8_t>(m_settings.visibleLayers ^ (1u << k));
    auto step = std::make_unique<VisibilityStep>(*this, other);
    step->setText(shown ? QStringLiteral("Show Layer %1").arg(k) : QStringLiteral("Hide Layer %1").arg(k));
    m_history.Reserve();
    step->redo();
    m_history.Push(std::move(step));
}

void MapDocument::ExchangeVisibility(std::uint8_t& visibleLayers) {
    std::swap(m_settings.visibleLayers, visibleLayers);
    emit visibilityChanged();
}

// ---- Tiles ----------------------------------------------------------------------------------------------

TilesetLoadResult MapDocument::LoadTileset(const FolderItem& file, MemoryReserve* reserve,
                                           const clsVOTileset::Progress& progress,
                                           const MissingImageChooser& choose) {
    EndOpenEdit();
    const int before = m_tileset->Count();
    TilesetLoadResult result = m_tileset->LoadTileset(file, reserve, progress);
    const int added = m_tileset->Count() - before;
    if (added <= 0)
        return result;
    try {
        if (result.OutOfMemory)
            throw std::bad_alloc();
        if (const int missing = MissingLoadFor(result); missing >= 0) {
            const bool same = m_loads[std::size_t(missing)].contentHash == result.ContentHash;
            const MissingImageChoice choice = same     ? MissingImageChoice::Use
                                              : choose ? choose(m_loads[std::size_t(missing)])
                                                       : MissingImageChoice::AddAsNew;
            if (choice != MissingImageChoice::AddAsNew) {
                std::vector<TileRef> cut;
                std::vector<TilesetLoadRecord> none;
                TakeTiles(before, cut, none);
                if (choice == MissingImageChoice::Use)
                    return TakeMissingPlace(missing, file, result, cut, reserve);
                result.Text.clear();
                result.TileCount = 0;
                return result;
            }
        }
        TilesetLoadRecord record;
        record.absolutePath = QFileInfo(file.Path()).absoluteFilePath();
        record.tileWidth = TileWidth();
        record.tileHeight = TileHeight();
        record.imageWidth = result.ImageWidth;
        record.imageHeight = result.ImageHeight;
        record.contentHash = result.ContentHash;
        record.firstTile = before;
        record.tileCount = added;
        auto step = std::make_unique<TilesetLoadStep>(*this, QStringLiteral("Load Tiles"), before);
        m_history.Reserve();
        m_loads.push_back(std::move(record));
        m_history.Push(std::move(step));
    } catch (const std::bad_alloc&) {
        // A load that ran out of memory part way is taken back whole.
        std::vector<TileRef> tiles;
        std::vector<TilesetLoadRecord> loads;
        TakeTiles(before, tiles, loads);
        result.OutOfMemory = true;
        return result;
    }
    emit tilesetChanged();
    return result;
}

bool MapDocument::RemoveTiles() {
    EndOpenEdit();
    if (m_tileset->Count() == 0)
        return false;
    auto step = std::make_unique<TilesRemovalStep>(*this, QStringLiteral("Remove Tiles"));
    m_history.Reserve();
    step->redo();
    m_history.Push(std::move(step));
    return true;
}

std::size_t MapDocument::SetTileProperties(int index, const GameValues& values, bool alsoPlaced) {
    EndOpenEdit();
    const TileRef tile = m_tileset->GetTile(index);
    if (!tile || GameValuesOf(tile->Template()) == values)
        return 0;
    CellRef other = CellRef::Make(tile->Template(), values);
    const CellRef old = tile->Cell();
    CellChanges changes;
    std::unique_ptr<TilePropertiesStep> step;
    try {
        if (alsoPlaced) {
            for (int k = 0; k < 8; ++k) {
                if (!LayerInUse(k))
                    continue;
                LayerGrid& grid = Grid(k);
                // The cells that hold the old template, or a record equal to it, take the new one.
                for (int row = 0; row < grid.Height(); ++row)
                    changes.WriteRun(grid, k, row, 0, grid.Width() - 1, [&](int column) -> const CellRef& {
                        const CellRef& placed = grid.Record(column, row);
                        return SameRecord(placed, old) ? other : placed;
                    });
            }
        }
        m_history.Reserve();
        changes.Recount();
        step = std::make_unique<TilePropertiesStep>(*this, QStringLiteral("Tile Properties"), tile,
                                                    std::move(other), std::move(changes));
    } catch (const std::bad_alloc&) {
        // The cells written so far go back; the step was not made, so they are still recorded here.
        changes.ExchangeAll(m_layers, true);
        throw;
    }
    ExchangeTemplate(*tile, step->Template());
    AnnounceCells(step->Bounds());
    const std::size_t cells = step->CellCount();
    m_history.Push(std::move(step));
    return cells;
}

void MapDocument::ExchangeTemplate(clsVOTile& tile, CellRef& other) {
    tile.ExchangeCell(other);
    emit tilesetChanged();
}

void MapDocument::TakeTiles(int first, std::vector<TileRef>& tiles, std::vector<TilesetLoadRecord>& loads) {
    // Whatever needs memory is had before anything moves: out of memory, the tileset stays whole.
    const auto kept = std::find_if(m_loads.begin(), m_loads.end(), [first](const TilesetLoadRecord& load) {
        return load.firstTile >= first;
    });
    std::vector<TilesetLoadRecord> taken;
    taken.reserve(static_cast<std::size_t>(m_loads.end() - kept));
    tiles = m_tileset->TakeFrom(first);
    taken.assign(std::make_move_iterator(kept), std::make_move_iterator(m_loads.end()));
    m_loads.erase(kept, m_loads.end());
    loads.swap(taken);
    emit tilesetChanged();
}

void MapDocument::RestoreTiles(std::vector<TileRef>& tiles, std::vector<TilesetLoadRecord>& loads) {
    // The step keeps its tiles until they are in place: out of memory, neither side has changed.
    m_loads.reserve(m_loads.size() + loads.size());
    m_tileset->Append(tiles);
    tiles.clear();
    for (TilesetLoadRecord& load : loads)
        m_loads.push_back(std::move(load));
    loads.clear();
    emit tilesetChanged();
}

void MapDocument::Replace(const MapSettingsValues& settings, std::array<LayerGrid, 8>&& grids,
                          std::shared_ptr<clsVOTileset> tileset, std::vector<TilesetLoadRecord> loads) {
    EndOpenEdit();
    m_settings = settings;
    m_layers = std::move(grids);
    PlaceGrids();
    m_tileset = std::move(tileset);
    m_tileset->SetTileWidth(m_settings.tileWidth);
    m_tileset->SetTileHeight(m_settings.tileHeight);
    m_loads = std::move(loads);
    m_history.Clear();
    emit settingsChanged();
    emit visibilityChanged();
    emit tilesetChanged();
    emit titleChanged();
}
