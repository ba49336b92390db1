#include "map/MapPainter.h"

#include "document/MapDocument.h"
#include "map/MapZoom.h"
#include "map/ZoomedPictures.h"

#include <algorithm>
#include <array>

MapPainter::MapPainter(const MapDocument& document, int percent, ZoomedPictures& zoomed)
    : m_document(document), m_percent(std::max(percent, 1)), m_zoomed(zoomed),
      m_tileWidth(std::max(document.TileWidth(), 1)), m_tileHeight(std::max(document.TileHeight(), 1)),
      m_cellWidth(ZoomedSide(m_tileWidth, m_percent)), m_cellHeight(ZoomedSide(m_tileHeight, m_percent)) {}

bool MapPainter::LayerShown(int k) const {
    return m_document.LayerInUse(k) &&
           m_document.Layer(k).SizedTo(m_document.MapWidth(), m_document.MapHeight()) &&
           m_document.LayerVisible(k);
}

QPoint MapPainter::ToView(QPoint p) const {
    return {int(MapToView(p.x(), m_tileWidth, m_cellWidth)),
            int(MapToView(p.y(), m_tileHeight, m_cellHeight))};
}

bool MapPainter::DrawCells(Graphics& g, const QRect& cells, QPoint origin) {
    std::array<const LayerGrid*, 8> shown{};
    int shownCount = 0;
    for (int k = 0; k < 8; ++k)
        if (LayerShown(k))
            shown[static_cast<std::size_t>(shownCount++)] = &m_document.Layer(k);
    const QRect area = cells & QRect(0, 0, m_document.MapWidth(), m_document.MapHeight());
    bool regular = true;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        for (int column = area.left(); column <= area.right(); ++column) {
            for (int s = 0; s < shownCount; ++s) {
                const CellRef& cell = shown[static_cast<std::size_t>(s)]->Record(column, row);
                if (cell && !DrawCell(g, *cell, column, row, origin))
                    regular = false;
            }
        }
    }
    return regular;
}

bool MapPainter::DrawCell(Graphics& g, const clsVOCell& cell, int column, int row, QPoint origin) {
    const PicturePtr picture = m_document.Tileset().GetTileImage(cell.ImageIndex());
    if (!picture)
        return true;
    // A picture of another size than the tile size (cut before the tile size changed) can spill over the
    // cell's neighbours.
    DrawPicture(g, *picture, cell.ImageIndex(),
                MapToView(std::int64_t{column} * m_tileWidth, m_tileWidth, m_cellWidth) - origin.x(),
                MapToView(std::int64_t{row} * m_tileHeight, m_tileHeight, m_cellHeight) - origin.y());
    return picture->Width() <= m_tileWidth && picture->Height() <= m_tileHeight;
}

void MapPainter::DrawPicture(Graphics& g, const Picture& picture, int slot, std::int64_t x, std::int64_t y) {
    if (m_percent == 100) {
        g.DrawPicture(picture, x, y);
    } else if (m_percent > 100 && m_percent % 100 == 0) {
        // Zooming in repeats every pixel: 200 % and 400 % are whole multiples of every tile size.
        g.BlendImage(picture.Image(), x, y, m_percent / 100);
    } else {
        m_zoomed.SetScale(m_tileWidth, m_tileHeight, m_cellWidth, m_cellHeight);
        g.BlendImage(m_zoomed.Reduced(slot, picture), x, y);
    }
}
