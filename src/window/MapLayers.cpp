// The map's layer grids as the window sets them up, and the edit layer the popup chooses.
#include "platform/Val.h"
#include "window/frmMain.h"

#include <QComboBox>

bool frmMain::DefaultLayers() {
    EnableLayers();
    return ResizeTilemapLayers();
}

bool frmMain::ResizeTilemapLayers() {
    return Document().SizeGrids();
}

int frmMain::EditLayerNumber() const {
    return m_Layer;
}

void frmMain::SetCurrentLayer() {
    const int n = ValInt(m_ui.cboEditLayer->currentText());
    if (n >= 0 && n <= 7 && m_ui.cboEditLayer->currentIndex() >= 0)
        m_Layer = n;
}
