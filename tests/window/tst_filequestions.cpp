// The questions and dialogs around the map's files, through the menus as a user reaches them: Map Properties
// typed but not applied, where the file dialogs start and what they propose, and tileset images that many
// loads share.
#include "MapCorpus.h"
#include "UserSteps.h"
#include "document/MapFileWriter.h"

#include <QDir>
#include <QLabel>
#include <QtTest>

class TestFileQuestions : public QObject {
    Q_OBJECT
private slots:
    // Map Properties typed but not applied are asked about before the map is saved, exported or left, before
    // the question about unsaved changes: Apply applies them, Don't Apply puts the fields back, Cancel stops.
    void typedMapProperties_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char* command : {"FileSave", "FileSaveAs", "FileExport", "FileNewMap", "FileOpenMap",
                                    "FileClose", "FileQuit", "close box"})
            for (const char* answer : {"Apply", "Don't Apply", "Cancel", "Apply refused"})
                QTest::addRow("%s, %s", command, answer) << QString(command) << QString(answer);
    }
    void typedMapProperties() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        EditorFixture f;
        f.Save("FileSaveAs", "m.mqm");
        HoverAt(f.w, QPoint(5, 5)); // the save's report goes
        f.w.Controls().txtName->setText("Typed");
        f.w.Controls().txtMapWidth->setText(answer == "Apply refused" ? "0" : "50");
        f.dialogs->replies = {answer == "Apply refused" ? "Apply" : answer, "Discard"};
        f.dialogs->saveAnswers.push_back(FolderItem(f.temp.filePath("other.tmx")));
        command == "close box" ? void(f.w.close()) : ChooseItem(qPrintable(command));
        const bool applied = answer == "Apply", goesOn = applied || answer == "Don't Apply";
        const bool leaves = !command.startsWith("FileSave") && command != "FileExport";
        QCOMPARE(f.dialogs->questions.join('|'),
                 applied && leaves ? "Apply the map properties you typed?|Save the changes to m.mqm?"
                                   : "Apply the map properties you typed?");
        const bool proceeded = command == "FileSave"      ? f.w.Controls().lblStatus->text() == "m.mqm saved"
                               : command == "FileOpenMap" ? f.dialogs->requests.size() == 1
                               : !leaves                  ? f.dialogs->saveRequests.size() == 2
                               : command.contains("Quit") || command == "close box"
                                   ? !f.w.isVisible()
                                   : f.w.windowTitle() == "2D Mosaicor";
        QCOMPARE(proceeded, goesOn);
        if (leaves && goesOn)
            return;
        const QString expected = applied                   ? "Typed 50 Typed"
                                 : answer == "Don't Apply" ? " 100 "
                                                           : " 100 Typed";
        QCOMPARE(Say(f.w.Document().Name(), f.w.MapWidth(), f.w.Controls().txtName->text()), expected);
        if (answer == "Apply refused")
            QVERIFY(f.w.Controls().lblStatus->text().startsWith("Map width"));
    }

    // The file dialogs start beside the map, Load Tiles and Locate beside its last tileset image, else where
    // the last dialog chose; Save As and Export propose the map's name, an untitled map's Name setting.
    void dialogsStartBesideTheMap() {
        EditorFixture f;
        QVERIFY(QDir(f.temp.path()).mkpath("art") && QDir(f.temp.path()).mkpath("maps"));
        const QString art = f.temp.filePath("art"), maps = f.temp.filePath("maps");
        f.LoadTiles("art/a.png", MakeTileSheet(64, 32, 32, 32));
        f.w.Controls().txtName->setText(QStringLiteral(" ../Keep/Hall "));
        f.w.Controls().btnApply->click();
        f.Save("FileSaveAs", maps + "/keep.mqm");
        for (const char* item : {"FileExport", "FileSaveAs", "FileOpenMap", "FileLoadTiles"})
            ChooseItem(item);
        QStringList proposed; // what each save dialog proposed, then where each open dialog started
        for (const SaveDialogRequest& request : f.dialogs->saveRequests)
            proposed << request.StartAt;
        for (const OpenDialogRequest& request : f.dialogs->requests)
            proposed << request.StartAt;
        QCOMPARE(proposed, QStringList({art + "/-Keep-Hall.mqm", maps + "/keep.tmx", maps + "/keep.mqm",
                                        QDir::homePath(), maps, art}));
        QVERIFY(QFile::rename(art + "/a.png", f.temp.filePath("a.png")));
        f.dialogs->replies = {"Locate…", "Cancel"};
        f.Open(maps + "/keep.mqm");
        QCOMPARE(Say(f.dialogs->requests.back().Title, f.dialogs->requests.back().StartAt),
                 Say("Locate a.png", art));
        QCOMPARE(ProposedFileName(QString(), "mqm"), "Untitled.mqm");
    }

    // Loads that name one image share one reading of it; the open can be cancelled while the images are
    // read; and when the image is missing, the user is asked once for all of them.
    void manyLoadsOfOneImage() {
        EditorFixture f;
        const QString image = f.WritePng("tiles.png", MakeTileSheet(64, 32, 32, 32));
        QVERIFY(
            MapFile::Save(MapCorpus::ManyLoadsOfOneImage(image, 300, 32), f.temp.filePath("many.mqm")).ok());
        int updates = 0;
        f.dialogs->whileWorking = [&] { ++updates; };
        f.dialogs->cancelWorkAfter = 20;
        f.Open("many.mqm");
        QCOMPARE(Say(f.w.windowTitle(), updates), "2D Mosaicor 21");
        f.dialogs->cancelWorkAfter = -1;
        f.Open("many.mqm");
        QCOMPARE(Say(f.w.windowTitle(), f.w.Tileset().Count(), f.dialogs->questions.size()),
                 "many.mqm[*] - 2D Mosaicor 300 0");
        for (int i = 1; i < 300; ++i)
            QVERIFY(f.w.Tileset().GetTileImage(i) == f.w.Tileset().GetTileImage(0));
        QVERIFY(QFile::rename(image, f.temp.filePath("gone.png")));
        f.dialogs->replies = {"Open Without It"};
        f.Open("many.mqm");
        QCOMPARE(
            Say(f.w.Tileset().Count(), bool(f.w.Tileset().GetTileImage(299)), f.dialogs->questions.size()),
            "300 false 1");
    }
};

QTEST_MAIN(TestFileQuestions)
#include "tst_filequestions.moc"
