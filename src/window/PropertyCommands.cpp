// The game properties of tiles and map cells, edited through the context menus of the palette and the map,
// the tooltip that tells where a cell differs from its tile, and Remove Tiles.
#include "platform/Canvas.h"
#include "tiles/CellGameValues.h"
#include "window/frmMain.h"

#include <new>

namespace {

const QString kTileProperties = QStringLiteral("Tile Properties\u2026");
const QString kCellProperties = QStringLiteral("Cell Properties\u2026");

// The template a cell is compared with: its tile's, or a new cell's when its tile is not loaded.
GameValues TileValues(const clsVOTileset& tileset, int image) {
    const TileRef tile = tileset.GetTile(image);
    return tile ? GameValuesOf(tile->Template()) : GameValues();
}

QString TileName(const clsVOTileset& tileset, int image) {
    return tileset.GetTile(image) ? QString::number(image) : QStringLiteral("%1 (not loaded)").arg(image);
}

} // namespace

// ---- Remove Tiles ---------------------------------------------------------------------------------------

void frmMain::FileRemoveTiles_Action() {
    const int count = Tileset().Count();
    if (count == 0)
        return;
    Question question;
    question.Text = count == 1 ? QStringLiteral("Remove the tile from the tileset?")
                               : QStringLiteral("Remove all %1 tiles from the tileset?").arg(count);
    question.Details =
        QStringLiteral("Cells placed on the map keep their properties and show empty until a "
                       "tileset with their tiles is loaded again. Undo brings the tiles back.");
    question.Buttons = {{QStringLiteral("Yes"), QMessageBox::YesRole},
                        {QStringLiteral("No"), QMessageBox::NoRole}};
    question.Default = 1;
    question.Escape = 1;
    if (Modal().Ask(this, question) != 0)
        return;
    Document().RemoveTiles();
    Refresh();
}

// ---- The palette ----------------------------------------------------------------------------------------

void frmMain::canTiles_ContextMenu(int x, int y) {
    const int tile = TileAt(x, y);
    const int chosen =
        Modal().ShowMenu(this, m_ui.canTiles->mapToGlobal(QPoint(x, y)), {{kTileProperties, tile >= 0}});
    if (chosen == 0 && tile >= 0)
        EditTileProperties(tile);
}

void frmMain::EditTileProperties(int index) {
    const TileRef tile = Tileset().GetTile(index);
    if (!tile)
        return;
    PropertiesRequest request;
    request.Title = QStringLiteral("Tile Properties");
    request.Facts = {{QStringLiteral("Tile"), QString::number(index)}};
    if (tile->Image())
        request.Picture = tile->Image()->Image();
    request.Values = GameValuesOf(tile->Template());
    request.Option =
        QStringLiteral("Also give these values to the cells placed from this tile that still have "
                       "all of its old ones");
    const std::optional<PropertiesAnswer> answer = Modal().EditProperties(this, request);
    if (!answer)
        return;
    m_memoryReserve.Replenish();
    Guarded(QStringLiteral("tile properties"), [&] {
        Document().SetTileProperties(index, answer->Values, answer->Option);
        Refresh();
    });
}

// ---- The map --------------------------------------------------------------------------------------------

bool frmMain::MapCellAt(int x, int y, int* column, int* row) const {
    const auto [c, r] = m_view.MapCellUnder(x, y);
    if (!m_view.InsideMap(c, r))
        return false;
    *column = static_cast<int>(c);
    *row = static_cast<int>(r);
    return true;
}

void frmMain::canMain_ContextMenu(int x, int y) {
    int column = 0, row = 0;
    const int layer = m_Layer;
    const bool holdsCell = layer >= 0 && MapCellAt(x, y, &column, &row) && Layer(layer).Get(column, row);
    const int chosen =
        Modal().ShowMenu(this, m_ui.canMain->mapToGlobal(QPoint(x, y)), {{kCellProperties, holdsCell}});
    if (chosen == 0 && holdsCell)
        EditCellProperties(layer, column, row);
}

void frmMain::EditCellProperties(int layer, int column, int row) {
    const PlacedCell cell = Layer(layer).Get(column, row);
    if (!cell)
        return;
    const GameValues values = GameValuesOf(*cell.Record());
    const QStringList unlike = DifferingGameValues(values, TileValues(Tileset(), cell->ImageIndex()));
    PropertiesRequest request;
    request.Title = QStringLiteral("Cell Properties");
    request.Facts = {{QStringLiteral("Position"), QStringLiteral("column %1, row %2").arg(column).arg(row)},
                     {QStringLiteral("Layer"), QString::number(layer)},
                     {QStringLiteral("Tile"), TileName(Tileset(), cell->ImageIndex())},
                     {QStringLiteral("Unlike its tile"),
                      unlike.isEmpty() ? QStringLiteral("nothing") : unlike.join(QStringLiteral(", "))}};
    if (const PicturePtr picture = Tileset().GetTileImage(cell->ImageIndex()))
        request.Picture = picture->Image();
    request.Values = values;
    const std::optional<PropertiesAnswer> answer = Modal().EditProperties(this, request);
    if (!answer || answer->Values == values)
        return;
    if (RunEdit(QStringLiteral("Cell Properties"), QStringLiteral("cell properties"),
                [&](MapDocument::CellEdit& edit) { edit.SetValues(layer, column, row, answer->Values); }))
        Refresh();
}

QStringList frmMain::UnlikeItsTile(int layer, std::int64_t column, std::int64_t row) const {
    if (layer < 0 || !m_view.InsideMap(column, row))
        return {};
    const PlacedCell cell = Layer(layer).Get(static_cast<int>(column), static_cast<int>(row));
    if (!cell)
        return {};
    return DifferingGameValues(GameValuesOf(*cell.Record()), TileValues(Tileset(), cell->ImageIndex()));
}

QString frmMain::canMain_ToolTip(int x, int y, QRect* area) {
    int column = 0, row = 0;
    if (!MapCellAt(x, y, &column, &row))
        return {};
    const QStringList unlike = UnlikeItsTile(m_Layer, column, row);
    if (unlike.isEmpty())
        return {};
    // The tooltip holds while the pointer stays on the cell as drawn, at the current zoom.
    const int tw = m_view.ViewCellWidth();
    const int th = m_view.ViewCellHeight();
    *area = QRect((column - m_view.OffsetX()) * tw, (row - m_view.OffsetY()) * th, tw, th);
    return QStringLiteral("Column %1, row %2 of layer %3 differs from tile %4 in: %5")
        .arg(column)
        .arg(row)
        .arg(m_Layer)
        .arg(Layer(m_Layer).Get(column, row)->ImageIndex())
        .arg(unlike.join(QStringLiteral(", ")));
}
