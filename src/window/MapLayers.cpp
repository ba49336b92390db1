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
    const int n = ValInt(cboEditLayer->currentText());
    if (n >= 0 && n <= 7 && cboEditLayer->currentIndex() >= 0)
        m_Layer = n;
}

PlacedCell frmMain::GetVOCellFromLayer(int x, int y) {
    const int n = m_Layer;
    if (n < 0 || !m_view.InsideMap(x, y))
        return {};
    return Layer(n).Get(x, y);
}
