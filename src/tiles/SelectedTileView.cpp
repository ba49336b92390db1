#include "tiles/SelectedTileView.h"

#include "document/Piece.h"
#include "tiles/clsVOTileset.h"

#include <QPainter>
#include <algorithm>

PicturePtr StampSwatchPicture(const Piece& stamp, const clsVOTileset& tileset) {
    if (stamp.Empty())
        return nullptr;
    if (const CellRef single = stamp.SingleRecord())
        return tileset.GetTileImage(single->ImageIndex());
    const int tw = std::max(tileset.TileWidth(), 1);
    const int th = std::max(tileset.TileHeight(), 1);
    // Large pieces are drawn from their first cells only: the swatch is a few pixels wide.
    const int columns = std::min(stamp.width, 16);
    const int rows = std::min(stamp.height, 16);
    QImage image(columns * tw, rows * th, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        for (const PieceLayer& layer : stamp.layers)
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    if (const CellRef& record = stamp.At(layer, c, r))
                        if (const PicturePtr picture = tileset.GetTileImage(record->ImageIndex()))
                            painter.drawImage(c * tw, r * th, picture->Image());
    }
    return std::make_shared<Picture>(std::move(image));
}
