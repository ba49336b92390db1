// One long random session of a restless user: real Qt events on the window's widgets, saves and reopening the
// saved file among them. After every event the editor's invariants hold and the map is the model's: undo and
// redo give back the map of the history point they reach as it was first reached; the modified mark follows
// the saved point; Map Properties and the layer buttons show the document. Now and then the cells are scanned
// and the map compared with a full redraw; the palette is after every event with the pointer over it. The
// run: MOSAICOR_SOAK_SEED, _EVENTS (long ones need QTEST_FUNCTION_TIMEOUT); MOSAICOR_SOAK_TRACE=1 logs.
#include "PngCorpus.h"
#include "PngCraft.h"
#include "UserSteps.h"
#include "document/MapSnapshotCheck.h"
#include "platform/ScrollBar.h"

#include <QDir>
#include <QLabel>
#include <QLoggingCategory>
#include <QPointer>
#include <QtTest>
#include <climits>
#include <map>
#include <random>

namespace {

#ifdef __SANITIZE_ADDRESS__ // the sanitizer's own checks slow every event down; optimised, a run takes ~25 s
constexpr long long kDefaultEvents = 50000;
#else
constexpr long long kDefaultEvents = 100000;
#endif

// The palette as its view would draw it now: what it shows, unless a change forgot to draw it again.
bool PaletteFresh(const frmMain& w) {
    const QImage& shown = w.Controls().canTiles->Buffer();
    QImage drawn(shown.size(), shown.format());
    PaletteView palette = w.Palette();
    Graphics g(drawn);
    palette.DrawTiles(g, w.Tileset(), w.Controls().canTiles->width());
    return drawn == shown;
}

bool Shows(const BevelButton* b, const clsVOIcon& icons, int i) { // the picture for its state
    return b->Icon() == (b->Value() ? icons.DownIcon(i) : icons.UpIcon(i));
}

enum Motion { Enter, Move, Press, Drag, Release, Lost, Dialog, Leave, Wheel, Click };
using Weights = std::vector<double>;

class Soak {
public:
    explicit Soak(std::uint32_t seed) : m_rng(seed) {
        Follow();
        m_model[0] = MapOf(w);
        Input::Leave(w.Controls().canTiles); // draws the palette, which no paint has drawn yet
    }

    // Checks the window as it opens, then sends count events: empty when every check held, else the problem
    // with the last events that led to it.
    QString Run(long long count) {
        for (long long n = -1; n < count; ++n) {
            QString problem = n < 0 ? QString() : Act(QStringLiteral("%1 ").arg(n));
            problem = problem.isEmpty() ? Check(n, n == count - 1) : problem;
            if (!problem.isEmpty())
                return QStringLiteral("#%1: %2\nlast events:\n  %3").arg(n).arg(problem, m_done.join("\n  "));
        }
        return {};
    }

private:
    EditorFixture f;
    frmMain& w = f.w;
    std::mt19937 m_rng;
    QStringList m_done;
    const bool m_trace = qEnvironmentVariableIntValue("MOSAICOR_SOAK_TRACE") == 1;
    std::uint64_t m_cellChanges = 0;  // cells the document announced changed
    QPointer<MapDocument> m_document; // the one whose signals are followed
    qint64 m_picture = 0;
    bool m_held = false; // the left button as the hand holds it; the canvas may have lost the stroke
    QPoint m_lastMap, m_lastPalette;
    const std::vector<PngCorpus::Entry>& m_corpus = PngCorpus::All();
    const std::array<ScrollBar*, 3> m_bars{w.Controls().scbMainHorizontal, w.Controls().scbMainVertical,
                                           w.Controls().scbTilesVertical};
    // The map at each history point of late, as it was when first reached; where the history stands, and
    // the point last saved or opened (-1: none the history can reach; kUnknown: not known since a stroke
    // under way met an undo or redo).
    static constexpr int kUnknown = -2;
    std::map<int, MapSnapshot> m_model;
    MapSnapshot m_pressed; // the map as the last press on it found it
    int m_index = 0, m_saved = 0;
    bool m_typed = false, m_undone = false, m_opened = false, m_lost = false, m_stroking = false;

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    int Pick(std::initializer_list<int> items) { return items.begin()[Uniform(0, int(items.size()) - 1)]; }
    int Among(const Weights& w) { return std::discrete_distribution<int>(w.begin(), w.end())(m_rng); }
    // Along a side of `size` pixels: mostly inside, often on or next to an edge, sometimes far away.
    int Coord(int size) {
        const int edge = Pick({0, 1, size - 2, size - 1, size, size + 1, -1, -2});
        return Chance(75) ? Uniform(0, std::max(size - 1, 0)) : Chance(70) ? edge : Uniform(-99999, 99999);
    }
    // Fine wheels and touchpads send less than a notch (120), fast ones more.
    int Angle() { return Chance(40) ? Pick({-240, -120, 0, 120, 240}) : Uniform(-60, 60); }

    // Follows the document shown. An open puts a new one in place, with signals of its own, and shows its
    // settings over whatever was typed; a settings change shows them again too.
    void Follow() {
        MapDocument* document = &w.Document();
        if (m_document.data() == document)
            return;
        m_document = document;
        m_typed = false;
        QObject::connect(document, &MapDocument::cellsChanged, [this] { ++m_cellChanges; });
        QObject::connect(document, &MapDocument::settingsChanged, [this] { m_typed = false; });
    }

    // Notes an event for the report (the last 20) and sends it.
    void Do(const QString& what, const std::function<void()>& action) {
        m_done = (m_done << what).mid(std::max(int(m_done.size()) - 19, 0));
        if (m_trace)
            qInfo().noquote() << what;
        action();
    }

    QString Act(const QString& n) {
        m_picture = w.Controls().canMain->Buffer().cacheKey(); // changes when, and only when, a Draw does
        m_undone = m_opened = false;
        m_stroking = m_held || m_lost;
        const QString file = QDir(f.temp.path()).filePath("soak.mqm");
        const int roll = m_held || m_lost ? 999 : Uniform(0, 999);
        if (roll < 4) { // the first save asks where, the later ones do not
            f.dialogs->saveAnswers = {FolderItem(file)};
            Do(n + "save", [] { ChooseItem("FileSave"); });
            m_saved =
                w.Controls().lblStatus->text() == "soak.mqm saved" ? w.Document().Steps().Index() : m_saved;
        } else if (roll < 6 && QFile::exists(file)) {
            f.dialogs->replies = {"Open Without It", "Open Without It", "Open Without It", "Open Without It"};
            if (w.isWindowModified())
                f.dialogs->replies.push_front("Discard");
            f.dialogs->answers = {FolderItem(file)};
            Do(n + "open", [] { ChooseItem("FileOpenMap"); });
            f.dialogs->replies.clear();
            Follow();
            m_opened = w.Document().Steps().Count() == 0; // a map opened has no history yet
        }
        return roll < 6 ? QString() : SendRandomEvent(n);
    }

    // The invariants after every event; the cells now and then; the map against the model; and against a
    // full composition now and then (after a Refresh when the event drew nothing).
    QString Check(long long n, bool last) {
        QString problem =
            w.Controls().btnTool[0]->Icon() ? Invariants(n < 0 || n % 200 == 199 || last) : "no icons";
        problem = problem.isEmpty() ? AgainstTheModel() : problem;
        if (problem.isEmpty() && n >= 0 && (n % 97 == 96 || last)) {
            if (w.Controls().canMain->Buffer().cacheKey() == m_picture)
                w.Refresh();
            const QImage shown = w.Controls().canMain->Buffer().copy();
            w.Controls().btnViewGrid->click();
            w.Controls().btnViewGrid->click();
            problem =
                shown == w.Controls().canMain->Buffer() ? problem : QStringLiteral("a stale map picture");
        }
        // Under the pointer, only changes draw the palette (a paint shows it as it is): each must draw it.
        if (problem.isEmpty() && w.Palette().canTilesHasFocus() && !PaletteFresh(w))
            problem = QStringLiteral("a stale palette");
        return problem;
    }

    QString AgainstTheModel() {
        const int now = w.Document().Steps().Index();
        if (m_opened) {
            m_model = {{now, MapOf(w)}};
            m_saved = now;
        } else if (m_undone && m_stroking) { // the stroke under way became a step first, or not: unknown
            m_model.clear();
            m_saved = kUnknown;
        } else if (m_undone) {
            if (const auto point = m_model.find(now); point != m_model.end() && !(MapOf(w) == point->second))
                return QStringLiteral("undo or redo to point %1 did not give its map back").arg(now);
        } else if (now > m_index) { // a new point, known unless a stroke's cells are still to be kept
            const MapSnapshot map = MapOf(w);
            m_model.erase(m_model.upper_bound(m_index), m_model.end());
            if (!w.Document().OpenEdit())
                m_model[now] = map;
            m_saved = m_saved > m_index ? -1 : m_saved; // the points after the last one are gone
            if (const QString broken = MapSnapshotCheck::Whole(map); !broken.isEmpty())
                return "the map could not be saved: " + broken;
            if (m_model.size() > 64)
                m_model.erase(m_model.begin());
        } else if (now != m_index) {
            return QStringLiteral("the history went from point %1 to %2 by itself").arg(m_index).arg(now);
        }
        m_index = now;
        if (m_saved != kUnknown && w.isWindowModified() != (now != m_saved))
            return "the modified mark";
        const MapSettingsValues& s = w.Document().Settings();
        if (!m_typed && (w.Controls().txtMapWidth->text().toInt() != s.mapWidth ||
                         w.Controls().txtWidth->text().toInt() != s.tileWidth ||
                         w.Controls().cboMapLayers->currentIndex() + 1 != s.layers ||
                         w.Controls().txtName->text() != s.name))
            return "the Map Properties page";
        for (int k = 0; k < 8; ++k)
            if (w.Controls().btnLayer[std::size_t(k)]->Value() != w.Document().LayerVisible(k))
                return "layer button " + QString::number(k);
        return {};
    }

    // Mostly painting, as in real use; else a tool, layer or grid button, an edit-layer row, Apply, a scroll
    // bar (thumb dragged, steps, pages, ends, a value set), a tileset, a window size, Undo or Redo, or a
    // region command (cut, copy, paste, delete, select all).
    QString SendRandomEvent(const QString& n) {
        const int kind = Among({700, 80, 73, 20, 20, 40, 10, 4, 20, 12, 20}), i = Uniform(0, 8),
                  b = Among({40, 25, 8});
        if (kind < 2 || kind == 6)
            return kind < 2 ? Mouse(n, kind == 0) : LoadTiles(n, Uniform(0, 99));
        BevelButton* button = std::array{w.Controls().btnTool[std::size_t(i)], w.Controls().btnLayer[i & 7],
                                         w.Controls().btnViewGrid}[b & 3];
        const QSize size(Uniform(300, 1300), Uniform(200, 900));
        const int row = i % std::max(w.Controls().cboEditLayer->count(), 1), way = Uniform(0, 7);
        Do(n + QString::asprintf("%d: %d %d %d %d %d", kind, b, i, way, size.width(), size.height()), [&] {
            kind == 2   ? button->click()
            : kind == 3 ? w.Controls().cboEditLayer->setCurrentIndex(row)
            : kind == 4 ? Apply()
            : kind == 5 ? Scroll(m_bars[i % 3], way)
            : kind == 7 ? w.resize(size)
            : kind < 10 ? ChooseItem(kind == 8 ? "EditUndo" : "EditRedo")
                        : ChooseItem(std::array{"EditCut", "EditCopy", "EditPaste", "EditClear",
                                                "EditSelectAll"}[std::size_t(i % 5)]);
        });
        m_undone = kind == 8 || kind == 9;
        return {};
    }

    QString Mouse(const QString& n, bool map) {
        Canvas* canvas = map ? w.Controls().canMain : w.Controls().canTiles;
        QPoint& last = map ? m_lastMap : m_lastPalette;
        // How often each act comes with the button up or held on the map, and on the palette (clicked there).
        static const Weights kUp{4, 8, 16, 2, 2, 0, 0, 3, 4, 0}, kHeld{1, 2, 2, 74, 12, 3, 1, 2, 3, 0},
            kPalette{10, 45, 0, 0, 0, 0, 0, 4, 12, 29};
        // A pointer off the canvas mostly comes in before it does anything.
        const bool off =
            !(map ? w.View().PointerOver() : w.Palette().canTilesHasFocus()) && (!map || !m_held);
        const int act = off && Chance(60) ? Enter : Among(!map ? kPalette : m_held ? kHeld : kUp);
        const int tw = std::min(w.View().TileWidthOrOne(), 2000),
                  th = std::min(w.View().TileHeightOrOne(), 2000);
        // Over a tile place of the palette; near the pointer, as a hand moves; or pressing where it is.
        QPoint at(Coord(canvas->width()), Coord(canvas->height()));
        if (!map && act == Move && Chance(70))
            at = QPoint(10 + Uniform(0, 3) * (tw + 10) + Uniform(0, tw),
                        10 + Uniform(0, 3) * (th + 10) + Uniform(0, th));
        else if ((act == Move || act == Drag) && ((act == Drag && m_held) || Chance(70)) && Chance(65))
            at = last + QPoint(Uniform(-3 * tw, 3 * tw), Uniform(-3 * th, 3 * th));
        else if ((act == Press || act == Release || act == Click) && Chance(70))
            at = last;
        last = act >= Move && act <= Release ? at : last;
        // Held: moves whose release went elsewhere, second presses, lost releases, a dialog mid-stroke.
        const std::function<void()> acts[] = {
            [&] { Input::Enter(canvas, at); },
            [&] { Input::Move(canvas, at); },
            [&] { Input::Press(canvas, at); },
            [&] { Input::Move(canvas, at, Qt::LeftButton); },
            [&] { Input::Release(canvas, at); },
            [] {},
            [] { ChooseItem("FileLoadTiles"); },
            [&] { Input::Leave(canvas); },
            [&] { Input::Wheel(canvas, at, QPoint(Chance(20) ? Angle() : 0, Angle())); },
            [&] { Input::Click(canvas, at); }};
        // A release lost on the way leaves the map with its stroke until the map sees the button up.
        m_lost =
            (m_lost || (m_held && act == Lost)) && !(map && (act == Release || act == Move || act == Click));
        m_held = act == Press || (m_held && act != Release && act != Lost && act != Dialog);
        const std::uint64_t was = m_cellChanges;
        const bool carrying = w.CurrentStroke().Dragging();
        const bool selecting = w.CurrentStroke().CurrentTool() == Tool::Select;
        m_pressed = map && act == Press && selecting && !carrying ? MapOf(w) : m_pressed;
        Do(n + QString::asprintf("%c%d at %d,%d", map ? 'm' : 'p', act, at.x(), at.y()), acts[act]);
        if (act != Move || m_cellChanges == was)
            return {};
        // Only a selection carried since the press may change cells here: its release went elsewhere, so the
        // cells go back where they were.
        const bool putBack = carrying && !w.CurrentStroke().Dragging() && MapOf(w) == m_pressed;
        return putBack ? QString() : QStringLiteral("a move with no button held drew");
    }

    // Fields typed and applied (now and then oddly, or as they are): an odd field may be refused and stay
    // typed, fields all in range must be applied.
    void Apply() {
        static const QStringList kOdd{"", "abc", "-5", "0", "1e9", "99999999999", " 12 ", "+7"};
        for (int k = Chance(85) ? 0 : 4; k < 4; ++k) {
            const bool odd = Chance(12);
            m_typed = (k > 0 && m_typed) || odd;
            std::array{w.Controls().txtWidth, w.Controls().txtHeight, w.Controls().txtMapWidth,
                       w.Controls().txtMapHeight}[std::size_t(k)]
                ->setText(odd ? kOdd[Uniform(0, 7)]
                              : QString::number(k < 2 ? Uniform(8, 64) : Uniform(1, 80)));
        }
        w.Controls().txtName->setText(QStringLiteral("map %1").arg(Uniform(0, 3)));
        w.Controls().cboMapLayers->setCurrentIndex(Uniform(0, w.Controls().cboMapLayers->count() - 1));
        w.Controls().btnApply->click();
    }

    void Scroll(ScrollBar* bar, int way) {
        const int v = Chance(10) ? Pick({-99999, 99999, INT_MIN, INT_MAX}) : Uniform(-3, bar->Maximum() + 3);
        bar->setSliderDown(way == 0);
        way == 0  ? bar->setSliderPosition(v)
        : way < 7 ? bar->triggerAction(QAbstractSlider::SliderAction(way))
                  : bar->setValue(v);
        bar->setSliderDown(false);
    }

    // Whole tiles or many, often with a remainder, in colours some see-through; or a file of the corpus.
    QString LoadTiles(const QString& n, int kind) {
        QImage blocks(4, 4, QImage::Format_ARGB32);
        for (int i = 0; i < 16; ++i)
            blocks.setPixel(i % 4, i / 4, QRgb(Uniform(0, 0xFFFFFF)) | QRgb(Pick({0, 128, 255})) << 24);
        const int most = kind < 80 ? 4 : 32, rest = Chance(30);
        auto side = [&](int t) { return std::min(Uniform(0, most) * t + rest * Uniform(0, t - 1), 256); };
        const QImage sheet = blocks.scaled(side(w.View().TileWidthOrOne()), side(w.View().TileHeightOrOne()));
        const QByteArray& other = m_corpus[std::size_t(Uniform(0, int(m_corpus.size()) - 1))].bytes;
        const QString path = f.temp.filePath(QStringLiteral("sheet%1.png").arg(kind % 4));
        if (!PngCraft::Write(path, kind < 90 || other.size() > 4096 ? PngCraft::QtPng(sheet) : other))
            return QStringLiteral("cannot write ") + path;
        if (kind >= 3) // else the dialog is cancelled
            f.dialogs->answers.push_back(FolderItem(kind < 98 ? path : path + "-none"));
        Do(n + QString::asprintf("load tiles %d", kind), [&] { w.FileLoadTiles_Action(); });
        f.dialogs->answers.clear();
        return {};
    }

    QString Invariants(bool scanCells) const {
        const int layers = w.Layers(), tool = ToolIndex(w.CurrentStroke().CurrentTool()),
                  tiles = w.Tileset().Count();
        QString p;
        auto need = [&](bool b, auto... format) { p = b || p.size() ? p : QString::asprintf(format...); };
        int pressed = 0;
        for (int k = 0; k < 8; ++k) { // layers in disuse are 1 x 1 and empty, their buttons disabled and up
            const LayerGrid& g = w.Layer(k);
            const BevelButton* l = w.Controls().btnLayer[std::size_t(k)];
            const bool used = k < layers;
            need(g.SizedTo(used ? w.MapWidth() : 1, used ? w.MapHeight() : 1) && (used || !g.Get(0, 0)) &&
                     l->isEnabled() == used && (used || !l->Value()),
                 "layer %d or its button", k);
            need(Shows(l, w.LayerIcons(), k), "layer picture %d", k);
        }
        for (int k = 0; k < kToolCount; ++k) { // one tool down, each with its state's picture
            const BevelButton* t = w.Controls().btnTool[std::size_t(k)];
            pressed += t->Value() ? 1 : 0;
            need(Shows(t, w.ToolIcons(), k), "tool picture %d", k);
        }
        need(pressed == 1 && unsigned(tool) < kToolCount &&
                 w.Controls().btnTool[std::size_t(tool) % kToolCount]->Value(),
             "tool %d", tool);
        need(layers >= 1 && layers <= 8 && w.Controls().cboEditLayer->count() == layers &&
                 w.EditLayerNumber() >= 0 && w.EditLayerNumber() < layers &&
                 w.Controls().cboEditLayer->currentText() == QString::number(w.EditLayerNumber()),
             "%d layers, edit layer %d, %d popup rows", layers, w.EditLayerNumber(),
             w.Controls().cboEditLayer->count());
        const int offsets[] = {w.View().OffsetX(), w.View().OffsetY(), w.Palette().TilesOffsetY()};
        for (int i = 0; i < 3; ++i) // a slider keeps its value within its range
            need(offsets[i] == m_bars[i]->Value() && offsets[i] >= 0, "offset %d", i);
        need(w.Controls().btnViewGrid->Value() == w.View().DrawsGrid() &&
                 w.CurrentStroke().FillSpans().empty() && tiles <= clsVOTileset::kMaxTiles,
             "grid button, %d in the fill's list or %d tiles", int(w.CurrentStroke().FillSpans().size()),
             tiles);
        // A cell reads its layer and the pixel position of its place, and a tile number a tileset can have:
        // a piece pasted after an open may bring tiles this tileset lacks, which show empty.
        const int tw = w.Document().TileWidth(), th = w.Document().TileHeight();
        for (int k = 0; scanCells && k < layers; ++k)
            for (const auto& [c, r] : Occupied(w.Layer(k))) {
                const PlacedCell e = w.Layer(k).At(c, r);
                const int i = e->ImageIndex();
                need(e->ZOrder() == k && e->X() == c * tw && e->Y() == r * th && i >= 0 &&
                         i < clsVOTileset::kMaxTiles,
                     "cell %d,%d of %d", c, r, k);
            }
        return p;
    }
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void randomEventsKeepTheEditorConsistent() {
        // Damaged tileset files are loaded on purpose; Qt's notes about each one would only bury the result.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.info=false"));
        const std::uint32_t seed = qEnvironmentVariable("MOSAICOR_SOAK_SEED", "20240611").toUInt();
        const long long events = qEnvironmentVariable("MOSAICOR_SOAK_EVENTS").toLongLong();
        const QString failure = Soak(seed).Run(events > 0 ? events : kDefaultEvents);
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1, ").arg(seed) + failure));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
