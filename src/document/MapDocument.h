#pragma once

#include "document/CellChanges.h"
#include "document/History.h"
#include "document/LayerGrid.h"
#include "document/MapSnapshot.h"
#include "platform/GameValues.h"
#include "tiles/clsVOTileset.h"

#include <QObject>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What Apply sets, and what the Map Properties page shows.
struct MapSettingsValues {
    int mapWidth = 100;
    int mapHeight = 100;
    // Layers in use, 1 to 8.
    int layers = 3;
    int tileWidth = 32;
    int tileHeight = 32;
    QString name;
    // Bit k set: layer k is shown. Only layers in use can be shown.
    std::uint8_t visibleLayers = 1;

    bool operator==(const MapSettingsValues&) const = default;
};

// The map a user edits and saves: its size, tile size, layers in use, name, which layers are shown, the
// eight layer grids and the tileset with a record of each image load. It has no widgets and runs without a
// window. Every change goes through the small API below, becomes one step of the history, and is announced
// by a signal that names what changed; the window keeps only how it looks at the map.
class MapDocument : public QObject {
    Q_OBJECT
public:
    // The map a user starts with: 100 x 100 cells, 3 layers with layer 0 shown, 32 x 32 pixel tiles, no
    // tiles, no name, no file. Its grids hold a single cell until SizeGrids.
    MapDocument();
    ~MapDocument() override;

    // Gives the layers in use their cells; false when memory for them could not be had, and the map is then
    // the size its grids really are.
    bool SizeGrids();

    // ---- The map ------------------------------------------------------------------------------------------
    const MapSettingsValues& Settings() const { return m_settings; }
    int MapWidth() const { return m_settings.mapWidth; }
    int MapHeight() const { return m_settings.mapHeight; }
    int Layers() const { return m_settings.layers; }
    int TileWidth() const { return m_settings.tileWidth; }
    int TileHeight() const { return m_settings.tileHeight; }
    const QString& Name() const { return m_settings.name; }
    bool LayerVisible(int k) const { return k >= 0 && k < 8 && (m_settings.visibleLayers >> k) & 1; }
    // Layer k is in use and has its cells: layer 0 always, layer k while k < Layers().
    bool LayerInUse(int k) const;
    const LayerGrid& Layer(int k) const { return m_layers[static_cast<std::size_t>(k)]; }
    // The tileset. Which tile is selected is kept there too, but is how the user looks at it, not part of
    // the map: selecting is no change of the document.
    clsVOTileset& Tileset() const { return *m_tileset; }
    const std::vector<TilesetLoadRecord>& Loads() const { return m_loads; }

    // ---- Its file and history -----------------------------------------------------------------------------
    // The map file the document was opened from or last saved to; empty before the first save.
    const QString& FilePath() const { return m_filePath; }
    void SetFilePath(const QString& path);
    // The TMX or JSON file a map made by another program was imported from, until it is saved as a map file
    // of its own; empty for any other map.
    const QString& ImportedFrom() const { return m_importedFrom; }
    void SetImportedFrom(const QString& path);
    // What the title and the questions call the document: its file's name, the name of the file it was
    // imported from without its suffix, or "Untitled".
    QString DisplayName() const;
    History& Steps() { return m_history; }
    const History& Steps() const { return m_history; }
    bool IsModified() const { return !m_history.IsClean(); }
    // Take the last step back, or make the last step taken back again. An edit still open ends first.
    void Undo();
    void Redo();

    // ---- Changes ------------------------------------------------------------------------------------------
    // One edit of cells, the one way a stored cell changes: the cells it writes show at once (Flush announces
    // them), and Commit makes them one step of the history. Positions outside the map or on a layer not in
    // use are ignored; a cell that already holds what is written (the same record, or one equal in every
    // field) is left alone, and an edit that changes nothing is no step. Every call throws std::bad_alloc
    // with the cells it wrote so far kept in the edit; an edit that ends without Commit is rolled back whole.
    class CellEdit {
    public:
        CellEdit(MapDocument& document, QString text);
        CellEdit(const CellEdit&) = delete;
        CellEdit& operator=(const CellEdit&) = delete;
        ~CellEdit();

        // Places tile number tile (its template record, shared) at a cell, or at the cells first .. last of a
        // row; nothing when there is no such tile.
        void Place(int layer, int column, int row, int tile);
        void PlaceRun(int layer, int row, int first, int last, int tile);
        // Stores a given record (a pasted cell; null empties the position).
        void Put(int layer, int column, int row, const CellRef& record);
        // Stores recordAt(column) at each of the cells first .. last of a row, one after the other: a row of
        // a stamp or of a pasted piece. recordAt returns a CellRef (or a reference to one).
        template <class RecordAt> void PutRun(int layer, int row, int first, int last, RecordAt&& recordAt);
        void Erase(int layer, int column, int row) { Put(layer, column, row, nullptr); }
        void EraseRun(int layer, int row, int first, int last);
        // Gives one cell the game properties values: a record of its own, or its tile's template again when
        // the values are the tile's. Nothing for an empty cell.
        void SetValues(int layer, int column, int row, const GameValues& values);
        // Announces the cells written since the last Flush.
        void Flush();
        // Ends the edit as one step of the history (none when it changed nothing).
        void Commit();
        // The edit moves the selection from before to after: undoing and redoing it restores that selection.
        void SetSelectionMove(const QRect& before, const QRect& after) { m_selectionMove = {before, after}; }
        bool Empty() const { return m_changes.Empty(); }
        std::size_t CellCount() const { return m_changes.CellCount(); }

    private:
        MapDocument& m_document;
        QString m_text;
        CellChanges m_changes;
        std::array<CellBox, 8> m_unannounced{};
        std::optional<std::pair<QRect, QRect>> m_selectionMove;
        bool m_done = false;
    };
    // The edit still open, if any: every other change ends it first, so steps never interleave.
    CellEdit* OpenEdit() const { return m_openEdit; }

    // What Apply did: took the settings, was cancelled through its progress (nothing changed), or refused
    // a value outside the map's limits (nothing changed), reason naming it.
    struct ApplyResult {
        enum Kind { Applied, Cancelled, Refused };
        Kind kind = Applied;
        QString reason;
    };
    // Takes new settings. Cells inside both the old and the new size stay; layers no longer in use lose
    // theirs; a new tile size visits no cell (where a cell lies is worked out when it is read). A map size
    // beyond 8192 cells a side or 16,777,216 cells a layer, a tile side outside 1 to 1024 and a layer count
    // outside 1 to 8 are refused. Throws std::bad_alloc before anything changes when memory for the new grids
    // cannot be had. Nothing happens when nothing differs. progress, when given, hears of each layer's new
    // grid made (done, total) and may cancel by answering false.
    using Progress = std::function<bool(qint64 done, qint64 total)>;
    // What to do with an image that cuts into as many tiles as a missing tileset image gave, at that image's
    // tile size, but is not the same file: take its place, add its tiles as new ones, or load nothing.
    enum class MissingImageChoice { Use, AddAsNew, Cancel };
    using MissingImageChooser = std::function<MissingImageChoice(const TilesetLoadRecord& missing)>;
    ApplyResult Apply(const MapSettingsValues& wanted, const Progress& progress = {});
    // Why the settings cannot be taken (empty when they can): the first value beyond the map's limits.
    static QString Refusal(const MapSettingsValues& wanted);
    void SetLayerVisible(int k, bool shown);
    // Cuts the image in file at the current tile size and appends its tiles; a load that adds tiles is one
    // step of the history.
    // reserve, when given, is released when memory runs out, so the editor has room to say so; progress
    // hears how far the load is and may cancel it (clsVOTileset::LoadTileset).
    // An image whose content is a missing tileset image's takes that image's place instead, so the cells of
    // its tiles show again; one that would cut into as many tiles is offered to choose (none: added as new).
    // A load that chose Cancel adds nothing and comes back with an empty text.
    TilesetLoadResult LoadTileset(const FolderItem& file, MemoryReserve* reserve = nullptr,
                                  const clsVOTileset::Progress& progress = {},
                                  const MissingImageChooser& choose = {});
    // Empties the tileset as one step of the history: its tiles and the records of their loads leave it,
    // placed cells keep their records (and show nothing until tiles of their numbers are loaded), and the
    // next load numbers its tiles from 0. False, with no step, when there were no tiles.
    bool RemoveTiles();
    // Gives tile number tile (its template cell) the game properties values, so cells placed from then on
    // carry them; when alsoPlaced, every placed cell showing the tile whose eight values all equal the
    // template's old ones gets them too. One step of the history, none when nothing changes. Returns how many
    // placed cells changed. Throws std::bad_alloc with nothing changed.
    std::size_t SetTileProperties(int tile, const GameValues& values, bool alsoPlaced);

    // Replaces the whole map by what was built elsewhere (opening a file); the history starts afresh.
    void Replace(const MapSettingsValues& settings, std::array<LayerGrid, 8>&& grids,
                 std::shared_ptr<clsVOTileset> tileset, std::vector<TilesetLoadRecord> loads);

signals:
    // Cells of a layer changed; cells is a rectangle of columns and rows.
    void cellsChanged(int layer, QRect cells);
    // The map's size, tile size, layers in use or name changed; anything may have moved.
    void settingsChanged();
    // A layer was shown or hidden.
    void visibilityChanged();
    // Tiles were added or removed, or a tile's properties changed.
    void tilesetChanged();
    // The file path or the modified mark changed: the title follows.
    void titleChanged();
    // A step that moved the selected cells was undone or redone: the selection is where they now are.
    void selectionRestored(QRect cells);

private:
    // The history's steps exchange what they keep with the document's own state.
    friend class CellsStep;
    friend class SettingsStep;
    friend class VisibilityStep;
    friend class TilesetLoadStep;
    friend class TilesRemovalStep;
    friend class TilePropertiesStep;
    friend class MissingImageStep;

    MapSettingsValues m_settings;
    std::array<LayerGrid, 8> m_layers;
    std::shared_ptr<clsVOTileset> m_tileset;
    std::vector<TilesetLoadRecord> m_loads;
    QString m_filePath;
    QString m_importedFrom;
    History m_history;
    CellEdit* m_openEdit = nullptr;

    void EndOpenEdit();
    // The missing load an image just read (result) could take the place of: one of the same content first,
    // else one it cuts into as many tiles as; -1 when none.
    int MissingLoadFor(const TilesetLoadResult& result) const;
    // The image in file, read as result with the tiles cut at the current size, takes load number load's
    // place as one step of the history.
    TilesetLoadResult TakeMissingPlace(int load, const FolderItem& file, TilesetLoadResult result,
                                       const std::vector<TileRef>& cut, MemoryReserve* reserve);
    LayerGrid& Grid(int k) { return m_layers[static_cast<std::size_t>(k)]; }
    // Tells every grid where its cells lie: its layer and the tile size.
    void PlaceGrids() noexcept;
    // The grid of layer a cell edit may write at row, or null.
    LayerGrid* EditableRow(int layer, int row);
    // Exchanges the settings and grids with the given ones and tells everyone.
    void ExchangeSettings(MapSettingsValues& settings, std::array<LayerGrid, 8>* grids);
    void ExchangeVisibility(std::uint8_t& visibleLayers);
    void AnnounceCells(const std::array<QRect, 8>& bounds);
    // Removes the tiles from index first on, with the loads that gave them, into the arguments; Restore puts
    // them back.
    void TakeTiles(int first, std::vector<TileRef>& tiles, std::vector<TilesetLoadRecord>& loads);
    void RestoreTiles(std::vector<TileRef>& tiles, std::vector<TilesetLoadRecord>& loads);
    // Exchanges tile's template record with the given one and tells everyone.
    void ExchangeTemplate(clsVOTile& tile, CellRef& other);
    // Exchanges the pictures of load number load's tiles and its record with the given ones: a missing image
    // found again, or taken back.
    void ExchangeLoadImage(int load, std::vector<PicturePtr>& pictures, TilesetLoadRecord& record);
};

template <class RecordAt>
void MapDocument::CellEdit::PutRun(int layer, int row, int first, int last, RecordAt&& recordAt) {
    LayerGrid* grid = m_done ? nullptr : m_document.EditableRow(layer, row);
    if (!grid)
        return;
    first = std::max(first, 0);
    last = std::min({last, m_document.MapWidth() - 1, grid->Width() - 1});
    if (first > last)
        return;
    m_changes.WriteRun(*grid, layer, row, first, last, recordAt);
    CellBox& box = m_unannounced[static_cast<std::size_t>(layer)];
    box.Add(first, row);
    box.Add(last, row);
}
