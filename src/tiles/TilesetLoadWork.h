#pragma once

#include "document/MapDocument.h"

#include <functional>

class Dialogs;
class MemoryReserve;
class QWidget;

// The dialogs a load may show, over parent: its progress, and the question about a missing image, asked
// through modal (the window's way to open a modal dialog, which first ends what the mouse was doing).
struct TilesetLoadDialogs {
    Dialogs& progress;
    std::function<Dialogs&()> modal;
    QWidget* parent = nullptr;
};

// Loads file into document's tileset showing that it works: the wait cursor at once, and the rows cut so far
// in a progress dialog that appears if the load lasts (a large image) and can cancel it. reserve is released
// when memory runs out.
TilesetLoadResult LoadTilesetShowingWork(MapDocument& document, const FolderItem& file,
                                         MemoryReserve& reserve, const TilesetLoadDialogs& dialogs);
