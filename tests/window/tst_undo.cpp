// Undo and redo as a user reaches them, against a model: a seeded random run of user steps (strokes of every
// tool, fills, Apply growing and shrinking the map and changing its tile size, layers and name, tileset
// loads, layers shown and hidden, saves) with undos and redos mixed in. After each, the map must equal the
// model's snapshot of that point in every field of every cell, the modified mark must follow the saved
// point, and the picture must equal a full redraw. And the history's memory bound.
#include "RandomSession.h"
#include "UserSteps.h"
#include "app/mnuMain.h"
#include "document/CellRecords.h"
#include "document/MapSnapshotCheck.h"
#include "document/SnapshotGatherer.h"
#include "platform/ScrollBar.h"
#include "tiles/CellGameValues.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QtTest>
#include <map>
#include <random>

namespace {

void Choose(const char* item) {
    mnuMain::Instance()->Item(QLatin1String(item))->trigger();
}

MapSnapshot Map(const frmMain& w) {
    return TakeSnapshot(w.Document(), QString());
}

// The model's cells: a plain copy of every field of every stored cell, its place and layer included, by
// layer and index. Nothing in it is shared.
using Cells = std::map<std::pair<int, std::uint32_t>, CellRecord>;

Cells AllCells(const frmMain& w) {
    Cells cells;
    for (int k = 0; k < 8; ++k) {
        const LayerGrid& grid = w.Layer(k);
        for (std::uint32_t i = 0; i < grid.Count(); ++i)
            if (grid.AtIndex(i))
                cells[{k, i}] = RecordOf(grid.At(int(i) % grid.Width(), int(i) / grid.Width()));
    }
    return cells;
}

GameValues GameOf(const CellRecord& r) {
    return GameValues{r.passable,  r.destroyable, r.width,   r.height,
                      r.listIndex, r.imageValue,  r.custom1, r.custom2};
}

void SetGame(CellRecord& r, const GameValues& v) {
    r.passable = v.passable, r.destroyable = v.destroyable, r.width = v.width, r.height = v.height;
    r.listIndex = v.listIndex, r.imageValue = v.imageValue, r.custom1 = v.custom1, r.custom2 = v.custom2;
}

class UndoSession : public RandomSession {
public:
    explicit UndoSession(std::uint32_t seed) : RandomSession(seed) {
        f.LoadSolidTiles(5, 1);
        m_model = {Map(w)};
        m_cells = {AllCells(w)};
    }

private:
    std::vector<MapSnapshot> m_model;
    std::vector<Cells> m_cells;
    std::size_t m_at = 0;
    int m_savedAt = -1; // the model point last saved, -1 when none is

    // One user step: a stroke of any tool, Apply, a load, a layer shown or hidden, or a fill.
    void Step() {
        const int kind = Uniform(0, 19);
        if (kind < 9) {
            ChooseEditLayer(w, Uniform(0, w.Layers() - 1));
            ChooseTool(w, Uniform(0, 7));
            if (Uniform(0, 5) == 0)
                Deselect(w);
            else
                f.PickTile(Uniform(0, w.Tileset().Count() - 1));
            const int cols = w.m_intTilemapVisibleColumns, rows = w.m_intTilemapVisibleRows;
            Stroke stroke(w, Uniform(0, cols), Uniform(0, rows));
            for (int i = Uniform(0, 3); i > 0; --i)
                stroke.DragTo(Uniform(-1, cols), Uniform(-1, rows));
            stroke.Release();
            Input::Leave(w.canMain);
        } else if (kind < 12) {
            const QString tile =
                QString::number(Uniform(0, 3) ? w.Document().TileWidth() : Uniform(1, 3) * 16);
            w.txtName->setText(QStringLiteral("map %1").arg(Uniform(0, 3)));
            Apply(w, QString::number(Uniform(1, 8)), tile, tile, QString::number(Uniform(1, 40)),
                  QString::number(Uniform(1, 40)));
        } else if (kind < 14) {
            f.LoadSolidTiles(Uniform(1, 3), -1);
        } else if (kind < 17) {
            w.btnLayer[std::size_t(Uniform(0, 7))]->click();
        } else {
            ChooseTool(w, 7); // a fill over whatever is there
            f.PickTile(Uniform(0, w.Tileset().Count() - 1));
            Click(w, Uniform(0, 10), Uniform(0, 10));
            Input::Leave(w.canMain);
        }
    }

    // Tile or Cell Properties through a right click and the dialog. Returns the cells the model expects,
    // worked out from its own copies: a tile's new values reach, with the option, the cells whose values
    // all equal the tile's old ones; a cell's reach that cell alone.
    Cells PropertiesStep() {
        Cells expected = m_cells[m_at];
        GameValues wanted;
        wanted.passable = Uniform(0, 1);
        wanted.listIndex = std::int16_t(Uniform(0, 2));
        wanted.custom1 = Uniform(0, 1) ? QStringLiteral("door") : QString();
        const bool option = Uniform(0, 1);
        std::vector<GameValues> old;
        for (int t = 0; t < w.Tileset().Count(); ++t)
            old.push_back(GameValuesOf(w.Tileset().GetTile(t)->Template()));
        const bool tile = Uniform(0, 1);
        f.dialogs->menuReplies.push_back(tile ? QStringLiteral("Tile Properties\u2026")
                                              : QStringLiteral("Cell Properties\u2026"));
        f.dialogs->propertyEdits.push_back([=](const PropertiesRequest&) {
            return std::optional(PropertiesAnswer{wanted, option});
        });
        const int edit = w.m_Layer;
        const int c = Uniform(0, 5), r = Uniform(0, 5);
        const int column = c + w.m_intMapOffsetX, row = r + w.m_intMapOffsetY;
        RightClick(tile ? w.canTiles : w.canMain, tile ? PaletteTile(w, Uniform(0, 2)) : CellMiddle(w, c, r));
        Input::Leave(tile ? w.canTiles : w.canMain);
        const bool asked = f.dialogs->propertyEdits.empty();
        f.dialogs->propertyEdits.clear();
        f.dialogs->menuReplies.clear();
        if (!asked)
            return expected;
        if (!tile) {
            SetGame(expected.at({edit, std::uint32_t(row * w.MapWidth() + column)}), wanted);
            return expected;
        }
        const int t = f.dialogs->propertyRequests.back().Facts.at(0).second.toInt();
        for (auto& [at, cell] : expected)
            if (option && cell.imageIndex == t && GameOf(cell) == old.at(std::size_t(t)))
                SetGame(cell, wanted);
        return expected;
    }

    // Opens the file last saved: every field of every cell as it was saved, with a new history. (Its tiles
    // may differ: later loads write their images under the same name.)
    void OpenSaved() {
        if (w.isWindowModified())
            f.dialogs->replies.push_back(QStringLiteral("Discard"));
        for (int i = 0; i < 8; ++i)
            f.dialogs->replies.push_back(QStringLiteral("Open Without It"));
        f.dialogs->answers.push_back(FolderItem(QDir(f.temp.path()).filePath("run.mqm")));
        Choose("FileOpenMap");
        f.dialogs->replies.clear();
        m_model = {Map(w)};
        m_cells = {m_cells[std::size_t(m_savedAt)]};
        m_at = 0;
        m_savedAt = 0;
    }

    QString Check(long long, bool) override {
        if (AllCells(w) != m_cells[m_at])
            return "a cell is not the model's";
        if (const QString broken = MapSnapshotCheck::Whole(Map(w)); !broken.isEmpty())
            return "the map could not be saved: " + broken;
        if (!(Map(w) == m_model[m_at]))
            return "the map is not the model's";
        if (w.isWindowModified() != (int(m_at) != m_savedAt))
            return "the modified mark";
        const MapSettingsValues& s = w.Document().Settings();
        if (w.txtMapWidth->text().toInt() != s.mapWidth || w.txtWidth->text().toInt() != s.tileWidth ||
            w.cboMapLayers->currentIndex() + 1 != s.layers || w.txtName->text() != s.name)
            return "the Map Properties page";
        for (int k = 0; k < 8; ++k)
            if (w.btnLayer[std::size_t(k)]->Value() != w.Document().LayerVisible(k))
                return "layer button " + QString::number(k);
        return StalePicture();
    }

    // A user action that changes the map is one step of the history, whose cells the model expected; one that
    // changes nothing is none.
    QString Stepped(int before, Cells expected) {
        const int now = w.Document().Steps().Index();
        if (now == before + 1) {
            m_model.resize(++m_at);
            m_model.push_back(Map(w));
            m_cells.resize(m_at);
            m_cells.push_back(std::move(expected));
            m_savedAt = m_savedAt >= int(m_at) ? -1 : m_savedAt;
        } else if (now != before || expected != m_cells[m_at]) {
            return QStringLiteral("the history moved by %1 steps, the model's cells by one")
                .arg(now - before);
        }
        return {};
    }

    QString Act(long long n) override {
        const int roll = Uniform(0, 9), before = w.Document().Steps().Index();
        const QString saved = QDir(f.temp.path()).filePath("run.mqm"), number = QString::number(n) + ' ';
        if (roll < 2 && m_at > 0)
            return Do(number + "undo", [&] { Choose("EditUndo"); }), --m_at, QString();
        if (roll < 4 && m_at + 1 < m_model.size())
            return Do(number + "redo", [&] { Choose("EditRedo"); }), ++m_at, QString();
        if (roll < 5) {
            f.dialogs->saveAnswers.push_back(FolderItem(saved));
            return Do(number + "save", [&] { Choose("FileSave"); }), m_savedAt = int(m_at), QString();
        }
        if (roll == 5 && m_savedAt >= 0 && Uniform(0, 3) == 0)
            return Do(number + "open", [&] { OpenSaved(); }), QString();
        Cells expected;
        if (roll == 5)
            Do(number + "properties", [&] { expected = PropertiesStep(); });
        else
            Do(number + "step", [&] { Step(), expected = AllCells(w); });
        return Stepped(before, std::move(expected));
    }
};

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void randomStepsAgainstAModel() {
        for (std::uint32_t seed : {11u, 12u, 13u}) {
            const QString failure = UndoSession(seed).Run(120);
            QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1, ").arg(seed) + failure));
        }
    }

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
        other.custom1 = QStringLiteral("gone");
        w.Document().SetTileProperties(1, other, false);
        w.Document().SetTileProperties(1, plain, false);
        QVERIFY(w.Layer(0).Record(1, 1).get() != &w.Tileset().GetTile(1)->Template());
        f.dialogs->saveAnswers.push_back(FolderItem(QDir(f.temp.path()).filePath("same.mqm")));
        Choose("FileSave");
        const int steps = history.Count();
        const MapSnapshot before = Map(w);
        DragStroke(w, 1, 1, 6, 1);
        ChooseTool(w, 1);
        DragStroke(w, 1, 5, 6, 5);
        ChooseTool(w, 7);
        Click(w, 3, 1);
        QCOMPARE(Say(history.Count(), w.isWindowModified(), Map(w) == before), Say(steps, false, true));
        // Made modified by a real change, the mark stays when nothing more changes.
        ChooseTool(w, 0);
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
        f.dialogs->saveAnswers.push_back(FolderItem(QDir(f.temp.path()).filePath("bound.mqm")));
        mnuMain::Instance()->Item("FileSave")->trigger();
        std::vector<MapSnapshot> states{Map(w)};
        for (int i = 0; i < 5; ++i) {
            DragStroke(w, i, 0, i, 1);
            states.push_back(Map(w));
        }
        const std::size_t five = history.Bytes();
        history.SetMemoryBound(five * 3 / 5 + 16); // room for three of the five strokes
        QCOMPARE(history.Count(), 3);
        for (int i = 0; i < 3; ++i)
            Choose("EditUndo");
        QVERIFY(!history.CanUndo() && Map(w) == states[2] && w.isWindowModified());
        Choose("EditRedo");
        QVERIFY(Map(w) == states[3]);

        history.SetMemoryBound(16);
        ChooseTool(w, 7);
        Click(w, 8, 8); // fills 100 x 100 cells
        QVERIFY(!history.CanUndo() && w.Layer(0).Get(99, 99) && w.isWindowModified());
        QCOMPARE(w.lblStatus->text(), "Fill cannot be undone: too large for the history");
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
