#include "tiles/TilesetLoadWork.h"

#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <optional>

namespace {
Question UseInPlaceQuestion(const FolderItem& file, const TilesetLoadRecord& missing) {
    Question question;
    question.Text = QStringLiteral("Use %1 in place of the missing tileset image %2?")
                        .arg(file.Name(), QFileInfo(missing.absolutePath).fileName());
    question.Details = QStringLiteral("It cuts into as many tiles: the cells of the missing image's tiles "
                                      "would show its tiles. Or add its tiles as new ones.");
    question.Buttons = {{QStringLiteral("Use"), QMessageBox::AcceptRole},
                        {QStringLiteral("Add as New Tiles"), QMessageBox::NoRole},
                        {QStringLiteral("Cancel"), QMessageBox::RejectRole}};
    question.Default = 0;
    question.Escape = 2;
    return question;
}
} // namespace

TilesetLoadResult LoadTilesetShowingWork(MapDocument& document, const FolderItem& file,
                                         MemoryReserve& reserve, const TilesetLoadDialogs& dialogs) {
    std::optional<BusyCursor> busy(std::in_place);
    std::unique_ptr<WorkDialog> work;
    const auto progress = [&](qint64 done, qint64 total) {
        // Made at the first row of tiles: an image refused from its header never gets this far.
        if (!work)
            work = dialogs.progress.StartWork(dialogs.parent, QStringLiteral("Loading %1").arg(file.Name()));
        return work->Update(done, total);
    };
    // The image is read whole by the time this is asked: the progress goes, and the pointer is the
    // ordinary one while the user answers.
    const auto choose = [&](const TilesetLoadRecord& missing) {
        work.reset();
        busy.reset();
        const int answer = dialogs.modal().Ask(dialogs.parent, UseInPlaceQuestion(file, missing));
        busy.emplace();
        return answer == 0   ? MapDocument::MissingImageChoice::Use
               : answer == 1 ? MapDocument::MissingImageChoice::AddAsNew
                             : MapDocument::MissingImageChoice::Cancel;
    };
    return document.LoadTileset(file, &reserve, progress, choose);
}
