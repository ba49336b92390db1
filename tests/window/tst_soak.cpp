// The soak test: long random event sequences sent to the real window's widgets as Qt events, as a restless
// user would make them (releases that go elsewhere, presses with no move before them, dialogs mid-stroke),
// with the editor's invariants checked after every event and the drawn map compared with a full redraw now
// and then.
//
// The run is reproducible from its seed. Environment:
//   MOSAICOR_SOAK_SEED    the seed of the event stream (default kDefaultSeed);
//   MOSAICOR_SOAK_EVENTS  how many events to send (default kDefaultEvents);
//   MOSAICOR_SOAK_TRACE   when 1, every event is printed before it is sent (to find the one that crashes).
#include "EditorFixture.h"
#include "MapInput.h"
#include "PngCraft.h"
#include "app/mnuMain.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QtTest>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <random>

namespace {

constexpr std::uint32_t kDefaultSeed = 20240611;
// The default run: about 20 to 30 seconds in an optimised build. Under AddressSanitizer every event costs
// about eight times as much (each Draw that changes the map copies the canvas-sized picture into a fresh
// allocation, which the sanitizer maps and unmaps), so that build sends half as many and still stays well
// under three minutes.
#if defined(__SANITIZE_ADDRESS__)
constexpr long long kDefaultEvents = 50000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr long long kDefaultEvents = 50000;
#else
constexpr long long kDefaultEvents = 100000;
#endif
#else
constexpr long long kDefaultEvents = 100000;
#endif
// Kinds of event: map mouse, palette mouse, tool, layer and grid buttons, edit-layer popup, Apply, scroll
// bars, tileset loads, window resizes.
constexpr std::size_t kKinds = 10;
// Events kept for the failure report.
constexpr std::size_t kHistory = 20;
// Every stored cell is read this often; the cheap checks run after every event.
constexpr long long kScanEvery = 200;
// The cached map picture is compared with a full redraw this often.
constexpr long long kCompareEvery = 97;

long long EnvNumber(const char* name, long long fallback) {
    bool ok = false;
    const long long value = qEnvironmentVariable(name).trimmed().toLongLong(&ok);
    return ok ? value : fallback;
}

class Soak {
public:
    Soak(std::uint32_t seed, long long events) : m_seed(seed), m_events(events), m_rng(seed) {
        m_trace = qEnvironmentVariableIntValue("MOSAICOR_SOAK_TRACE") == 1;
    }

    // Sends the events; an empty result means every check held.
    QString Run() {
        if (!w.IsOpen() || !w.btnTool[0]->Icon())
            return QStringLiteral("the window did not open with its icons");
        QString problem = Check(true);
        if (!problem.isEmpty())
            return Report(problem);
        for (m_index = 0; m_index < m_events; ++m_index) {
            SendRandomEvent();
            problem = m_eventProblem;
            if (problem.isEmpty())
                problem = Check(m_index % kScanEvery == kScanEvery - 1);
            if (problem.isEmpty() && m_index % kCompareEvery == kCompareEvery - 1)
                problem = CompareWithFullRedraw();
            if (!problem.isEmpty())
                return Report(problem);
        }
        problem = Check(true);
        if (problem.isEmpty())
            problem = CompareWithFullRedraw();
        return problem.isEmpty() ? QString() : Report(problem);
    }

private:
    EditorFixture f;
    frmMain& w = f.window();
    std::uint32_t m_seed;
    long long m_events;
    long long m_index = -1;
    std::mt19937 m_rng;
    bool m_trace = false;
    std::deque<QString> m_history;
    bool m_held = false;
    // A fault found while sending the last event.
    QString m_eventProblem;
    // Whether the last event ended in a Draw, so the canvas shows what that Draw made of the cache.
    bool m_lastEventDrew = false;
    QPoint m_lastMap;
    QPoint m_lastPalette;
    int m_fileNumber = 0;
    std::array<long long, kKinds> m_kindCounts{};
    // For the summary: how full the map was when it was read, and how often a tile was selected.
    long long m_scans = 0;
    long long m_cellsSeen = 0;
    long long m_scansWithSelection = 0;
    long long m_comparisons = 0;

    // ---- Random choices ---------------------------------------------------------------------------------

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    template <class T> T Pick(std::initializer_list<T> items) {
        return *(items.begin() + Uniform(0, static_cast<int>(items.size()) - 1));
    }

    // A position along a side of `size` pixels: mostly inside, often exactly on or next to an edge,
    // sometimes far away.
    int Coord(int size) {
        const int r = Uniform(0, 99);
        if (r < 75)
            return Uniform(0, std::max(size - 1, 0));
        if (r < 92)
            return Pick({0, 1, size - 2, size - 1, size, size + 1, -1, -2});
        if (r < 96)
            return Pick({-100000, 100000});
        return Chance(50) ? Uniform(-100000, -1) : Uniform(size, 100000);
    }

    // A drag mostly goes on from where the pointer was, as a hand does.
    QPoint DragPoint(QPoint last, const QSize& canvas) {
        if (Chance(65)) {
            const int step = 3 * std::max(w.TileWidthOrOne(), 1);
            const int stepY = 3 * std::max(w.TileHeightOrOne(), 1);
            return {last.x() + Uniform(-step, step), last.y() + Uniform(-stepY, stepY)};
        }
        return {Coord(canvas.width()), Coord(canvas.height())};
    }

    // ---- Sending events ---------------------------------------------------------------------------------

    template <class Action> void Send(const QString& what, Action action) {
        m_history.push_back(QStringLiteral("#%1 %2").arg(m_index).arg(what));
        if (m_history.size() > kHistory)
            m_history.pop_front();
        if (m_trace)
            qInfo().noquote() << m_history.back();
        action();
    }

    void SendRandomEvent() {
        // Painting dominates, as in real use.
        static constexpr std::array<int, kKinds> kWeights{700, 80, 40, 25, 8, 20, 20, 40, 10, 4};
        std::discrete_distribution<int> kinds(kWeights.begin(), kWeights.end());
        const int kind = kinds(m_rng);
        m_lastEventDrew = false;
        ++m_kindCounts[static_cast<std::size_t>(kind)];
        switch (kind) {
        case 0:
            MapMouse();
            break;
        case 1:
            PaletteMouse();
            break;
        case 2:
            ToolButton();
            break;
        case 3:
            LayerButton();
            break;
        case 4:
            Send(QStringLiteral("grid button click"), [&] { w.btnViewGrid->click(); });
            break;
        case 5:
            EditLayerPopup();
            break;
        case 6:
            Apply();
            break;
        case 7:
            ScrollBars();
            break;
        case 8:
            LoadTileset();
            break;
        default:
            ResizeWindow();
            break;
        }
    }

    // A wheel turn as fine wheels, touchpads and ordinary wheels send it, in Qt's units (120 a notch).
    int WheelAngle() {
        const int r = Uniform(0, 99);
        if (r < 30)
            return Pick({-120, 120});
        if (r < 38)
            return Pick({-240, 240});
        if (r < 50)
            return 0;
        return Uniform(-60, 60);
    }

    // Layer revisions count every change of their cells.
    std::array<std::uint64_t, 8> Revisions() const {
        std::array<std::uint64_t, 8> revisions{};
        for (int k = 0; k < 8; ++k)
            revisions[static_cast<std::size_t>(k)] = w.Layer(k).Revision();
        return revisions;
    }

    // The map canvas through real Qt events. m_held is the left button as the hand holds it; the canvas
    // may have lost the stroke meanwhile (a release that never arrived, a dialog that took the mouse).
    void MapMouse() {
        Canvas* canvas = w.canMain;
        const QSize size = canvas->size();
        const QPoint p(Coord(size.width()), Coord(size.height()));
        auto enter = [&] { Send(QStringLiteral("map enter"), [&] { Input::Enter(canvas, p); }); };
        auto move = [&](QPoint at) {
            m_lastMap = at;
            m_lastEventDrew = true;
            const auto before = Revisions();
            Send(QStringLiteral("map move %1,%2").arg(at.x()).arg(at.y()), [&] { Input::Move(canvas, at); });
            if (Revisions() != before)
                m_eventProblem = QStringLiteral("a move with no button held changed a layer");
        };
        auto press = [&](QPoint at) {
            m_lastMap = at;
            m_held = true;
            m_lastEventDrew = true;
            Send(QStringLiteral("map press %1,%2%3")
                     .arg(at.x())
                     .arg(at.y())
                     .arg(canvas->StrokeUnderWay() ? QStringLiteral(" (a stroke under way)") : QString()),
                 [&] { Input::Press(canvas, at); });
        };
        auto drag = [&](QPoint at) {
            m_lastMap = at;
            m_lastEventDrew = canvas->StrokeUnderWay();
            Send(QStringLiteral("map drag %1,%2%3")
                     .arg(at.x())
                     .arg(at.y())
                     .arg(m_lastEventDrew ? QString() : QStringLiteral(" (no stroke)")),
                 [&] { Input::Move(canvas, at, Qt::LeftButton); });
        };
        auto release = [&](QPoint at) {
            m_lastMap = at;
            m_held = false;
            m_lastEventDrew = canvas->StrokeUnderWay();
            Send(QStringLiteral("map release %1,%2").arg(at.x()).arg(at.y()),
                 [&] { Input::Release(canvas, at); });
        };
        auto lostRelease = [&] {
            m_held = false;
            Send(QStringLiteral("map release lost"), [] {});
        };
        auto dialog = [&] {
            // The open dialog comes up mid-stroke and is cancelled; the button is let go over it.
            m_held = false;
            m_lastEventDrew = canvas->StrokeUnderWay();
            Send(QStringLiteral("Load Tiles mid-stroke, dialog cancelled"),
                 [&] { mnuMain::Instance()->Item(QStringLiteral("FileLoadTiles"))->trigger(); });
        };
        auto otherButton = [&] {
            const Qt::MouseButtons held = m_held ? Qt::LeftButton : Qt::NoButton;
            Send(QStringLiteral("map right click %1,%2").arg(p.x()).arg(p.y()), [&] {
                Input::Press(canvas, p, Qt::RightButton, held);
                Input::Release(canvas, p, Qt::RightButton, held);
            });
        };
        auto exit = [&] {
            m_lastEventDrew = true;
            Send(QStringLiteral("map exit"), [&] { Input::Leave(canvas); });
        };
        auto wheel = [&] {
            const QPoint angle(WheelAngle(), WheelAngle());
            Send(QStringLiteral("map wheel %1,%2 by %3,%4")
                     .arg(p.x())
                     .arg(p.y())
                     .arg(angle.x())
                     .arg(angle.y()),
                 [&] { Input::Wheel(canvas, p, angle); });
        };

        const int r = Uniform(0, 99);
        if (!m_held) {
            // A pointer that is not over the canvas mostly comes in before it does anything.
            if (!w.m_blncanMainHasFocus && r < 60)
                enter();
            else if (r < 68)
                move(Chance(70) ? DragPoint(m_lastMap, size) : p);
            else if (r < 84)
                press(Chance(70) ? m_lastMap : p); // elsewhere: a press with no move before it
            else if (r < 88)
                enter();
            else if (r < 91)
                exit();
            else if (r < 95)
                wheel();
            else if (r < 97)
                drag(p); // the button held down elsewhere
            else if (r < 98)
                otherButton();
            else
                release(p); // a release with no press
        } else {
            if (r < 74)
                drag(DragPoint(m_lastMap, size));
            else if (r < 86)
                release(Chance(80) ? m_lastMap : p);
            else if (r < 89)
                lostRelease();
            else if (r < 90)
                dialog();
            else if (r < 92)
                press(p); // a second press: the release between went elsewhere
            else if (r < 94)
                move(p); // a move with no button: the release went elsewhere
            else if (r < 96)
                exit();
            else if (r < 97)
                enter();
            else if (r < 98)
                otherButton();
            else
                wheel();
        }
    }

    void PaletteMouse() {
        Canvas* canvas = w.canTiles;
        const QSize size = canvas->size();
        QPoint p(Coord(size.width()), Coord(size.height()));
        if (Chance(70)) {
            // Over one of the tile places the palette shows (10-pixel gaps), where picking does something.
            const int tw = std::clamp(w.m_VOTileset->TileWidth(), 1, 2000);
            const int th = std::clamp(w.m_VOTileset->TileHeight(), 1, 2000);
            const int columns = std::clamp((size.width() - 10) / (tw + 10), 1, 8);
            const int rows = std::clamp((size.height() - 10) / (th + 10), 1, 8);
            p = QPoint(10 + Uniform(0, columns - 1) * (tw + 10) + Uniform(0, tw),
                       10 + Uniform(0, rows - 1) * (th + 10) + Uniform(0, th));
        }
        const int r = Uniform(0, 99);
        if (r < 10 || (!w.m_blncanTilesHasFocus && r < 50)) {
            Send(QStringLiteral("palette enter"), [&] { Input::Enter(canvas, p); });
        } else if (r < 14) {
            Send(QStringLiteral("palette exit"), [&] { Input::Leave(canvas); });
        } else if (r < 59) {
            m_lastPalette = p;
            Send(QStringLiteral("palette move %1,%2").arg(p.x()).arg(p.y()), [&] { Input::Move(canvas, p); });
        } else if (r < 88) {
            const QPoint at = Chance(70) ? m_lastPalette : p;
            Send(QStringLiteral("palette click %1,%2").arg(at.x()).arg(at.y()),
                 [&] { Input::Click(canvas, at); });
        } else {
            const QPoint angle(Chance(10) ? WheelAngle() : 0, WheelAngle());
            Send(QStringLiteral("palette wheel %1,%2 by %3,%4")
                     .arg(p.x())
                     .arg(p.y())
                     .arg(angle.x())
                     .arg(angle.y()),
                 [&] { Input::Wheel(canvas, p, angle); });
        }
    }

    void ToolButton() {
        const int i = Uniform(0, 7);
        Send(QStringLiteral("tool button %1 click").arg(i),
             [&] { w.btnTool[static_cast<std::size_t>(i)]->click(); });
    }

    void LayerButton() {
        const int i = Uniform(0, 7);
        BevelButton* button = w.btnLayer[static_cast<std::size_t>(i)];
        Send(QStringLiteral("layer button %1 click (%2)")
                 .arg(i)
                 .arg(button->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")),
             [&] { button->click(); });
    }

    // The window dragged to another size; below its design size it stays at that size.
    void ResizeWindow() {
        const int width = Chance(10) ? Uniform(300, 900) : Uniform(900, 1300);
        const int height = Chance(10) ? Uniform(200, 600) : Uniform(600, 900);
        const QSize before = w.canMain->size();
        Send(QStringLiteral("window resized to %1 x %2").arg(width).arg(height),
             [&] { w.resize(width, height); });
        // Only a change of size reaches the window's resize handler, which draws.
        m_lastEventDrew = w.canMain->size() != before;
    }

    void EditLayerPopup() {
        const int i = Uniform(0, std::max(w.cboEditLayer->count() - 1, 0));
        Send(QStringLiteral("edit layer popup row %1").arg(i), [&] { w.cboEditLayer->setCurrentIndex(i); });
    }

    QString HostileText() {
        return Pick<QString>({QString(), QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("-5"),
                              QStringLiteral("1e9"), QStringLiteral("99999999999"), QStringLiteral(" 12 "),
                              QStringLiteral("3.7"), QStringLiteral("+7"), QStringLiteral("2e1"),
                              QStringLiteral("12abc"), QStringLiteral("-0"), QStringLiteral("  ")});
    }

    QString TileSideText() {
        const int r = Uniform(0, 99);
        if (r < 12)
            return HostileText();
        if (r < 17)
            return QString::number(Uniform(1, 7));
        if (r < 21)
            return QString::number(Pick({65, 100, 257, 1024, 1025, 5000}));
        return QString::number(Uniform(8, 64));
    }

    QString MapSideText() {
        const int r = Uniform(0, 99);
        if (r < 12)
            return HostileText();
        if (r < 20)
            return QString::number(Uniform(121, 300));
        if (r < 24)
            return QString::number(Pick({1, 2, 3}));
        return QString::number(Uniform(1, 120));
    }

    void Apply() {
        // Sometimes Apply is pressed again with the fields as they are.
        if (Chance(85)) {
            w.cboMapLayers->setCurrentIndex(Uniform(0, w.cboMapLayers->count() - 1));
            w.txtWidth->setText(TileSideText());
            w.txtHeight->setText(TileSideText());
            w.txtMapWidth->setText(MapSideText());
            w.txtMapHeight->setText(MapSideText());
        }
        Send(QStringLiteral("Apply layers '%1' tile '%2' x '%3' map '%4' x '%5'")
                 .arg(w.cboMapLayers->currentText(), w.txtWidth->text(), w.txtHeight->text(),
                      w.txtMapWidth->text(), w.txtMapHeight->text()),
             [&] { w.btnApply->click(); });
    }

    void ScrollBars() {
        ScrollBar* bar = Pick<ScrollBar*>({w.scbMainHorizontal, w.scbMainVertical, w.scbTilesVertical});
        const QString name = bar == w.scbMainHorizontal ? QStringLiteral("map horizontal")
                             : bar == w.scbMainVertical ? QStringLiteral("map vertical")
                                                        : QStringLiteral("palette vertical");
        const int maximum = bar->maximum();
        const int r = Uniform(0, 99);
        int v = Uniform(-3, maximum + 3);
        if (Chance(10))
            v = Pick({-100000, 100000, INT_MIN, INT_MAX});
        if (r < 40) {
            Send(QStringLiteral("%1 bar setValue %2").arg(name).arg(v), [&] { bar->setValue(v); });
        } else if (r < 55) {
            // The thumb moved while not held: with tracking off the value stays.
            Send(QStringLiteral("%1 bar setSliderPosition %2").arg(name).arg(v),
                 [&] { bar->setSliderPosition(v); });
        } else if (r < 75) {
            // The thumb dragged and let go.
            Send(QStringLiteral("%1 bar thumb dragged to %2").arg(name).arg(v), [&] {
                bar->setSliderDown(true);
                bar->setSliderPosition(v);
                bar->setSliderDown(false);
            });
        } else {
            const auto action =
                Pick({QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                      QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub,
                      QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderToMaximum,
                      QAbstractSlider::SliderMove});
            Send(QStringLiteral("%1 bar triggerAction %2").arg(name).arg(int(action)),
                 [&] { bar->triggerAction(action); });
        }
    }

    // A small image with blocks of random colours, some transparent or half transparent.
    QImage RandomImage(int width, int height) {
        QImage image(width, height, QImage::Format_ARGB32);
        const int block = Uniform(1, 8);
        std::vector<QRgb> colours(16);
        for (QRgb& c : colours) {
            const int alpha = Pick({0, 128, 255, 255, 255});
            c = qRgba(Uniform(0, 255), Uniform(0, 255), Uniform(0, 255), alpha);
        }
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = colours[static_cast<std::size_t>((x / block * 7 + y / block * 3) % 16)];
        }
        return image;
    }

    void LoadTileset() {
        const int tw = std::max(w.m_VOTileset->TileWidth(), 1);
        const int th = std::max(w.m_VOTileset->TileHeight(), 1);
        const QString path =
            QDir(f.temp.path()).filePath(QStringLiteral("sheet%1.png").arg(m_fileNumber++ % 4));
        QString what;
        const int r = Uniform(0, 99);
        if (r < 5) {
            Send(QStringLiteral("load tiles: dialog cancelled"), [&] { w.FileLoadTiles_Action(); });
            return;
        }
        if (r < 70) {
            // Whole tiles, often with a remainder that is not a multiple of the tile size; never large.
            const int columns = tw > 128 ? Uniform(0, 1) : Uniform(0, 5);
            const int rows = th > 128 ? Uniform(0, 1) : Uniform(0, 4);
            const int width = std::min(columns * tw + (Chance(30) ? Uniform(0, tw - 1) : 0), 512);
            const int height = std::min(rows * th + (Chance(30) ? Uniform(0, th - 1) : 0), 512);
            if (width > 0 && height > 0)
                PngCraft::Write(path, PngCraft::QtPng(RandomImage(width, height)));
            else
                PngCraft::Write(path, PngCraft::File(PngCraft::Ihdr(quint32(width), quint32(height), 8,
                                                                    PngCraft::Rgba, false),
                                                     PngCraft::Deflate(QByteArray())));
            what = QStringLiteral("%1 x %2 image").arg(width).arg(height);
        } else if (r < 74) {
            // A sheet of many tiles at once, so the tileset grows towards its limit.
            const int side = Uniform(64, 256);
            PngCraft::Write(path, PngCraft::QtPng(RandomImage(side, side)));
            what = QStringLiteral("%1 x %1 sheet").arg(side);
        } else if (r < 78) {
            PngCraft::Write(path, PngCraft::QtPng(RandomImage(1, 1)));
            what = QStringLiteral("1 x 1 image");
        } else if (r < 82) {
            PngCraft::Write(path, PngCraft::File(PngCraft::Ihdr(0, 0, 8, PngCraft::Rgba, false),
                                                 PngCraft::Deflate(QByteArray())));
            what = QStringLiteral("0 x 0 header");
        } else if (r < 84) {
            PngCraft::Write(path, PngCraft::File(PngCraft::Ihdr(100000, 100000, 8, PngCraft::Rgba, false),
                                                 PngCraft::Deflate(QByteArray(64, '\0'))));
            what = QStringLiteral("header claiming 100000 x 100000");
        } else if (r < 88) {
            QByteArray bytes(Uniform(0, 200), '\0');
            for (char& b : bytes)
                b = static_cast<char>(Uniform(0, 255));
            if (Chance(50))
                bytes.prepend(QByteArray("\x89PNG\r\n\x1a\n", 8));
            PngCraft::Write(path, bytes);
            what = QStringLiteral("%1 random bytes").arg(bytes.size());
        } else if (r < 93) {
            const QByteArray good = PngCraft::QtPng(RandomImage(tw * Uniform(1, 3), th));
            const int keep = Uniform(0, static_cast<int>(good.size()) - 1);
            PngCraft::Write(path, good.left(keep));
            what = QStringLiteral("PNG cut after %1 of %2 bytes").arg(keep).arg(good.size());
        } else if (r < 98) {
            QByteArray good = PngCraft::QtPng(RandomImage(tw * Uniform(1, 3), th));
            const int at = Uniform(8, static_cast<int>(good.size()) - 1);
            good[at] = static_cast<char>(good[at] ^ (1 << Uniform(0, 7)));
            PngCraft::Write(path, good);
            what = QStringLiteral("PNG with a bit flipped at byte %1").arg(at);
        } else {
            QFile::remove(path);
            what = QStringLiteral("missing file");
        }
        f.dialogs->answers.push_back(FolderItem(path));
        Send(QStringLiteral("load tiles (tile %1 x %2, %3 tiles so far): %4")
                 .arg(tw)
                 .arg(th)
                 .arg(w.m_VOTileset->Count())
                 .arg(what),
             [&] { w.FileLoadTiles_Action(); });
        f.dialogs->answers.clear();
    }

    // ---- Checks -----------------------------------------------------------------------------------------

    QString Check(bool scanCells) {
        const int layers = w.m_intLayers;
        if (layers < 1 || layers > 8)
            return QStringLiteral("m_intLayers is %1").arg(layers);
        for (int k = 0; k < 8; ++k) {
            const LayerGrid& grid = w.Layer(k);
            if (k < layers && !grid.SizedTo(w.m_intMapWidth, w.m_intMapHeight))
                return QStringLiteral("layer %1 in use is %2 x %3, the map %4 x %5")
                    .arg(k)
                    .arg(grid.Width())
                    .arg(grid.Height())
                    .arg(w.m_intMapWidth)
                    .arg(w.m_intMapHeight);
            if (k >= layers && (!grid.SizedTo(1, 1) || grid.Get(0, 0)))
                return QStringLiteral("layer %1 not in use is %2 x %3%4")
                    .arg(k)
                    .arg(grid.Width())
                    .arg(grid.Height())
                    .arg(grid.Get(0, 0) ? QStringLiteral(" holding a cell") : QString());
        }

        bool numbered = false;
        const int popupLayer = w.cboEditLayer->currentText().toInt(&numbered);
        if (!numbered || w.m_Layer != popupLayer)
            return QStringLiteral("m_Layer is %1, the popup shows '%2'")
                .arg(w.m_Layer)
                .arg(w.cboEditLayer->currentText());
        if (w.m_Layer < 0 || w.m_Layer >= layers)
            return QStringLiteral("the edit layer %1 is not in use (%2 layers)").arg(w.m_Layer).arg(layers);
        if (w.cboEditLayer->count() != layers)
            return QStringLiteral("the popup lists %1 layers of %2").arg(w.cboEditLayer->count()).arg(layers);

        for (int i = 0; i < 8; ++i) {
            const BevelButton* button = w.btnLayer[static_cast<std::size_t>(i)];
            if (button->isEnabled() != (i < layers))
                return QStringLiteral("layer button %1 is %2 with %3 layers")
                    .arg(i)
                    .arg(button->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"))
                    .arg(layers);
            if (!button->isEnabled() && button->Value())
                return QStringLiteral("disabled layer button %1 is pressed").arg(i);
            if (button->Icon() !=
                (button->Value() ? w.m_objVOLayerIcon->DownIcon(i) : w.m_objVOLayerIcon->UpIcon(i)))
                return QStringLiteral("layer button %1 shows the wrong picture").arg(i);
        }
        if (w.btnViewGrid->Value() != w.m_blnDrawGrid)
            return QStringLiteral("the grid button and m_blnDrawGrid disagree");

        int pressedTools = 0;
        for (int i = 0; i < 8; ++i) {
            const BevelButton* button = w.btnTool[static_cast<std::size_t>(i)];
            pressedTools += button->Value() ? 1 : 0;
            if (button->Icon() !=
                (button->Value() ? w.m_objVOToolIcon->DownIcon(i) : w.m_objVOToolIcon->UpIcon(i)))
                return QStringLiteral("tool button %1 shows the wrong picture").arg(i);
        }
        if (pressedTools != 1)
            return QStringLiteral("%1 tool buttons are pressed").arg(pressedTools);
        if (w.m_intCurrentTool < 0 || w.m_intCurrentTool > 7 ||
            !w.btnTool[static_cast<std::size_t>(w.m_intCurrentTool)]->Value())
            return QStringLiteral("the current tool %1 is not the pressed button").arg(w.m_intCurrentTool);

        auto offset = [](const char* what, int value, const ScrollBar* bar) -> QString {
            if (value < 0 || value > bar->Maximum() || value != bar->Value())
                return QStringLiteral("%1 is %2, its bar at %3 of 0..%4")
                    .arg(QLatin1String(what))
                    .arg(value)
                    .arg(bar->Value())
                    .arg(bar->Maximum());
            return QString();
        };
        for (const QString& p : {offset("m_intMapOffsetX", w.m_intMapOffsetX, w.scbMainHorizontal),
                                 offset("m_intMapOffsetY", w.m_intMapOffsetY, w.scbMainVertical),
                                 offset("m_intTilesOffsetY", w.m_intTilesOffsetY, w.scbTilesVertical)})
            if (!p.isEmpty())
                return p;

        if (!w.m_objLayer.empty())
            return QStringLiteral("the fill's work list holds %1 entries between events")
                .arg(w.m_objLayer.size());
        if (w.m_VOTileset->Count() < 0 || w.m_VOTileset->Count() > clsVOTileset::kMaxTiles)
            return QStringLiteral("the tileset counts %1 tiles").arg(w.m_VOTileset->Count());

        return scanCells ? ScanCells() : QString();
    }

    QString ScanCells() {
        const int tiles = w.m_VOTileset->Count();
        ++m_scans;
        m_scansWithSelection += w.m_VOTileset->SelectedTile() ? 1 : 0;
        // The tiles' template cells are only ever copied, never changed.
        for (int i = 0; i < tiles; ++i) {
            const TileRef tile = w.m_VOTileset->GetTile(i);
            if (!tile || tile->ImageIndex() != i || tile->ZOrder() != 0 || tile->X() != 0 || tile->Y() != 0)
                return QStringLiteral("the template cell of tile %1 changed").arg(i);
        }
        for (int k = 0; k < w.m_intLayers; ++k) {
            const LayerGrid& grid = w.Layer(k);
            for (int row = 0; row < grid.Height(); ++row) {
                for (int column = 0; column < grid.Width(); ++column) {
                    const CellRef& cell = grid.At(column, row);
                    if (!cell)
                        continue;
                    ++m_cellsSeen;
                    // A cell carries the layer it was placed on. The fill tool's fill-empty mode and the
                    // filled ellipse's bounded fill store copies of the tile's template cell as they are, so
                    // those keep the template's 0: either value is sound, anything else is not.
                    if (cell->ZOrder() != k && cell->ZOrder() != 0)
                        return QStringLiteral("cell %1,%2 of layer %3 has ZOrder %4")
                            .arg(column)
                            .arg(row)
                            .arg(k)
                            .arg(cell->ZOrder());
                    // Every placement stores a copy of its own: a cell shared between positions, layers or
                    // the tileset would change in several places at once.
                    if (cell.use_count() != 1)
                        return QStringLiteral("cell %1,%2 of layer %3 is shared by %4 holders")
                            .arg(column)
                            .arg(row)
                            .arg(k)
                            .arg(cell.use_count());
                    // Cells come from tiles, and tiles are never removed.
                    if (cell->ImageIndex() < 0 || cell->ImageIndex() >= tiles)
                        return QStringLiteral("cell %1,%2 of layer %3 shows picture %4 of %5 tiles")
                            .arg(column)
                            .arg(row)
                            .arg(k)
                            .arg(cell->ImageIndex())
                            .arg(tiles);
                }
            }
        }
        return QString();
    }

    // Takes the picture the composition cache gave (as the last event left it when that event drew, else
    // from a Draw now), then forces a full composition by switching the grid off and on again, and demands
    // the same picture.
    QString CompareWithFullRedraw() {
        ++m_comparisons;
        if (!m_lastEventDrew)
            w.Draw();
        const QImage cached = w.canMain->Buffer().copy();
        w.btnViewGrid->click();
        w.btnViewGrid->click();
        const QImage full = w.canMain->Buffer();
        if (cached.size() != full.size())
            return QStringLiteral("the cached map picture is %1 x %2, a full redraw %3 x %4")
                .arg(cached.width())
                .arg(cached.height())
                .arg(full.width())
                .arg(full.height());
        QRect differing;
        long long count = 0;
        QPoint first(-1, -1);
        const bool sameFormat = cached.format() == full.format();
        const auto rowBytes = static_cast<std::size_t>(full.bytesPerLine());
        for (int y = 0; y < full.height(); ++y) {
            if (sameFormat && std::memcmp(cached.constScanLine(y), full.constScanLine(y), rowBytes) == 0)
                continue;
            for (int x = 0; x < full.width(); ++x) {
                if (cached.pixel(x, y) == full.pixel(x, y))
                    continue;
                if (count++ == 0)
                    first = QPoint(x, y);
                differing |= QRect(x, y, 1, 1);
            }
        }
        if (count == 0)
            return QString();
        return QStringLiteral("the cached map picture differs from a full redraw in %1 pixels within (%2,%3) "
                              "to (%4,%5); first at (%6,%7): cached #%8, full #%9")
            .arg(count)
            .arg(differing.left())
            .arg(differing.top())
            .arg(differing.right())
            .arg(differing.bottom())
            .arg(first.x())
            .arg(first.y())
            .arg(cached.pixel(first) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .arg(full.pixel(first) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    }

public:
    // What the run sent and where it left the editor.
    QString Summary() const {
        QString counts;
        static constexpr std::array<const char*, kKinds> names{
            "map mouse",  "palette mouse", "tool",   "layer", "grid",
            "edit layer", "apply",         "scroll", "load",  "resize"};
        for (std::size_t i = 0; i < m_kindCounts.size(); ++i)
            counts += QStringLiteral("%1 %2, ").arg(QLatin1String(names[i])).arg(m_kindCounts[i]);
        return counts +
               QStringLiteral(
                   "%1 cells stored on average, a tile selected in %2 %, %3 comparisons with a full "
                   "redraw; at the end: ")
                   .arg(m_scans ? m_cellsSeen / m_scans : 0)
                   .arg(m_scans ? 100 * m_scansWithSelection / m_scans : 0)
                   .arg(m_comparisons) +
               State();
    }

private:
    QString State() const {
        return QStringLiteral("tool %1, %2 layers, edit layer %3, map %4 x %5, tile %6 x %7, offset %8,%9, ")
                   .arg(w.m_intCurrentTool)
                   .arg(w.m_intLayers)
                   .arg(w.m_Layer)
                   .arg(w.m_intMapWidth)
                   .arg(w.m_intMapHeight)
                   .arg(w.m_VOTileset->TileWidth())
                   .arg(w.m_VOTileset->TileHeight())
                   .arg(w.m_intMapOffsetX)
                   .arg(w.m_intMapOffsetY) +
               QStringLiteral("%1 tiles, grid %2")
                   .arg(w.m_VOTileset->Count())
                   .arg(w.m_blnDrawGrid ? QStringLiteral("on") : QStringLiteral("off"));
    }

    QString Report(const QString& problem) const {
        QString text = QStringLiteral("soak seed %1, event %2 of %3: %4\n")
                           .arg(m_seed)
                           .arg(m_index)
                           .arg(m_events)
                           .arg(problem);
        text += QStringLiteral("rerun with MOSAICOR_SOAK_SEED=%1 MOSAICOR_SOAK_EVENTS=%2\n")
                    .arg(m_seed)
                    .arg(m_index + 1);
        text += QStringLiteral("state: ") + State() + QStringLiteral("\nlast events:\n");
        for (const QString& event : m_history)
            text += QStringLiteral("  ") + event + QLatin1Char('\n');
        return text;
    }
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
public:
    TestSoak() {
        // Damaged tileset files are loaded on purpose; Qt's notes about each one would only bury the result.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.info=false"));
        // A long run outlasts QtTest's five-minute watchdog, which reads this once, when the first test
        // function starts.
        if (qEnvironmentVariableIsSet("MOSAICOR_SOAK_EVENTS") &&
            !qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
            qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(24 * 3600 * 1000));
    }

private slots:
    void randomEventsKeepTheEditorConsistent();
};

void TestSoak::randomEventsKeepTheEditorConsistent() {
    const auto seed = static_cast<std::uint32_t>(EnvNumber("MOSAICOR_SOAK_SEED", kDefaultSeed));
    const long long events = std::max(EnvNumber("MOSAICOR_SOAK_EVENTS", kDefaultEvents), 0LL);
    qInfo().noquote() << QStringLiteral("soak: seed %1, %2 events").arg(seed).arg(events);
    QElapsedTimer timer;
    timer.start();
    Soak soak(seed, events);
    const QString failure = soak.Run();
    qInfo().noquote()
        << QStringLiteral("soak: %1 s; %2").arg(timer.elapsed() / 1000.0, 0, 'f', 1).arg(soak.Summary());
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure));
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
