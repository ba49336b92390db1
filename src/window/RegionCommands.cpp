// The Edit menu's work on regions of the map: the selection, Select All, Copy, Cut, Delete and Paste through
// the system clipboard, and the stamp that every tool paints with.
#include "document/PieceCodec.h"
#include "platform/Canvas.h"
#include "platform/CommandGuard.h"
#include "platform/EditorColours.h"
#include "window/frmMain.h"
#include "window/mnuMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QShortcut>

namespace {

// A copied piece on the system clipboard. Its forms are made only when a program asks for one, so a copy of
// a whole layer costs no encoding unless it is pasted elsewhere.
class PieceMimeData : public QMimeData {
public:
    explicit PieceMimeData(std::shared_ptr<const Piece> piece) : m_piece(std::move(piece)) {}
    const std::shared_ptr<const Piece>& PieceHeld() const { return m_piece; }
    QStringList formats() const override {
        QStringList list{QString::fromLatin1(PieceCodec::kMimeType)};
        if (m_piece->CellCount() <= kMaxTextCells)
            list << QStringLiteral("text/plain");
        return list;
    }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override {
        // Asked for by another program, not by the user here: memory running out gives it nothing, quietly.
        return RunCommand(
            [&]() -> QVariant {
                if (type == QLatin1String(PieceCodec::kMimeType))
                    return PieceCodec::Encode(SnapshotOfPiece(*m_piece));
                if (type == QLatin1String("text/plain") && m_piece->CellCount() <= kMaxTextCells)
                    return PieceCodec::PlainText(SnapshotOfPiece(*m_piece));
                return {};
            },
            [](CommandStop) {});
    }

private:
    static constexpr std::size_t kMaxTextCells = 1000000;
    std::shared_ptr<const Piece> m_piece;
};

bool TypingInField() {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus->inherits("QLineEdit") || focus->inherits("QAbstractSpinBox") ||
                     focus->inherits("QTextEdit") || focus->inherits("QPlainTextEdit"));
}

} // namespace

void frmMain::ConnectEditActions() {
    const auto attach = [this](const char* name, auto handler) {
        if (QAction* item = mnuMain::Instance()->Item(QLatin1String(name)))
            connect(item, &QAction::triggered, this, [this, handler] {
                // A text field with the keyboard takes these keys for its text.
                if (m_blnOpen && !TypingInField())
                    handler();
            });
    };
    attach("EditCut", [this] { EditCut_Action(); });
    attach("EditCopy", [this] { EditCopy_Action(); });
    attach("EditPaste", [this] { EditPaste_Action(); });
    attach("EditClear", [this] { EditClear_Action(); });
    attach("EditSelectAll", [this] { EditSelectAll_Action(); });
    if (QAction* clear = mnuMain::Instance()->Item(QStringLiteral("EditClear")))
        clear->setShortcut(QKeySequence(Qt::Key_Delete));
    // With Shift, Copy and Cut take every layer in use.
    for (const auto& [keys, all] : {std::pair{"Ctrl+Shift+C", false}, std::pair{"Ctrl+Shift+X", true}}) {
        auto* shortcut = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        const bool cut = all;
        connect(shortcut, &QShortcut::activated, this, [this, cut] {
            if (!m_blnOpen || TypingInField())
                return;
            if (cut)
                EditCut_Action(true);
            else
                EditCopy_Action(true);
        });
    }
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &frmMain::UpdateEditActions);
    UpdateEditActions();
}

void frmMain::UpdateEditActions() {
    const bool selected = !m_selection.isEmpty();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const bool piece = m_copied || (data && data->hasFormat(QLatin1String(PieceCodec::kMimeType)));
    for (const auto& [name, on] : {std::pair{"EditCut", selected}, std::pair{"EditCopy", selected},
                                   std::pair{"EditClear", selected}, std::pair{"EditPaste", piece}})
        if (QAction* item = mnuMain::Instance()->Item(QLatin1String(name)))
            item->setEnabled(on);
}

void frmMain::SetSelection(const QRect& cells) {
    m_selection = cells.normalized() & QRect(0, 0, MapWidth(), MapHeight());
    UpdateEditActions();
    RefreshKeepingReport();
}

void frmMain::EditSelectAll_Action() {
    if (!m_stroke.Dragging())
        SetSelection(QRect(0, 0, MapWidth(), MapHeight()));
}

bool frmMain::EscapePressed() {
    if (m_ui.canMain->StrokeUnderWay()) {
        // Dropped as if its release had gone elsewhere: a shape is not placed, a move goes back, a selection
        // drag leaves the selection as it was.
        m_ui.canMain->CancelStroke();
        return true;
    }
    if (m_selection.isEmpty())
        return false;
    SetSelection(QRect());
    return true;
}

bool frmMain::EditCopy_Action(bool allLayers) {
    // A stroke under way ends first, as it does for Undo: a move puts back the cells it carries, so they are
    // what is copied, cut or deleted, and the edit that follows is the only one open.
    m_ui.canMain->CancelStroke();
    if (m_selection.isEmpty())
        return false;
    const bool copied = Guarded(QStringLiteral("copy"), [&] {
        auto piece = std::make_shared<const Piece>(TakePiece(Document(), m_selection, m_Layer, allLayers));
        if (piece->Empty())
            return false;
        m_copied = piece;
        QApplication::clipboard()->setMimeData(new PieceMimeData(std::move(piece)));
        return true;
    });
    if (copied)
        UpdateEditActions();
    return copied;
}

void frmMain::EditCut_Action(bool allLayers) {
    m_ui.canMain->CancelStroke();
    if (m_selection.isEmpty())
        return;
    // Cells that could not be copied are not emptied either.
    if (!EditCopy_Action(allLayers))
        return;
    const QRect cells = m_selection;
    if (RunEdit(QStringLiteral("Cut"), QStringLiteral("cut"), [&](MapDocument::CellEdit& edit) {
            for (int k = 0; k < 8; ++k) {
                if (!Document().LayerInUse(k) || (!allLayers && k != m_Layer))
                    continue;
                for (int row = cells.top(); row <= cells.bottom(); ++row)
                    edit.EraseRun(k, row, cells.left(), cells.right());
            }
        }))
        Refresh();
}

void frmMain::EditClear_Action() {
    m_ui.canMain->CancelStroke();
    if (m_selection.isEmpty())
        return;
    const QRect cells = m_selection;
    if (RunEdit(QStringLiteral("Delete"), QStringLiteral("delete"), [&](MapDocument::CellEdit&) {
            for (int row = cells.top(); row <= cells.bottom(); ++row)
                for (int column = cells.left(); column <= cells.right(); ++column)
                    RemoveTile(0, 0, column, row);
        }))
        Refresh();
}

void frmMain::EditPaste_Action() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const auto* ours = dynamic_cast<const PieceMimeData*>(data);
    const bool taken = Guarded(QStringLiteral("paste"), [&] {
        if (ours) {
            UseAsStamp(*ours->PieceHeld());
        } else if (data && data->hasFormat(QLatin1String(PieceCodec::kMimeType))) {
            PieceSnapshot snapshot;
            const QString problem =
                PieceCodec::Decode(data->data(QLatin1String(PieceCodec::kMimeType)), &snapshot);
            if (!problem.isEmpty()) {
                UpdateStatus(QStringLiteral("The clipboard's map cells could not be read: %1").arg(problem),
                             kFailureColour, 0);
                return false;
            }
            UseAsStamp(PieceFromSnapshot(snapshot));
        } else if (m_copied && (!data || data->formats().isEmpty())) {
            // No system clipboard to speak of: the piece copied here is still this window's.
            UseAsStamp(*m_copied);
        } else {
            UpdateStatus(QStringLiteral("The clipboard holds no map cells"), kFailureColour, 0);
            return false;
        }
        return true;
    });
    if (!taken)
        return;
    // A pasted piece is placed as any stamp is: Plot puts it where the user clicks.
    m_ui.canMain->CancelStroke();
    UseTool(Tool::Plot);
    RefreshKeepingReport();
    ReportLayersLeftOut();
}

void frmMain::UseAsStamp(Piece piece) {
    m_stamp = std::move(piece);
    m_stampFromPalette = false;
    m_palette.SelectTile(nullptr);
    DrawTiles();
}

void frmMain::StampFromPalette() {
    Piece stamp;
    const TileRef& selected = m_palette.SelectedTile();
    const TileBlock& picked = m_palette.PaletteBlock();
    if (selected) {
        const bool block = picked.width * picked.height > 1;
        stamp.width = block ? picked.width : 1;
        stamp.height = block ? picked.height : 1;
        PieceLayer& layer = stamp.layers.emplace_back();
        // The tiles' own records, shared: what the stamp places is what a plot of each tile places.
        if (block)
            for (const int tile : picked.tiles)
                layer.cells.push_back(Tileset().PlacedRecord(tile));
        else
            layer.cells.push_back(Tileset().PlacedRecord(selected->ImageIndex()));
    }
    m_stamp = std::move(stamp);
    m_stampFromPalette = true;
}

void frmMain::ReportLayersLeftOut() {
    int missing = 0;
    for (const PieceLayer& layer : m_stamp.layers)
        missing += layer.layer != PieceLayer::kEditLayer && !Document().LayerInUse(layer.layer);
    if (missing > 0)
        UpdateStatus(QStringLiteral("%1 of the piece's layers %2 not in use on this map and left out")
                         .arg(missing)
                         .arg(missing == 1 ? QStringLiteral("is") : QStringLiteral("are")),
                     kFailureColour, 0);
}
