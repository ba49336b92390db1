#pragma once

#include "platform/Graphics.h"

#include <QPoint>
#include <QRect>
#include <cstdint>

class MapDocument;
class ZoomedPictures;
class clsVOCell;

// Draws a map's cells as the editor shows them: cell by cell in row order, in each cell the shown layers from
// layer 0 up, each picture where its cell keeps it, at the view's zoom. The window's map view and the picture
// export both draw through it, so an exported picture is what the editor shows.
class MapPainter {
public:
    // percent: the zoom (any whole percent above 0); zoomed keeps the tile pictures shrunk below 100 %.
    MapPainter(const MapDocument& document, int percent, ZoomedPictures& zoomed);

    // One map cell's side in the picture, at least 1 pixel.
    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    // Whether layer k is drawn by DrawCells: in use, sized to the map and shown.
    bool LayerShown(int k) const;

    // Where map pixel p lies in a picture of the whole map at the view's scale.
    QPoint ToView(QPoint p) const;
    // Draws every cell of the shown layers within cells (map columns and rows, held to the map) onto g, whose
    // pixel (0, 0) is pixel origin of a picture of the whole map at the view's scale. False when a picture
    // did not sit exactly inside its own cell (it then spills over its neighbours).
    bool DrawCells(Graphics& g, const QRect& cells, QPoint origin);
    // One cell's picture; false as above.
    bool DrawCell(Graphics& g, const clsVOCell& cell, int column, int row, QPoint origin);
    // A tile picture (picture number slot) at the view's scale with its top-left corner at picture pixel
    // (x, y).
    void DrawPicture(Graphics& g, const Picture& picture, int slot, std::int64_t x, std::int64_t y);

private:
    const MapDocument& m_document;
    int m_percent;
    ZoomedPictures& m_zoomed;
    int m_tileWidth;
    int m_tileHeight;
    int m_cellWidth;
    int m_cellHeight;
};
