// The application shell: the declared file types and the menu bar.
#include "EditorFixture.h"
#include "app/FileTypes.h"
#include "app/mnuMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void fileTypesAreDeclaredWithTheirRecords();
    void pngFilterOffersPngFilesOnly();
    void menusHoldTheirItemsInOrder_data();
    void menusHoldTheirItemsInOrder();
    void loadTilesAsksForAPngAndCancelChangesNothing();
    void itemsWithoutActionChangeNothing();
    void quitEndsTheEventLoop();
};

void TestShell::fileTypesAreDeclaredWithTheirRecords() {
    InitFileTypes();
    const struct {
        std::shared_ptr<FileType> type;
        const char *name, *ext, *code, *creator;
    } expected[] = {
        {MQFTypes::pMQF, "Mosaicor Format", "mqf", "MQF", "Veldrane"},
        {MQFTypes::pMQM, "Mosaicor Map", "mqm", "MQM", "Veldrane"},
        {MQFTypes::pMQT, "Mosaicor Tileset", "mqt", "MQT", "Veldrane"},
        {PNGType::ImagePng(), "image/png", ".png", "PNG", "????"},
    };
    for (const auto& e : expected) {
        QVERIFY(e.type);
        QCOMPARE(e.type->Name(), QLatin1String(e.name));
        QCOMPARE(e.type->Extensions(), QLatin1String(e.ext));
        QCOMPARE(e.type->MacType(), QLatin1String(e.code));
        QCOMPARE(e.type->MacCreator(), QLatin1String(e.creator));
    }
    ReleaseFileTypes();
    QVERIFY(!MQFTypes::pMQF);
}

void TestShell::pngFilterOffersPngFilesOnly() {
    InitFileTypes();
    QCOMPARE(PNGType::ImagePng()->DialogFilter(), QStringLiteral("image/png (*.png)"));
    ReleaseFileTypes();
}

void TestShell::menusHoldTheirItemsInOrder_data() {
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File") << "FileMenu"
                          << "&File"
                          << QStringList{"FileNewMap|&New Map|Ctrl+N",
                                         "FileNewTilesetMap|New Tileset Map|Ctrl+Shift+N",
                                         "UntitledSeparator1|-|",
                                         "FileOpenMap|&Open Map|Ctrl+O",
                                         "FileOpenTilesetMap|Open Tileset Map|Ctrl+Shift+O",
                                         "UntitledSeparator2|-|",
                                         "FileLoadTiles|Load &Tiles|Ctrl+T",
                                         "FileRemoveTiles|Remove Tiles|Ctrl+Shift+T",
                                         "UntitledSeparator3|-|",
                                         "FileSave|&Save|Ctrl+S",
                                         "UntitledSeparator0|-|",
                                         "FileClose|Close|",
                                         "UntitledSeparator|-|",
                                         "FileQuit|&Quit|Ctrl+Q"};
    QTest::newRow("Edit") << "EditMenu"
                          << "&Edit"
                          << QStringList{"EditUndo|&Undo|Ctrl+Z",   "UntitledMenu1|-|",
                                         "EditCut|Cu&t|Ctrl+X",     "EditCopy|&Copy|Ctrl+C",
                                         "EditPaste|&Paste|Ctrl+V", "EditClear|&Delete|",
                                         "UntitledMenu0|-|",        "EditSelectAll|Select &All|Ctrl+A"};
}

void TestShell::menusHoldTheirItemsInOrder() {
    QFETCH(QString, menuName);
    QFETCH(QString, menuText);
    QFETCH(QStringList, items);
    EditorFixture f;
    auto* bar = qobject_cast<mnuMain*>(f->menuBar());
    QVERIFY(bar);
    QCOMPARE(bar->actions().size(), 2);
    QAction* menuAction = bar->Item(menuName);
    QVERIFY(menuAction && menuAction->menu());
    QCOMPARE(menuAction->text(), menuText);
    const QList<QAction*> actions = menuAction->menu()->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        const QStringList parts = items[i].split('|');
        QCOMPARE(actions[i]->objectName(), parts[0]);
        if (parts[1] == "-") {
            // A separator with text is drawn with that text by some styles.
            QVERIFY(actions[i]->isSeparator());
            QCOMPARE(actions[i]->text(), QString());
        } else {
            QCOMPARE(actions[i]->text(), parts[1]);
            QCOMPARE(actions[i]->shortcut(), QKeySequence(parts[2]));
        }
        QVERIFY(actions[i]->isEnabled());
    }
}

void TestShell::loadTilesAsksForAPngAndCancelChangesNothing() {
    EditorFixture f;
    f->UpdateStatus(QStringLiteral("before"), Qt::black, 0);
    QAction* load = qobject_cast<mnuMain*>(f->menuBar())->Item(QStringLiteral("FileLoadTiles"));
    load->trigger();
    QCOMPARE(f.dialogs->requests.size(), std::size_t(1));
    QCOMPARE(f.dialogs->requests[0].Title, QStringLiteral("Select a PNG file"));
    QCOMPARE(f.dialogs->requests[0].Filter, QStringLiteral("image/png (*.png)"));
    QCOMPARE(f.dialogs->requests[0].ActionButtonCaption, QStringLiteral("Open PNG"));
    QCOMPARE(f->m_VOTileset->Count(), 0);
    QCOMPARE(f->lblStatus->text(), QStringLiteral("before"));
}

void TestShell::itemsWithoutActionChangeNothing() {
    EditorFixture f;
    auto* bar = qobject_cast<mnuMain*>(f->menuBar());
    f->PlaceTile(0, 0, 0, 0, false);
    for (const char* name : {"FileNewMap", "FileNewTilesetMap", "FileOpenMap", "FileOpenTilesetMap",
                             "FileRemoveTiles", "FileSave", "FileClose", "EditUndo", "EditCut", "EditCopy",
                             "EditPaste", "EditClear", "EditSelectAll"})
        bar->Item(QLatin1String(name))->trigger();
    QVERIFY(f.dialogs->requests.empty());
    QVERIFY(f.dialogs->messages.isEmpty());
    QCOMPARE(f->m_intMapWidth, 100);
    QCOMPARE(f->m_VOTileset->Count(), 0);
}

void TestShell::quitEndsTheEventLoop() {
    EditorFixture f;
    QAction* quit = qobject_cast<mnuMain*>(f->menuBar())->Item(QStringLiteral("FileQuit"));
    QTimer::singleShot(0, quit, &QAction::trigger);
    // Without Quit, the fallback timer would end the loop with status 7 instead.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
