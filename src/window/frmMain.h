#pragma once

#include "map/LayerGrid.h"
#include "map/MapComposition.h"
#include "map/MarkerGrid.h"
#include "platform/Collection.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/MemoryReserve.h"
#include "tiles/clsVOTileset.h"
#include "tools/FloodRegion.h"
#include "window/clsVOIcon.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

class BevelButton;
class EllipseInterior;
class Canvas;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class ScrollBar;
struct ControlPlacement;

// The editor window. It holds all editor state; its operations for the tiles, the map and the drawing tools
// are defined in the folders of those subsystems. Everything runs on the user-interface thread.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // dialogs answers the open dialog and message boxes (tests pass scripted ones); resourceFolder is where
    // the icon images are looked for, the program's own folder when empty.
    explicit frmMain(std::shared_ptr<Dialogs> dialogs = std::make_shared<QtDialogs>(),
                     QString resourceFolder = QString());
    ~frmMain() override;

    // ---- Editor state -------------------------------------------------------------------------------------
    std::shared_ptr<clsVOTileset> m_VOTileset;
    int m_intTilesOffsetY = 0;
    int m_intMapOffsetX = 0;
    int m_intMapOffsetY = 0;
    std::shared_ptr<clsVOIcon> m_objVOLayerIcon;
    int m_intLayers = 3;
    bool m_blnDrawGrid = true;
    std::shared_ptr<clsVOIcon> m_objVOToolIcon;
    std::shared_ptr<clsVOIcon> m_objVOGridIcon;
    int m_intTileWidth = 32;
    int m_intTileHeight = 32;
    int m_intMouseX = 0;
    int m_intMouseY = 0;
    bool m_blncanMainHasFocus = false;
    bool m_blncanTilesHasFocus = false;
    int m_intTilesMouseX = 0;
    int m_intTilesMouseY = 0;
    int m_intTileRowCount = 0;
    int m_intTotalVisibleRows = 0;
    // The fills' work list: grid positions waiting to be processed, first in first out.
    Collection<GridPoint> m_objLayer;
    // The eight layers, m_Layer0 .. m_Layer7 by number.
    std::array<LayerGrid, 8> m_Layers;
    int m_intCurrentTileX = 0;
    int m_intCurrentTileY = 0;
    int m_intMapWidth = 100;
    int m_intMapHeight = 100;
    int m_intCurrentTool = 1;
    int m_intDragMouseX = 0;
    int m_intDragMouseY = 0;
    int m_intTilemapVisibleRows = 0;
    int m_intTilemapVisibleColumns = 0;
    int m_intTilemapOffsetX = 0;
    int m_intTilemapOffsetY = 0;
    // One mark per map cell, for the ellipse tools and the fills.
    MarkerGrid m_blnTilemap;
    int m_intLastTool = 0;
    // The edit layer: the number of the grid in m_Layers that painting writes to, or -1 before the first
    // SetCurrentLayer, when writing through it changes nothing.
    int m_Layer = -1;
    int m_intStartTileX = 0;
    int m_intStartTileY = 0;

    LayerGrid& Layer(int n) { return m_Layers[static_cast<std::size_t>(n)]; }
    const LayerGrid& Layer(int n) const { return m_Layers[static_cast<std::size_t>(n)]; }
    // The edit layer's grid, or null before one is chosen.
    LayerGrid* EditGrid() { return m_Layer >= 0 && m_Layer <= 7 ? &Layer(m_Layer) : nullptr; }

    // ---- Controls -----------------------------------------------------------------------------------------
    QTabWidget* tabpnlMain = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLabel* lblTileWidth = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLabel* lblTileHeight = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblName = nullptr;
    std::array<BevelButton*, 8> btnLayer{};
    QLabel* lblEditLayer = nullptr;
    QComboBox* cboEditLayer = nullptr;
    QLabel* lblViewLayer = nullptr;
    BevelButton* btnViewGrid = nullptr;
    Canvas* canTiles = nullptr;
    Canvas* canMain = nullptr;
    ScrollBar* scbMainVertical = nullptr;
    ScrollBar* scbMainHorizontal = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblMapHeight = nullptr;
    QLineEdit* txtMapHeight = nullptr;
    QLabel* lblMapWidth = nullptr;
    QLineEdit* txtMapWidth = nullptr;
    QLabel* lblMapLayers = nullptr;
    QComboBox* cboMapLayers = nullptr;
    QPushButton* btnApply = nullptr;
    std::array<BevelButton*, 8> btnTool{};
    ScrollBar* scbTilesVertical = nullptr;

    // ---- Window: construction, layout, routing ------------------------------------------------------------
    void Layout();
    void CreateControls();
    void AddMenuHandlers();
    // Applies the anchoring of every control to a content area of the given size.
    void ApplyLocks(QSize contentSize);
    void Event_Resized();
    bool IsOpen() const { return m_blnOpen; }
    QWidget* Content() const { return m_content; }

    // ---- Editor state and status line ---------------------------------------------------------------------
    void Event_Open();
    // False when memory for the map's grids could not be had; the map is then a single cell.
    bool SetDefaults();
    void UpdateStatus(const QString& text, const QColor& colour, int alignment);
    // Runs one editing step that may place cells. When memory runs out part way, the cells placed so far
    // stay, the work lists are emptied, the kept map picture is dropped so the next Draw shows the grids as
    // they are, the memory reserve is released, and false comes back; the caller then says so with
    // ReportOutOfMemory after its Draw.
    template <class Step> bool RunOutOfMemorySafe(Step&& step);
    // The status line says, in red, that memory ran out and what stopped.
    void ReportOutOfMemory(const QString& what);

    // ---- Layer, tool and grid buttons ---------------------------------------------------------------------
    bool LoadIcons(const FolderItem& file, clsVOIcon& store);
    void ActivateGrid(bool on);
    void ActivateLayer(bool on, int layer);
    void ActivateTool(int tool);
    void EnableLayers();
    void RefreshEditLayers();
    void btnLayer_Action(int index);
    void cboEditLayer_Change();
    void btnViewGrid_Action();
    void btnTool_Action(int index);

    // ---- Tileset and palette ------------------------------------------------------------------------------
    bool FileLoadTiles_Action();
    FolderItem OpenTilesetDialog();
    void txtWidth_TextChange();
    void txtHeight_TextChange();
    void LoadTileset();
    void SetTilesMatrix();
    void RefreshTileScrollbar();
    void AssignTileRows();
    void DrawTiles();
    void canTiles_Paint();
    void canTiles_MouseEnter();
    void canTiles_MouseExit();
    void canTiles_MouseMove(int x, int y);
    bool canTiles_MouseDown(int x, int y);
    bool canTiles_MouseWheel(int x, int y, int deltaX, int deltaY);
    void scbTilesVertical_ValueChanged();

    // ---- Map layers and cells -----------------------------------------------------------------------------
    bool DefaultLayers(int n);
    // False when memory for the new grids cannot be had: the grids stay and the map keeps their size.
    bool ResizeTilemapLayers();
    void SetCurrentLayer();
    // The edit layer's number as the popup shows it, or -1 when it names no layer.
    int EditLayerNumber() const;
    CellRef GetVOCellFromLayer(int x, int y);
    void PlaceTile(int x, int y, int column, int row, bool mark);
    // Whether (column, row) is a cell of the map; 64-bit, so a visible cell plus the scroll offset cannot
    // wrap.
    bool InsideMap(std::int64_t column, std::int64_t row) const;
    // Places the selected tile in the map cell shown at visible cell (x, y); nothing when the map ends first.
    void PlaceAtVisibleCell(std::int64_t x, std::int64_t y, bool mark);
    void RemoveTile(int x, int y, int column, int row);
    void txtMapHeight_TextChange() {}
    void txtMapWidth_TextChange() {}
    void btnApply_Action();

    // ---- Map rendering and scrolling ----------------------------------------------------------------------
    void Draw();
    void DrawLayers(Graphics& g);
    void RefreshMainScrollbars();
    void canMain_Paint();
    bool canMain_MouseWheel(int x, int y, int deltaX, int deltaY);
    void scbMainVertical_ValueChanged();
    void scbMainHorizontal_ValueChanged();

    // ---- Map mouse ----------------------------------------------------------------------------------------
    void canMain_MouseMove(int x, int y);
    void canMain_MouseEnter();
    void canMain_MouseExit();
    bool canMain_MouseDown(int x, int y);
    void canMain_MouseDrag(int x, int y);
    void canMain_MouseUp(int x, int y);
    // A stroke whose release will never come (a dialog, a menu or another window took the mouse).
    void canMain_MouseCancel();
    // The one place that derives the start cell and the current cell from the recorded pixel positions;
    // every tool reads them from m_intStartTile* and m_intCurrentTile*.
    void UpdateStrokeCells();

    // ---- Drawing tools ------------------------------------------------------------------------------------
    void DrawLine(Graphics& g, const TileRef& tile);
    void PlaceLine();
    void DrawRectOutline(Graphics& g, const TileRef& tile);
    void DrawRectFill(Graphics& g, const TileRef& tile);
    void PlaceRectOutline();
    void PlaceRectFill();
    void DrawEllipse(Graphics& g, const TileRef& tile, bool filled);
    void PlaceEllipse(bool filled);
    void FloodFill(bool bounded);
    // The cell fill from map cell (x, y). interior, when given, is the filled ellipse's inside around (x, y):
    // the bounded fill reaches no cell outside it.
    void FloodFill(int x, int y, const CellRef& fill, const CellRef& target, bool bounded,
                   const EllipseInterior* interior = nullptr);
    // The preview of the bounded fill from visible cell (x, y), held to interior as the fill itself is.
    void DrawFloodFill(Graphics& g, const TileRef& tile, int x, int y, const EllipseInterior* interior);

    // The tileset's tile size, at least 1 so no division can fail.
    int TileWidthOrOne() const;
    int TileHeightOrOne() const;
    // Whether layer k is drawn: in use, sized to the map and its button pressed.
    bool LayerShown(int k) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceControl(QWidget* widget, int container, int left, int top, int width, int height,
                      const char* locks, int page);
    void ShowPageControls(int page);
    void CreateSettingsAndLayerControls();
    void CreateCanvasControls();
    void CreateMapAndToolControls();
    void RouteEvents();
    // A handler that runs only once the window is open (Qt reports sizes and values while it builds and
    // shows it); until then it does nothing and answers false where an answer is due.
    template <class Handler> auto route(Handler handler) {
        return [this, handler](auto... args) {
            using Result = decltype((this->*handler)(args...));
            if (!m_blnOpen)
                return Result();
            return (this->*handler)(args...);
        };
    }
    // Draws the current tool's cursor or preview and returns the status text it calls for.
    QString DrawCursorOrPreview(Graphics& g, const TileRef& tile);
    // Brings the kept composition of the layers and grid up to date; true when it changed.
    bool ComposeLayers();
    MapViewKey CurrentViewKey() const;
    // Repaints one map cell of the composition; false when the cell's pictures do not fit their cell.
    bool RecomposeCell(int column, int row);
    // Moves the composition by a scroll of (dx, dy) cells and paints the cells that come into view; false
    // when that cannot be done exactly.
    bool ShiftComposition(int dx, int dy);
    void DrawGridLines(Graphics& g, const QRect& area);
    // Draws a cell's picture where the cell keeps it; false when it does not sit exactly inside its cell.
    bool DrawCell(Graphics& g, const clsVOCell& cell, int column, int row);
    bool PrepareLayerGrids(int layers, int width, int height, std::array<LayerGrid, 8>& grids) const;
    void CommitLayerGrids(int layers, int width, int height, std::array<LayerGrid, 8>& grids);
    void PreviewRect(Graphics& g, const TileRef& tile, bool outline);
    void CommitRect(bool outline);
    void PlotOrErase(int x, int y);
    void PlotOrEraseThenDraw(int x, int y);
    // The dialogs, for a modal one about to open: it takes the mouse, so any stroke under way ends first, and
    // it runs on the memory reserve, so it opens even when memory is short.
    Dialogs& Modal();
    void RecoverFromOutOfMemory();

    std::shared_ptr<Dialogs> m_dialogs;
    QString m_resourceFolder;
    QWidget* m_content = nullptr;
    std::vector<ControlPlacement> m_placements;
    MapComposition m_composition;
    // Released when an operation runs out of memory or a dialog opens; taken again as an operation starts.
    MemoryReserve m_memoryReserve;
    bool m_blnOpen = false;
    bool m_blnOpening = false;
};

template <class Step> bool frmMain::RunOutOfMemorySafe(Step&& step) {
    m_memoryReserve.Replenish();
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        RecoverFromOutOfMemory();
        return false;
    }
}
