// What the user sees around things: the map's cursor frames its cell evenly and never covers it, the swatch
// centres its picture, and a page's controls line up and never cover each other, at any size.
#include "UserSteps.h"
#include "platform/ScrollBar.h"
#include "tiles/TileSwatch.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <set>

namespace {
// n pixels of a picture from `from` on by step: F where the pixel is the map cursor's frame colour, L and D
// the selection frame's light and dark ones, else a dot (indexOf's -1 comes round to it).
QString Along(const QImage& image, QPoint from, QPoint step, int n = 4) {
    const QList<QRgb> colours{kFramePixel.rgb(), qRgb(255, 255, 255), qRgb(20, 60, 160)};
    QString seen;
    for (int d = 0; d < n; ++d)
        seen += "FLD."[(colours.indexOf(image.pixel(from + d * step)) + 4) % 4];
    return seen;
}

// The margins between the swatch's edge and the smallest rectangle holding what is neither the swatch's
// background nor its frame; and whether a ring of background parts picture and frame.
QString SwatchMargins(TileSwatch& swatch) {
    const QImage image = swatch.grab().toImage();
    const QRgb frame = image.pixel(0, image.height() / 2), background = image.pixel(1, 1);
    QRect picture;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixel(x, y) != background && image.pixel(x, y) != frame)
                picture |= QRect(x, y, 1, 1);
    const bool parted = !picture.isEmpty() && picture.left() > 1 && picture.top() > 1 &&
                        picture.right() < image.width() - 2 && picture.bottom() < image.height() - 2;
    return Say(picture.left(), image.width() - 1 - picture.right(), picture.top(),
               image.height() - 1 - picture.bottom(), parted);
}

// Where a control shows something: a label (left-aligned) only as far as its text reaches, so a label
// whose box runs under its neighbour's edge, as the top row's does, still counts as uncovered.
QRect Geometry(const QWidget* widget) {
    if (!widget->isVisible())
        return QRect();
    const QRect r = widget->geometry();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return QRect(r.topLeft(), QSize(qMin(r.width(), label->sizeHint().width()), r.height()));
    return r;
}

// The rules by which the design lines its controls up, each broken one named: the layer buttons a row of
// equal buttons at an even pitch, the tool buttons and the swatch a grid of equal squares with one pitch
// both ways, each property's label and field on one line with the labels' left and the fields' right edges
// in one column, each scroll bar along its canvas's whole side, and the status line under the panel.
QStringList BrokenLineUps(const WindowControls& ui) {
    QStringList broken;
    const auto rule = [&](bool ok, const QString& name) { broken += ok ? QStringList() : QStringList{name}; };
    const QRect layer0 = ui.btnLayer[0]->geometry();
    for (int i = 1; i < 8; ++i) {
        const QRect b = ui.btnLayer[i]->geometry();
        rule(b.size() == layer0.size() && b.top() == layer0.top(), Say("layer button", i));
        rule(b.left() - ui.btnLayer[i - 1]->x() == ui.btnLayer[1]->x() - layer0.left(),
             Say("layer pitch", i));
    }
    rule(ui.btnViewGrid->geometry().size() == layer0.size() && ui.btnViewGrid->y() == layer0.top(), "grid");
    std::vector<const QWidget*> squares(ui.btnTool.begin(), ui.btnTool.end());
    squares.push_back(ui.swatchSelectedTile);
    std::set<int> lefts, tops;
    for (const QWidget* s : squares) {
        rule(s->size() == layer0.size(), s->objectName());
        lefts.insert(s->x()), tops.insert(s->y());
    }
    const int pitch = *std::next(tops.begin()) - *tops.begin();
    rule(tops.size() == 2 && pitch > layer0.height(), "tool rows");
    rule(int(lefts.size()) == 6 && *lefts.rbegin() - *lefts.begin() == 5 * pitch, "tool columns");
    for (const int x : lefts)
        rule((x - *lefts.begin()) % pitch == 0, Say("tool column", x));
    const std::pair<QWidget*, QWidget*> rows[] = {
        {ui.lblName, ui.txtName},           {ui.lblTileWidth, ui.txtWidth},
        {ui.lblTileHeight, ui.txtHeight},   {ui.lblMapWidth, ui.txtMapWidth},
        {ui.lblMapHeight, ui.txtMapHeight}, {ui.lblMapLayers, ui.cboMapLayers}};
    for (const auto& [label, field] : rows) {
        rule(label->y() == field->y() && label->x() == ui.lblName->x(), label->objectName());
        rule(field->geometry().right() == ui.btnApply->geometry().right(), field->objectName());
    }
    const auto along = [&](const QWidget* bar, const QWidget* canvas, bool vertical) {
        const QRect b = bar->geometry(), c = canvas->geometry();
        return vertical ? b.left() == c.right() + 1 && b.top() == c.top() && b.bottom() == c.bottom()
                        : b.top() == c.bottom() + 1 && b.left() <= c.left() && b.right() == c.right();
    };
    rule(along(ui.scbTilesVertical, ui.canTiles, true), "palette bar");
    rule(along(ui.scbMainVertical, ui.canMain, true), "map bar");
    rule(along(ui.scbMainHorizontal, ui.canMain, false), "map bar across");
    const QRect panel = ui.tabpnlMain->geometry(), status = ui.lblStatus->geometry();
    rule(status.left() == panel.left() && status.width() == panel.width() && status.top() > panel.bottom(),
         "status");
    rule(ui.lblViewLayer->y() == ui.lblEditLayer->y() && ui.cboEditLayer->y() == ui.lblEditLayer->y(),
         "top row");
    return broken;
}
} // namespace

class TestLooks : public QObject {
    Q_OBJECT
private slots:
    // The plot and erase cursors: a frame two pixels wide just outside the cell, all round it, the cell's own
    // pixels left to the tile or the erase mark. It goes with the pointer and comes back with its next move,
    // also when no enter was announced (as after a window that covered the canvas closes). The swatch shows a
    // tile, then a block twice as wide, then one twice as tall, each in the middle of its frame with
    // background between; the longer side fills the frame but for its two pixels.
    void framesAndLineUps() {
        EditorFixture f;
        f.LoadSolidTiles(4, 1);
        for (const Tool tool : {Tool::Plot, Tool::Erase}) {
            ChooseTool(f.w, tool);
            HoverAt(f.w, CellMiddle(f.w, 3, 2));
            const QImage& canvas = f.w.Controls().canMain->Buffer();
            const QRect cell(3 * 32, 2 * 32, 32, 32);
            for (int t = 0; t < 32; ++t) // outward from each edge pixel: left, right, top, bottom
                QCOMPARE(Say(Along(canvas, {cell.left(), cell.top() + t}, {-1, 0}),
                             Along(canvas, {cell.right(), cell.top() + t}, {1, 0}),
                             Along(canvas, {cell.left() + t, cell.top()}, {0, -1}),
                             Along(canvas, {cell.left() + t, cell.bottom()}, {0, 1}), int(tool), t),
                         Say(".FF.", ".FF.", ".FF.", ".FF.", int(tool), t));
            if (tool == Tool::Erase)
                QCOMPARE(QColor(canvas.pixel(cell.center())), QColor(245, 180, 180));
            Input::Leave(f.w.Controls().canMain);
            QVERIFY(QColor(canvas.pixel(cell.left() - 1, cell.top())) != kFramePixel);
            Input::Move(f.w.Controls().canMain, CellMiddle(f.w, 3, 2));
            QCOMPARE(QColor(canvas.pixel(cell.left() - 1, cell.top())), kFramePixel);
        }
        // A release away from where the pointer last moved takes the frame there at once.
        Input::Press(f.w.Controls().canMain, CellMiddle(f.w, 3, 2));
        Input::Release(f.w.Controls().canMain, CellMiddle(f.w, 6, 4));
        const QImage& canvas = f.w.Controls().canMain->Buffer();
        QCOMPARE(Say(Along(canvas, {6 * 32 - 1, 4 * 32}, {}, 1), Along(canvas, {3 * 32 - 1, 2 * 32}, {}, 1)),
                 "F .");

        f.LoadTiles("tall.png", MakeTileSheet(32, 64, 32, 32));
        TileSwatch& swatch = *f.w.Controls().swatchSelectedTile;
        QCOMPARE(SwatchMargins(swatch), Say(2, 2, 2, 2, true));
        for (const int first : {2, 4}) {
            PaletteStroke(f.w, PaletteTile(f.w, first), PaletteTile(f.w, first + 1));
            QStringList margins = SwatchMargins(swatch).split(' ');
            if (first == 4) // the tall block: its sides turned
                margins = QStringList{margins[2], margins[3], margins[0], margins[1], margins[4]};
            QVERIFY2(margins[0] == "2" && margins[1] == "2" &&
                         qAbs(margins[2].toInt() - margins[3].toInt()) <= 1 && margins[2].toInt() > 2 &&
                         margins[4] == "true",
                     qPrintable(Say(first, margins.join(' '))));
        }

        // A selection's frame: a light line just outside its cells round a dark one two pixels wide just
        // inside, so it shows over any tiles.
        ChooseTool(f.w, Tool::Select);
        DragStroke(f.w, 1, 1, 2, 2);
        QCOMPARE(Say(Along(canvas, {30, 48}, {1, 0}, 5), Along(canvas, {93, 48}, {1, 0}, 5),
                     Along(canvas, {48, 30}, {0, 1}, 5), Along(canvas, {48, 93}, {0, 1}, 5)),
                 ".LDD. .DDL. .LDD. .DDL.");

        // On every page, at the first size and a larger one: no two controls shown overlap, those on the tab
        // panel lie below its tabs and inside it, and the controls line up as designed.
        const WindowControls& ui = f.w.Controls();
        QWidgetList controls = f.w.Content()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        controls.removeOne(ui.tabpnlMain); // every control but the panel they may lie on
        const QTabBar* tabs = ui.tabpnlMain->findChild<QTabBar*>();
        for (const QSize size : {f.w.size(), f.w.size() + QSize(300, 200)}) {
            f.w.resize(size);
            QCoreApplication::processEvents();
            const QRect panel = Geometry(ui.tabpnlMain);
            const QRect bar(tabs->mapTo(f.w.Content(), QPoint(0, 0)), tabs->size());
            for (int page = 0; page < ui.tabpnlMain->count(); ++page) {
                ui.tabpnlMain->setCurrentIndex(page);
                for (qsizetype i = 0; i < controls.size(); ++i) {
                    const QRect r = Geometry(controls[i]);
                    const QString name = controls[i]->objectName();
                    QVERIFY2(r.isEmpty() || !r.intersects(bar), qPrintable(name));
                    QVERIFY2(r.isEmpty() || panel.contains(r) || !panel.intersects(r), qPrintable(name));
                    for (qsizetype j = i + 1; j < controls.size(); ++j)
                        QVERIFY2(!r.intersects(Geometry(controls[j])),
                                 qPrintable(Say(name, controls[j]->objectName(), page)));
                }
            }
            QCOMPARE(BrokenLineUps(ui), QStringList());
        }
    }
};

QTEST_MAIN(TestLooks)
#include "tst_looks.moc"
