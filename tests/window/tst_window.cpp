// The editor window as a user works it: menus, layout, start-up without the icon images, buttons, Apply, the
// map drawn and scrolled, the palette and loading tiles. Rows are user steps (see Step) and the state after.
#include "PngCraft.h"
#include "UserSteps.h"
#include "platform/ScrollBar.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <functional>

namespace {
// Steps are separated by spaces; *n repeats one. t<n>, g, l<n>: the tool, grid and layer buttons; e<n>: the
// edit layer; k<n>, K<n>: digit n typed, on the keypad for K; a<layers>[,<tile width>,<height>]: Apply; T<n>:
// load n tiles; R: remove them; F: fill the map; h<n>, v<n>: the map's scroll bars; w<x>,<y>: a wheel on the
// map, s<y> with Shift held, W<y> on the palette; p: plot on visible cell (2, 3) and leave; m<i>, M<i>, N<i>:
// the pointer onto palette tile i's middle, bottom-right or top-left corner; c: a click there; P<i>: a press
// on tile i with no move first.
void Step(EditorFixture& f, const QString& step) {
    const char s = step[0].toLatin1();
    const QStringList n = step.mid(1).split(',');
    const int a = n[0].toInt(), tw = f.w.Tileset().TileWidth(), th = f.w.Tileset().TileHeight();
    if (s == 't' || s == 'e')
        s == 't' ? ChooseTool(f.w, ToolAt(a)) : ChooseEditLayer(f.w, a);
    else if (s == 'g' || s == 'l')
        (s == 'g' ? f.w.Controls().btnViewGrid : f.w.Controls().btnLayer[a])->click();
    else if (s == 'k' || s == 'K')
        Type(f.w, Qt::Key_0 + a, s == 'K' ? Qt::KeypadModifier : Qt::NoModifier);
    else if (s == 'a')
        Apply(f.w, n[0], n.value(1, "32"), n.value(2, "32"), "100", "100");
    else if (s == 'T')
        f.LoadSolidTiles(a, -1);
    else if (s == 'R')
        f.dialogs->replies.push_back("Yes"), ChooseItem("FileRemoveTiles");
    else if (s == 'F') { // four tiles, then cells on layers 0 to 2 over the whole map, some empty
        f.LoadSolidTiles(4, 0);
        for (int i = 0; i < 30000; ++i)
            if (int k = i / 10000, c = i % 100, r = i / 100 % 100, t = (c * 7 + r * 3 + k * 5) % 6; t < 4)
                Put(f.w, k, c, r, t);
        Input::Leave(f.w.Controls().canMain);
    } else if (s == 'h' || s == 'v')
        (s == 'h' ? f.w.Controls().scbMainHorizontal : f.w.Controls().scbMainVertical)->setValue(a);
    else if (s == 'w' || s == 'W' || s == 's')
        Input::Wheel(s == 'W' ? f.w.Controls().canTiles : f.w.Controls().canMain, {40, 70},
                     {s == 'w' ? a : 0, n.last().toInt()}, s == 's' ? Qt::ShiftModifier : Qt::NoModifier);
    else if (s == 'c' || s == 'P')
        Input::Click(f.w.Controls().canTiles,
                     s == 'c' ? QPoint(f.w.Palette().TilesMouseX(), f.w.Palette().TilesMouseY())
                              : PaletteTile(f.w, a));
    else if (s == 'p') {
        Click(f.w, 2, 3);
        QCOMPARE(f.w.Controls().lblStatus->text(),
                 Say("Plot X:", f.w.View().OffsetX() + 2, "Y:", f.w.View().OffsetY() + 3));
        Input::Leave(f.w.Controls().canMain);
    } else {
        const QPoint at =
            s == 'm' ? PaletteTile(f.w, a) : PaletteSlot(f.w, a) + (s == 'M' ? QPoint(tw, th) : QPoint());
        Input::Enter(f.w.Controls().canTiles, at);
        Input::Move(f.w.Controls().canTiles, at);
    }
}

void Do(EditorFixture& f, const QString& line, const std::function<void(const QString&)>& after = {}) {
    for (const QString& token : line.split(' ', Qt::SkipEmptyParts))
        for (int i = 0; i < qMax(1, token.section('*', 1).toInt()); ++i)
            Step(f, token.section('*', 0, 0)), after ? after(token) : void();
}

// The buttons and edit layer; button, picture, flag and map agree on the grid. (That the tool and layer
// buttons show the picture of their state is checked by the soak after every event.)
QString State(frmMain& w) {
    const bool grid = w.Controls().btnViewGrid->Value();
    if (grid != w.View().DrawsGrid() || grid != (MapPixel(w, 5, 32) == kGridPixel.rgb()) ||
        w.Controls().btnViewGrid->Icon() != (grid ? w.GridIcons().DownIcon(0) : w.GridIcons().UpIcon(0)))
        return "grid button, flag and map disagree";
    QString tools, shown, enabled, rows;
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i);
        tools += w.Controls().btnTool[i]->Value() ? n : "",
            shown += w.Controls().btnLayer[i]->Value() ? n : "";
        enabled += w.Controls().btnLayer[i]->isEnabled() ? n : "",
            rows += w.Controls().cboEditLayer->itemText(i);
    }
    return Say(tools, ToolIndex(w.CurrentStroke().CurrentTool()), ToolIndex(w.CurrentStroke().LastTool()),
               shown, enabled, grid, w.Controls().cboEditLayer->currentText(), w.EditLayerNumber(), rows);
}
// The colour 3 pixels out from the middle of r's left side when what surrounds r is alike on all four sides,
// 1 to 5 pixels out from the middle of each; else 0.
QRgb Frame(const QImage& image, const QRect& r) {
    const QPoint m = r.center();
    for (int d = 1; d <= 5; ++d)
        if (const QRgb left = image.pixel(r.left() - d, m.y()); image.pixel(r.right() + d, m.y()) != left ||
                                                                image.pixel(m.x(), r.top() - d) != left ||
                                                                image.pixel(m.x(), r.bottom() + d) != left)
            return 0;
    return image.pixel(r.left() - 3, m.y());
}
// Tiles drawn whole in their slots, each frame alike on all four sides; those framed selected (light blue)
// or hovered (light grey); tool; scroll.
QString PaletteState(const frmMain& w) {
    const QImage& canvas = w.Controls().canTiles->Buffer();
    const int tw = w.Tileset().TileWidth(), th = w.Tileset().TileHeight();
    QString first, last, selected, hovered;
    for (int i = 0; i < w.Tileset().Count(); ++i) {
        const QPoint p = PaletteSlot(w, i);
        if (p.y() < 10 || p.y() + th > canvas.height())
            continue;
        const QRgb frame = Frame(canvas, QRect(p, QSize(tw, th))), colour = TileColour(w, i);
        if (canvas.pixel(qMin(p.x() + tw, canvas.width()) - 1, p.y() + th - 1) != colour ||
            canvas.pixel(p) != colour || !QList<QRgb>{0xff646464, 0xffa0d7ff, 0xffc8c8c8}.contains(frame))
            return Say("tile", i, "misplaced or framed in", QString::number(frame, 16));
        first = first.isEmpty() ? QString::number(i) : first;
        last = QString::number(i);
        selected += frame == 0xffa0d7ff ? QString::number(i) : QString();
        hovered += frame == 0xffc8c8c8 ? QString::number(i) : QString();
    }
    const TileRef pick = w.Palette().SelectedTile();
    return Say(first, last, "sel", selected, pick ? int(pick->ImageIndex()) : -1, "hover", hovered, "tool",
               ToolIndex(w.CurrentStroke().CurrentTool()), "scroll", w.Controls().scbTilesVertical->Value(),
               w.Controls().scbTilesVertical->maximum());
}
} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    // Every item as text|shortcuts. Those with nothing to act on are disabled (a disabled item's trigger is
    // dropped); the items with no command yet change nothing and ask nothing; Remove Tiles asks first and No
    // changes nothing; Load Tiles asks for a PNG, and a cancel changes nothing either.
    void menusAndLayout() {
        EditorFixture f;
        f.LoadSolidTiles(2, 1);
        const MapSnapshot before = MapOf(f.w);
        const QStringList inert{"FileNewTilesetMap", "FileOpenTilesetMap", "FileRemoveTiles", "EditSelectAll",
                                "FileLoadTiles"};
        QStringList seen;
        for (QAction* menu : f.w.menuBar()->actions())
            for (QAction* a : QList<QAction*>{menu} + menu->menu()->actions()) {
                // Cut, Copy, Delete and Paste have nothing to act on yet: no selection, no piece.
                const QStringList idle{"EditRedo", "EditCut", "EditCopy", "EditClear", "EditPaste"};
                QVERIFY(a->isEnabled() == !idle.contains(a->objectName()) &&
                        a->isSeparator() == a->text().isEmpty());
                seen << a->text() + '|' + QKeySequence::listToString(a->shortcuts()).replace("; ", ",");
                if (inert.contains(a->objectName()))
                    a->trigger();
            }
        QCOMPARE(seen.join(' '),
                 "&File| &New Map|Ctrl+N New Tileset Map|Ctrl+Shift+N | &Open Map|Ctrl+O Open Tileset "
                 "Map|Ctrl+Shift+O | Load &Tiles|Ctrl+T Remove Tiles|Ctrl+Shift+T | &Save|Ctrl+S Save "
                 "&As\u2026|Ctrl+Shift+S &Export\u2026|Ctrl+E | Close|Ctrl+W | &Quit|Ctrl+Q &Edit| "
                 "&Undo|Ctrl+Z &Redo|Ctrl+Shift+Z,Ctrl+Y | Cu&t|Ctrl+X &Copy|Ctrl+C &Paste|Ctrl+V "
                 "&Delete|Del | Select &All|Ctrl+A");
        const OpenDialogRequest& r = f.dialogs->requests.back();
        QCOMPARE(Say(int(f.dialogs->requests.size()), r.Title, r.Filter, r.ActionButtonCaption,
                     f.w.Tileset().Count(), f.w.Controls().lblStatus->text(), f.dialogs->questions.size(),
                     MapOf(f.w) == before),
                 "2 Select a PNG file image/png (*.png) Open PNG 2 solid.png loaded 1 true");

        // The map canvas takes what the window grows by, and its scroll ranges follow it. The window never
        // shrinks below the size it opened at; a map has 1 to 8 layers. Apply is never the default button,
        // not even once it has the focus.
        const QSize opened = f.w.Content()->size(), canvas = f.w.Controls().canMain->size();
        // What the canvas grew by; whether each scroll range lets the last column or row show whole, no more.
        const auto where = [&] {
            const QSize c = f.w.Controls().canMain->size();
            const auto ends = [](int shown, int pixels) {
                return shown * 32 <= pixels && shown * 32 >= pixels - 32;
            };
            return Say(c.width() - canvas.width(), c.height() - canvas.height(),
                       ends(100 - f.w.Controls().scbMainHorizontal->maximum(), c.width()),
                       ends(100 - f.w.Controls().scbMainVertical->maximum(), c.height()));
        };
        QCOMPARE(where(), "0 0 true true");
        f.w.resize(f.w.width() + 100, f.w.height() + 100);
        QCOMPARE(where(), "100 100 true true");
        f.w.resize(400, 300);
        QString layerCounts;
        for (int i = 0; i < f.w.Controls().cboMapLayers->count(); ++i)
            layerCounts += f.w.Controls().cboMapLayers->itemText(i);
        QCOMPARE(Say(f.w.Content()->size() == opened, where(), layerCounts), "true 0 0 true true 12345678");
        QTabBar* tabs = f.w.Controls().tabpnlMain->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(f.w.Controls().btnApply, &focusIn);
        QVERIFY(f.w.Controls().btnApply->isVisible() && !f.w.Controls().canTiles->isVisible() &&
                f.w.Controls().canMain->isVisible() && !f.w.Controls().btnApply->isDefault());
    }

    void buttons_data() {
        // Steps (!name: image missing); pressed tools, tool, last, shown, enabled, grid, edit layer, rows.
        QTest::addColumn<QString>("row");
        QTest::newRow("line twice") << "t2 t2|2 2 2 0 012 true 0 0 012";
        QTest::newRow("grid off") << "g|0 0 0 0 012 false 0 0 012";
        QTest::newRow("layers") << "l1 l2 l0|0 0 0 12 012 true 0 0 012";
        QTest::newRow("one layer") << "l2 e2 a1|0 0 0 0 0 true 0 0 0";
        QTest::newRow("then five") << "l2 e2 a1 l0 a5|0 0 0  01234 true 0 0 01234";
        QTest::newRow("eight") << "a8 e7 l7|0 0 0 07 01234567 true 7 7 01234567";
        // Digits choose the edit layer among the layers in use, keypad digits too.
        QTest::newRow("digits") << "k2 k5 k8|0 0 0 0 012 true 2 2 012";
        QTest::newRow("keypad digit") << "a8 K7|0 0 0 0 01234567 true 7 7 01234567";
        QTest::newRow("back to 0") << "a8 k7 k0|0 0 0 0 01234567 true 0 0 01234567";
        // Missing images: their message boxes, buttons without pictures; erase stays current.
        QTest::newRow("no tool icons: erase") << "!toolicons.png| 1 0 0 012 true 0 0 012";
        QTest::newRow("none") << "t3 !layericons.png !gridicon.png !toolicons.png|3 3 1 0 012 true 0 0 012";
    }

    void buttons() {
        QFETCH(QString, row);
        const QString clicks = row.section('|', 0, 0);
        QTemporaryDir icons;
        const QDir beside(QCoreApplication::applicationDirPath());
        QStringList messages;
        for (const QString what : {"layer icons", "grid icon", "tool icons"}) // in layericons.png ...
            if (const QString name = QString(what).remove(' ') + ".png"; clicks.contains('!' + name))
                messages << QString("Error loading %1.").arg(what);
            else
                QVERIFY(QFile::copy(beside.filePath(name), QDir(icons.path()).filePath(name)));
        EditorFixture f(icons.path());
        QCOMPARE(Say(f.dialogs->messages.join('|'), f.w.Controls().lblStatus->text()),
                 Say(messages.join('|'), ""));
        Do(f, clicks.section('!', 0, 0));
        QCOMPARE(State(f.w), row.section('|', 1));
        // Tool k's up and down pictures are cells 2k and 2k + 1 of its image, counted row by row.
        const QImage sheet = QImage(beside.filePath("toolicons.png")).convertToFormat(QImage::Format_ARGB32);
        for (int i = 0, across = sheet.width() / 24; i < 18 && !clicks.contains("!tool"); ++i)
            QCOMPARE((i % 2 ? f.w.ToolIcons().DownIcon(i / 2) : f.w.ToolIcons().UpIcon(i / 2))->Image(),
                     sheet.copy(i % across * 24, i / across * 24, 24, 24)
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied));
        // Painting goes to the edit layer whatever the icons.
        f.LoadSolidTiles(2, 1);
        ChooseTool(f.w, Tool::Plot);
        Click(f.w, 3, 1);
        QCOMPARE(Describe(Occupied(f.w.Layer(f.w.Controls().cboEditLayer->currentText().toInt()))), "(3,1)");
    }

    void apply_data() {
        // Fields; status; map and tile size, layers, scroll maxima and how many of three cells are kept.
        QTest::addColumn<QString>("row");
        const QString kept = "|100 100 32 32 3 84 85 3", tile = "|Tile width must be from 1 to 1024 pixels";
        QTest::newRow("tile size") << "3,16,24,100,100||100 100 16 24 3 67 79 3";
        QTest::newRow("blank width") << "3,32,32, ,50||100 50 32 32 3 84 35 2";
        QTest::newRow("not numbers") << "3,32,32,60x,1||100 1 32 32 3 84 0 0";
        QTest::newRow("two layers") << "2,32,32,100,100||100 100 32 32 2 84 85 2";
        QTest::newRow("width 0") << "5,32,32,0,100|Map width: a whole number, 1 to 8192" + kept;
        QTest::newRow("height 3.7") << "3,32,32,100,3.7|Map height: a whole number, 1 to 8192" + kept;
        QTest::newRow("too many cells") << "3,32,32,5000,5000|At most 16777216 cells per layer" + kept;
        QTest::newRow("tile width 0") << "3,0,32,100,100" + tile + kept;
        QTest::newRow("all refused") << "3,1025,0,0,100" + tile + kept;
    }

    void apply() {
        QFETCH(QString, row);
        EditorFixture f;
        f.LoadSolidTiles(2, 1);
        for (auto [k, c, r] : {std::tuple{0, 1, 2}, {0, 99, 99}, {2, 5, 5}})
            Put(f.w, k, c, r, 0);
        Input::Leave(f.w.Controls().canMain);
        const QStringList v = row.section('|', 0, 0).split(',');
        Apply(f.w, v[0], v[1], v[2], v[3], v[4]);
        QCOMPARE(Say(f.w.Controls().lblStatus->text(), f.w.MapWidth(), f.w.MapHeight(),
                     f.w.Tileset().TileWidth(), f.w.Tileset().TileHeight(), f.w.Layers(),
                     f.w.Controls().scbMainHorizontal->maximum(), f.w.Controls().scbMainVertical->maximum(),
                     int(AllCells(f.w).size())),
                 Say(row.section('|', 1, 1), row.section('|', 2)));
        QVERIFY(f.dialogs->messages.isEmpty() && DiffersFromRule(f.w).isEmpty());
        QCOMPARE(f.w.Document().Steps().UndoText() == "Apply", row.section('|', 1, 1).isEmpty()); // a step
    }

    void view_data() {
        // Steps; the map offsets, scroll bars and (empty) status line, or on the palette ("sel")
        // PaletteState. A notch is 120, sent in parts by a fine wheel; a turn back starts afresh.
        QTest::addColumn<QString>("row");
        QTest::newRow("turned back") << "F v5 w0,-100 w0,100 w0,19 w0,-100 w0,100 w0,20|0 4 0 4";
        QTest::newRow("past the end") << "F w-120,-120*90|84 85 84 85";
        // Shift turns the wheel sideways: one cell per notch along the rows, none down the columns.
        QTest::newRow("Shift") << "F s-240 s120 w0,-120|1 1 1 1";
        QTest::newRow("jumps, oblong cells")
            << "a3,16,24 F h50 v60 h49 v0 h66 w-120,-120 v3 w120,0|66 3 66 3";
        QTest::newRow("layers and grid") << "F l1 w0,-120 l2 g h7 l0 w-120,0 g l1|8 1 8 1";
        QTest::newRow("painting") << "F h2 p w-120,0 p v3 l0 p l0 w0,120|3 2 3 2";
        QTest::newRow("new tile size") << "F h1 p a3,16,24 w-120,-120 h40 p|40 1 40 1";
        QTest::newRow("bottom right edge") << "T14 M8|0 13 sel  -1 hover 8 tool 0 scroll 0 0";
        QTest::newRow("top left edge") << "T14 N5|0 13 sel  -1 hover 5 tool 0 scroll 0 0";
        QTest::newRow("pick again") << "T14 m4 c c|0 13 sel  -1 hover 4 tool 0 scroll 0 0";
        QTest::newRow("press, no move") << "T14 m2 P9|0 13 sel 9 9 hover  tool 0 scroll 0 0";
        QTest::newRow("erase back to line") << "T14 t2 t1 m6 c|0 13 sel 6 6 hover  tool 2 scroll 0 0";
        QTest::newRow("scrolled") << "T100 W-120*3 m20 c|18 71 sel 20 20 hover  tool 0 scroll 3 8";
        // No range is left from the tiles removed: the next load starts at the top.
        QTest::newRow("emptied") << "T100 W-120*3 R|  sel  -1 hover  tool 0 scroll 0 0";
        QTest::newRow("emptied, loaded") << "T100 W-120*3 R T100|0 53 sel  -1 hover  tool 0 scroll 0 8";
        QTest::newRow("oblong tiles") << "a3,40,20 T100 W-120*9 m99|35 99 sel  -1 hover 99 tool 0 scroll 7 7";
    }

    void view() {
        QFETCH(QString, row);
        EditorFixture f;
        Do(f, row.section('|', 0, 0),
           [&](const QString& step) { QVERIFY2(DiffersFromRule(f.w).isEmpty(), qPrintable(step)); });
        // What reaches the screen is the picture drawn.
        QCOMPARE(f.w.Controls().canMain->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 f.w.Controls().canMain->Buffer().convertToFormat(QImage::Format_RGB32));
        const QString state = row.section('|', 1);
        const bool palette = state.contains("sel");
        QCOMPARE(palette ? PaletteState(f.w)
                         : Say(f.w.View().OffsetX(), f.w.View().OffsetY(),
                               f.w.Controls().scbMainHorizontal->Value(),
                               f.w.Controls().scbMainVertical->Value(), f.w.Controls().lblStatus->text()),
                 palette ? state : state + ' ');
    }

    // New tiles follow old ones at the applied size, not at one typed but not applied (how an image is cut
    // into tiles is the tileset's test); refused files change nothing.
    void load() {
        EditorFixture f;
        Apply(f.w, "3", "16", "8", "100", "100");
        f.w.Controls().txtWidth->setText("32");
        f.LoadTiles("first.png", MakeTileSheet(32, 8, 16, 8));
        f.LoadTiles("<b>sheet.png", MakeTileSheet(64, 24, 16, 8));
        QCOMPARE(Say(f.w.Controls().lblStatus->text(), f.w.Controls().lblStatus->textFormat(),
                     int(f.w.Controls().lblStatus->alignment() & Qt::AlignHCenter), f.w.Tileset().Count()),
                 Say("<b>sheet.png loaded", Qt::PlainText, Qt::AlignHCenter, 2 + 4 * 3));
        f.PickTile(1);
        // A file that is no image changes nothing: the tiles, the selection and the palette stay.
        const QImage palette = f.w.Controls().canTiles->Buffer().copy();
        QVERIFY(PngCraft::Write(QDir(f.temp.path()).filePath("bad.png"), "This is a list of tiles.\n"));
        f.Open("bad.png", "FileLoadTiles");
        QCOMPARE(Say(f.w.Controls().lblStatus->text(),
                     f.w.Controls().lblStatus->palette().color(QPalette::WindowText).name(),
                     f.w.Tileset().Count(), f.w.Controls().canTiles->Buffer() == palette,
                     f.w.Palette().SelectedTile() == f.w.Tileset().GetTile(1)),
                 Say("bad.png could not be loaded", "#c80000", 14, true, true));

        // An image wider than a picture can be is refused at once through File, Load Tiles, even when it cuts
        // into whole tiles. (One that yields no whole tile is the tileset load's test.)
        Apply(f.w, "3", "1", "1", "100", "100");
        const int tiles = f.w.Tileset().Count();
        using namespace PngCraft;
        QVERIFY(Write(f.temp.filePath("hostile.png"), // 2^26 x 1 pixels
                      File(Ihdr(1u << 26, 1, 1, Grey, false), Deflate(QByteArray(1 + (1 << 23), '\0')))));
        QElapsedTimer timer;
        timer.start();
        f.Open("hostile.png", "FileLoadTiles");
        QCOMPARE(Say(timer.elapsed() <= 500, f.w.Controls().lblStatus->text(), f.w.Tileset().Count()),
                 Say(true, "hostile.png is too wide to load: 67,108,864 pixels", tiles)); // within 0.5 s
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
