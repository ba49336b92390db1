// The tile palette: loading a tileset, laying its tiles out in flowing rows, drawing, hovering, picking and
// scrolling by whole rows.
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "platform/FileTypes.h"
#include "platform/ScrollBar.h"
#include "platform/ScrollMath.h"
#include "platform/Val.h"
#include "tiles/PaletteLayout.h"
#include "window/frmMain.h"

#include <QLineEdit>

namespace {
// Whether tile i belongs to a block of more than one tile.
bool InBlock(const TileBlock& block, int i) {
    return block.tiles.size() > 1 &&
           std::find(block.tiles.begin(), block.tiles.end(), i) != block.tiles.end();
}
const QColor kLightBlue(160, 215, 255);
const QColor kBlue(0, 0, 255);
const QColor kLightGrey(200, 200, 200);
const QColor kDarkGrey(100, 100, 100);
constexpr int kGap = kPaletteSpacing;
} // namespace

FolderItem frmMain::OpenTilesetDialog() {
    OpenDialogRequest request;
    request.Title = QStringLiteral("Select a PNG file");
    request.Filter = PNGType::ImagePng()->DialogFilter();
    request.ActionButtonCaption = QStringLiteral("Open PNG");
    request.StartAt = ImageStartFolder();
    const FolderItem file = Modal().ShowOpenDialog(this, request);
    if (!file.IsNull())
        RememberFolder(file.Path(), true);
    return file;
}

// The tile size fields take effect with Apply, which reads them; typing alone changes nothing.
void frmMain::txtWidth_TextChange() {}

void frmMain::txtHeight_TextChange() {}

void frmMain::LoadTileset() {
    const FolderItem file = OpenTilesetDialog();
    if (file.IsNull())
        return;
    m_memoryReserve.Replenish();
    const TilesetLoadResult result = LoadTilesetShowingWork(file);
    // The document announces new tiles; a load that added none still lays the palette out afresh.
    AssignTileRows();
    SetTilesMatrix();
    RefreshTileScrollbar();
    DrawTiles();
    if (result.OutOfMemory) {
        RecoverFromOutOfMemory();
        ReportOutOfMemory(QStringLiteral("load"));
        return;
    }
    // A load the user cancelled at a question says nothing.
    if (!result.Text.isEmpty())
        UpdateStatus(result.Text, result.Complete ? QColor(0, 0, 0) : kFailureColour, 1);
}

void frmMain::AssignTileRows() {
    const std::vector<int> rows =
        AssignPaletteRows(Tileset().Count(), Tileset().TileWidth(), canTiles->width());
    for (int i = 0; i < Tileset().Count(); ++i)
        Tileset().GetTile(i)->DisplayRow = rows[static_cast<std::size_t>(i)];
}

void frmMain::SetTilesMatrix() {
    m_intTileRowCount = PaletteRowCount(Tileset().Count(), Tileset().TileWidth(), canTiles->width());
}

void frmMain::RefreshTileScrollbar() {
    scbTilesVertical->setEnabled(false);
    if (Tileset().Count() > 0) {
        m_intTotalVisibleRows = PaletteVisibleRows(canTiles->height(), Tileset().TileHeight());
        const int maximum = ScrollMaximum(m_intTileRowCount, m_intTotalVisibleRows);
        scbTilesVertical->SetMaximumQuietly(maximum);
        scbTilesVertical->setEnabled(maximum > 0);
    }
    // A shrinking range pulls the bar's value back; the shown rows follow it.
    m_intTilesOffsetY = std::clamp(m_intTilesOffsetY, 0, scbTilesVertical->Maximum());
    scbTilesVertical->SetValueQuietly(m_intTilesOffsetY);
}

void frmMain::DrawTiles() {
    QImage& buffer = canTiles->Buffer();
    Graphics g(buffer);
    const bool hovering = m_blncanTilesHasFocus;
    const qint64 mouseX = hovering ? m_intTilesMouseX : 0;
    const qint64 mouseY = hovering ? m_intTilesMouseY : 0;
    g.ClearRect(0, 0, g.Width(), g.Height());
    {
        const TileRef& selected = Tileset().SelectedTile();
        const qint64 tw = Tileset().TileWidth();
        const qint64 th = Tileset().TileHeight();
        // Rows beyond the canvas cannot show, however many tiles there are.
        const qint64 lastRow = qint64(m_intTilesOffsetY) + m_intTotalVisibleRows;
        // The shown tiles flow from the top-left slot; hover, and so picking, follow the slots drawn.
        PaletteFlow flow(Tileset().TileWidth(), canTiles->width());
        for (int i = 0; i < Tileset().Count(); ++i) {
            clsVOTile& tile = *Tileset().GetTile(i);
            tile.MouseFocus = false;
            if (tile.DisplayRow < m_intTilesOffsetY || tile.DisplayRow > lastRow)
                continue;
            const PaletteFlow::Slot slot = flow.Next();
            const qint64 x = slot.x;
            const qint64 y = kGap + slot.row * (th + kGap);
            if (selected.get() == &tile || InBlock(m_paletteBlock, i)) {
                g.ForeColor = kLightBlue;
                g.FillRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
                g.ForeColor = kBlue;
                g.DrawRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
                g.DrawRect(x - 1, y - 1, tw + 2, th + 2);
            } else if (hovering && mouseX >= x && mouseX <= x + tw && mouseY >= y && mouseY <= y + th) {
                g.ForeColor = kLightGrey;
                g.FillRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
                g.ForeColor = kDarkGrey;
                g.DrawRoundRect(x - 5, y - 5, tw + 10, th + 10, 4, 4);
                g.DrawRect(x - 1, y - 1, tw + 2, th + 2);
                tile.MouseFocus = true;
            } else {
                g.ForeColor = kDarkGrey;
                g.DrawRoundRect(x - 3, y - 3, tw + 6, th + 6, 4, 4);
            }
            if (tile.Image())
                g.DrawPicture(*tile.Image(), x, y);
        }
    }
    canTiles->Present();
    ShowSelectedTile();
}

void frmMain::canTiles_Paint() {
    if (!m_blncanTilesHasFocus)
        DrawTiles();
}

void frmMain::canTiles_MouseEnter() {
    m_blncanTilesHasFocus = true;
}

void frmMain::canTiles_MouseExit() {
    m_blncanTilesHasFocus = false;
    DrawTiles();
}

void frmMain::canTiles_MouseMove(int x, int y) {
    if (!m_blncanTilesHasFocus)
        return;
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    DrawTiles();
}

bool frmMain::canTiles_MouseDown(int x, int y) {
    if (Tileset().Count() < 1)
        return false;
    // The press picks the tile under it even when no move came first (a dialog closed over the palette, say):
    // the hover is found anew at the press before it is taken.
    m_blncanTilesHasFocus = true;
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    DrawTiles();
    Tileset().SelectTileUnderMouse();
    const TileRef& selected = Tileset().SelectedTile();
    m_paletteBlock = TileBlock();
    if (selected)
        m_paletteBlock = TileBlock{1, 1, {selected->ImageIndex()}};
    StampFromPalette();
    DrawTiles();
    if (m_intCurrentTool == 1 || (selected && m_intCurrentTool == kSelectTool)) {
        m_intCurrentTool = m_intLastTool == kSelectTool || m_intLastTool == 1 ? 0 : m_intLastTool;
        ActivateTool(m_intCurrentTool);
    }
    // A drag from the tile picked selects a block of tiles.
    m_paletteDragging = bool(selected);
    return m_paletteDragging;
}

void frmMain::canTiles_MouseDrag(int x, int y) {
    m_intTilesMouseX = x;
    m_intTilesMouseY = y;
    const TileRef& selected = Tileset().SelectedTile();
    const int pointer = TileAt(x, y);
    if (!m_paletteDragging || !selected || pointer < 0)
        return;
    const int press = selected->ImageIndex();
    for (const TilesetLoadRecord& load : Document().Loads()) {
        if (press < load.firstTile || press >= load.firstTile + load.tileCount)
            continue;
        const TileImageRows rows{load.firstTile, load.tileCount,
                                 load.tileWidth > 0 ? std::max(load.imageWidth / load.tileWidth, 1) : 1};
        if (const std::optional<TileBlock> block = BlockBetween(rows, press, pointer);
            block && !(*block == m_paletteBlock)) {
            m_paletteBlock = *block;
            StampFromPalette();
            DrawTiles();
        }
        return;
    }
}

void frmMain::canTiles_MouseUp(int x, int y) {
    canTiles_MouseDrag(x, y);
    m_paletteDragging = false;
}

bool frmMain::canTiles_MouseWheel(int, int, int, int deltaY) {
    if (!scbTilesVertical->isEnabled() || deltaY == 0)
        return false;
    if (deltaY < 0 && m_intTilesOffsetY > 0)
        --m_intTilesOffsetY;
    else if (deltaY > 0 && m_intTilesOffsetY < scbTilesVertical->Maximum())
        ++m_intTilesOffsetY;
    scbTilesVertical->SetValueQuietly(m_intTilesOffsetY);
    DrawTiles();
    return false;
}

void frmMain::scbTilesVertical_ValueChanged() {
    m_intTilesOffsetY = scbTilesVertical->Value();
    DrawTiles();
}
