// Recovery copies: unsaved work survives a real SIGKILL of the program holding it and is offered to the next
// editor, which recovers it cell for cell or discards it; editors running side by side never take each
// other's copies; and the copy follows the map: written after a change, gone after a save, a discard or a
// return to the saved state.
#include "PngCraft.h"
#include "SampleMaps.h"
#include "UserSteps.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/SnapshotGatherer.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Starts the program that edits the sample map of seed with dataFolder as its user's data folder, and
// waits for its recovery copy.
std::unique_ptr<QProcess> StartEditing(const QString& dataFolder, int seed) {
    auto child = std::make_unique<QProcess>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataFolder)); // the editors' fixtures set it as well
    child->start(QCoreApplication::applicationDirPath() + QStringLiteral("/recovery_child"),
                 {QString::number(seed)});
    while (child->waitForReadyRead(60000))
        if (child->readAll().contains("written"))
            return child;
    return nullptr;
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    // In an editor keeping its data in dataFolder, the copy is written after a change and goes once the map,
    // saved as map, holds no unsaved work. Its last copy and description are put in kept before the map is
    // discarded, which leaves nothing behind: no copy, no description of it, no lock.
    void FollowTheCopy(const QString& dataFolder, const QString& map, const QDir& kept) {
        EditorFixture f(QString(), dataFolder);
        frmMain& w = f.w;
        w.CopyKeeper().SetTiming({20, 0, 1000});
        QSignalSpy written(&w.CopyKeeper(), &RecoveryKeeper::copyWritten);
        f.LoadSolidTiles(2, 1);
        QVERIFY(written.wait(20000));
        const QString copy = w.CopyKeeper().CopyPath();
        MapSnapshot read;
        QVERIFY(MapFile::Open(copy, &read).ok() && read == TakeSnapshot(w.Document(), QString()));
        f.Save("FileSaveAs", map);
        QVERIFY(!QFile::exists(copy) && w.CopyKeeper().CopyPath().isEmpty());
        Click(w, 2, 2);
        QVERIFY(written.wait(20000));
        ChooseItem("EditUndo"); // back to what was saved
        QVERIFY(w.CopyKeeper().CopyPath().isEmpty());
        Click(w, 3, 3);
        QVERIFY(written.wait(20000));
        const QString folder = dataFolder + "/mosaicor/recovery";
        for (const QString& file : QDir(folder).entryList({"*.mqm", "*.json"}, QDir::Files))
            QVERIFY(QFile::copy(folder + '/' + file, kept.filePath(file)));
        f.dialogs->replies.push_back("Discard");
        ChooseItem("FileNewMap");
        QVERIFY(QDir(folder).isEmpty());
    }

private slots:
    void killedWorkIsRecovered() {
        QTemporaryDir data;
        const std::unique_ptr<QProcess> child = StartEditing(data.path(), 7);
        QVERIFY(child);
        // The copy belongs to an editor that is running: nobody else is offered it.
        QVERIFY(EditorFixture(QString(), data.path()).dialogs->questions.isEmpty());
        child->kill(); // SIGKILL: nothing of the program runs after it
        QVERIFY(child->waitForFinished());
        // Closing the question keeps the copy.
        QCOMPARE(EditorFixture(QString(), data.path(), {"no answer"}).dialogs->questions.size(), 1);
        MapDocument expected;
        expected.SizeGrids();
        PaintSample(expected, 7);
        EditorFixture f(QString(), data.path(), {"Recover"});
        frmMain& w = f.w;
        QCOMPARE(f.dialogs->questions.size(), 1);
        QVERIFY(f.dialogs->questions[0].startsWith("Recover unsaved changes to Untitled from "));
        // The copy is opened as any map file is: that opening gives every cell back is the map file's test.
        QVERIFY(MapOf(w) == TakeSnapshot(expected, QString()));
        QCOMPARE(Say(w.windowTitle(), w.isWindowModified(), w.Controls().txtName->text(),
                     w.Controls().btnLayer[2]->Value()),
                 "Untitled[*] - 2D Mosaicor true sample 7 false");
        // The recovered map keeps its copy, now this editor's: offered to no one else while it runs.
        const QStringList copies = QDir(data.filePath("mosaicor/recovery")).entryList({"*.mqm"}, QDir::Files);
        QCOMPARE(Say(int(copies.size()), Recovery::TakeAbandonedCopies().empty()), "1 true");
    }

    // A copy that cannot be read for a reason other than damage stays and is offered again; a lock left
    // without a copy goes (the next editor leaves nothing behind); after Recover the first Save asks where,
    // proposing the map's own file.
    void copiesThatCannotBeRead() {
        QTemporaryDir data;
        const QDir folder(data.filePath("mosaicor/recovery"));
        const std::unique_ptr<QProcess> child = StartEditing(data.path(), 5);
        QVERIFY(child);
        child->kill();
        QVERIFY(child->waitForFinished());
        for (const QString& file : folder.entryList({"*.mqm", "*.json"}, QDir::Files))
            QVERIFY(QFile::remove(folder.filePath(file)));
        QCOMPARE(folder.entryList({"*.lock"}, QDir::Files).size(), 1);
        const QString map = data.filePath("kept.mqm");
        const QDir kept(data.filePath("kept")); // the copy and its description, as the editor left them
        QVERIFY(QDir().mkpath(kept.path()));
        FollowTheCopy(data.path(), map, kept);
        QCOMPARE(kept.entryList(QDir::Files).size(), 2);
        for (const QString& file : kept.entryList(QDir::Files))
            QVERIFY(QFile::copy(kept.filePath(file), folder.filePath(file)));
        const QString name = kept.entryList({"*.mqm"}).value(0), copy = folder.filePath(name);
        QVERIFY(QFile::resize(copy, qint64(5) << 30)); // larger than the editor reads, and sparse
        {
            EditorFixture later(QString(), data.path(), {"Recover"});
            QCOMPARE(
                later.dialogs->messages,
                QStringList("The recovery copy of kept.mqm could not be read: it is larger than 4096 MB. "
                            "It is kept for the next start."));
        }
        QVERIFY(QFile::resize(copy, QFileInfo(kept.filePath(name)).size()));
        // The tileset image went with the first editor's folder.
        EditorFixture f(QString(), data.path(), {"Recover", "Open Without It"});
        QCOMPARE(Say(f.w.windowTitle(), f.dialogs->messages.size()), "kept.mqm[*] - 2D Mosaicor 0");
        ChooseItem("FileSave"); // the dialog is cancelled
        QCOMPARE(Say(int(f.dialogs->saveRequests.size()), f.dialogs->saveRequests.at(0).StartAt),
                 Say(1, map));
        MapSnapshot saved;
        QVERIFY(MapFile::Open(map, &saved).ok() && saved != TakeSnapshot(f.w.Document(), map));
    }

    // A copy left without its description (older builds wrote it after the map) is offered by the name its
    // map gives itself, read from the file's head: bytes past the settings are never looked at. Discarded, it
    // goes. Copies are offered newest first.
    void copyWithoutDescription() {
        QTemporaryDir data;
        QVERIFY(QDir().mkpath(data.filePath("mosaicor/recovery")));
        MapDocument map;
        map.SizeGrids();
        MapSnapshot snapshot = TakeSnapshot(map, QString());
        snapshot.name = QStringLiteral("castle");
        const QString copy = data.filePath("mosaicor/recovery/old.mqm");
        QVERIFY(MapFile::Save(snapshot, copy).ok());
        QVERIFY(PngCraft::Write(copy, PngCraft::Read(copy) + "not a map"));
        // A copy whose file looks older than its description (copied back from a backup, say) is as new as
        // the description says: offered first.
        const QString backup = data.filePath("mosaicor/recovery/backup.mqm");
        QVERIFY(QFile::copy(copy, backup));
        QVERIFY(PngCraft::Write(data.filePath("mosaicor/recovery/backup.json"),
                                R"({"name":"keep","time":"2030-01-01T00:00:00Z"})"));
        QFile old(backup);
        QVERIFY(old.open(QIODevice::ReadWrite) && old.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                                                  QFileDevice::FileModificationTime));
        EditorFixture f(QString(), data.path(), {"Discard", "Discard"});
        QCOMPARE(f.dialogs->questions.size(), 2);
        QVERIFY(f.dialogs->questions[0].startsWith("Recover unsaved changes to keep from "));
        QVERIFY(f.dialogs->questions[1].startsWith("Recover unsaved changes to castle from "));
        QVERIFY(!QFile::exists(copy) && !f.w.isWindowModified()); // discarded, the copy goes unread
    }

    // Copies that cannot be written, or whose writer cannot start, are said once, in red, tried again, and
    // said to work again.
    void copiesThatCannotBeWritten() {
        QTemporaryDir data;
        QVERIFY(PngCraft::Write(data.filePath("mosaicor"), {})); // where the recovery folder would be
        EditorFixture f(QString(), data.path());
        f.w.CopyKeeper().SetTiming({20, 100, 1000});
        QSignalSpy failing(&f.w.CopyKeeper(), &RecoveryKeeper::copiesFailing);
        QSignalSpy written(&f.w.CopyKeeper(), &RecoveryKeeper::copyWritten);
        f.LoadSolidTiles(2, 1);
        QVERIFY(failing.wait(20000));
        const auto status = [&f] {
            return Say(f.w.Controls().lblStatus->palette().color(QPalette::WindowText).name(),
                       f.w.Controls().lblStatus->text());
        };
        QCOMPARE(status(), Say("#c80000", "Unsaved changes cannot be kept safe: the folder " +
                                              data.filePath("mosaicor/recovery") + " cannot be made"));
        QTest::qWait(500); // tried again meanwhile, and not said again: failing is counted at the end
        QVERIFY(QFile::remove(data.filePath("mosaicor")));
        QVERIFY(written.wait(20000));
        QCOMPARE(status(), Say("#000000", "Unsaved changes are kept safe again"));
        // No thread can be made: the writer is left as a failed start leaves it, neither running nor
        // finished.
        int starts = 0;
        bool threadsLeft = false;
        f.w.CopyKeeper().SetThreadStarter([&](QThread& writer) {
            ++starts;
            if (threadsLeft)
                writer.start();
        });
        Click(f.w, 2, 2);
        QVERIFY(failing.wait(20000));
        QCOMPARE(status(), Say("#c80000", "Unsaved changes cannot be kept safe: no thread can be started to "
                                          "write it"));
        QTest::qWait(500);
        QVERIFY(starts >= 3);
        QCOMPARE(Say(failing.size(), written.size()), "2 1");
        threadsLeft = true;
        QVERIFY(written.wait(20000));
        QCOMPARE(status(), Say("#000000", "Unsaved changes are kept safe again"));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
