#include "document/LayerGrid.h"

#include <algorithm>

LayerGrid::LayerGrid() : m_cells(1) {}

PlacedCell LayerGrid::Get(int column, int row) const {
    if (!Inside(column, row))
        return {};
    return At(column, row);
}

LayerGrid LayerGrid::Resized(int width, int height) const {
    LayerGrid grown;
    width = std::max(width, 1);
    height = std::max(height, 1);
    const std::size_t entries = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    CellRef::TakeCellMemory(entries);
    grown.m_cells.resize(entries);
    grown.m_width = width;
    grown.m_height = height;
    grown.SetPlace(m_layer, m_tileWidth, m_tileHeight);
    const int keepWidth = std::min(width, m_width);
    const int keepHeight = std::min(height, m_height);
    for (int row = 0; row < keepHeight; ++row)
        for (int column = 0; column < keepWidth; ++column)
            grown.m_cells[grown.IndexOf(column, row)] = Record(column, row);
    return grown;
}
