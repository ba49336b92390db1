#include "platform/EditorColours.h"
#include "platform/FolderItem.h"
#include "window/StatusLabel.h"
#include "window/frmMain.h"

#include <QFileInfo>
#include <QLabel>
#include <QWindow>
#include <utility>

void frmMain::Event_Open() {
    m_blnOpening = true;
    const bool mapSized = SetDefaults();
    m_blnOpen = true;
    m_blnOpening = false;
    Refresh();
    // Draw rewrites the status line, so a map that could not be sized is reported after it.
    if (!mapSized)
        ReportOutOfMemory(QStringLiteral("map resize"));
    // The reserve is taken once the window is up (its first expose), so the start does not wait for its
    // pages; until then an action takes it as it starts.
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
    const bool recovered = OfferRecovery();
    const QString startFile = std::exchange(m_startFile, QString());
    if (startFile.isEmpty())
        return;
    // Opened once the window is up, as File > Open would open it: its questions and its progress then
    // show over the editor, not over an empty screen.
    if (!recovered)
        QMetaObject::invokeMethod(
            this, [this, startFile] { Guarded(QStringLiteral("opening"), [&] { OpenMapFile(startFile); }); },
            Qt::QueuedConnection);
    else
        UpdateStatus(m_ui.lblStatus->text() +
                         QStringLiteral("; %1 was not opened").arg(QFileInfo(startFile).fileName()),
                     QColor(0, 0, 0), 1);
}

bool frmMain::SetDefaults() {
    m_objVOLayerIcon = std::make_shared<clsVOIcon>();
    m_objVOGridIcon = std::make_shared<clsVOIcon>();
    m_objVOToolIcon = std::make_shared<clsVOIcon>();
    m_stroke.ReleaseWork();

    if (!LoadIcons(GetFolderItem(m_resourceFolder, QStringLiteral("layericons.png")), *m_objVOLayerIcon))
        Modal().MsgBox(this, QStringLiteral("Error loading layer icons."));
    // The layers are set up even without their pictures: the buttons then show none, but the map is sized,
    // layer 0 is shown and edited, and the editor stays usable.
    const bool mapSized = DefaultLayers();

    if (LoadIcons(GetFolderItem(m_resourceFolder, QStringLiteral("gridicon.png")), *m_objVOGridIcon))
        ActivateGrid(true);
    else
        Modal().MsgBox(this, QStringLiteral("Error loading grid icon."));

    if (LoadIcons(GetFolderItem(m_resourceFolder, QStringLiteral("toolicons.png")), *m_objVOToolIcon)) {
        m_stroke.SetCurrentTool(Tool::Plot);
        ActivateTool(Tool::Plot);
    } else {
        Modal().MsgBox(this, QStringLiteral("Error loading tool icons."));
    }

    LayOutPalette();
    RefreshMainScrollbars();
    return mapSized;
}

void frmMain::UpdateStatus(const QString& text, const QColor& colour, int alignment) {
    m_statusFromCursor = false;
    m_ui.lblStatus->setText(text);
    if (auto* status = qobject_cast<StatusLabel*>(m_ui.lblStatus))
        status->UpdateToolTip();
    QPalette palette = m_ui.lblStatus->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_ui.lblStatus->setPalette(palette);
    m_ui.lblStatus->setAlignment((alignment == 1 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
}

void frmMain::RecoverFromOutOfMemory() {
    m_memoryReserve.Release();
    m_stroke.ReleaseWork();
}

void frmMain::Stopped(const QString& what, CommandStop why) {
    // An edit left open by the command is taken back whole, and a move with it.
    m_stroke.Abandon();
    if (why == CommandStop::OutOfMemory)
        RecoverFromOutOfMemory();
    // The map is drawn again at the next event; the message below matters more than this drawing.
    UnlessOutOfMemory([this] { Refresh(); }, [] {});
    if (why == CommandStop::OutOfMemory)
        ReportOutOfMemory(what);
    else
        UpdateStatus(QStringLiteral("%1 cancelled").arg(what), QColor(0, 0, 0), 0);
}

void frmMain::ReportOutOfMemory(const QString& what) {
    m_memoryReserve.Release();
    UpdateStatus(QStringLiteral("Out of memory: %1 stopped").arg(what), kFailureColour, 0);
}
