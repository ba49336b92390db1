// Cell records and their shared texts: a record made like another shares its texts when they are the same,
// checked step by step against cells that keep plain copies; the table holds exactly one counted entry per
// distinct set of shared texts; and no stored record can be written but through the document's edit.
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
// Each on one line: this clang-format spreads a requires-expression over three.
// clang-format off
template <class T> concept SetsValues =
    requires(T& t) { t.SetPassable(true); } || requires(T& t) { t.SetCustom1(QString()); };
template <class G> concept PutsRecords = requires(G& g) { g.Put(0u, CellRef()); };
template <class G> concept ReachesSlots = requires(G& g) { g.Slot(0u); } || requires(G& g) { g.m_layers; };
// clang-format on
static_assert(!SetsValues<clsVOCell> && !SetsValues<clsVOTile>);
static_assert(std::is_same_v<decltype(std::declval<const clsVOTile&>().Cell()), const CellRef&>);
static_assert(std::is_same_v<decltype(std::declval<MapDocument&>().Layer(0)), const LayerGrid&>);
static_assert(PutsRecords<LayerGrid> && !PutsRecords<const LayerGrid>);
static_assert(!ReachesSlots<LayerGrid> && !ReachesSlots<MapDocument>);

} // namespace

class TestCells : public QObject {
    Q_OBJECT
private slots:
    // Random copies, text changes (from literals and from other cells' texts, their own included) and drops
    // on a handful of cells, against plain values: after every step each cell reads its model's texts, and
    // the table holds one entry per distinct handle in use, counting exactly the cells that use it.
    void sharedTextsFollowAModel() {
        const std::size_t entriesBefore = SharedTexts::EntryCount();
        std::mt19937 rng;
        const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
        const QStringList texts{QString(), QStringLiteral("a"), QStringLiteral("b"),
                                QString(300, QChar(0x263A))};
        constexpr int kCells = 10;
        std::vector<CellRef> cells(kCells);
        std::vector<std::optional<GameValues>> model(kCells);
        // The model's values changed, then a record like cells[i]'s made with the same change.
        const auto with = [&](int i, auto&& change) {
            change(*model[i]);
            GameValues values = cells[i]->Values().game;
            change(values);
            cells[i] = CellRef::Make(*cells[i], values);
        };
        for (int step = 0; step < 6 * 3000; ++step) {
            if (step % 3000 == 0) // six runs from empty cells, seeded 1 to 6
                rng.seed(std::uint32_t(step / 3000 + 1)), cells.assign(kCells, {}), model.assign(kCells, {});
            const int i = pick(kCells), j = pick(kCells);
            const bool first = pick(2) == 0;
            switch (pick(5)) {
            case 0:
                cells[i] = CellRef::Make(), model[i] = GameValues();
                break;
            case 1:
                cells[i] = cells[j], model[i] = model[j];
                break;
            case 2:
                cells[i] = nullptr, model[i].reset();
                break;
            case 3: // a text from the list, or from a cell that may share the entry changed, or be the cell
                if (cells[i] && cells[j]) {
                    const int source = pick(3); // the list, or cell j's first or second text
                    const QString& text = source == 0   ? texts[pick(4)]
                                          : source == 1 ? cells[j]->Custom1()
                                                        : cells[j]->Custom2();
                    with(i, [&](GameValues& v) { (first ? v.custom1 : v.custom2) = text; });
                }
                break;
            default: // a number or a flag, which a later text change must carry over
                if (const int field = pick(4); cells[i])
                    with(i, [&](GameValues& v) {
                        std::int16_t* numbers[] = {&v.width, &v.height, &v.listIndex, &v.imageValue};
                        *numbers[field] = std::int16_t(step);
                        (first ? v.passable : v.destroyable) ^= true;
                    });
                break;
            }
            // Users of an entry are the records holding it, however many cells share a record.
            std::map<SharedTexts::Handle, std::uint32_t> users;
            std::set<const clsVOCell*> records;
            for (int k = 0; k < kCells; ++k) {
                QCOMPARE(bool(cells[k]), model[k].has_value());
                if (!cells[k])
                    continue;
                QVERIFY2(cells[k]->Values().game == *model[k], qPrintable(Say(step, k)));
                // No entry is kept for two empty texts.
                QCOMPARE(cells[k]->TextsHandle() == SharedTexts::kNone,
                         model[k]->custom1.isEmpty() && model[k]->custom2.isEmpty());
                if (cells[k]->TextsHandle() != SharedTexts::kNone && records.insert(cells[k].get()).second)
                    ++users[cells[k]->TextsHandle()];
            }
            QCOMPARE(SharedTexts::EntryCount(), entriesBefore + users.size());
            // Records and values compare alike exactly when their models do.
            for (int k = 0; k < kCells * kCells; ++k)
                if (const auto& a = model[k % kCells], &b = model[k / kCells]; a && b)
                    QVERIFY(cells[k % kCells]->SameValues(*cells[k / kCells]) == (*a == *b) &&
                            DifferingGameValues(*a, *b).isEmpty() == (*a == *b));
            for (const auto& [handle, count] : users)
                QCOMPARE(SharedTexts::Users(handle), count);
        }
    }

    // Records let go give their memory back: once the slabs they filled are empty, the pool is its old size.
    void freedRecordsGiveTheirSlabsBack() {
        const std::size_t before = CellPool::SlabCount();
        std::vector<CellRef> cells(3 * CellPool::kSlabSize / CellPool::kSlotSize);
        for (CellRef& cell : cells)
            cell = CellRef::Make();
        QVERIFY(CellPool::SlabCount() >= before + 3);
        cells.clear();
        QCOMPARE(CellPool::SlabCount(), before);
    }
};

QTEST_MAIN(TestCells)
#include "tst_cells.moc"
