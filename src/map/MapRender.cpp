// Drawing the map with its grid and the tool's cursor or preview, and scrolling by whole cells.
#include "map/ScrollMath.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"
#include "window/frmMain.h"

namespace {
const QColor kGridColour(115, 200, 200);
const QColor kFrameColour(153, 80, 80);
const QColor kEraseFill(245, 180, 180);
} // namespace

int frmMain::TileWidthOrOne() const {
    return m_VOTileset ? std::max(m_VOTileset->TileWidth(), 1) : 1;
}
int frmMain::TileHeightOrOne() const {
    return m_VOTileset ? std::max(m_VOTileset->TileHeight(), 1) : 1;
}

bool frmMain::LayerShown(int k) const {
    const bool active = k == 0 || k <= m_intLayers - 1;
    return active && Layer(k).SizedTo(m_intMapWidth, m_intMapHeight) &&
           btnLayer[static_cast<std::size_t>(k)]->Value();
}

void frmMain::Draw() {
    const TileRef tile = m_VOTileset ? m_VOTileset->SelectedTile() : nullptr;
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    m_intStartTileX = PixelToCell(m_intMouseX, tw);
    m_intStartTileY = PixelToCell(m_intMouseY, th);
    m_intCurrentTileX = PixelToCell(m_intDragMouseX, tw);
    m_intCurrentTileY = PixelToCell(m_intDragMouseY, th);

    QString status;
    {
        QImage& picture = canMain->Buffer();
        Graphics g(picture);
        const int w = picture.width();
        const int h = picture.height();
        g.Painter().fillRect(0, 0, w, h, Qt::black);
        DrawLayers(g);
        if (m_blnDrawGrid) {
            g.ForeColor = kGridColour;
            for (int y = 0; y <= h; y += th)
                g.DrawLine(0, y, w, y);
            for (int x = 0; x <= w; x += tw)
                g.DrawLine(x, 0, x, h);
        }
        if (m_intMouseX >= 0 && m_intMouseY >= 0 && m_blncanMainHasFocus)
            status = DrawCursorOrPreview(g, tile);
    }
    canMain->Present();
    UpdateStatus(status, QColor(0, 0, 0), 0);
}

QString frmMain::DrawCursorOrPreview(Graphics& g, const TileRef& tile) {
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    const int px = m_intCurrentTileX * tw;
    const int py = m_intCurrentTileY * th;
    const QString position = QStringLiteral("X: %1 Y: %2")
                                 .arg(qint64(m_intCurrentTileX) + m_intMapOffsetX)
                                 .arg(qint64(m_intCurrentTileY) + m_intMapOffsetY);
    auto frame = [&] {
        g.ForeColor = kFrameColour;
        g.FillRect(px, py - 2, tw, 2);
        g.FillRect(px, py + th, tw, 2);
        g.FillRect(px - 2, py, 2, th);
        g.FillRect(px + tw, py, 2, th);
    };
    switch (m_intCurrentTool) {
    case 0:
        if (tile && tile->Image())
            g.DrawPicture(*tile->Image(), px, py);
        frame();
        return QStringLiteral("Plot ") + position;
    case 1:
        frame();
        g.ForeColor = kEraseFill;
        g.FillRect(px, py, tw, th);
        return QStringLiteral("Erase ") + position;
    case 2:
        DrawLine(g, tile);
        break;
    case 3:
        DrawRectOutline(g, tile);
        break;
    case 4:
        DrawRectFill(g, tile);
        break;
    case 5:
        DrawEllipse(g, tile, false);
        break;
    case 6:
        DrawEllipse(g, tile, true);
        break;
    default:
        // The fill tool shows no preview.
        break;
    }
    return QString();
}

void frmMain::DrawLayers(Graphics& g) {
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    m_intTilemapOffsetX = tw * scbMainHorizontal->Value();
    m_intTilemapOffsetY = th * scbMainVertical->Value();
    if (!m_VOTileset)
        return;
    std::array<const LayerGrid*, 8> shown{};
    int shownCount = 0;
    for (int k = 0; k < 8; ++k)
        if (LayerShown(k))
            shown[static_cast<std::size_t>(shownCount++)] = &Layer(k);
    const int lastRow = std::min(m_intMapHeight, m_intMapOffsetY + m_intTilemapVisibleRows);
    const int lastColumn = std::min(m_intMapWidth, m_intMapOffsetX + m_intTilemapVisibleColumns);
    for (int row = std::max(m_intMapOffsetY, 0); row < lastRow; ++row) {
        for (int column = std::max(m_intMapOffsetX, 0); column < lastColumn; ++column) {
            for (int s = 0; s < shownCount; ++s) {
                const CellRef& cell = shown[static_cast<std::size_t>(s)]->At(column, row);
                if (!cell)
                    continue;
                const PicturePtr picture = m_VOTileset->GetTileImage(cell->ImageIndex());
                if (picture)
                    g.DrawPicture(*picture, cell->X() - m_intTilemapOffsetX, cell->Y() - m_intTilemapOffsetY);
            }
        }
    }
}

void frmMain::RefreshMainScrollbars() {
    const int tw = TileWidthOrOne();
    const int th = TileHeightOrOne();
    scbMainHorizontal->setEnabled(false);
    scbMainVertical->setEnabled(false);
    if (m_intMapWidth > 0) {
        m_intTilemapVisibleColumns = VisibleCells(canMain->width(), tw);
        const int maximum = ScrollMaximum(m_intMapWidth, m_intTilemapVisibleColumns);
        scbMainHorizontal->SetMaximumQuietly(maximum);
        scbMainHorizontal->setEnabled(maximum > 0);
    }
    if (m_intMapHeight > 0) {
        m_intTilemapVisibleRows = VisibleCells(canMain->height(), th);
        const int maximum = ScrollMaximum(m_intMapHeight, m_intTilemapVisibleRows);
        scbMainVertical->SetMaximumQuietly(maximum);
        scbMainVertical->setEnabled(maximum > 0);
    }
    // A range that shrank pulls the view back inside it.
    m_intMapOffsetX = std::clamp(m_intMapOffsetX, 0, scbMainHorizontal->Maximum());
    m_intMapOffsetY = std::clamp(m_intMapOffsetY, 0, scbMainVertical->Maximum());
    scbMainHorizontal->SetValueQuietly(m_intMapOffsetX);
    scbMainVertical->SetValueQuietly(m_intMapOffsetY);
}

void frmMain::scbMainHorizontal_ValueChanged() {
    m_intMapOffsetX = scbMainHorizontal->Value();
    Draw();
}

void frmMain::scbMainVertical_ValueChanged() {
    m_intMapOffsetY = scbMainVertical->Value();
    Draw();
}

bool frmMain::canMain_MouseWheel(int, int, int deltaX, int deltaY) {
    if (scbMainHorizontal->isEnabled() && deltaX != 0) {
        if (deltaX < 0 && m_intMapOffsetX > 0)
            m_intMapOffsetX = scbMainHorizontal->Value() - 1;
        if (deltaX > 0 && m_intMapOffsetX < scbMainHorizontal->Maximum())
            m_intMapOffsetX = scbMainHorizontal->Value() + 1;
        scbMainHorizontal->SetValueQuietly(m_intMapOffsetX);
    }
    if (scbMainVertical->isEnabled() && deltaY != 0) {
        if (deltaY < 0 && m_intMapOffsetY > 0)
            m_intMapOffsetY = scbMainVertical->Value() - 1;
        if (deltaY > 0 && m_intMapOffsetY < scbMainVertical->Maximum())
            m_intMapOffsetY = scbMainVertical->Value() + 1;
        scbMainVertical->SetValueQuietly(m_intMapOffsetY);
    }
    if (scbMainHorizontal->isEnabled() || scbMainVertical->isEnabled())
        Draw();
    return false;
}

void frmMain::canMain_Paint() {
    // The canvas shows the picture the last Draw left; redrawing here would empty a status text such as a
    // load's report whenever Qt repaints (after a dialog closes, for one).
}
