// The window as a view of the document: it follows the document's signals, so whatever changed the map (an
// edit, Apply, undo, opening a file) shows the same way.
#include "platform/Canvas.h"
#include "window/frmMain.h"

void frmMain::SetDocument(std::unique_ptr<MapDocument> document) {
    // A stroke under way belongs to the map being left.
    m_ui.canMain->CancelStroke();
    m_stroke.Abandon();
    // The map left was saved or its changes discarded: its recovery copy goes with it.
    m_recovery->Remove();
    m_saveAsksWhere = false;
    m_Document = std::move(document);
    m_view.SetDocument(*m_Document);
    ConnectDocument();
    m_recovery->Watch(m_Document.get());
    m_palette.StartAfresh();
    // A new map starts with nothing selected.
    m_selection = QRect();
    UpdateEditActions();
    if (!m_blnOpen)
        return;
    // The tileset's turn lays the palette out for both.
    FollowSettings();
    OnTilesetChanged();
    Refresh();
}

void frmMain::ConnectDocument() {
    MapDocument* document = m_Document.get();
    connect(document, &MapDocument::cellsChanged, this, &frmMain::OnCellsChanged);
    connect(document, &MapDocument::settingsChanged, this, &frmMain::OnSettingsChanged);
    connect(document, &MapDocument::visibilityChanged, this, &frmMain::OnVisibilityChanged);
    connect(document, &MapDocument::tilesetChanged, this, &frmMain::OnTilesetChanged);
    connect(document, &MapDocument::titleChanged, this, &frmMain::UpdateTitle);
    connect(document, &MapDocument::selectionRestored, this, &frmMain::SetSelection);
    connect(&document->Steps(), &History::changed, this, &frmMain::UpdateUndoActions);
    UpdateTitle();
    UpdateUndoActions();
}

void frmMain::OnCellsChanged(int layer, QRect cells) {
    m_view.CellsChanged(layer, cells);
}

void frmMain::OnSettingsChanged() {
    m_view.AllChanged();
    if (!m_blnOpen)
        return;
    FollowSettings();
    // The palette is laid out by the tile size: also under the pointer, and also after an undo.
    LayOutPalette();
    DrawTiles();
}

void frmMain::FollowSettings() {
    EnableLayers();
    ShowSettings();
    // A smaller map keeps only the selected cells it still has.
    m_selection &= QRect(0, 0, MapWidth(), MapHeight());
    UpdateEditActions();
    // The view follows the new map and tile size at once: ranges, visible counts and offsets.
    RefreshMainScrollbars();
}

void frmMain::OnVisibilityChanged() {
    m_view.AllChanged();
    if (!m_blnOpen)
        return;
    for (int i = 0; i < 8; ++i)
        ActivateLayer(Document().LayerVisible(i), i);
}

void frmMain::OnTilesetChanged() {
    m_view.AllChanged();
    if (!m_blnOpen)
        return;
    // Tiles that went take the selection with them.
    m_palette.FollowTileset(Tileset());
    LayOutPalette();
    // A stamp from the palette follows its tiles' properties, and goes with its tiles.
    if (m_stampFromPalette)
        StampFromPalette();
    // After a load (or its undoing) the tile painting uses is in sight.
    ScrollPaletteToSelected();
    DrawTiles();
    // Cells of the tiles that came or went look different now, wherever the pointer is.
    RefreshKeepingReport();
}
