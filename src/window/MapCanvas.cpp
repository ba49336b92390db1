// The map canvas and its scroll bars: drawing the view, the status line's cursor text, scrolling and zoom.
#include "map/MapZoom.h"
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "platform/ScrollBar.h"
#include "window/frmMain.h"

void frmMain::Refresh() {
    // Opening sets up the grid, the layers and the scroll ranges one after another, each ending in a
    // Refresh; the one at the end of opening shows them all, so the ones before it would only be thrown away.
    if (m_blnOpening)
        return;
    m_stroke.UpdateStrokeCells(m_view);
    Draw();
    // A step too large for the history was done but cannot be undone: the user hears of it at once.
    const QString tooLarge = Document().Steps().TakeTooLargeStep();
    if (!tooLarge.isEmpty())
        UpdateStatus(QStringLiteral("%1 cannot be undone: too large for the history").arg(tooLarge),
                     kFailureColour, 0);
    else {
        UpdateStatus(CursorStatus(), QColor(0, 0, 0), 0);
        m_statusFromCursor = true;
    }
}

void frmMain::RefreshKeepingReport() {
    if (m_statusFromCursor) {
        Refresh();
    } else if (!m_blnOpening) {
        m_stroke.UpdateStrokeCells(m_view);
        Draw();
    }
}

QString frmMain::CursorStatus() const {
    if (!m_stroke.PointerOnCanvas(m_view))
        return QString();
    const Tool tool = m_stroke.CurrentTool();
    const std::int64_t column = qint64(m_stroke.CurrentCell().x()) + m_view.OffsetX();
    const std::int64_t row = qint64(m_stroke.CurrentCell().y()) + m_view.OffsetY();
    QStringList parts;
    if (tool == Tool::Select) {
        const QRect& s = m_selection;
        parts << (s.isEmpty() ? QStringLiteral("Select X: %1 Y: %2").arg(column).arg(row)
                              : QStringLiteral("Select X: %1 Y: %2 W: %3 H: %4")
                                    .arg(s.left())
                                    .arg(s.top())
                                    .arg(s.width())
                                    .arg(s.height()));
    }
    if (WritesWhileDragged(tool))
        parts << QStringLiteral("%1 X: %2 Y: %3")
                     .arg(tool == Tool::Plot ? QStringLiteral("Plot") : QStringLiteral("Erase"))
                     .arg(column)
                     .arg(row);
    // The pointer is the cursor of every tool, so whatever the tool the user sees a cell with values of
    // its own as such.
    const QStringList unlike = UnlikeItsTile(m_Layer, column, row);
    if (!unlike.isEmpty())
        parts << QStringLiteral("unlike its tile: %1").arg(unlike.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral(" — "));
}

void frmMain::Draw() {
    if (m_blnOpening)
        return;
    m_view.Paint(m_ui.canMain->Buffer(), m_ui.canMain->size(), [this](Graphics& g) {
        if (m_stroke.ShowsCursor(m_view))
            DrawCursorOrPreview(g, Palette().SelectedTile());
        m_stroke.DrawSelection(g, Scene());
    });
    m_ui.canMain->Present();
}

void frmMain::DrawLayers(Graphics& g) {
    m_view.DrawLayers(g);
}

void frmMain::RefreshMainScrollbars() {
    m_view.FitTo(m_ui.canMain->size());
    ShowScrollPosition();
}

void frmMain::ShowScrollPosition() {
    // The bars mirror the view; setting them quietly keeps them from reporting the change back.
    m_ui.scbMainHorizontal->SetMaximumQuietly(m_view.MaximumX());
    m_ui.scbMainHorizontal->setEnabled(m_view.MaximumX() > 0);
    m_ui.scbMainHorizontal->SetValueQuietly(m_view.OffsetX());
    m_ui.scbMainVertical->SetMaximumQuietly(m_view.MaximumY());
    m_ui.scbMainVertical->setEnabled(m_view.MaximumY() > 0);
    m_ui.scbMainVertical->SetValueQuietly(m_view.OffsetY());
}

void frmMain::scbMainHorizontal_ValueChanged() {
    m_view.ScrollTo(m_ui.scbMainHorizontal->Value(), m_view.OffsetY());
    Refresh();
}

void frmMain::scbMainVertical_ValueChanged() {
    m_view.ScrollTo(m_view.OffsetX(), m_ui.scbMainVertical->Value());
    Refresh();
}

bool frmMain::canMain_MouseWheel(int, int, int deltaX, int deltaY) {
    const bool scrollable = m_view.WheelStep(deltaX, deltaY);
    ShowScrollPosition();
    if (scrollable)
        Refresh();
    return false;
}

void frmMain::canMain_Paint() {
    // The canvas shows the picture the last Draw left; redrawing here would empty a status text such as a
    // load's report whenever Qt repaints (after a dialog closes, for one).
}

QPoint frmMain::ZoomAnchor() const {
    const QPoint pointer = m_stroke.Pointer();
    if (m_view.PointerOver() && pointer.x() >= 0 && pointer.y() >= 0)
        return pointer;
    return {m_ui.canMain->width() / 2, m_ui.canMain->height() / 2};
}

void frmMain::ZoomBy(int steps, QPoint anchor) {
    ZoomTo(ZoomStepped(m_view.ZoomPercent(), steps), anchor);
}

void frmMain::ZoomTo(int percent, QPoint anchor) {
    if (ZoomStepped(percent, 0) == m_view.ZoomPercent())
        return;
    // The start of a stroke was recorded in canvas pixels at the old scale: the stroke ends here, keeping
    // what a plot or erase stroke wrote.
    m_ui.canMain->CancelStroke();
    m_view.ZoomKeeping(percent, anchor, m_ui.canMain->size());
    ShowScrollPosition();
    // The cursor's cell numbers follow the zoom; a report on the status line stays.
    RefreshKeepingReport();
}
