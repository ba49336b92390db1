#pragma once

#include "tiles/PaletteBlock.h"
#include "tiles/clsVOTileset.h"

#include <cstdint>
#include <limits>
#include <vector>

class Graphics;
struct TilesetLoadRecord;

// The tile palette as the user sees it: the row each tile sits in, the rows scrolled into view, the pointer
// over it, and the tile or block of tiles picked. The tileset is the document's and holds none of this; the
// window hands the view the tileset and the canvas's size with every call, so a view never outlives what it
// looks at. Nothing here touches a widget: the window reads ScrollMaximum and ScrollEnabled into its scroll
// bar and draws when a call says the palette changed.
class PaletteView {
public:
    // ---- Layout: rows, and the rows in view -------------------------------------------------------------
    // Gives every tile its palette row, by the flow rule, for a canvas this wide.
    void AssignTileRows(const clsVOTileset& tileset, int canvasWidth);
    // The rows the layout needs (at least 1).
    void SetTilesMatrix(const clsVOTileset& tileset, int canvasWidth);
    // The rows a canvas this high shows and the scroll range they leave; the offset is held inside it. With
    // no tiles the scroll bar is disabled and its range stays as it was.
    void RefreshTileScrollbar(const clsVOTileset& tileset, int canvasHeight);
    int ScrollMaximum() const { return m_scrollMaximum; }
    bool ScrollEnabled() const { return m_scrollEnabled; }
    // The scroll bar's value became offset.
    void ScrollTo(int offset) { m_intTilesOffsetY = offset; }
    // One row up for a negative delta, down for a positive one, within the range; false when the wheel
    // does nothing here (the bar disabled, or no vertical turn).
    bool Wheel(int deltaY);
    // Scrolls the least that shows the selected tile's row whole, if a tile is selected.
    void ScrollToSelected(const clsVOTileset& tileset, int canvasHeight);

    // ---- Drawing and finding tiles ----------------------------------------------------------------------
    // Clears g and draws the shown tiles in their frames: selected, under the pointer, or plain. The tile
    // framed as under the pointer becomes MouseFocus.
    void DrawTiles(Graphics& g, const clsVOTileset& tileset, int canvasWidth);
    // The tile drawn at canvas pixel (x, y), or -1.
    int TileAt(const clsVOTileset& tileset, int canvasWidth, std::int64_t x, std::int64_t y) const;

    // ---- The pointer ------------------------------------------------------------------------------------
    // Where the pointer came in is not known until it moves: until then no tile is under it, rather than the
    // tile it left from last time. (An enter announced twice changes nothing.)
    void MouseEnter() {
        if (!m_blncanTilesHasFocus)
            m_intTilesMouseX = m_intTilesMouseY = std::numeric_limits<int>::min();
        m_blncanTilesHasFocus = true;
    }
    void MouseExit() { m_blncanTilesHasFocus = false; }
    // A move over the canvas; true when it was recorded and the palette must be drawn again.
    bool MouseMove(int x, int y);
    // A press at (x, y) selects the tile under it, a block of that one tile; a press on the selected tile
    // or on no tile clears the selection. True when a tile was selected: a drag from it picks a block.
    bool Press(const clsVOTileset& tileset, int canvasWidth, int x, int y);
    // The drag from the pressed tile reached (x, y): the block between them in their tileset image. True
    // when the block changed.
    bool DragTo(const clsVOTileset& tileset, int canvasWidth, const std::vector<TilesetLoadRecord>& loads,
                int x, int y);
    void Release() { m_paletteDragging = false; }

    // ---- The selection ----------------------------------------------------------------------------------
    // The selected tile, or null; and the block it heads (one tile, or none outside a block).
    const TileRef& SelectedTile() const { return m_SelectedVOTile; }
    const TileBlock& PaletteBlock() const { return m_paletteBlock; }
    // Selects tile alone (null: nothing), as a pick from the map does.
    void SelectTile(TileRef tile);
    // After the tileset changed: a selected tile that is no longer one of its tiles goes, with its block.
    void FollowTileset(const clsVOTileset& tileset);
    // Another map's tileset: nothing selected, scrolled to the top.
    void StartAfresh();

    // ---- What the palette shows, for reading ------------------------------------------------------------
    int TilesOffsetY() const { return m_intTilesOffsetY; }
    int TileRowCount() const { return m_intTileRowCount; }
    int TotalVisibleRows() const { return m_intTotalVisibleRows; }
    int TilesMouseX() const { return m_intTilesMouseX; }
    int TilesMouseY() const { return m_intTilesMouseY; }
    bool canTilesHasFocus() const { return m_blncanTilesHasFocus; }
    // Tile i's palette row; 0 for a tile not laid out yet.
    int DisplayRow(int i) const;
    // The tile the last drawing framed as under the pointer, or -1.
    int MouseFocus() const { return m_intMouseFocus; }

private:
    // Calls visit(tile, left, top) for each tile in the rows shown, in tileset order.
    template <class Visit>
    void ForEachShownTile(const clsVOTileset& tileset, int canvasWidth, Visit visit) const;
    // Whether tile (number i) is framed as picked: the selected tile, or one of a block's.
    bool FramedSelected(const clsVOTile* tile, int i) const;
    // The tile under the pointer that is not framed as picked, or -1: the one a press selects.
    int HoveredTile(const clsVOTileset& tileset, int canvasWidth) const;

    int m_intTilesOffsetY = 0;
    int m_intTileRowCount = 0;
    int m_intTotalVisibleRows = 0;
    int m_intTilesMouseX = 0;
    int m_intTilesMouseY = 0;
    bool m_blncanTilesHasFocus = false;
    int m_intMouseFocus = -1;
    int m_scrollMaximum = 0;
    bool m_scrollEnabled = false;
    std::vector<int> m_displayRows;
    TileRef m_SelectedVOTile;
    TileBlock m_paletteBlock;
    // A press picked a tile and the button is still down: moves pick a block.
    bool m_paletteDragging = false;
};
