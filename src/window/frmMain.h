#pragma once

#include "document/LayerGrid.h"
#include "document/MapDocument.h"
#include "document/Piece.h"
#include "document/RecoveryCopies.h"
#include "map/MapView.h"
#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/MemoryReserve.h"
#include "tiles/PaletteView.h"
#include "tiles/clsVOTileset.h"
#include "tools/Stroke.h"
#include "window/DialogFolders.h"
#include "window/WindowControls.h"
#include "window/clsVOIcon.h"

#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <vector>

class QKeyEvent;
class QWheelEvent;
struct ControlPlacement;

// The editor window. It owns the document, the controls and the views of the map and the palette and the
// stroke under way; its operations turn the controls' events into their work and show what came of it.
// Everything runs on the user-interface thread.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // dialogs answers the open dialog and message boxes (tests pass scripted ones); resourceFolder is where
    // the icon images are looked for, the program's own folder when empty.
    explicit frmMain(std::shared_ptr<Dialogs> dialogs = std::make_shared<QtDialogs>(),
                     QString resourceFolder = QString());
    ~frmMain() override;

    // ---- The document and how the window looks at it -----------------------------------------------------
    // The map being edited. Its size, tile size, layers, name, shown layers, cells and tileset live there;
    // the window keeps how it is shown and edited: the map view, the stroke, the edit layer, the palette.
    MapDocument& Document() const { return *m_Document; }
    clsVOTileset& Tileset() const { return m_Document->Tileset(); }
    const LayerGrid& Layer(int n) const { return m_Document->Layer(n); }
    int MapWidth() const { return m_Document->MapWidth(); }
    int MapHeight() const { return m_Document->MapHeight(); }
    int Layers() const { return m_Document->Layers(); }
    // Keeps the recovery copy of the map shown.
    RecoveryKeeper& CopyKeeper() { return *m_recovery; }
    // Makes document the map the window shows and edits (start-up, New, Open, Close).
    void SetDocument(std::unique_ptr<MapDocument> document);
    // The tile palette as shown: rows, scroll, hover and the tile or block picked.
    const PaletteView& Palette() const { return m_palette; }
    // The controls, for tests to drive with events.
    const WindowControls& Controls() const { return m_ui; }

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
    // Runs part of a command, named what, with the memory reserve taken first; true when it ran to its
    // end. When memory runs out part way, the editor is put right and told as by Guarded, and false comes
    // back: the caller then leaves the status line's red message alone.
    template <class Body> bool Completed(const QString& what, Body&& body) {
        m_memoryReserve.Replenish();
        bool done = false;
        Guarded(what, [&] {
            body();
            done = true;
        });
        return done;
    }
    // Runs one edit of cells as one step of the history named text: body(edit) writes through the edit,
    // PlaceTile, RemoveTile and the fills. When memory runs out part way, the edit is taken back whole and
    // the step, named what, is reported as Completed does.
    template <class Body> bool RunEdit(const QString& text, const QString& what, Body&& body) {
        return Completed(what, [&] {
            body(m_stroke.BeginEdit(*m_Document, text));
            // A body the user cancelled has taken its edit back already.
            m_stroke.CommitEdit();
        });
    }
    // The status line says, in red, that memory ran out and what stopped.
    void ReportOutOfMemory(const QString& what);
    // Runs one command of the user's, named what; memory running out or a cancel part way end it with the
    // editor put right and the status line saying so. Every event handler runs through it.
    template <class Command> auto Guarded(const QString& what, Command&& command) {
        return RunCommand(std::forward<Command>(command),
                          [this, &what](CommandStop why) { Stopped(what, why); });
    }
    void Stopped(const QString& what, CommandStop why);

    // ---- Regions: the selection, the clipboard, stamps and moves ------------------------------------------
    // The selected cells: a rectangle of map columns and rows, empty when nothing is selected.
    const QRect& Selection() const { return m_selection; }
    // Selects cells (clipped to the map; an empty rectangle clears the selection) and redraws.
    void SetSelection(const QRect& cells);
    void EditSelectAll_Action();
    // Copy and Cut take the edit layer's cells of the selection, or every layer in use with allLayers.
    // False when nothing was copied (no selection, or memory ran out).
    bool EditCopy_Action(bool allLayers = false);
    void EditCut_Action(bool allLayers = false);
    void EditClear_Action();
    void EditPaste_Action();
    // Cut, Copy and Delete are enabled with a selection, Paste with a piece here or on the clipboard.
    void UpdateEditActions();
    // Escape: a drag under way is dropped first; with none, the selection is cleared. False when it did
    // neither.
    bool EscapePressed();
    // The stamp every tool paints with: the palette's block, or a pasted or picked piece; empty when none.
    const Piece& Stamp() const { return m_stamp; }
    // Makes piece the stamp (a paste, a pick): the palette's selection goes.
    void UseAsStamp(Piece piece);
    // Builds the stamp from the palette's selected tile or block.
    void StampFromPalette();

    // ---- Layer, tool and grid buttons ---------------------------------------------------------------------
    // The buttons' up and down pictures, once the window is open.
    const clsVOIcon& LayerIcons() const { return *m_objVOLayerIcon; }
    const clsVOIcon& ToolIcons() const { return *m_objVOToolIcon; }
    const clsVOIcon& GridIcons() const { return *m_objVOGridIcon; }
    bool LoadIcons(const FolderItem& file, clsVOIcon& store);
    void ActivateGrid(bool on);
    void ActivateLayer(bool on, int layer);
    void ActivateTool(Tool tool);
    void EnableLayers();
    void RefreshEditLayers();
    void btnLayer_Action(int index);
    void cboEditLayer_Change();
    void btnViewGrid_Action();
    void btnTool_Action(int index);
    // Makes tool the current tool, its button the one pressed, ending a stroke of another tool first.
    void UseTool(Tool tool);
    // A tile picked in the palette (or a pick that selected none, with tilePicked false): a tool that would
    // not paint it gives way to the last painting tool.
    void LeaveToolForPickedTile(bool tilePicked);

    // ---- The map's file and history ----------------------------------------------------------------------
    void FileNewMap_Action();
    void FileOpenMap_Action();
    // True when the map was saved.
    bool FileSave_Action();
    bool FileSaveAs_Action();
    // The map as a TMX or JSON map for game engines, the format chosen by the file's type.
    void FileExport_Action();
    void FileClose_Action();
    void FileQuit_Action();
    void EditUndo_Action();
    void EditRedo_Action();
    // Whether the map may be left (replaced, closed, the program ended): it has no unsaved changes, or the
    // user saved them or chose to discard them. False when the user cancelled.
    bool MayLeaveMap();
    // Opens the map file at path in the window; false when it was refused or cancelled, the map shown
    // then untouched.
    bool OpenMapFile(const QString& path);
    // Saves the map as the file at path; false, with the reason told, when it could not be.
    bool SaveMapTo(const QString& path);
    // Offers the recovery copies left by runs that did not end cleanly, one after the other, until one is
    // recovered; true when one was.
    bool OfferRecovery();
    // The map file at path is opened as the window opens, as File > Open would, once any recovery copy has
    // been offered; after a recovery it is not opened, and the status line says so.
    void OpenAtStart(const QString& path) { m_startFile = path; }
    // Opens a recovery copy as the map with unsaved changes it was a copy of; false when it could not be.
    bool RecoverCopy(Recovery::AbandonedCopy& copy);
    // The title names the map and marks unsaved changes.
    void UpdateTitle();
    void UpdateUndoActions();

    // ---- Tile and cell properties, Remove Tiles
    // ------------------------------------------------------------- Empties the tileset once the user agrees;
    // with no tiles it does nothing and asks nothing.
    void FileRemoveTiles_Action();
    // The palette's context menu at canvas pixel (x, y): Tile Properties… for the tile there.
    void canTiles_ContextMenu(int x, int y);
    // The map's context menu: Cell Properties… for the edit layer's cell there.
    void canMain_ContextMenu(int x, int y);
    // The tooltip over the map: where the edit layer's cell there differs from its tile; empty when nowhere.
    QString canMain_ToolTip(int x, int y, QRect* area);
    // The labels of the game properties in which the cell of layer at (column, row) differs from its tile;
    // none for an empty cell or a place outside the map.
    QStringList UnlikeItsTile(int layer, std::int64_t column, std::int64_t row) const;
    // The palette tile drawn at canvas pixel (x, y), or -1.
    int TileAt(int x, int y) const;
    // The map cell shown at canvas pixel (x, y); false outside the map.
    bool MapCellAt(int x, int y, int* column, int* row) const;
    // The properties dialog for tile number index's template, then the change as one step.
    void EditTileProperties(int index);
    // The properties dialog for one placed cell, then a fresh cell with the new values as one step.
    void EditCellProperties(int layer, int column, int row);

    // ---- Tileset and palette ------------------------------------------------------------------------------
    bool FileLoadTiles_Action();
    FolderItem OpenTilesetDialog();
    void txtWidth_TextChange();
    void txtHeight_TextChange();
    void LoadTileset();
    void SetTilesMatrix();
    void RefreshTileScrollbar();
    void AssignTileRows();
    void LayOutPalette(); // rows, matrix and scroll range from the tileset, the tile size and the canvas
    void DrawTiles();
    void canTiles_Paint();
    void canTiles_MouseEnter();
    void canTiles_MouseExit();
    void canTiles_MouseMove(int x, int y);
    bool canTiles_MouseDown(int x, int y);
    // A drag across the palette picks a block of tiles; the release ends it.
    void canTiles_MouseDrag(int x, int y);
    void canTiles_MouseUp(int x, int y);
    bool canTiles_MouseWheel(int x, int y, int deltaX, int deltaY);
    void scbTilesVertical_ValueChanged();
    // The swatch beside the palette shows the stamp: a tile, a block or a piece; or nothing.
    void ShowSelectedTile();
    // Scrolls the palette so that the selected tile is seen whole, if one is selected.
    void ScrollPaletteToSelected();

    // ---- Map layers and cells -----------------------------------------------------------------------------
    // Sets the layer controls up for the document: buttons enabled for the layers in use and pressed for the
    // shown ones, the edit-layer popup, the grids sized and the edit layer chosen.
    bool DefaultLayers();
    // False when memory for the grids cannot be had: the map is then the size its grids really are.
    bool ResizeTilemapLayers();
    void SetCurrentLayer();
    // The edit layer's number as the popup shows it, or -1 when it names no layer.
    int EditLayerNumber() const;
    // The stroke's PlaceTile and RemoveTile for map cell (column, row); (x, y), its map pixel, goes unused.
    void PlaceTile(int x, int y, int column, int row, bool mark);
    void RemoveTile(int x, int y, int column, int row);
    void txtMapHeight_TextChange() {}
    void txtMapWidth_TextChange() {}
    void btnApply_Action();
    // Apply: the Map Properties fields become the map's settings; false when a field was refused (the status
    // line says why), memory ran out or the user cancelled.
    bool ApplyMapProperties();
    // Whether a Map Properties field shows other than the map's settings: typed, not applied.
    bool MapPropertiesTyped() const;
    // Before the map is saved, exported or left: typed properties are applied or put back as the user says.
    // False when the user cancelled or Apply was refused, and what was to come must not happen.
    bool SettleTypedProperties();
    // The Map Properties fields show the document's settings.
    void ShowSettings();

    // ---- Map rendering and scrolling ----------------------------------------------------------------------
    // Draws the map canvas: the kept picture of the layers and grid, brought up to date, and the tool's
    // cursor or preview. It changes nothing else.
    void Draw();
    // What the status line says about the pointer over the map: "Plot X: ..." and the like, then where the
    // edit layer's cell under it differs from its tile; or nothing.
    QString CursorStatus() const;
    // After a change of the map or the view: the stroke's cells follow the pointer, the canvas is drawn and
    // the status line tells the cursor's cell.
    void Refresh();
    // The same for a change that is no move of the pointer over the map (the pointer leaving it, the window
    // resized): the status line is rewritten only when it shows the cursor's text, so a report such as a
    // load's stays until the pointer next moves over the map.
    void RefreshKeepingReport();
    void DrawLayers(Graphics& g);
    void RefreshMainScrollbars();
    void canMain_Paint();
    bool canMain_MouseWheel(int x, int y, int deltaX, int deltaY);
    void scbMainVertical_ValueChanged();
    void scbMainHorizontal_ValueChanged();

    // ---- Zoom and keys ------------------------------------------------------------------------------------
    // How the map canvas looks at the map: scroll, zoom, hover, grid; read by tests.
    const MapView& View() const { return m_view; }
    // Zooms steps levels in (positive) or out, or to percent, keeping the map cell under anchor (canvas
    // pixels) where it is, as far as the scroll range allows. A stroke under way ends first.
    void ZoomBy(int steps, QPoint anchor);
    void ZoomTo(int percent, QPoint anchor);
    // Where a zoom from the keyboard holds the map still: the pointer over the map, else the canvas's middle.
    QPoint ZoomAnchor() const;
    // A tool key (P, E, L, R, Shift+R, O, Shift+O, F) or an edit-layer key (0 to 7) does its work; false,
    // changing nothing, for any other key and while a text field or a popup has the keyboard focus.
    bool EditorKey(int key, Qt::KeyboardModifiers modifiers);
    // A click on a canvas takes the keyboard focus from a text field or popup, so the editor's keys work.
    void TakeFocusFromFields();

    // ---- Map mouse ----------------------------------------------------------------------------------------
    void canMain_MouseMove(int x, int y);
    void canMain_MouseEnter();
    void canMain_MouseExit();
    bool canMain_MouseDown(int x, int y);
    void canMain_MouseDrag(int x, int y);
    void canMain_MouseUp(int x, int y);
    // A stroke whose release will never come (a dialog, a menu or another window took the mouse).
    void canMain_MouseCancel();
    // The stroke under way and its tool; read by tests.
    const Stroke& CurrentStroke() const { return m_stroke; }

    // ---- Drawing tools ------------------------------------------------------------------------------------
    void DrawLine(Graphics& g, const TileRef& tile);
    void PlaceLine();
    void DrawRectOutline(Graphics& g, const TileRef& tile);
    void DrawRectFill(Graphics& g, const TileRef& tile);
    void PlaceRectOutline();
    void PlaceRectFill();
    void DrawEllipse(Graphics& g, const TileRef& tile, bool filled);
    void PlaceEllipse(bool filled);
    // The fill tool's fill from the cell under the pointer.
    void FloodFill(bool bounded);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceControl(QWidget* widget, int container, int left, int top, int width, int height,
                      const char* locks, int page);
    void ShowPageControls(int page);
    void CreateSettingsAndLayerControls();
    void CreateCanvasControls();
    void CreateMapAndToolControls();
    void RouteEvents();
    // Draws the current tool's cursor or preview.
    void DrawCursorOrPreview(Graphics& g, const TileRef& tile);
    // The zoom's keys and the wheel's modifiers over the map.
    void CreateZoomAndKeys();
    // Ctrl with the wheel zooms, Shift turns the wheel sideways; true when the event was taken.
    bool MapWheelWithModifiers(QWheelEvent* event);
    // The document's signals: what changed is recomposed at the next Draw.
    void ConnectDocument();
    void OnCellsChanged(int layer, QRect cells);
    void OnSettingsChanged();
    void FollowSettings(); // all that follows new settings but the palette, which a new tileset lays out too
    void OnVisibilityChanged();
    void OnTilesetChanged();
    // A map with the start-up defaults; reports in the status line when memory for its cells ran out.
    std::unique_ptr<MapDocument> NewDocument();
    // The scroll bars show the view's ranges and offsets.
    void ShowScrollPosition();
    // What the stroke works on: the map, the view, the stamp, the edit layer and the selection.
    StrokeScene Scene() const;
    // The release of a shape or fill tool places it through the tool's Place operation.
    void PlaceShape(Tool tool);
    // The release of a select or move drag; a pick's release.
    void ReleaseSelectOrMove();
    // Ctrl+click or Ctrl+drag with a painting tool: the cells between press and release become the stamp.
    void PickFromMap();
    // Says in the status line how many of a piece's layers the map does not have in use.
    void ReportLayersLeftOut();
    void ConnectEditActions();
    void PlotOrEraseThenDraw(int x, int y);
    // The dialogs, for a modal one about to open: it takes the mouse, so any stroke under way ends first, and
    // it runs on the memory reserve, so it opens even when memory is short.
    Dialogs& Modal();
    void RecoverFromOutOfMemory();

    WindowControls m_ui;
    std::unique_ptr<MapDocument> m_Document;
    std::shared_ptr<clsVOIcon> m_objVOLayerIcon;
    std::shared_ptr<clsVOIcon> m_objVOToolIcon;
    std::shared_ptr<clsVOIcon> m_objVOGridIcon;
    // The status line shows what Refresh wrote for the cursor (possibly nothing), not a report.
    bool m_statusFromCursor = false;
    MapView m_view;
    PaletteView m_palette;
    // Keeps a copy of the map's unsaved changes for after a crash.
    std::unique_ptr<RecoveryKeeper> m_recovery;
    // The stroke under way on the map. Its edit refers to the document: declared after it, it goes first.
    Stroke m_stroke;
    // The edit layer: the number of the layer painting writes to, or -1 before the first SetCurrentLayer,
    // when painting changes nothing.
    int m_Layer = -1;
    DialogFolders m_folders;
    QRect m_selection;
    Piece m_stamp;
    // The stamp was built from the palette and follows it.
    bool m_stampFromPalette = true;
    std::shared_ptr<const Piece> m_copied;
    std::shared_ptr<Dialogs> m_dialogs;
    QString m_resourceFolder;
    // The map named on the command line, until the window opens.
    QString m_startFile;
    QWidget* m_content = nullptr;
    std::vector<ControlPlacement> m_placements;
    // Released when an operation runs out of memory or a dialog opens; taken again as an operation starts.
    MemoryReserve m_memoryReserve;
    bool m_blnOpen = false;
    bool m_blnOpening = false;
    // Quit was chosen and the map may be left: the window closes without asking again.
    bool m_blnLeaving = false;
    // The map was recovered: the path its copy names is only proposed, so the first Save asks where.
    bool m_saveAsksWhere = false;
};
