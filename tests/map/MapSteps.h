#pragma once

// What a user does on the map side of the editor, and what the drawn map canvas shows.
#include "EditorFixture.h"
#include "MapInput.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>

namespace MapSteps {

inline const QColor kBlack(0, 0, 0);
inline const QColor kGrid(115, 200, 200);
inline const QColor kFrame(153, 80, 80);
inline const QColor kEraseFill(245, 180, 180);

// The colour of a pixel of the picture the last Draw left on the map canvas.
inline QColor MapPixel(frmMain& w, int x, int y) {
    return QColor(w.canMain->Buffer().pixel(x, y));
}

// The colour of palette tile i, as it is drawn on the map (the test tiles are solid).
inline QColor TileColour(frmMain& w, int i) {
    return QColor(w.m_VOTileset->GetTileImage(i)->Image().pixel(2, 2));
}

inline void ChooseTool(frmMain& w, int tool) {
    w.btnTool[static_cast<std::size_t>(tool)]->click();
}

// Picks an edit layer in the popup as a user does; the popup's change event chooses the grid.
inline void ChooseEditLayer(frmMain& w, int layer) {
    w.cboEditLayer->setCurrentIndex(w.cboEditLayer->findText(QString::number(layer)));
}

// The canvas pixel at the middle of visible cell (column, row) with 32-pixel tiles.
inline QPoint CellCentre(int column, int row, int tw = 32, int th = 32) {
    return QPoint(column * tw + tw / 2, row * th + th / 2);
}

// Fills in the Map Properties page and presses Apply.
inline void Apply(frmMain& w, const QString& layers, const QString& tileWidth, const QString& tileHeight,
                  const QString& mapWidth, const QString& mapHeight) {
    w.cboMapLayers->setCurrentIndex(w.cboMapLayers->findText(layers));
    w.txtWidth->setText(tileWidth);
    w.txtHeight->setText(tileHeight);
    w.txtMapWidth->setText(mapWidth);
    w.txtMapHeight->setText(mapHeight);
    w.btnApply->click();
}

} // namespace MapSteps
