#pragma once

#include "map/MapComposition.h"
#include "map/ZoomedPictures.h"
#include "platform/Graphics.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <utility>

class MapDocument;
class Picture;

// How the map canvas looks at the map: which cells it shows (the scroll offsets and the canvas's size in
// cells), at which zoom, whether the grid is drawn and whether the pointer is over it; and the picture of the
// layers and grid it keeps between draws, so that a move of the pointer repaints only the cursor. The window
// owns one and turns its answers into scroll-bar ranges and repaints.
class MapView {
public:
    // document: the map shown, which must outlive the view or be replaced through SetDocument first.
    explicit MapView(const MapDocument& document);

    // The map shown changes (New, Open, Close): the view goes back to its first column and row.
    void SetDocument(const MapDocument& document);

    // ---- Scale
    // ---------------------------------------------------------------------------------------------- The
    // view's scale in percent, one of kZoomLevels: how the user looks at the map, no part of it.
    int ZoomPercent() const { return m_zoomPercent; }
    // The document's tile size, at least 1 so no division can fail.
    int TileWidthOrOne() const;
    int TileHeightOrOne() const;
    // One map cell's side on the canvas at the current zoom, at least 1 pixel.
    int ViewCellWidth() const;
    int ViewCellHeight() const;
    // The map cell (column, row) shown at canvas pixel (x, y) at the current zoom and scroll, inside the map
    // or not: the one answer every handler of the map canvas takes.
    std::pair<std::int64_t, std::int64_t> MapCellUnder(int x, int y) const;
    // Whether (column, row) is a cell of the map; 64-bit, so a visible cell plus the scroll offset cannot
    // wrap.
    bool InsideMap(std::int64_t column, std::int64_t row) const;
    // Whether layer k is drawn: in use, sized to the map and shown.
    bool LayerShown(int k) const;

    // ---- Scrolling
    // ------------------------------------------------------------------------------------------
    int OffsetX() const { return m_intMapOffsetX; }
    int OffsetY() const { return m_intMapOffsetY; }
    int VisibleColumns() const { return m_intTilemapVisibleColumns; }
    int VisibleRows() const { return m_intTilemapVisibleRows; }
    // The largest offsets the map's size allows on the canvas last fitted to; 0 when it shows the whole map
    // that way.
    int MaximumX() const { return m_maximumX; }
    int MaximumY() const { return m_maximumY; }
    // Counts the cells a canvas of this size shows at the current zoom, and the offsets' ranges; offsets
    // beyond a range that shrank come back inside it.
    void FitTo(QSize canvas);
    // Shows column x and row y at the canvas's left and top edge, each held to its range.
    void ScrollTo(int x, int y);
    // The wheel turned by (deltaX, deltaY): one cell along each axis it turned, in its direction, within
    // the ranges. True when the view can scroll at all, the canvas then to be drawn again.
    bool WheelStep(int deltaX, int deltaY);

    // ---- Zoom
    // ----------------------------------------------------------------------------------------------- Zooms
    // to percent (a zoom level), fitted to canvas, with the map cell under canvas pixel anchor kept where it
    // is as far as the ranges allow. False, changing nothing, when the view is at percent already.
    bool ZoomKeeping(int percent, QPoint anchor, QSize canvas);
    // A Ctrl+wheel turn of delta (Qt's units): the whole zoom steps it completes together with the turns
    // before it in the same direction; the rest is kept for the next turn.
    int ZoomStepsOfWheel(int delta);

    // ---- Hover and grid
    // ------------------------------------------------------------------------------------- Whether the
    // pointer is over the map canvas.
    bool PointerOver() const { return m_blncanMainHasFocus; }
    void SetPointerOver(bool over) { m_blncanMainHasFocus = over; }
    bool DrawsGrid() const { return m_blnDrawGrid; }
    void SetGrid(bool on) { m_blnDrawGrid = on; }

    // ---- The picture
    // ---------------------------------------------------------------------------------------- Cells of layer
    // changed: the kept picture repaints them at the next Paint, if the layer is drawn.
    void CellsChanged(int layer, const QRect& cells);
    // Everything may look different (settings, layer visibility, tiles): the next Paint composes anew.
    void AllChanged() { m_composition.MarkAllChanged(); }
    // Makes picture (the canvas's buffer, of the canvas's size) show the map's layers and grid as the view
    // shows them, then lets drawOver paint the cursor, a preview or the selection's frame over them.
    // Whatever drawOver paints is gone again at the next Paint.
    void Paint(QImage& picture, QSize canvas, const std::function<void(Graphics&)>& drawOver);
    // Draws the cells of the shown layers in view onto g, the canvas's picture.
    void DrawLayers(Graphics& g);
    // Draws a tile picture (picture number slot) with its top-left corner at canvas pixel (x, y), at the
    // view's scale; ZoomedSize is the size it then takes.
    void DrawZoomed(Graphics& g, const Picture& picture, int slot, std::int64_t x, std::int64_t y) const;
    QSize ZoomedSize(const Picture& picture) const;

private:
    MapViewKey CurrentViewKey(QSize canvas) const;
    // Brings the kept composition up to date for a canvas of this size; true when it changed.
    bool ComposeLayers(QSize canvas);
    // Recomposes the cells the document changed; false when composing the whole view is due instead.
    bool RecomposeChanged();
    // Repaints one map cell of the composition; false when the cell's pictures do not fit their cell.
    bool RecomposeCell(int column, int row);
    // Moves the composition by a scroll of (dx, dy) cells and paints the cells that come into view; false
    // when that cannot be done exactly.
    bool ShiftComposition(int dx, int dy);
    void DrawGridLines(Graphics& g, const QRect& area) const;
    // Copies the composition into picture where they differ.
    void BringUpToDate(QImage& picture, bool composedChanged) const;

    const MapDocument* m_document;
    int m_intMapOffsetX = 0;
    int m_intMapOffsetY = 0;
    int m_maximumX = 0;
    int m_maximumY = 0;
    int m_intTilemapVisibleRows = 0;
    int m_intTilemapVisibleColumns = 0;
    // The scroll offset in map pixels at the current zoom, where the composition's cells are drawn from.
    int m_intTilemapOffsetX = 0;
    int m_intTilemapOffsetY = 0;
    bool m_blnDrawGrid = true;
    bool m_blncanMainHasFocus = false;
    int m_zoomPercent = 100;
    // Ctrl+wheel turn not yet worth a whole zoom step, in Qt's units.
    int m_zoomWheelRest = 0;
    // Tile pictures shrunk for the current zoom, when it is below 100 %: a cache, filled as pictures are
    // drawn.
    mutable ZoomedPictures m_zoomed;
    MapComposition m_composition;
};
