#pragma once

#include "document/MapDocument.h"
#include "document/Piece.h"
#include "map/MarkerGrid.h"
#include "platform/Collection.h"
#include "platform/Graphics.h"
#include "tools/FloodRegion.h"
#include "tools/Tool.h"

#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>

class Dialogs;
class EllipseInterior;
class FillProgress;
class MapView;
class QWidget;

// What a stroke works on, lent by the window for one call: the map, how the canvas shows it, the stamp every
// tool paints with, the edit layer (-1: none, and painting changes nothing) and the selected cells.
struct StrokeScene {
    MapDocument& document;
    const MapView& view;
    const Piece& stamp;
    int editLayer;
    const QRect& selection;
};

// The first picture of the stamp, for the preview's reach; null when it has none.
PicturePtr StampPicture(const StrokeScene& scene);
// What the fills paint with: a record of the stamp, or null (erase) when it has none.
CellRef StampFill(const Piece& stamp);

// What a press on the map began.
enum class StrokeStart {
    // A painting tool's stroke: plot and erase write from the press on, the others on release.
    Paint,
    // A drag that selects cells; the selection is the press cell for now (PressCell).
    Select,
    // A press inside the selection: its cells are to be lifted (StartMove) and carried.
    Move,
    // Ctrl with a painting tool: the cells between press and release are to become the stamp.
    Pick,
};

// The stroke under way on the map canvas, from press to release, and the tool it is made with: where it was
// pressed and where the pointer is (canvas pixels and visible cells), the edit that keeps what it writes as
// one step, the previews and the tool's cursor, the fills' work list and marks, and a select, move or pick
// drag. Every cell the tools write goes through its edit.
class Stroke {
public:
    // ---- The tool
    // -------------------------------------------------------------------------------------------
    Tool CurrentTool() const { return m_intCurrentTool; }
    // The tool that was current before the last tool change.
    Tool LastTool() const { return m_intLastTool; }
    void SetCurrentTool(Tool tool) { m_intCurrentTool = tool; }
    // A tool change begins: the current tool becomes the last one.
    void KeepLastTool() { m_intLastTool = m_intCurrentTool; }

    // ---- The pointer
    // ---------------------------------------------------------------------------------------- The stroke
    // starts, or starts afresh, at canvas pixel (x, y), and the pointer is there.
    void PointAt(int x, int y);
    // The pointer moved to (x, y) while the stroke's start stays.
    void DragTo(int x, int y);
    // The pointer left with no release: nothing is drawn for it until it moves over the canvas again.
    void PointerGone() { PointAt(-1, -1); }
    // The start and current cells, in visible cells, from the recorded pixels at the view's scale: the one
    // place that derives them; every tool reads them.
    void UpdateStrokeCells(const MapView& view);
    QPoint CurrentCell() const { return {m_intCurrentTileX, m_intCurrentTileY}; }
    // Where the pointer is, in canvas pixels; negative when it is gone.
    QPoint Pointer() const { return {m_intDragMouseX, m_intDragMouseY}; }
    // Whether the pointer is over the canvas with a stroke start recorded.
    bool PointerOnCanvas(const MapView& view) const;
    // Whether the tool's cursor or preview shows: the pointer on the canvas and no select, move or pick.
    bool ShowsCursor(const MapView& view) const { return PointerOnCanvas(view) && m_drag == Drag::None; }

    // ---- Press, drag and release
    // ---------------------------------------------------------------------------- The press at the pointer:
    // the pattern is anchored there and the stroke begins. A plot or erase stroke opens its edit here.
    StrokeStart Press(const StrokeScene& scene, Qt::KeyboardModifiers held);
    // Whether a select, move or pick drag is under way.
    bool Dragging() const { return m_drag != Drag::None; }
    bool Picking() const { return m_drag == Drag::Pick; }
    // The map cell pressed, held to ±2^30.
    QPoint PressCell() const { return m_pressCell; }
    // Lifts the selection's cells (every layer in use with allLayers) to carry them.
    void StartMove(const StrokeScene& scene, bool allLayers);
    // The pointer dragged on: the cells a select drag now selects, if it is one.
    std::optional<QRect> DragSelection(const StrokeScene& scene);
    // The release of a select or move drag: the selection it leaves (a moved one, or none after a click
    // outside it); nothing when the selection stays as it is.
    std::optional<QRect> ReleaseSelection(const StrokeScene& scene);
    // The cells a pick drag spans, held to the map.
    QRect PickedCells(const StrokeScene& scene) const;
    // A drag ends (its release was handled).
    void EndDrag() { m_drag = Drag::None; }
    // The release went elsewhere: the stroke ends with nothing placed, a move goes back, and what a plot or
    // erase stroke wrote is kept. The selection a select drag leaves as it was, if it was one.
    std::optional<QRect> Cancel();

    // ---- The edit
    // ------------------------------------------------------------------------------------------- Opens the
    // edit that keeps what the stroke writes as one step named text.
    MapDocument::CellEdit& BeginEdit(MapDocument& document, const QString& text);
    // Keeps what the edit wrote as its step, if one is open.
    void CommitEdit();
    // Takes the open edit back whole, and a move with it: memory ran out, or the map is left.
    void Abandon();
    // Gives the fills' work list and marks back, after memory ran out.
    void ReleaseWork();
    // The fills' work list: empty between fills.
    const Collection<RowSpan>& FillSpans() const { return m_objLayer; }

    // ---- Writing cells
    // -------------------------------------------------------------------------------------- The plot or
    // erase stroke's next position, canvas pixel (x, y): every cell of the line walk from the last position's
    // cell on.
    void PlotOrErase(const StrokeScene& scene, int x, int y);
    // Places the stamp's cell for map cell (column, row), marking it when mark; empties it for RemoveTile.
    void PlaceTile(const StrokeScene& scene, int column, int row, bool mark);
    void RemoveTile(const StrokeScene& scene, int column, int row);
    void PlaceLine(const StrokeScene& scene);
    void PlaceRect(const StrokeScene& scene, bool outline);
    void PlaceEllipse(const StrokeScene& scene, bool filled);
    // The fill tool's fill from the current cell; a large one shows its progress in a dialog of dialogs over
    // parent, and a cancel takes it back whole.
    void FloodFill(const StrokeScene& scene, bool bounded, Dialogs& dialogs, QWidget* parent);

    // ---- Drawing
    // -------------------------------------------------------------------------------------------- Plot's
    // footprint with its frame, or erase's frame.
    void DrawCursor(Graphics& g, const StrokeScene& scene) const;
    void DrawLine(Graphics& g, const StrokeScene& scene) const;
    void DrawRect(Graphics& g, const StrokeScene& scene, bool outline) const;
    void DrawEllipse(Graphics& g, const StrokeScene& scene, bool filled);
    // The selection's frame, a move's piece under the pointer or a pick's frame.
    void DrawSelection(Graphics& g, const StrokeScene& scene) const;

private:
    enum class Drag { None, Select, Move, Pick };

    // The map cell under canvas pixel (x, y), held to ±2^30.
    static QPoint ClampedCellUnder(const MapView& view, int x, int y);
    void PlotFootprints(const StrokeScene& scene, QPoint from, QPoint to, bool fromWritten);
    void PlaceAtVisibleCell(const StrokeScene& scene, std::int64_t x, std::int64_t y, bool mark);
    void PlaceStampCell(const StrokeScene& scene, int column, int row);
    void PlaceStampRun(const StrokeScene& scene, int row, int first, int last);
    void PlacePieceAt(const StrokeScene& scene, const Piece& piece, QPoint topLeft);
    void EmptyUnder(const StrokeScene& scene, const Piece& piece, QPoint topLeft);
    void DropMove(const StrokeScene& scene, QPoint by);
    // The cell fill from map cell (x, y). interior, when given, is the filled ellipse's inside around (x, y):
    // the bounded fill reaches no cell outside it. progress, when given, hears of every cell written.
    void FloodFill(const StrokeScene& scene, int x, int y, const CellRef& fill, const CellRef& target,
                   bool bounded, const EllipseInterior* interior, FillProgress* progress);
    // The preview of the bounded fill from visible cell (x, y), held to interior as the fill itself is.
    void DrawFloodFill(Graphics& g, const StrokeScene& scene, int x, int y, const EllipseInterior* interior);
    // Draws the stamp's pattern cell for visible cell (x, y), anchored at visible cell anchor.
    static void DrawStampCell(Graphics& g, const StrokeScene& scene, std::int64_t x, std::int64_t y,
                              QPoint anchor);
    void DrawPieceAt(Graphics& g, const StrokeScene& scene, const Piece& piece, std::int64_t column,
                     std::int64_t row) const;

    Tool m_intCurrentTool = Tool::Erase;
    Tool m_intLastTool = Tool::Plot;
    // Canvas pixels where the stroke started and where the pointer is.
    int m_intMouseX = 0;
    int m_intMouseY = 0;
    int m_intDragMouseX = 0;
    int m_intDragMouseY = 0;
    // The same as visible cells, at the scale of the last UpdateStrokeCells.
    int m_intStartTileX = 0;
    int m_intStartTileY = 0;
    int m_intCurrentTileX = 0;
    int m_intCurrentTileY = 0;
    Drag m_drag = Drag::None;
    // A select drag keeps the selection before it for a cancel.
    QRect m_selectionBefore;
    QPoint m_pressCell;
    bool m_leftPressCell = false;
    // The piece a move carries, lifted off the map.
    std::unique_ptr<Piece> m_moving;
    // Map cell where the stroke's pattern is anchored.
    QPoint m_stampAnchor;
    // The edit of the stroke under way, and the map cell a plot or erase stroke's last position lay on (on
    // the map or not); the next position writes the line from there.
    std::unique_ptr<MapDocument::CellEdit> m_Edit;
    std::optional<QPoint> m_lastStrokeCell;
    // The fills' work list: runs of rows still to be looked at.
    Collection<RowSpan> m_objLayer;
    // One mark per map cell, for the ellipse tools and the fills.
    MarkerGrid m_blnTilemap;
};
