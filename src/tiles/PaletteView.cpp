#include "tiles/PaletteView.h"

#include "document/MapSnapshot.h"
#include "platform/Graphics.h"
#include "platform/ScrollMath.h"
#include "tiles/PaletteLayout.h"

#include <algorithm>

namespace {
const QColor kLightBlue(160, 215, 255);
const QColor kBlue(0, 0, 255);
const QColor kLightGrey(200, 200, 200);
const QColor kDarkGrey(100, 100, 100);
constexpr int kGap = kPaletteSpacing;

enum class Frame { Plain, Hovered, Picked };

// A picked tile and the tile under the pointer stand in a filled round frame with a square just around the
// picture; any other tile has a thin round outline.
void DrawFrame(Graphics& g, Frame frame, std::int64_t x, std::int64_t y, std::int64_t tw, std::int64_t th) {
    if (frame == Frame::Plain) {
        g.ForeColor = kDarkGrey;
        g.DrawRoundRect(x - 3, y - 3, tw + 6, th + 6, 4, 4);
        return;
    }
    const bool picked = frame == Frame::Picked;
    g.ForeColor = picked ? kLightBlue : kLightGrey;
    g.FillRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
    g.ForeColor = picked ? kBlue : kDarkGrey;
    g.DrawRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
    g.DrawRect(x - 1, y - 1, tw + 2, th + 2);
}

// Both edges count: the pointer on a tile's right or bottom line is still over it.
bool Covers(std::int64_t x, std::int64_t y, std::int64_t tw, std::int64_t th, std::int64_t px,
            std::int64_t py) {
    return px >= x && px <= x + tw && py >= y && py <= y + th;
}
} // namespace

void PaletteView::AssignTileRows(const clsVOTileset& tileset, int canvasWidth) {
    m_displayRows = AssignPaletteRows(tileset.Count(), tileset.TileWidth(), canvasWidth);
}

void PaletteView::SetTilesMatrix(const clsVOTileset& tileset, int canvasWidth) {
    m_intTileRowCount = PaletteRowCount(tileset.Count(), tileset.TileWidth(), canvasWidth);
}

void PaletteView::RefreshTileScrollbar(const clsVOTileset& tileset, int canvasHeight) {
    // An empty palette has nothing to scroll: no range is left over from the tiles that went.
    m_scrollEnabled = false;
    m_scrollMaximum = 0;
    if (tileset.Count() > 0) {
        m_intTotalVisibleRows = PaletteVisibleRows(canvasHeight, tileset.TileHeight());
        m_scrollMaximum = ::ScrollMaximum(m_intTileRowCount, m_intTotalVisibleRows);
        m_scrollEnabled = m_scrollMaximum > 0;
    }
    // A shrinking range pulls the bar's value back; the shown rows follow it.
    m_intTilesOffsetY = std::clamp(m_intTilesOffsetY, 0, m_scrollMaximum);
}

bool PaletteView::Wheel(int deltaY) {
    if (!m_scrollEnabled || deltaY == 0)
        return false;
    // One row per event, however far the wheel turned.
    if (deltaY < 0 && m_intTilesOffsetY > 0)
        --m_intTilesOffsetY;
    else if (deltaY > 0 && m_intTilesOffsetY < m_scrollMaximum)
        ++m_intTilesOffsetY;
    return true;
}

void PaletteView::ScrollToSelected(const clsVOTileset& tileset, int canvasHeight) {
    if (!m_SelectedVOTile)
        return;
    m_intTilesOffsetY = PaletteOffsetShowing(DisplayRow(m_SelectedVOTile->ImageIndex()), m_intTilesOffsetY,
                                             canvasHeight, tileset.TileHeight(), m_scrollMaximum);
}

template <class Visit>
void PaletteView::ForEachShownTile(const clsVOTileset& tileset, int canvasWidth, Visit visit) const {
    const std::int64_t th = tileset.TileHeight();
    // Rows beyond the canvas cannot show, however many tiles there are.
    const std::int64_t lastRow = std::int64_t{m_intTilesOffsetY} + m_intTotalVisibleRows;
    // The shown tiles flow from the top-left slot, so hover and picking follow the slots drawn.
    PaletteFlow flow(tileset.TileWidth(), canvasWidth);
    for (int i = 0; i < tileset.Count(); ++i) {
        const int row = DisplayRow(i);
        if (row < m_intTilesOffsetY || row > lastRow)
            continue;
        const PaletteFlow::Slot slot = flow.Next();
        if (!visit(i, slot.x, kGap + slot.row * (th + kGap)))
            return;
    }
}

void PaletteView::DrawTiles(Graphics& g, const clsVOTileset& tileset, int canvasWidth) {
    g.ClearRect(0, 0, g.Width(), g.Height());
    m_intMouseFocus = -1;
    const std::int64_t tw = tileset.TileWidth();
    const std::int64_t th = tileset.TileHeight();
    ForEachShownTile(tileset, canvasWidth, [&](int i, std::int64_t x, std::int64_t y) {
        const TileRef tile = tileset.GetTile(i);
        Frame frame = Frame::Plain;
        if (FramedSelected(tile.get(), i)) {
            frame = Frame::Picked;
        } else if (m_blncanTilesHasFocus && Covers(x, y, tw, th, m_intTilesMouseX, m_intTilesMouseY)) {
            frame = Frame::Hovered;
            if (m_intMouseFocus < 0)
                m_intMouseFocus = i;
        }
        DrawFrame(g, frame, x, y, tw, th);
        if (tile->Image())
            g.DrawPicture(*tile->Image(), x, y);
        return true;
    });
}

int PaletteView::TileAt(const clsVOTileset& tileset, int canvasWidth, std::int64_t x, std::int64_t y) const {
    const std::int64_t tw = tileset.TileWidth();
    const std::int64_t th = tileset.TileHeight();
    int found = -1;
    ForEachShownTile(tileset, canvasWidth, [&](int i, std::int64_t left, std::int64_t top) {
        if (Covers(left, top, tw, th, x, y))
            found = i;
        return found < 0;
    });
    return found;
}

int PaletteView::HoveredTile(const clsVOTileset& tileset, int canvasWidth) const {
    if (!m_blncanTilesHasFocus)
        return -1;
    const std::int64_t tw = tileset.TileWidth();
    const std::int64_t th = tileset.TileHeight();
    int found = -1;
    ForEachShownTile(tileset, canvasWidth, [&](int i, std::int64_t x, std::int64_t y) {
        if (Covers(x, y, tw, th, m_intTilesMouseX, m_intTilesMouseY) &&
            !FramedSelected(tileset.GetTile(i).get(), i))
            found = i;
        return found < 0;
    });
    return found;
}

bool PaletteView::MouseMove(int x, int y) {
    if (!m_blncanTilesHasFocus)
        return false;
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    return true;
}

bool PaletteView::Press(const clsVOTileset& tileset, int canvasWidth, int x, int y) {
    // The press picks the tile under it even when no move came first (a dialog closed over the palette, say):
    // the hover is found anew at the press before it is taken. The selected tile is never the hovered one, so
    // a press on it clears the selection.
    m_blncanTilesHasFocus = true;
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    m_SelectedVOTile = tileset.GetTile(HoveredTile(tileset, canvasWidth));
    m_paletteBlock = TileBlock();
    if (m_SelectedVOTile)
        m_paletteBlock = TileBlock{1, 1, {m_SelectedVOTile->ImageIndex()}};
    m_paletteDragging = bool(m_SelectedVOTile);
    return m_paletteDragging;
}

bool PaletteView::DragTo(const clsVOTileset& tileset, int canvasWidth,
                         const std::vector<TilesetLoadRecord>& loads, int x, int y) {
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    const int pointer = TileAt(tileset, canvasWidth, x, y);
    if (!m_paletteDragging || !m_SelectedVOTile || pointer < 0)
        return false;
    // A block lies in one tileset image: the one the press tile was cut from.
    const int press = m_SelectedVOTile->ImageIndex();
    const auto load = std::find_if(loads.begin(), loads.end(), [press](const TilesetLoadRecord& l) {
        return press >= l.firstTile && press < l.firstTile + l.tileCount;
    });
    if (load == loads.end())
        return false;
    const TileImageRows rows{load->firstTile, load->tileCount,
                             load->tileWidth > 0 ? std::max(load->imageWidth / load->tileWidth, 1) : 1};
    const std::optional<TileBlock> block = BlockBetween(rows, press, pointer);
    if (!block || *block == m_paletteBlock)
        return false;
    m_paletteBlock = *block;
    return true;
}

void PaletteView::SelectTile(TileRef tile) {
    m_SelectedVOTile = std::move(tile);
    m_paletteBlock = TileBlock();
}

void PaletteView::FollowTileset(const clsVOTileset& tileset) {
    // Tile i of a tileset has ImageIndex i, so the selected tile is still there only at its own number. The
    // block goes with its head: numbers alone would frame whatever tiles came to stand there.
    if (m_SelectedVOTile && tileset.GetTile(m_SelectedVOTile->ImageIndex()) != m_SelectedVOTile)
        SelectTile(nullptr);
}

void PaletteView::StartAfresh() {
    SelectTile(nullptr);
    m_paletteDragging = false;
    m_intTilesOffsetY = 0;
}

int PaletteView::DisplayRow(int i) const {
    return i >= 0 && std::size_t(i) < m_displayRows.size() ? m_displayRows[std::size_t(i)] : 0;
}

bool PaletteView::FramedSelected(const clsVOTile* tile, int i) const {
    if (tile && tile == m_SelectedVOTile.get())
        return true;
    return m_paletteBlock.tiles.size() > 1 &&
           std::find(m_paletteBlock.tiles.begin(), m_paletteBlock.tiles.end(), i) !=
               m_paletteBlock.tiles.end();
}
