// The selected tile kept in view: shown in the swatch beside the palette, and scrolled to in the palette.
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"
#include "tiles/PaletteLayout.h"
#include "tiles/TileSwatch.h"
#include "window/frmMain.h"

#include <QPainter>

void frmMain::ShowSelectedTile() {
    // The swatch shows the stamp: one tile's picture, or the block or piece drawn whole (its top layer last).
    if (m_stamp.Empty()) {
        swatchSelectedTile->Show(nullptr);
        return;
    }
    const CellRef single = m_stamp.SingleRecord();
    if (single) {
        swatchSelectedTile->Show(Tileset().GetTileImage(single->ImageIndex()));
        return;
    }
    const int tw = std::max(Tileset().TileWidth(), 1);
    const int th = std::max(Tileset().TileHeight(), 1);
    // Large pieces are drawn from their first cells only: the swatch is a few pixels wide.
    const int columns = std::min(m_stamp.width, 16);
    const int rows = std::min(m_stamp.height, 16);
    QImage image(columns * tw, rows * th, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        for (const PieceLayer& layer : m_stamp.layers)
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    if (const CellRef& record = m_stamp.At(layer, c, r))
                        if (const PicturePtr picture = Tileset().GetTileImage(record->ImageIndex()))
                            painter.drawImage(c * tw, r * th, picture->Image());
    }
    swatchSelectedTile->Show(std::make_shared<Picture>(std::move(image)));
}

void frmMain::ScrollPaletteToSelected() {
    const TileRef& tile = Tileset().SelectedTile();
    if (!tile)
        return;
    m_intTilesOffsetY = PaletteOffsetShowing(tile->DisplayRow, m_intTilesOffsetY, canTiles->height(),
                                             Tileset().TileHeight(), scbTilesVertical->Maximum());
    scbTilesVertical->SetValueQuietly(m_intTilesOffsetY);
}
