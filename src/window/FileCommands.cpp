// The map's file and history: New, Open, Save, Save As, Close, Quit, Undo and Redo, and the questions that
// keep unsaved work from being lost.
#include "document/DocumentBuilder.h"
#include "document/MapExport.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/ReadMapFile.h"
#include "document/SnapshotGatherer.h"
#include "platform/BusyCursor.h"
#include "platform/Canvas.h"
#include "platform/EditorColours.h"
#include "window/AskingResolver.h"
#include "window/frmMain.h"
#include "window/mnuMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <functional>
#include <optional>
#include <utility>

namespace {

const QString kMapFilter = QStringLiteral("Mosaicor Map (*.mqm)");
// Maps other programs wrote open too, as new maps of our own.
const QString kOpenFilter = QStringLiteral("Maps (*.mqm *.tmx *.tmj *.json);;Mosaicor Map (*.mqm);;"
                                           "TMX map (*.tmx);;JSON map (*.tmj *.json)");
const QString kMapSuffix = QStringLiteral("mqm");

// What the status line says of a map just opened or imported.
std::pair<QString, QColor> OpenedStatus(const QString& name, const MapFileResult& read, qint64 moved) {
    // A record's place is where it lies; a file that said otherwise is told of.
    if (!read.imported && moved == 0)
        return {QStringLiteral("%1 opened").arg(name), QColor(0, 0, 0)};
    if (!read.imported)
        return {QStringLiteral("%1 opened; %2 cell records named a position or layer other than where they "
                               "lie, and now take it from there")
                    .arg(name)
                    .arg(moved),
                QColor(0, 0, 0)};
    if (read.notes.isEmpty())
        return {QStringLiteral("%1 imported").arg(name), QColor(0, 0, 0)};
    return {QStringLiteral("%1 imported; %2").arg(name, read.notes.join(QStringLiteral("; "))),
            kFailureColour};
}

} // namespace

std::unique_ptr<MapDocument> frmMain::NewDocument() {
    auto document = std::make_unique<MapDocument>();
    if (!document->SizeGrids())
        ReportOutOfMemory(QStringLiteral("map resize"));
    return document;
}

void frmMain::FileNewMap_Action() {
    if (!MayLeaveMap())
        return;
    SetDocument(NewDocument());
}

void frmMain::FileClose_Action() {
    FileNewMap_Action();
}

void frmMain::FileOpenMap_Action() {
    if (!MayLeaveMap())
        return;
    OpenDialogRequest request;
    request.Title = QStringLiteral("Open Map");
    request.Filter = kOpenFilter;
    request.ActionButtonCaption = QStringLiteral("Open");
    request.StartAt = m_folders.MapStart(Document());
    const FolderItem file = Modal().ShowOpenDialog(this, request);
    if (file.IsNull())
        return;
    m_folders.Remember(file.Path());
    OpenMapFile(file.Path());
}

bool frmMain::OpenMapFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    std::optional<BusyCursor> busy;
    std::unique_ptr<WorkDialog> work;
    auto refuse = [&](const QString& why) {
        // The progress dialog goes first: shown over the message, it would keep the user from its OK.
        work.reset();
        busy.reset();
        Modal().MsgBox(this, QStringLiteral("%1 could not be opened: %2").arg(name, why));
        return false;
    };
    work = Modal().StartWork(this, QStringLiteral("Opening %1").arg(name));
    busy.emplace();
    // Reading and building are each half of the work.
    const auto half = [&work](qint64 offset) {
        return [&work, offset](qint64 done, qint64 total) {
            return work->Update(offset * total + done, 2 * total);
        };
    };
    std::unique_ptr<MapDocument> document;
    qint64 moved = 0;
    const MapFileResult read = UnlessOutOfMemory(
        [&] {
            MapSnapshot snapshot;
            MapFileResult result = ReadMapFile(path, &snapshot, half(0));
            if (!result.ok())
                return result;
            AskingResolver resolver(this, *m_dialogs, m_folders.LocateStart(Document(), path),
                                    [this](const QString& image) { m_folders.Remember(image, true); });
            // An imported map has no map file yet: its first save asks where, so the file it came from is
            // never written over in another format.
            document = BuildDocument(snapshot, result.imported ? QString() : path, resolver, half(1), &moved);
            if (document && result.imported)
                document->SetImportedFrom(QFileInfo(path).absoluteFilePath());
            return result;
        },
        [this] {
            RecoverFromOutOfMemory();
            return MapFileResult::Failure(QStringLiteral("there is not enough memory for it"));
        });
    if (read.status == MapFileResult::Cancelled)
        return false;
    if (!read.ok())
        return refuse(read.reason);
    work.reset();
    busy.reset();
    if (!document)
        return false;
    SetDocument(std::move(document));
    const auto [text, colour] = OpenedStatus(name, read, moved);
    UpdateStatus(text, colour, 1);
    return true;
}

bool frmMain::FileSave_Action() {
    if (!SettleTypedProperties())
        return false;
    if (Document().FilePath().isEmpty() || m_saveAsksWhere)
        return FileSaveAs_Action();
    return SaveMapTo(Document().FilePath());
}

bool frmMain::FileSaveAs_Action() {
    if (!SettleTypedProperties())
        return false;
    SaveDialogRequest request;
    request.Title = QStringLiteral("Save Map As");
    request.Filter = kMapFilter;
    request.DefaultSuffix = kMapSuffix;
    request.StartAt = m_folders.ProposedMapPath(Document(), kMapSuffix);
    const FolderItem file = Modal().ShowSaveDialog(this, request);
    if (file.IsNull())
        return false;
    m_folders.Remember(file.Path());
    QString path = file.Path();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".") + kMapSuffix;
    return SaveMapTo(path);
}

void frmMain::FileExport_Action() {
    if (!SettleTypedProperties())
        return;
    SaveDialogRequest request;
    request.Title = QStringLiteral("Export Map");
    request.Filter = QStringLiteral("TMX map (*.tmx);;JSON map (*.tmj *.json)");
    request.DefaultSuffix = QStringLiteral("tmx");
    request.StartAt = m_folders.ProposedMapPath(Document(), QStringLiteral("tmx"));
    const FolderItem file = Modal().ShowSaveDialog(this, request);
    if (file.IsNull())
        return;
    m_folders.Remember(file.Path());
    QString path = file.Path();
    std::optional<ExportFormat> format = ExportFormatOf(path);
    if (!format) {
        path += QStringLiteral(".tmx");
        format = ExportFormat::Tmx;
    }
    const QString name = QFileInfo(path).fileName();
    std::optional<BusyCursor> busy(std::in_place);
    const ExportOutcome outcome = UnlessOutOfMemory(
        [&] { return ExportMap(TakeSnapshot(Document(), path), path, *format); },
        [this] {
            RecoverFromOutOfMemory();
            return ExportOutcome{.failure = QStringLiteral("there is not enough memory to export it")};
        });
    busy.reset();
    if (!outcome.written()) {
        Modal().MsgBox(this, QStringLiteral("%1 could not be exported: %2").arg(name, outcome.failure));
        return;
    }
    QString status = QStringLiteral("%1 exported").arg(name);
    if (outcome.goneCells > 0)
        status += QStringLiteral("; %1 cells written as empty, their tiles are gone").arg(outcome.goneCells);
    if (outcome.alteredTexts > 0)
        status +=
            QStringLiteral("; %1 texts with characters the format cannot hold").arg(outcome.alteredTexts);
    UpdateStatus(status, outcome.goneCells > 0 || outcome.alteredTexts > 0 ? kFailureColour : QColor(0, 0, 0),
                 1);
}

bool frmMain::SaveMapTo(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    std::unique_ptr<WorkDialog> work = Modal().StartWork(this, QStringLiteral("Saving %1").arg(name));
    std::optional<BusyCursor> busy(std::in_place);
    const MapFileResult saved = UnlessOutOfMemory(
        [&] {
            // One layer's data at a time: a large map is saved with one layer gathered, not all eight, so a
            // save still fits where memory is short.
            SnapshotGatherer gatherer(Document(), path, SnapshotGatherer::Layers::Later);
            const auto layers = [&gatherer](int k, LayerSnapshot* layer) {
                gatherer.GatherLayer(k, layer);
                return true;
            };
            return MapFile::Save(gatherer.Header(), layers, path,
                                 [&work](qint64 done, qint64 total) { return work->Update(done, total); });
        },
        [this] {
            RecoverFromOutOfMemory();
            return MapFileResult::Failure(QStringLiteral("there is not enough memory to save it"));
        });
    work.reset();
    busy.reset();
    if (saved.status == MapFileResult::Cancelled)
        return false;
    if (!saved.ok()) {
        Modal().MsgBox(this, QStringLiteral("%1 could not be saved: %2").arg(name, saved.reason));
        return false;
    }
    Document().SetFilePath(QFileInfo(path).absoluteFilePath());
    Document().Steps().SetClean();
    m_saveAsksWhere = false;
    UpdateStatus(QStringLiteral("%1 saved").arg(name), QColor(0, 0, 0), 1);
    return true;
}

bool frmMain::MayLeaveMap() {
    m_ui.canMain->CancelStroke();
    if (!SettleTypedProperties())
        return false;
    if (!Document().IsModified())
        return true;
    Question question;
    question.Text = QStringLiteral("Save the changes to %1?").arg(Document().DisplayName());
    question.Details = QStringLiteral("Your changes are lost if you discard them.");
    question.Buttons = {{QStringLiteral("Save"), QMessageBox::AcceptRole},
                        {QStringLiteral("Discard"), QMessageBox::DestructiveRole},
                        {QStringLiteral("Cancel"), QMessageBox::RejectRole}};
    question.Default = 0;
    question.Escape = 2;
    switch (Modal().Ask(this, question)) {
    case 0:
        return FileSave_Action();
    case 1:
        return true;
    default:
        return false;
    }
}

void frmMain::FileQuit_Action() {
    if (!MayLeaveMap())
        return;
    m_blnLeaving = true;
    close();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_blnLeaving || !m_blnOpen || Guarded(QStringLiteral("Quit"), [this] { return MayLeaveMap(); })) {
        m_blnLeaving = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMain::EditUndo_Action() {
    m_ui.canMain->CancelStroke();
    // Taking back a fill of a whole large layer takes a moment.
    const BusyCursor busy;
    m_memoryReserve.Replenish();
    Document().Undo();
    Refresh();
}

void frmMain::EditRedo_Action() {
    m_ui.canMain->CancelStroke();
    const BusyCursor busy;
    m_memoryReserve.Replenish();
    Document().Redo();
    Refresh();
}

void frmMain::UpdateTitle() {
    const MapDocument& document = Document();
    // The untouched map at start is just the editor.
    if (document.FilePath().isEmpty() && document.ImportedFrom().isEmpty() && !document.IsModified()) {
        setWindowTitle(QStringLiteral("2D Mosaicor"));
        setWindowModified(false);
        return;
    }
    setWindowTitle(QStringLiteral("%1[*] - 2D Mosaicor").arg(document.DisplayName()));
    setWindowModified(document.IsModified());
}

void frmMain::UpdateUndoActions() {
    if (QAction* undo = mnuMain::Instance()->Item(QStringLiteral("EditUndo")))
        undo->setEnabled(Document().Steps().CanUndo());
    if (QAction* redo = mnuMain::Instance()->Item(QStringLiteral("EditRedo")))
        redo->setEnabled(Document().Steps().CanRedo());
}
