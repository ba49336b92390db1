#pragma once

// An open editor window for the benchmarks, off screen, with its map and tiles set up as a user would.
#include "ScriptedDialogs.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "window/frmMain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

inline QImage TileSheet(int tiles, int size) {
    QImage image(size * tiles, size, QImage::Format_ARGB32);
    for (int t = 0; t < tiles; ++t)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                image.setPixelColor(t * size + x, y,
                                    QColor::fromHsv((t * 40) % 360, 200, 200, (x + y) % 5 == 0 ? 0 : 255));
    return image;
}

// An open editor whose map canvas is canvasW x canvasH, with the given tile size, layers and map size.
struct Editor {
    Editor(int canvasW, int canvasH, int tile, int layers, int mapW, int mapH) {
        window = std::make_unique<frmMain>(dialogs);
        window->show();
        frmMain& w = *window;
        const QSize grow(canvasW - w.Controls().canMain->width(), canvasH - w.Controls().canMain->height());
        w.resize(w.size() + grow);
        w.Controls().txtWidth->setText(QString::number(tile));
        w.Controls().txtHeight->setText(QString::number(tile));
        w.Controls().txtMapWidth->setText(QString::number(mapW));
        w.Controls().txtMapHeight->setText(QString::number(mapH));
        w.Controls().cboMapLayers->setCurrentIndex(layers - 1);
        w.btnApply_Action();
        for (int k = 0; k < layers; ++k)
            if (!w.Controls().btnLayer[k]->Value())
                w.Controls().btnLayer[k]->click();
        const QString path = QDir(temp.path()).filePath("tiles.png");
        TileSheet(8, tile).save(path);
        dialogs->answers.push_back(FolderItem(path));
        w.FileLoadTiles_Action();
        Pick(0);
    }
    // Selects tile i (a click on the selected tile would clear the selection instead).
    void Pick(int i) {
        frmMain& w = *window;
        if (w.Palette().SelectedTile() == w.Tileset().GetTile(i))
            return;
        w.canTiles_MouseEnter();
        const int tw = w.Tileset().TileWidth();
        w.canTiles_MouseMove(10 + i * (tw + 10) + 1, 11);
        w.canTiles_MouseDown(10 + i * (tw + 10) + 1, 11);
        w.canTiles_MouseExit();
    }
    // Fills every cell of the visible area (or the whole map) on every layer, as one edit of the document.
    void FillLayers(int columns, int rows) {
        frmMain& w = *window;
        MapDocument::CellEdit edit(w.Document(), QStringLiteral("Fill"));
        for (int k = 0; k < w.Layers(); ++k)
            for (int r = 0; r < rows; ++r)
                edit.PlaceRun(k, r, 0, columns - 1, k % 8);
        edit.Commit();
        w.Refresh();
    }
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    QTemporaryDir temp;
    std::unique_ptr<frmMain> window;
};

// Editors kept from one benchmark to the next, by name. main empties this while the application object still
// exists: a window must never outlive it.
inline std::map<std::string, std::unique_ptr<Editor>>& KeptEditors() {
    static std::map<std::string, std::unique_ptr<Editor>> editors;
    return editors;
}

// The kept editor of that name, made by make on first use.
template <class Make> inline Editor& Kept(const std::string& name, Make make) {
    std::unique_ptr<Editor>& editor = KeptEditors()[name];
    if (!editor)
        editor = make();
    return *editor;
}
