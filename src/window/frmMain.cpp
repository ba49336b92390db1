#include "window/frmMain.h"

#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "window/ControlPlacement.h"
#include "window/Routed.h"
#include "window/mnuMain.h"

#include <QAction>
#include <QEvent>
#include <QResizeEvent>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

namespace {
constexpr QSize kDesignSize(876, 580);
constexpr QSize kTabPanelDesignSize(301, 540);
} // namespace

frmMain::frmMain(std::shared_ptr<Dialogs> dialogs, QString resourceFolder)
    : m_Document(std::make_unique<MapDocument>()), m_view(*m_Document),
      m_recovery(std::make_unique<RecoveryKeeper>()), m_dialogs(std::move(dialogs)),
      m_resourceFolder(std::move(resourceFolder)) {
    Layout();
    CreateControls();
    AddMenuHandlers();
    ConnectEditActions();
    CreateZoomAndKeys();
    ConnectDocument();
    m_recovery->Watch(m_Document.get());
    connect(m_recovery.get(), &RecoveryKeeper::copiesFailing, this, [this](const QString& reason) {
        UpdateStatus(QStringLiteral("Unsaved changes cannot be kept safe: %1").arg(reason), kFailureColour,
                     0);
    });
    connect(m_recovery.get(), &RecoveryKeeper::copiesWorkAgain, this, [this] {
        UpdateStatus(QStringLiteral("Unsaved changes are kept safe again"), QColor(0, 0, 0), 0);
    });
}

frmMain::~frmMain() {
    // Qt takes the controls down after this; nothing they report may reach the editor any more, and a
    // stroke under way ends now, not when its canvas is hidden.
    m_blnOpen = false;
    m_ui.canMain->CancelStroke();
    m_ui.canTiles->CancelStroke();
    m_stroke.Abandon();
    // The window goes only once its map may be left: what was not saved was discarded.
    m_recovery->Remove();
    m_recovery->Watch(nullptr);
}

void frmMain::Layout() {
    setMenuBar(mnuMain::Instance());
    setWindowTitle(QStringLiteral("2D Mosaicor"));
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("content"));
    m_content->setMinimumSize(kDesignSize);
    m_content->setMaximumSize(32000, 32000);
    setCentralWidget(m_content);
    m_content->resize(kDesignSize);
    m_content->installEventFilter(this);
    // The window as a whole, menu bar included, so the window manager knows the limits too.
    const int menuHeight = menuBar()->sizeHint().height();
    setMinimumSize(kDesignSize.width(), kDesignSize.height() + menuHeight);
    setMaximumSize(32000, 32000 + menuHeight);
    resize(kDesignSize.width(), kDesignSize.height() + menuHeight);
}

void frmMain::AddMenuHandlers() {
    const auto attach = [this](const char* name, auto handler, const char* what) {
        if (QAction* item = mnuMain::Instance()->Item(QLatin1String(name)))
            connect(item, &QAction::triggered, this, [f = Routed(this, handler, what)] { f(); });
    };
    attach("FileLoadTiles", &frmMain::FileLoadTiles_Action, "load");
    attach("FileRemoveTiles", &frmMain::FileRemoveTiles_Action, "Remove Tiles");
    attach("FileNewMap", &frmMain::FileNewMap_Action, "New Map");
    attach("FileOpenMap", &frmMain::FileOpenMap_Action, "open");
    attach("FileSave", &frmMain::FileSave_Action, "save");
    attach("FileSaveAs", &frmMain::FileSaveAs_Action, "save");
    attach("FileExport", &frmMain::FileExport_Action, "export");
    attach("FileClose", &frmMain::FileClose_Action, "Close");
    attach("FileQuit", &frmMain::FileQuit_Action, "Quit");
    attach("EditUndo", &frmMain::EditUndo_Action, "undo");
    attach("EditRedo", &frmMain::EditRedo_Action, "redo");
}

bool frmMain::FileLoadTiles_Action() {
    LoadTileset();
    return false;
}

Dialogs& frmMain::Modal() {
    m_ui.canMain->CancelStroke();
    m_ui.canTiles->CancelStroke();
    m_memoryReserve.Release();
    return *m_dialogs;
}

void frmMain::PlaceControl(QWidget* widget, int container, int left, int top, int width, int height,
                           const char* locks, int page) {
    ControlPlacement placement;
    placement.widget = widget;
    placement.container = container == 0 ? ControlPlacement::Window : ControlPlacement::TabPanel;
    placement.design = QRect(left, top, width, height);
    const QByteArray l(locks);
    placement.left = l.contains('L') || l == "-";
    placement.top = l.contains('T') || l == "-";
    placement.right = l.contains('R');
    placement.bottom = l.contains('B');
    placement.page = page;
    widget->setGeometry(placement.design);
    m_placements.push_back(placement);
}

void frmMain::ApplyLocks(QSize contentSize) {
    const int dw = contentSize.width() - kDesignSize.width();
    const int dh = contentSize.height() - kDesignSize.height();
    QSize panelGrowth(0, 0);
    for (const ControlPlacement& p : m_placements) {
        if (p.widget == m_ui.tabpnlMain) {
            const QRect r = p.Placed(dw, dh);
            panelGrowth =
                QSize(r.width() - kTabPanelDesignSize.width(), r.height() - kTabPanelDesignSize.height());
        }
    }
    for (const ControlPlacement& p : m_placements) {
        const bool onPanel = p.container == ControlPlacement::TabPanel;
        p.widget->setGeometry(onPanel ? p.Placed(panelGrowth.width(), panelGrowth.height())
                                      : p.Placed(dw, dh));
    }
}

void frmMain::ShowPageControls(int page) {
    for (const ControlPlacement& p : m_placements)
        if (p.page >= 0)
            p.widget->setVisible(p.page == page);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == static_cast<QObject*>(windowHandle()) && event->type() == QEvent::Expose) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { m_memoryReserve.Replenish(); });
    }
    if (watched == m_content && event->type() == QEvent::Resize) {
        ApplyLocks(static_cast<QResizeEvent*>(event)->size());
        if (m_blnOpen)
            Event_Resized();
    }
    if ((watched == m_ui.canMain || watched == m_ui.canTiles) && event->type() == QEvent::MouseButtonPress)
        TakeFocusFromFields();
    if (watched == m_ui.canMain && event->type() == QEvent::Wheel &&
        MapWheelWithModifiers(static_cast<QWheelEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_blnOpen && !m_blnOpening)
        Guarded(QStringLiteral("start"), [this] { Event_Open(); });
}

void frmMain::Event_Resized() {
    LayOutPalette();
    RefreshMainScrollbars();
    DrawTiles();
    RefreshKeepingReport();
}
