// Loading a tileset shows that it works: the wait cursor at once, and the rows cut so far in a progress
// dialog that appears if the load lasts (a large image) and can cancel it.
#include "platform/BusyCursor.h"
#include "window/frmMain.h"

#include <QFileInfo>
#include <optional>

TilesetLoadResult frmMain::LoadTilesetShowingWork(const FolderItem& file) {
    std::optional<BusyCursor> busy(std::in_place);
    std::unique_ptr<WorkDialog> work;
    const auto progress = [&](qint64 done, qint64 total) {
        // Made at the first row of tiles: an image refused from its header never gets this far.
        if (!work)
            work = m_dialogs->StartWork(this, QStringLiteral("Loading %1").arg(file.Name()));
        return work->Update(done, total);
    };
    // The image is read whole by the time this is asked: the progress goes, and the pointer is the
    // ordinary one while the user answers.
    const auto choose = [&](const TilesetLoadRecord& missing) {
        work.reset();
        busy.reset();
        Question question;
        question.Text = QStringLiteral("Use %1 in place of the missing tileset image %2?")
                            .arg(file.Name(), QFileInfo(missing.absolutePath).fileName());
        question.Details =
            QStringLiteral("It cuts into as many tiles: the cells of the missing image's tiles "
                           "would show its tiles. Or add its tiles as new ones.");
        question.Buttons = {{QStringLiteral("Use"), QMessageBox::AcceptRole},
                            {QStringLiteral("Add as New Tiles"), QMessageBox::NoRole},
                            {QStringLiteral("Cancel"), QMessageBox::RejectRole}};
        question.Default = 0;
        question.Escape = 2;
        const int answer = Modal().Ask(this, question);
        busy.emplace();
        return answer == 0   ? MapDocument::MissingImageChoice::Use
               : answer == 1 ? MapDocument::MissingImageChoice::AddAsNew
                             : MapDocument::MissingImageChoice::Cancel;
    };
    return Document().LoadTileset(file, &m_memoryReserve, progress, choose);
}
