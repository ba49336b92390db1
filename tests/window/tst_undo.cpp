// The history as a user meets it: edits that change nothing are no step, and the history keeps within its
// memory bound. (Undo and redo against a model of the map run in the soak test's random session.)
#include "UserSteps.h"
#include "tiles/CellGameValues.h"

#include <QLabel>
#include <QtTest>

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    // An edit that changes nothing is no step and leaves the modified mark as it was: plotting a tile over
    // cells that hold it, or hold a record equal to it in every field (placed before the tile's properties
    // went away and back), erasing empty cells, filling over the tile's own picture.
    void editsThatChangeNothing() {
        EditorFixture f;
        frmMain& w = f.window();
        History& history = w.Document().Steps();
        f.LoadSolidTiles(3, 1);
        DragStroke(w, 1, 1, 6, 1);
        const GameValues plain = GameValuesOf(w.Tileset().GetTile(1)->Template());
        GameValues other = plain;
        other.custom1 = "gone";
        w.Document().SetTileProperties(1, other, false);
        w.Document().SetTileProperties(1, plain, false);
        QVERIFY(w.Layer(0).Record(1, 1).get() != &w.Tileset().GetTile(1)->Template());
        f.Save("FileSave", "same.mqm");
        const int steps = history.Count();
        const MapSnapshot before = MapOf(w);
        DragStroke(w, 1, 1, 6, 1);
        ChooseTool(w, Tool::Erase);
        DragStroke(w, 1, 5, 6, 5);
        ChooseTool(w, Tool::Fill);
        Click(w, 3, 1);
        QCOMPARE(Say(history.Count(), w.isWindowModified(), MapOf(w) == before), Say(steps, false, true));
        // Made modified by a real change, the mark stays when nothing more changes.
        ChooseTool(w, Tool::Plot);
        DragStroke(w, 1, 2, 1, 2);
        DragStroke(w, 1, 2, 1, 2);
        QCOMPARE(Say(history.Count(), w.isWindowModified()), Say(steps + 1, true));
    }

    // The oldest steps go when the history would need more than its bound; dropping them never makes the
    // map look saved. A step larger than the bound is done, cannot be undone, and the user is told.
    void boundedHistory() {
        EditorFixture f;
        frmMain& w = f.window();
        History& history = w.Document().Steps();
        f.LoadSolidTiles(3, 1);
        f.Save("FileSave", "bound.mqm");
        std::vector<MapSnapshot> states{MapOf(w)};
        for (int i = 0; i < 5; ++i) {
            DragStroke(w, i, 0, i, 1);
            states.push_back(MapOf(w));
        }
        const std::size_t five = history.Bytes();
        history.SetMemoryBound(five * 3 / 5 + 16); // room for three of the five strokes
        QCOMPARE(history.Count(), 3);
        for (int i = 0; i < 3; ++i)
            ChooseItem("EditUndo");
        QVERIFY(!history.CanUndo() && MapOf(w) == states[2] && w.isWindowModified());
        ChooseItem("EditRedo");
        QVERIFY(MapOf(w) == states[3]);

        history.SetMemoryBound(16);
        ChooseTool(w, Tool::Fill);
        Click(w, 8, 8); // fills 100 x 100 cells
        QVERIFY(!history.CanUndo() && w.Layer(0).Get(99, 99) && w.isWindowModified());
        QCOMPARE(w.Controls().lblStatus->text(), "Fill cannot be undone: too large for the history");
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
