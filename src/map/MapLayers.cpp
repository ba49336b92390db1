// The eight layer grids, the edit layer, placing and removing one cell, and Apply.
#include "map/MapSettings.h"
#include "platform/BevelButton.h"
#include "platform/Val.h"
#include "window/EditorColours.h"
#include "window/frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <new>

bool frmMain::DefaultLayers(int n) {
    const int top = std::max(m_intLayers - 1, 0);
    for (int i = 0; i < 8; ++i) {
        BevelButton* button = btnLayer[static_cast<std::size_t>(i)];
        button->setEnabled(i <= top);
        button->SetIcon(i == n ? m_objVOLayerIcon->DownIcon(i) : m_objVOLayerIcon->UpIcon(i));
        button->SetValue(i == n);
    }
    RefreshEditLayers();
    const bool sized = ResizeTilemapLayers();
    SetCurrentLayer();
    return sized;
}

bool frmMain::PrepareLayerGrids(int layers, int width, int height, std::array<LayerGrid, 8>& grids) const {
    try {
        for (int k = 0; k < 8; ++k)
            if (k <= layers - 1 || k == 0)
                grids[static_cast<std::size_t>(k)] = Layer(k).Resized(width, height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void frmMain::CommitLayerGrids(int layers, int width, int height, std::array<LayerGrid, 8>& grids) {
    for (int k = 0; k < 8; ++k) {
        if (k <= layers - 1 || k == 0)
            Layer(k) = std::move(grids[static_cast<std::size_t>(k)]);
        else
            Layer(k).ShrinkToSingle();
    }
    m_intMapWidth = width;
    m_intMapHeight = height;
}

bool frmMain::ResizeTilemapLayers() {
    const MapSizeRequest size =
        CheckMapSize(txtMapWidth->text(), txtMapHeight->text(), m_intMapWidth, m_intMapHeight);
    // A refused side keeps its current value; a size beyond the cell limit keeps both.
    const int width = size.tooLarge ? m_intMapWidth : size.width;
    const int height = size.tooLarge ? m_intMapHeight : size.height;
    std::array<LayerGrid, 8> grids;
    if (!PrepareLayerGrids(m_intLayers, width, height, grids)) {
        // The grids stay as they were; the map's size must say so, or editing would reach past them.
        m_intMapWidth = Layer(0).Width();
        m_intMapHeight = Layer(0).Height();
        return false;
    }
    CommitLayerGrids(m_intLayers, width, height, grids);
    return true;
}

int frmMain::EditLayerNumber() const {
    const int n = ValInt(cboEditLayer->currentText());
    return n >= 0 && n <= 7 ? n : -1;
}

void frmMain::SetCurrentLayer() {
    const int n = EditLayerNumber();
    if (n >= 0)
        m_Layer = n;
}

CellRef frmMain::GetVOCellFromLayer(int x, int y) {
    const int n = m_Layer;
    if (n < 0 || !InsideMap(x, y))
        return nullptr;
    return Layer(n).Get(x, y);
}

bool frmMain::InsideMap(std::int64_t column, std::int64_t row) const {
    return column >= 0 && row >= 0 && column < m_intMapWidth && row < m_intMapHeight;
}

void frmMain::PlaceAtVisibleCell(std::int64_t x, std::int64_t y, bool mark) {
    const std::int64_t column = x + m_intMapOffsetX;
    const std::int64_t row = y + m_intMapOffsetY;
    if (!InsideMap(column, row))
        return;
    const int c = static_cast<int>(column);
    const int r = static_cast<int>(row);
    PlaceTile(c * TileWidthOrOne(), r * TileHeightOrOne(), c, r, mark);
}

void frmMain::PlaceTile(int x, int y, int column, int row, bool mark) {
    const TileRef& tile = m_VOTileset->SelectedTile();
    // The edit layer is read once, so the grid written and the cell's layer number always agree.
    const int n = m_Layer;
    if (!tile || n < 0)
        return;
    if (!InsideMap(column, row))
        return;
    LayerGrid& grid = Layer(n);
    if (!grid.Inside(column, row))
        return;
    CellRef cell = tile->Cell();
    cell->SetX(x);
    cell->SetY(y);
    cell->SetZOrder(static_cast<std::uint8_t>(n));
    grid.Set(column, row, std::move(cell));
    if (mark)
        m_blnTilemap.Set(column, row);
}

void frmMain::RemoveTile(int, int, int column, int row) {
    const int n = m_Layer;
    if (n < 0 || !InsideMap(column, row))
        return;
    Layer(n).Set(column, row, nullptr);
}

void frmMain::btnApply_Action() {
    m_memoryReserve.Replenish();
    // Every field is checked before anything changes, so a refused Apply leaves the editor as it was.
    const int layers = std::clamp(ValInt(cboMapLayers->currentText()), 1, 8);
    const SizeFieldVerdict tileW = CheckTileSide(txtWidth->text(), QStringLiteral("Tile width"));
    const SizeFieldVerdict tileH = CheckTileSide(txtHeight->text(), QStringLiteral("Tile height"));
    const MapSizeRequest size =
        CheckMapSize(txtMapWidth->text(), txtMapHeight->text(), m_intMapWidth, m_intMapHeight);
    const int width = size.width;
    const int height = size.height;
    // The first field refused, in the order the fields are checked, names the refusal.
    QString refusal = size.refusal;
    if (tileH.kind == SizeFieldVerdict::Refuse)
        refusal = tileH.message;
    if (tileW.kind == SizeFieldVerdict::Refuse)
        refusal = tileW.message;
    std::array<LayerGrid, 8> grids;
    if (refusal.isEmpty() && !PrepareLayerGrids(layers, width, height, grids)) {
        ReportOutOfMemory(QStringLiteral("Apply"));
        return;
    }
    if (!refusal.isEmpty()) {
        UpdateStatus(refusal, kFailureColour, 0);
        return;
    }

    m_intLayers = layers;
    m_intTileWidth = tileW.value;
    m_intTileHeight = tileH.value;
    m_VOTileset->SetTileWidth(m_intTileWidth);
    m_VOTileset->SetTileHeight(m_intTileHeight);
    EnableLayers();
    CommitLayerGrids(layers, width, height, grids);
    // The view follows the new map and tile size at once: ranges, visible counts and offsets.
    RefreshMainScrollbars();
    Draw();
}
