// The selected tile kept in view: shown in the swatch beside the palette, and scrolled to in the palette.
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"
#include "tiles/PaletteLayout.h"
#include "tiles/TileSwatch.h"
#include "window/frmMain.h"

void frmMain::ShowSelectedTile() {
    const TileRef& tile = Tileset().SelectedTile();
    swatchSelectedTile->Show(tile ? tile->Image() : nullptr);
}

void frmMain::ScrollPaletteToSelected() {
    const TileRef& tile = Tileset().SelectedTile();
    if (!tile)
        return;
    m_intTilesOffsetY = PaletteOffsetShowing(tile->DisplayRow, m_intTilesOffsetY, canTiles->height(),
                                             Tileset().TileHeight(), scbTilesVertical->Maximum());
    scbTilesVertical->SetValueQuietly(m_intTilesOffsetY);
}
