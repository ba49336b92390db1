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
        History& history = f.w.Document().Steps();
        f.LoadSolidTiles(3, 1);
        DragStroke(f.w, 1, 1, 6, 1);
        const GameValues plain = GameValuesOf(f.w.Tileset().GetTile(1)->Template());
        GameValues other = plain;
        other.custom1 = "gone";
        f.w.Document().SetTileProperties(1, other, false);
        f.w.Document().SetTileProperties(1, plain, false);
        QVERIFY(f.w.Layer(0).Record(1, 1).get() != &f.w.Tileset().GetTile(1)->Template());
        f.Save("FileSave", "same.mqm");
        const int steps = history.Count();
        const MapSnapshot before = MapOf(f.w);
        DragStroke(f.w, 1, 1, 6, 1);
        ChooseTool(f.w, Tool::Erase);
        DragStroke(f.w, 1, 5, 6, 5);
        ChooseTool(f.w, Tool::Fill);
        Click(f.w, 3, 1);
        QCOMPARE(Say(history.Count(), f.w.isWindowModified(), MapOf(f.w) == before), Say(steps, false, true));
        // Made modified by a real change, the mark stays when nothing more changes.
        ChooseTool(f.w, Tool::Plot);
        DragStroke(f.w, 1, 2, 1, 2);
        DragStroke(f.w, 1, 2, 1, 2);
        QCOMPARE(Say(history.Count(), f.w.isWindowModified()), Say(steps + 1, true));
    }

    // The oldest steps go when the history would need more than its bound; dropping them never makes the
    // map look saved. A step larger than the bound is done, cannot be undone, and the user is told.
    void boundedHistory() {
        EditorFixture f;
        History& history = f.w.Document().Steps();
        f.LoadSolidTiles(3, 1);
        f.Save("FileSave", "bound.mqm");
        std::vector<MapSnapshot> states{MapOf(f.w)};
        for (int i = 0; i < 5; ++i) {
            DragStroke(f.w, i, 0, i, 1);
            states.push_back(MapOf(f.w));
        }
        const std::size_t five = history.Bytes();
        history.SetMemoryBound(five * 3 / 5 + 16); // room for three of the five strokes
        QCOMPARE(history.Count(), 3);
        for (int i = 0; i < 3; ++i)
            ChooseItem("EditUndo");
        QVERIFY(!history.CanUndo() && MapOf(f.w) == states[2] && f.w.isWindowModified());
        ChooseItem("EditRedo");
        QVERIFY(MapOf(f.w) == states[3]);

        history.SetMemoryBound(16);
        ChooseTool(f.w, Tool::Fill);
        Click(f.w, 8, 8); // fills 100 x 100 cells
        QVERIFY(!history.CanUndo() && f.w.Layer(0).Get(99, 99) && f.w.isWindowModified());
        QCOMPARE(f.w.Controls().lblStatus->text(), "Fill cannot be undone: too large for the history");
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
