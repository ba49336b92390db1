#include "map/LayerGrid.h"

#include <algorithm>

LayerGrid::LayerGrid() : m_cells(1) {}

CellRef LayerGrid::Get(int column, int row) const {
    if (!Inside(column, row))
        return nullptr;
    return At(column, row);
}

void LayerGrid::Set(int column, int row, CellRef cell) {
    if (!Inside(column, row))
        return;
    m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) +
            static_cast<std::size_t>(column)] = std::move(cell);
    NoteChange(column, row);
}

void LayerGrid::Touch(int column, int row) {
    if (Inside(column, row))
        NoteChange(column, row);
}

void LayerGrid::NoteChange(int column, int row) {
    ++m_revision;
    if (m_changeLogUntrusted)
        return;
    if (m_changes.size() >= kMaxLoggedChanges) {
        m_changeLogUntrusted = true;
        m_changes.clear();
        return;
    }
    m_changes.push_back({column, row});
}

void LayerGrid::ClearChanges() {
    m_changes.clear();
    m_changeLogUntrusted = false;
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
    const int keepWidth = std::min(width, m_width);
    const int keepHeight = std::min(height, m_height);
    for (int row = 0; row < keepHeight; ++row)
        for (int column = 0; column < keepWidth; ++column)
            grown.m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(column)] = At(column, row);
    grown.m_revision = m_revision + 1;
    grown.m_changeLogUntrusted = true;
    return grown;
}

void LayerGrid::ShrinkToSingle() {
    Cells(1).swap(m_cells);
    m_width = 1;
    m_height = 1;
    ++m_revision;
    m_changeLogUntrusted = true;
    m_changes.clear();
}
