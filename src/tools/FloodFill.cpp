// The flood fill: the fill tool's three modes over the edit layer, the filled ellipse's bounded fill and its
// preview. All of them walk the grid by row spans with the work list on the heap.
#include "map/MapView.h"
#include "platform/BusyCursor.h"
#include "tools/EllipseOutline.h"
#include "tools/FillProgress.h"
#include "tools/FloodRegion.h"
#include "tools/StampPattern.h"
#include "tools/Stroke.h"

#include <algorithm>

void Stroke::FloodFill(const StrokeScene& scene, bool bounded, Dialogs& dialogs, QWidget* parent) {
    const MapView& view = scene.view;
    const long long x = static_cast<long long>(m_intCurrentTileX) + view.OffsetX();
    const long long y = static_cast<long long>(m_intCurrentTileY) + view.OffsetY();
    // A click beyond the map's last column or row has nothing to fill.
    if (scene.editLayer < 0 || !view.InsideMap(x, y))
        return;
    const BusyCursor busy;
    const int width = scene.document.MapWidth();
    const int height = scene.document.MapHeight();
    const CellRef target =
        scene.document.Layer(scene.editLayer).Record(static_cast<int>(x), static_cast<int>(y));
    m_blnTilemap.Reset(width, height);
    // The pattern of a fill is anchored at the clicked cell.
    m_stampAnchor = QPoint(static_cast<int>(x), static_cast<int>(y));
    // A fill over a large map shows its progress and can be cancelled, which takes it back whole. The fill
    // tool has no preview, so nothing the window draws while the dialog lets it repaint touches the fill's
    // marks or work list.
    FillProgress progress(dialogs, parent, std::int64_t{width} * height);
    try {
        FloodFill(scene, static_cast<int>(x), static_cast<int>(y), StampFill(scene.stamp), target, bounded,
                  nullptr, &progress);
    } catch (const WorkCancelled&) {
        m_Edit.reset();
        m_objLayer.clear();
    }
    m_blnTilemap.Shrink();
}

namespace {

// What every mode of the cell fill works on: the edit layer's grid and number, the edit that writes it, the
// part of it the walk may reach, the clicked cell, and the walk's marks and work list.
struct FillWork {
    const LayerGrid& grid;
    int layer;
    MapDocument::CellEdit& edit;
    int width;
    int height;
    GridPoint start;
    MarkerGrid& marks;
    Collection<RowSpan>& spans;
    const Piece& stamp;
    QPoint anchor;
    FillProgress* progress;

    // Every cell the fill writes takes the stamp's cell for its place, on each of the stamp's layers, as a
    // plot would: the records are shared, and a cell's place is where it lies. A fill writes whole runs of a
    // row at a time.
    void Write(const CellRef&, int first, int last, int row) const {
        for (const PieceLayer& from : stamp.layers) {
            const int target = TargetLayer(from, layer);
            if (stamp.width == 1 && stamp.height == 1) {
                const CellRef& record = from.cells[0];
                PutPieceRun(edit, target, row, first, last, [&](int) -> const CellRef& { return record; });
                continue;
            }
            PutPieceRun(edit, target, row, first, last, [&](int column) -> const CellRef& {
                const StampCell at =
                    PatternCell(column, row, anchor.x(), anchor.y(), stamp.width, stamp.height);
                return stamp.At(from, at.column, at.row);
            });
        }
    }
    void Erase(int first, int last, int row) const { edit.EraseRun(layer, row, first, last); }

    template <class Open, class VisitRun> void Walk(Open&& open, VisitRun&& visitRun) const {
        FloodRuns(width, height, start, marks, spans, open, [&](int first, int last, int row) {
            visitRun(first, last, row);
            if (progress)
                progress->Written(last - first + 1);
        });
    }
};

// The filled ellipse's inside: every cell the region reaches takes the stamp's cell for its place, occupied
// or not.
void FillBounded(const FillWork& work, const CellRef& fill, const EllipseInterior* interior) {
    if (!fill)
        return;
    const GridPoint start = work.start;
    // The centre is written whatever was there and whatever its mark; the walk leaves it alone.
    work.Write(fill, start.column, start.column, start.row);
    work.Walk(
        [&](int column, int row) {
            return !interior || interior->Contains(column - start.column, row - start.row);
        },
        [&](int first, int last, int row) {
            if (row != start.row || start.column < first || start.column > last) {
                work.Write(fill, first, last, row);
                return;
            }
            work.Write(fill, first, start.column - 1, row);
            work.Write(fill, start.column + 1, last, row);
        });
}

// A click on an empty cell fills the empty region around it.
void FillEmpty(const FillWork& work, const CellRef& fill) {
    if (!fill)
        return;
    // The marks were cleared for this fill, so the empty start is visited like the rest of the region.
    work.Walk([&](int column, int row) { return !work.grid.Record(column, row); },
              [&](int first, int last, int row) { work.Write(fill, first, last, row); });
}

// A click on an occupied cell: erase (no tile selected) or replace. The region of cells alike to the clicked
// one is emptied, or takes the selected tile as a plot would place it. Alike is compared by picture index,
// read before anything changes.
void FillAlike(const FillWork& work, const CellRef& fill, const CellRef& target) {
    const CellRef& startCell = work.grid.Record(work.start.column, work.start.row);
    // Replacing a region with the tile it already shows changes nothing.
    if (fill && work.stamp.SingleRecord() == fill && startCell->ImageIndex() == fill->ImageIndex())
        return;
    const std::int16_t alike = target ? target->ImageIndex() : startCell->ImageIndex();
    work.Walk(
        [&](int column, int row) {
            const CellRef& cell = work.grid.Record(column, row);
            return cell && cell->ImageIndex() == alike;
        },
        [&](int first, int last, int row) {
            if (fill)
                work.Write(fill, first, last, row);
            else
                work.Erase(first, last, row);
        });
}

} // namespace

void Stroke::FloodFill(const StrokeScene& scene, int x, int y, const CellRef& fill, const CellRef& target,
                       bool bounded, const EllipseInterior* interior, FillProgress* progress) {
    const int n = scene.editLayer;
    const MapDocument& document = scene.document;
    if (n < 0 || !m_Edit || !scene.view.InsideMap(x, y) || !document.Layer(n).Inside(x, y))
        return;
    const LayerGrid& grid = document.Layer(n);
    const int width = document.MapWidth();
    const int height = document.MapHeight();
    if (m_blnTilemap.Width() != width || m_blnTilemap.Height() != height)
        m_blnTilemap.Reset(width, height);
    const FillWork work{grid,
                        n,
                        *m_Edit,
                        std::min(width, grid.Width()),
                        std::min(height, grid.Height()),
                        GridPoint{x, y},
                        m_blnTilemap,
                        m_objLayer,
                        scene.stamp,
                        m_stampAnchor,
                        progress};
    if (bounded)
        FillBounded(work, fill, interior);
    else if (!grid.Record(x, y))
        FillEmpty(work, fill);
    else
        FillAlike(work, fill, target);
}

void Stroke::DrawFloodFill(Graphics& g, const StrokeScene& scene, int x, int y,
                           const EllipseInterior* interior) {
    if (!StampPicture(scene))
        return;
    const MapView& view = scene.view;
    const int tw = view.ViewCellWidth();
    const int th = view.ViewCellHeight();
    const int offsetX = view.OffsetX();
    const int offsetY = view.OffsetY();
    const QPoint anchor(m_intStartTileX, m_intStartTileY);
    // Points left of or above the canvas are dropped and do not spread.
    if (x < 0 || y < 0)
        return;
    const long long startX = static_cast<long long>(x) + offsetX;
    const long long startY = static_cast<long long>(y) + offsetY;
    if (!view.InsideMap(startX, startY))
        return;
    // Cells right of or below the canvas cannot show; they are walked only where they may still connect
    // visible cells to the centre (the inside is convex around the centre's row and column).
    // The walk stays left of columnEnd and above rowEnd (visible cells, not map cells): one past the canvas,
    // and never short of the centre.
    const long long columnEnd = std::max<long long>(g.Width() / tw + 1, x + 1);
    const long long rowEnd = std::max<long long>(g.Height() / th + 1, y + 1);
    FloodRegion(
        scene.document.MapWidth(), scene.document.MapHeight(),
        GridPoint{static_cast<int>(startX), static_cast<int>(startY)}, m_blnTilemap, m_objLayer,
        [&](int column, int row) {
            const long long px = column - static_cast<long long>(offsetX);
            const long long py = row - static_cast<long long>(offsetY);
            return px >= 0 && py >= 0 && px < columnEnd && py < rowEnd &&
                   (!interior ||
                    interior->Contains(column - static_cast<int>(startX), row - static_cast<int>(startY)));
        },
        [&](int column, int row) {
            DrawStampCell(g, scene, column - static_cast<long long>(offsetX),
                          row - static_cast<long long>(offsetY), anchor);
        });
}
