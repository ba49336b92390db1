// Long work shows that it works: the wait cursor while it runs, its progress where it can be measured, and a
// cancel that leaves the map as it was. Driven through real events with the progress dialog scripted.
#include "UserSteps.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

class TestLongWork : public QObject {
    Q_OBJECT
private slots:
    void cancelledWorkLeavesTheMap_data() {
        QTest::addColumn<QString>("work");
        QTest::addColumn<long long>("cancelAfter"); // -1: runs to its end
        for (const char* work : {"fill", "apply", "load"})
            for (const long long after : {-1LL, 0LL, 1LL})
                QTest::addRow("%s, cancel after %lld", work, after) << QString(work) << after;
    }

    // A fill over a map of more than a million cells, Apply that makes large grids, and a tileset load report
    // their progress under the wait cursor; cancelled at any point, the map and the tileset are as before and
    // the history has no new step. Afterwards the ordinary cursor is back.
    void cancelledWorkLeavesTheMap() {
        QFETCH(QString, work);
        QFETCH(long long, cancelAfter);
        QList<int> cursors; // at each update of the progress (none: no progress shown); outlives the window
        EditorFixture f;
        Apply(f.w, "2", "32", "32", "1100", "1000");
        f.LoadSolidTiles(2, 1);
        Put(f.w, 0, 5, 5, 0);
        ChooseTool(f.w, Tool::Fill);
        f.dialogs->whileWorking = [&cursors] {
            cursors.append(QApplication::overrideCursor() ? int(QApplication::overrideCursor()->shape())
                                                          : -1);
        };
        f.dialogs->cancelWorkAfter = cancelAfter;
        const int steps = f.w.Document().Steps().Count(), tiles = f.w.Tileset().Count();
        if (work == "fill") {
            Click(f.w, 1, 1);
            QCOMPARE(Occupied(f.w.Layer(0)).size(), std::size_t(cancelAfter < 0 ? 1100 * 1000 : 1));
        } else if (work == "apply") {
            Apply(f.w, "2", "32", "32", "2900", "2900"); // two grids of 8.4 million cells
            QCOMPARE(Say(f.w.MapWidth(), f.w.MapHeight(), Describe(Occupied(f.w.Layer(0)))),
                     cancelAfter < 0 ? "2900 2900 (5,5)" : "1100 1000 (5,5)");
        } else {
            f.LoadTiles("large.png", MakeTileSheet(32 * 8, 32 * 8, 32, 32));
            QCOMPARE(Say(f.w.Tileset().Count() - tiles, f.w.Controls().lblStatus->text()),
                     cancelAfter < 0 ? "64 large.png loaded" : "0 large.png not loaded: cancelled");
        }
        QCOMPARE(f.w.Document().Steps().Count(), cancelAfter < 0 ? steps + 1 : steps);
        QVERIFY2(!cursors.isEmpty() && cursors.count(int(Qt::WaitCursor)) == cursors.size(),
                 qPrintable(Say(cursors.size(), cursors.value(0, -2))));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestLongWork)
#include "tst_longwork.moc"
