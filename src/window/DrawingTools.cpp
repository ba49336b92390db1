// The drawing tools' previews and placing, as the window calls them: each hands its work to the stroke.
#include "window/frmMain.h"

void frmMain::DrawCursorOrPreview(Graphics& g, const TileRef& tile) {
    switch (m_stroke.CurrentTool()) {
    case Tool::Plot:
    case Tool::Erase:
        m_stroke.DrawCursor(g, Scene());
        break;
    case Tool::Line:
        DrawLine(g, tile);
        break;
    case Tool::Rectangle:
        DrawRectOutline(g, tile);
        break;
    case Tool::FilledRectangle:
        DrawRectFill(g, tile);
        break;
    case Tool::Ellipse:
        DrawEllipse(g, tile, false);
        break;
    case Tool::FilledEllipse:
        DrawEllipse(g, tile, true);
        break;
    case Tool::Fill:
    case Tool::Select:
        // The fill tool shows no preview; the selection's frame is drawn whatever the tool.
        break;
    }
}

void frmMain::PlaceShape(Tool tool) {
    switch (tool) {
    case Tool::Line:
        PlaceLine();
        break;
    case Tool::Rectangle:
        PlaceRectOutline();
        break;
    case Tool::FilledRectangle:
        PlaceRectFill();
        break;
    case Tool::Ellipse:
        PlaceEllipse(false);
        break;
    case Tool::FilledEllipse:
        PlaceEllipse(true);
        break;
    case Tool::Fill:
        FloodFill(false);
        break;
    case Tool::Plot:
    case Tool::Erase:
    case Tool::Select:
        break;
    }
}

// The stamp, not the palette's selected tile, is what every tool paints with: the tile these take goes
// unused.
void frmMain::DrawLine(Graphics& g, const TileRef&) {
    m_stroke.DrawLine(g, Scene());
}

void frmMain::PlaceLine() {
    m_stroke.PlaceLine(Scene());
}

void frmMain::DrawRectOutline(Graphics& g, const TileRef&) {
    m_stroke.DrawRect(g, Scene(), true);
}

void frmMain::DrawRectFill(Graphics& g, const TileRef&) {
    m_stroke.DrawRect(g, Scene(), false);
}

void frmMain::PlaceRectOutline() {
    m_stroke.PlaceRect(Scene(), true);
}

void frmMain::PlaceRectFill() {
    m_stroke.PlaceRect(Scene(), false);
}

void frmMain::DrawEllipse(Graphics& g, const TileRef&, bool filled) {
    m_stroke.DrawEllipse(g, Scene(), filled);
}

void frmMain::PlaceEllipse(bool filled) {
    m_stroke.PlaceEllipse(Scene(), filled);
}

void frmMain::FloodFill(bool bounded) {
    m_stroke.FloodFill(Scene(), bounded, *m_dialogs, this);
}

void frmMain::PlaceTile(int, int, int column, int row, bool mark) {
    m_stroke.PlaceTile(Scene(), column, row, mark);
}

void frmMain::RemoveTile(int, int, int column, int row) {
    m_stroke.RemoveTile(Scene(), column, row);
}
