#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/PNGu.h"
#include "window/frmMain.h"

#include <QComboBox>
#include <QSignalBlocker>

bool frmMain::LoadIcons(const FolderItem& file, clsVOIcon& store) {
    constexpr int kCell = 24;
    const PicturePtr source = file.IsNull() ? nullptr : PNGu::OpenAsPictureWithMask(file.Path(), 0.0);
    if (!source)
        return false;
    const int columns = source->Width() / kCell;
    const int rows = source->Height() / kCell;
    bool up = true;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            PicturePtr icon = source->Copy(column * kCell, row * kCell, kCell, kCell);
            if (up)
                store.AddUpIcon(std::move(icon));
            else
                store.AddDownIcon(std::move(icon));
            up = !up;
        }
    }
    return true;
}

void frmMain::ActivateLayer(bool on, int layer) {
    if (layer < 0 || layer > 7)
        return;
    BevelButton* button = m_ui.btnLayer[static_cast<std::size_t>(layer)];
    button->SetValue(on);
    button->SetIcon(on ? m_objVOLayerIcon->DownIcon(layer) : m_objVOLayerIcon->UpIcon(layer));
}

void frmMain::ActivateGrid(bool on) {
    m_ui.btnViewGrid->SetIcon(on ? m_objVOGridIcon->DownIcon(0) : m_objVOGridIcon->UpIcon(0));
    m_ui.btnViewGrid->SetValue(on);
    m_view.SetGrid(on);
    Refresh();
}

void frmMain::ActivateTool(Tool tool) {
    m_stroke.KeepLastTool();
    for (int i = 0; i < kToolCount; ++i) {
        BevelButton* button = m_ui.btnTool[static_cast<std::size_t>(i)];
        const bool pressed = ToolAt(i) == tool;
        button->SetValue(pressed);
        button->SetIcon(pressed ? m_objVOToolIcon->DownIcon(i) : m_objVOToolIcon->UpIcon(i));
    }
}

void frmMain::EnableLayers() {
    // The buttons show the document: enabled for the layers in use, pressed for the shown ones.
    for (int i = 0; i < 8; ++i) {
        m_ui.btnLayer[static_cast<std::size_t>(i)]->setEnabled(Document().LayerInUse(i));
        ActivateLayer(Document().LayerVisible(i), i);
    }
    RefreshEditLayers();
    SetCurrentLayer();
}

void frmMain::RefreshEditLayers() {
    int previous = std::max(m_ui.cboEditLayer->currentIndex(), 0);
    const int last = std::max(Layers() - 1, 0);
    // Refilled quietly: the caller chooses the edit layer once the rows are back.
    const QSignalBlocker block(m_ui.cboEditLayer);
    m_ui.cboEditLayer->clear();
    for (int layer = 0; layer <= last; ++layer)
        m_ui.cboEditLayer->addItem(QString::number(layer));
    if (last < previous)
        previous = 0;
    m_ui.cboEditLayer->setCurrentIndex(previous);
}

void frmMain::btnLayer_Action(int index) {
    // Whether a layer is shown belongs to the map: the document decides, and the button shows its answer.
    Document().SetLayerVisible(index, m_ui.btnLayer[static_cast<std::size_t>(index)]->Value());
    ActivateLayer(Document().LayerVisible(index), index);
    Refresh();
}

void frmMain::cboEditLayer_Change() {
    SetCurrentLayer();
}

void frmMain::btnViewGrid_Action() {
    ActivateGrid(m_ui.btnViewGrid->Value());
}

void frmMain::btnTool_Action(int index) {
    UseTool(ToolAt(index));
}

void frmMain::LeaveToolForPickedTile(bool tilePicked) {
    const Tool tool = ToolForPickedTile(m_stroke.CurrentTool(), m_stroke.LastTool(), tilePicked);
    if (tool == m_stroke.CurrentTool())
        return;
    m_stroke.SetCurrentTool(tool);
    ActivateTool(tool);
}

void frmMain::UseTool(Tool tool) {
    // A stroke of the old tool ends as if its release had gone elsewhere: what a plot or erase stroke wrote
    // stays, a shape is not placed, a move goes back. Else the release would finish it as a stroke of the new
    // tool, a selection's release leaving a plot's edit open.
    if (tool != m_stroke.CurrentTool())
        m_ui.canMain->CancelStroke();
    ActivateTool(tool);
    m_stroke.SetCurrentTool(tool);
}
