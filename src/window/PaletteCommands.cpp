// The tile palette's entry points: loading a tileset, and the palette canvas's and scroll bar's events. The
// palette's state and drawing are the PaletteView's; these hand it the tileset and the canvas's size, and
// bring the scroll bar, the canvas, the swatch and the stamp up to date with what it says changed.
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "platform/FileTypes.h"
#include "platform/ScrollBar.h"
#include "tiles/SelectedTileView.h"
#include "tiles/TileSwatch.h"
#include "tiles/TilesetLoadWork.h"
#include "window/frmMain.h"

FolderItem frmMain::OpenTilesetDialog() {
    OpenDialogRequest request;
    request.Title = QStringLiteral("Select a PNG file");
    request.Filter = PNGType::ImagePng()->DialogFilter();
    request.ActionButtonCaption = QStringLiteral("Open PNG");
    request.StartAt = m_folders.ImageStart(Document());
    const FolderItem file = Modal().ShowOpenDialog(this, request);
    if (!file.IsNull())
        m_folders.Remember(file.Path(), true);
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
    const TilesetLoadDialogs dialogs{*m_dialogs, [this]() -> Dialogs& { return Modal(); }, this};
    const TilesetLoadResult result = LoadTilesetShowingWork(Document(), file, m_memoryReserve, dialogs);
    // The document announces new tiles; a load that added none still lays the palette out afresh.
    LayOutPalette();
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
    m_palette.AssignTileRows(Tileset(), m_ui.canTiles->width());
}

void frmMain::SetTilesMatrix() {
    m_palette.SetTilesMatrix(Tileset(), m_ui.canTiles->width());
}

void frmMain::RefreshTileScrollbar() {
    m_palette.RefreshTileScrollbar(Tileset(), m_ui.canTiles->height());
    m_ui.scbTilesVertical->SetMaximumQuietly(m_palette.ScrollMaximum());
    m_ui.scbTilesVertical->setEnabled(m_palette.ScrollEnabled());
    m_ui.scbTilesVertical->SetValueQuietly(m_palette.TilesOffsetY());
}

void frmMain::LayOutPalette() {
    AssignTileRows();
    SetTilesMatrix();
    RefreshTileScrollbar();
}

void frmMain::DrawTiles() {
    {
        Graphics g(m_ui.canTiles->Buffer());
        m_palette.DrawTiles(g, Tileset(), m_ui.canTiles->width());
    }
    m_ui.canTiles->Present();
    ShowSelectedTile();
}

int frmMain::TileAt(int x, int y) const {
    return m_palette.TileAt(Tileset(), m_ui.canTiles->width(), x, y);
}

void frmMain::ShowSelectedTile() {
    m_ui.swatchSelectedTile->Show(StampSwatchPicture(m_stamp, Tileset()));
}

void frmMain::ScrollPaletteToSelected() {
    m_palette.ScrollToSelected(Tileset(), m_ui.canTiles->height());
    m_ui.scbTilesVertical->SetValueQuietly(m_palette.TilesOffsetY());
}

void frmMain::canTiles_Paint() {
    // While the pointer is over the palette its moves draw it.
    if (!m_palette.canTilesHasFocus())
        DrawTiles();
}

void frmMain::canTiles_MouseEnter() {
    m_palette.MouseEnter();
}

void frmMain::canTiles_MouseExit() {
    m_palette.MouseExit();
    DrawTiles();
}

void frmMain::canTiles_MouseMove(int x, int y) {
    if (m_palette.MouseMove(x, y))
        DrawTiles();
}

bool frmMain::canTiles_MouseDown(int x, int y) {
    if (Tileset().Count() < 1)
        return false;
    const bool picked = m_palette.Press(Tileset(), m_ui.canTiles->width(), x, y);
    StampFromPalette();
    DrawTiles();
    // Picking a tile while erasing, or selecting, goes back to painting.
    LeaveToolForPickedTile(picked);
    // A drag from the tile picked selects a block of tiles.
    return picked;
}

void frmMain::canTiles_MouseDrag(int x, int y) {
    if (m_palette.DragTo(Tileset(), m_ui.canTiles->width(), Document().Loads(), x, y)) {
        StampFromPalette();
        DrawTiles();
    }
}

void frmMain::canTiles_MouseUp(int x, int y) {
    canTiles_MouseDrag(x, y);
    m_palette.Release();
}

bool frmMain::canTiles_MouseWheel(int, int, int, int deltaY) {
    if (m_palette.Wheel(deltaY)) {
        m_ui.scbTilesVertical->SetValueQuietly(m_palette.TilesOffsetY());
        DrawTiles();
    }
    return false;
}

void frmMain::scbTilesVertical_ValueChanged() {
    m_palette.ScrollTo(m_ui.scbTilesVertical->Value());
    DrawTiles();
}
