// Cell records and their shared texts: a copy shares its source's texts and a change gives the changed cell
// texts of its own, checked step by step against cells that keep plain copies; the table holds exactly one
// counted entry per distinct set of shared texts; and a fill from a tile with a text takes no more memory
// than one without.
#include "UserSteps.h"
#include "tiles/CellPool.h"
#include "tiles/clsVOCell.h"

#include <QtTest>
#include <map>
#include <optional>
#include <random>

namespace {

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
    w.Tileset().GetTile(0)->SetCustom1(text);
    ChooseEditLayer(w, 0);
    ChooseTool(w, 7);
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
        for (int step = 0; step < 3000; ++step) {
            const int i = pick(kCells), j = pick(kCells);
            const bool first = pick(2) == 0;
            switch (pick(6)) {
            case 0:
                cells[i] = CellRef::Make();
                model[i] = ModelCell();
                break;
            case 1:
                cells[i] = cells[j] ? cells[j]->Copy() : nullptr;
                model[i] = model[j];
                break;
            case 2:
                cells[i] = nullptr;
                model[i].reset();
                break;
            case 3:
                if (cells[i]) {
                    const QString text = texts[pick(int(texts.size()))];
                    first ? cells[i]->SetCustom1(text) : cells[i]->SetCustom2(text);
                    (first ? model[i]->custom1 : model[i]->custom2) = text;
                }
                break;
            case 4:
                // A text taken from a cell that may share the entry being changed, or be the cell itself.
                if (cells[i] && cells[j]) {
                    const QString wanted = pick(2) ? model[j]->custom1 : model[j]->custom2;
                    const QString& from =
                        wanted == model[j]->custom1 ? cells[j]->Custom1() : cells[j]->Custom2();
                    first ? cells[i]->SetCustom1(from) : cells[i]->SetCustom2(from);
                    (first ? model[i]->custom1 : model[i]->custom2) = wanted;
                }
                break;
            default:
                if (cells[i]) {
                    cells[i]->SetListIndex(std::int16_t(step));
                    model[i]->listIndex = step;
                }
                break;
            }
            std::map<SharedTexts::Handle, std::uint32_t> users;
            for (int k = 0; k < kCells; ++k) {
                QCOMPARE(bool(cells[k]), model[k].has_value());
                if (!cells[k])
                    continue;
                QCOMPARE(Say(cells[k]->Custom1(), cells[k]->Custom2(), cells[k]->ListIndex()),
                         Say(model[k]->custom1, model[k]->custom2, std::int16_t(model[k]->listIndex)));
                // No entry is kept for two empty texts.
                QCOMPARE(cells[k]->TextsHandle() == SharedTexts::kNone,
                         model[k]->custom1.isEmpty() && model[k]->custom2.isEmpty());
                if (cells[k]->TextsHandle() != SharedTexts::kNone)
                    ++users[cells[k]->TextsHandle()];
            }
            QCOMPARE(SharedTexts::EntryCount(), entriesBefore + users.size());
            for (const auto& [handle, count] : users)
                QCOMPARE(SharedTexts::Users(handle), count);
        }
        cells.clear();
        QCOMPARE(SharedTexts::EntryCount(), entriesBefore);
    }

    // A flood fill of a whole map from a tile with a text keeps no text per cell: it takes no text entry
    // and no more slabs than the same fill from a tile without one.
    void fillSharesTheTileTexts() {
        constexpr int kSide = 700;
        const auto [plainSlabs, plainEntries] = FillCost(QString(), kSide);
        const auto [textSlabs, textEntries] = FillCost(QStringLiteral("spawn point"), kSide);
        QVERIFY(plainSlabs > 0);
        QCOMPARE(Say(textEntries, plainEntries), "0 0");
        // The pool keeps one empty slab back, so two fills may differ by that one.
        QVERIFY2(qAbs(textSlabs - plainSlabs) <= 1, qPrintable(Say(textSlabs, plainSlabs)));
    }
};

QTEST_MAIN(TestCells)
#include "tst_cells.moc"
