// Unsaved work from a run that ended without saving it: offered at start, recovered into the window.
#include "document/DocumentBuilder.h"
#include "document/MapFileReader.h"
#include "window/AskingResolver.h"
#include "window/frmMain.h"

#include <QLocale>

bool frmMain::OfferRecovery() {
    std::vector<Recovery::AbandonedCopy> copies = Recovery::TakeAbandonedCopies();
    for (Recovery::AbandonedCopy& copy : copies) {
        Question question;
        question.Text = QStringLiteral("Recover unsaved changes to %1 from %2?")
                            .arg(copy.name, QLocale().toString(copy.time, QLocale::ShortFormat));
        question.Buttons = {{QStringLiteral("Recover"), QMessageBox::AcceptRole},
                            {QStringLiteral("Discard"), QMessageBox::DestructiveRole}};
        question.Default = 0;
        // Closing the question decides nothing: the copy is offered again at the next start.
        question.Escape = 2;
        const int answer = Modal().Ask(this, question);
        if (answer == 1)
            Recovery::Delete(copy);
        else if (answer == 0 && RecoverCopy(copy))
            return true;
    }
    return false;
}

bool frmMain::RecoverCopy(Recovery::AbandonedCopy& copy) {
    const QString name = copy.name;
    std::unique_ptr<MapDocument> document;
    const MapFileResult read = UnlessOutOfMemory(
        [&] {
            MapSnapshot snapshot;
            MapFileResult result = MapFile::Open(copy.copyPath, &snapshot);
            if (result.ok()) {
                AskingResolver resolver(this, *m_dialogs,
                                        m_folders.LocateStart(Document(), copy.originalPath),
                                        [this](const QString& image) { m_folders.Remember(image, true); });
                document = BuildDocument(snapshot, copy.originalPath, resolver);
            }
            return result;
        },
        [this] {
            RecoverFromOutOfMemory();
            return MapFileResult::Failure(QStringLiteral("there is not enough memory for it"));
        });
    if (!read.ok() && read.damaged) {
        Modal().MsgBox(
            this,
            QStringLiteral("The unsaved changes to %1 could not be recovered: %2").arg(name, read.reason));
        Recovery::Delete(copy);
        return false;
    }
    if (!read.ok()) {
        // Nothing is wrong with the copy itself: it may read another time, so it stays.
        Modal().MsgBox(this,
                       QStringLiteral("The recovery copy of %1 could not be read: %2. It is kept for the "
                                      "next start.")
                           .arg(name, read.reason));
        return false;
    }
    if (!document)
        return false;
    document->Steps().MarkUnsaved();
    SetDocument(std::move(document));
    m_saveAsksWhere = true;
    // The recovered map's copy goes on where the lost run left it.
    m_recovery->Adopt(std::move(copy));
    UpdateStatus(QStringLiteral("Unsaved changes to %1 recovered").arg(name), QColor(0, 0, 0), 1);
    return true;
}
