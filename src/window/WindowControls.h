#pragma once

#include "tools/Tool.h"

#include <array>

class BevelButton;
class Canvas;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class ScrollBar;
class TileSwatch;

// The editor window's controls, created once by the window, which owns them through Qt's parent chain. The
// window hands tests a read-only view of this struct: they drive the controls with events, never replace
// them.
struct WindowControls {
    QTabWidget* tabpnlMain = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLabel* lblTileWidth = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLabel* lblTileHeight = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblName = nullptr;
    std::array<BevelButton*, 8> btnLayer{};
    QLabel* lblEditLayer = nullptr;
    QComboBox* cboEditLayer = nullptr;
    QLabel* lblViewLayer = nullptr;
    BevelButton* btnViewGrid = nullptr;
    Canvas* canTiles = nullptr;
    Canvas* canMain = nullptr;
    ScrollBar* scbMainVertical = nullptr;
    ScrollBar* scbMainHorizontal = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblMapHeight = nullptr;
    QLineEdit* txtMapHeight = nullptr;
    QLabel* lblMapWidth = nullptr;
    QLineEdit* txtMapWidth = nullptr;
    QLabel* lblMapLayers = nullptr;
    QComboBox* cboMapLayers = nullptr;
    QPushButton* btnApply = nullptr;
    std::array<BevelButton*, kToolCount> btnTool{};
    ScrollBar* scbTilesVertical = nullptr;
    // Beside the palette: the tile painting uses.
    TileSwatch* swatchSelectedTile = nullptr;
};
