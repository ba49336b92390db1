// Cell records and their shared texts: a record made like another shares its texts when they are the same,
// checked step by step against cells that keep plain copies; the table holds exactly one counted entry per
// distinct set of shared texts; a fill shares its tile's record; and no stored record can be written but
// through the document's edit.
#include "UserSteps.h"
#include "tiles/CellPool.h"
#include "tiles/clsVOCell.h"

#include <QtTest>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <type_traits>

namespace {

// A record, once made, cannot be changed: it has no setters, cannot be assigned or copied into, and every
// reference to it (a CellRef, a tile's template, a grid's slot as readers see it) is const. The document
// hands out its grids as const; only its edit and the history's steps reach the slots.
static_assert(!std::is_assignable_v<clsVOCell&, const clsVOCell&> &&
              !std::is_copy_constructible_v<clsVOCell>);
static_assert(std::is_same_v<decltype(std::declval<const CellRef&>().operator->()), const clsVOCell*>);
static_assert(std::is_same_v<decltype(*std::declval<const CellRef&>()), const clsVOCell&>);
template <class T>
concept SetsPassable = requires(T& t) {
    t.SetPassable(true);
};
template <class T>
concept SetsText = requires(T& t) {
    t.SetCustom1(QString());
};
template <class G>
concept PutsRecords = requires(G& g) {
    g.Put(0u, CellRef());
};
template <class G>
concept ReachesSlots = requires(G& g) {
    g.Slot(0u);
};
template <class D>
concept ReachesGrids = requires(D& d) {
    d.m_layers;
};
static_assert(!SetsPassable<clsVOCell> && !SetsText<clsVOCell> && !SetsPassable<clsVOTile>);
static_assert(std::is_same_v<decltype(std::declval<const clsVOTile&>().Cell()), const CellRef&>);
static_assert(std::is_same_v<decltype(std::declval<MapDocument&>().Layer(0)), const LayerGrid&>);
static_assert(PutsRecords<LayerGrid> && !PutsRecords<const LayerGrid>);
static_assert(!ReachesSlots<LayerGrid> && !ReachesGrids<MapDocument>);

struct ModelCell {
    QString custom1;
    QString custom2;
    int listIndex = 0;
};

// Fills the whole edit layer from (0, 0) with tile 0, its Custom 1 set to text, on a fresh side x side map;
// returns the slabs and text entries the fill added.
std::pair<qint64, qint64> FillCost(const QString& text, int side) {
    EditorFixture f;
    frmMain& w = f.window();
    Apply(w, "1", "16", "16", QString::number(side), QString::number(side));
    f.LoadSolidTiles(2, 0);
    ChangeTemplate(w, 0, [&text](GameValues& values) { values.custom1 = text; });
    ChooseEditLayer(w, 0);
    ChooseTool(w, Tool::Fill);
    const qint64 slabs = qint64(CellPool::SlabCount()), entries = qint64(SharedTexts::EntryCount());
    Click(w, 0, 0);
    const LayerGrid& grid = w.Layer(0);
    if (!grid.At(side - 1, side - 1) || grid.At(side - 1, side - 1)->Custom1() != text)
        return {-1, -1};
    return {qint64(CellPool::SlabCount()) - slabs, qint64(SharedTexts::EntryCount()) - entries};
}

} // namespace

class TestCells : public QObject {
    Q_OBJECT
private slots:
    // Random copies, text changes (from literals and from other cells' texts, their own included) and drops
    // on a handful of cells, against plain values: after every step each cell reads its model's texts, and
    // the table holds one entry per distinct handle in use, counting exactly the cells that use it.
    void sharedTextsFollowAModel_data() {
        QTest::addColumn<std::uint32_t>("seed");
        for (std::uint32_t seed = 1; seed <= 6; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void sharedTextsFollowAModel() {
        QFETCH(std::uint32_t, seed);
        const std::size_t entriesBefore = SharedTexts::EntryCount();
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        const QStringList texts{QString(), QStringLiteral("a"), QStringLiteral("b"),
                                QString(300, QChar(0x263A))};
        constexpr int kCells = 10;
        std::vector<CellRef> cells(kCells);
        std::vector<std::optional<ModelCell>> model(kCells);
        // A record like cells[i]'s with one value changed.
        const auto with = [&](int i, auto&& change) {
            GameValues values = cells[i]->Values().game;
            change(values);
            cells[i] = CellRef::Make(*cells[i], values);
        };
        for (int step = 0; step < 3000; ++step) {
            const int i = pick(kCells), j = pick(kCells);
            const bool first = pick(2) == 0;
            switch (pick(6)) {
            case 0:
                cells[i] = CellRef::Make();
                model[i] = ModelCell();
                break;
            case 1:
                cells[i] = cells[j];
                model[i] = model[j];
                break;
            case 2:
                cells[i] = nullptr;
                model[i].reset();
                break;
            case 3:
                if (cells[i]) {
                    const QString text = texts[pick(int(texts.size()))];
                    with(i, [&](GameValues& v) { (first ? v.custom1 : v.custom2) = text; });
                    (first ? model[i]->custom1 : model[i]->custom2) = text;
                }
                break;
            case 4:
                // A text taken from a cell that may share the entry being changed, or be the cell itself.
                if (cells[i] && cells[j]) {
                    const QString wanted = pick(2) ? model[j]->custom1 : model[j]->custom2;
                    const QString& from =
                        wanted == model[j]->custom1 ? cells[j]->Custom1() : cells[j]->Custom2();
                    with(i, [&](GameValues& v) { (first ? v.custom1 : v.custom2) = from; });
                    (first ? model[i]->custom1 : model[i]->custom2) = wanted;
                }
                break;
            default:
                if (cells[i]) {
                    with(i, [&](GameValues& v) { v.listIndex = std::int16_t(step); });
                    model[i]->listIndex = step;
                }
                break;
            }
            // Users of an entry are the records holding it, however many cells share a record.
            std::map<SharedTexts::Handle, std::uint32_t> users;
            std::set<const clsVOCell*> records;
            for (int k = 0; k < kCells; ++k) {
                QCOMPARE(bool(cells[k]), model[k].has_value());
                if (!cells[k])
                    continue;
                QCOMPARE(Say(cells[k]->Custom1(), cells[k]->Custom2(), cells[k]->ListIndex()),
                         Say(model[k]->custom1, model[k]->custom2, std::int16_t(model[k]->listIndex)));
                // No entry is kept for two empty texts.
                QCOMPARE(cells[k]->TextsHandle() == SharedTexts::kNone,
                         model[k]->custom1.isEmpty() && model[k]->custom2.isEmpty());
                if (cells[k]->TextsHandle() != SharedTexts::kNone && records.insert(cells[k].get()).second)
                    ++users[cells[k]->TextsHandle()];
            }
            QCOMPARE(SharedTexts::EntryCount(), entriesBefore + users.size());
            for (const auto& [handle, count] : users)
                QCOMPARE(SharedTexts::Users(handle), count);
        }
        cells.clear();
        QCOMPARE(SharedTexts::EntryCount(), entriesBefore);
    }

    // A flood fill of a whole map shares its tile's record, texts and all: it takes no slab and no text
    // entry, whether the tile has a text or not.
    void fillSharesTheTileRecord() {
        constexpr int kSide = 700;
        QCOMPARE(Say(FillCost(QString(), kSide).first, FillCost(QString(), kSide).second), "0 0");
        const auto [slabs, entries] = FillCost(QStringLiteral("spawn point"), kSide);
        QCOMPARE(Say(slabs, entries), "0 0");
    }
};

QTEST_MAIN(TestCells)
#include "tst_cells.moc"
