// Loading a tileset shows that it works: the wait cursor at once, and the rows cut so far in a progress
// dialog that appears if the load lasts (a large image) and can cancel it.
#include "platform/BusyCursor.h"
#include "window/frmMain.h"

TilesetLoadResult frmMain::LoadTilesetShowingWork(const FolderItem& file) {
    const BusyCursor busy;
    std::unique_ptr<WorkDialog> work;
    return Document().LoadTileset(file, &m_memoryReserve, [&](qint64 done, qint64 total) {
        // Made at the first row of tiles: an image refused from its header never gets this far.
        if (!work)
            work = m_dialogs->StartWork(this, QStringLiteral("Loading %1").arg(file.Name()));
        return work->Update(done, total);
    });
}
