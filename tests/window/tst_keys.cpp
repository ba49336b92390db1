// The keys and small helps a user reaches for, through real key and mouse events: tool letters (not while a
// text field or a popup has the keyboard), the status line that keeps a load's report and shows long texts
// whole in its tooltip, and the selected tile kept in view. (Edit-layer digits are rows of the window test's
// buttons, Shift+wheel one of its view.)
#include "UserSteps.h"
#include "platform/ScrollBar.h"
#include "tiles/TileSwatch.h"
#include "window/StatusLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QtTest>

namespace {
// The key a tool's tooltip names in its brackets, e.g. "Filled Rectangle (Shift+R)".
QKeyCombination ToolKey(const frmMain& w, Tool tool) {
    const QString help = w.Controls().btnTool[static_cast<std::size_t>(ToolIndex(tool))]->toolTip();
    const qsizetype open = help.lastIndexOf('(');
    return QKeySequence(help.mid(open + 1, help.size() - open - 2))[0];
}

// The current tool and the tool whose button is pressed (-1 for none), by index.
QString ToolAndButton(const frmMain& w) {
    int pressed = -1;
    for (int i = 0; i < kToolCount; ++i)
        if (w.Controls().btnTool[static_cast<std::size_t>(i)]->Value())
            pressed = i;
    return Say(ToolIndex(w.CurrentStroke().CurrentTool()), pressed);
}
QString Both(Tool tool) {
    return Say(ToolIndex(tool), ToolIndex(tool));
}
} // namespace

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    // Every tool's tooltip names a key of its own, and typing it chooses that tool, its button pressed. While
    // a popup or a text field has the keyboard, letters and digits are typing, and in a field Select All and
    // Delete act on its text; once the popup closes, or a click on either canvas takes the keyboard from the
    // field, the keys choose again.
    void toolKeysStatusLineAndSelectedTile() {
        EditorFixture f;
        const QColor background = f.w.Controls().swatchSelectedTile->grab().toImage().pixelColor(15, 15);
        QVERIFY(Activate(f.w));
        // Every tool from Erase round to Plot, typed while another is current: a key shared or missing fails.
        for (int i = 1; i <= kToolCount; ++i) {
            const QKeyCombination key = ToolKey(f.w, ToolAt(i % kToolCount));
            Type(f.w, key.key(), key.keyboardModifiers());
            QCOMPARE(ToolAndButton(f.w), Both(ToolAt(i % kToolCount)));
        }
        // A letter no tool has, or with Ctrl held, changes nothing.
        Type(f.w, Qt::Key_Q);
        Type(f.w, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(ToolAndButton(f.w), Both(Tool::Plot));

        Apply(f.w, "8", "32", "32", "100", "100");
        f.LoadSolidTiles(1, 0);
        Put(f.w, 0, 1, 1, 0);
        f.w.SetSelection(QRect(0, 0, 3, 2));
        const auto letters = [&] {
            Type(f.w, Qt::Key_E);
            Type(f.w, Qt::Key_F);
            Type(f.w, Qt::Key_O, Qt::ShiftModifier);
        };
        f.w.Controls().cboEditLayer->showPopup();
        letters();
        QCOMPARE(ToolAndButton(f.w), Both(Tool::Plot));
        f.w.Controls().cboEditLayer->hidePopup();
        Type(f.w, Qt::Key_E);
        QCOMPARE(ToolAndButton(f.w), Both(Tool::Erase));
        f.w.Controls().tabpnlMain->setCurrentIndex(1);
        f.w.Controls().txtName->setFocus();
        letters();
        Type(f.w, Qt::Key_4);
        QCOMPARE(Say(ToolAndButton(f.w), f.w.Controls().txtName->text(),
                     f.w.Controls().cboEditLayer->currentText()),
                 Say(Both(Tool::Erase), "efo4", "0"));
        Type(f.w, Qt::Key_A, Qt::ControlModifier);
        Type(f.w, Qt::Key_Delete);
        QCOMPARE(Say(f.w.Controls().txtName->text(), bool(f.w.Layer(0).Get(1, 1)), f.w.Selection().height()),
                 Say("", true, 2));
        Click(f.w, 3, 3);
        Type(f.w, Qt::Key_F);
        QCOMPARE(ToolAndButton(f.w), Both(Tool::Fill));
        f.w.Controls().tabpnlMain->setCurrentIndex(0);
        f.w.Controls().cboEditLayer->setFocus(); // a field the palette is shown beside
        PaletteStroke(f.w, QPoint(5, f.w.Controls().canTiles->height() - 5));
        Type(f.w, Qt::Key_L);
        QCOMPARE(ToolAndButton(f.w), Both(Tool::Line));

        // With the pointer away from the map, a load through Ctrl+T leaves its report; what Qt sends when the
        // dialog closes (a leave, an enter and a leave), focus coming back and a resize keep it. The pointer
        // moving over the map replaces it with the cursor's text, and leaving empties that. A report longer
        // than the line shows its start, cut at the end with an ellipsis, and the whole text as the line's
        // tooltip, markup shown as it is; a short one shows whole with no tooltip.
        f.dialogs->answers.push_back(FolderItem(f.WritePng("tiles.png", MakeTileSheet(64, 32, 32, 32))));
        QTest::keyClick(&f.w, Qt::Key_T, Qt::ControlModifier);
        Input::Leave(f.w.Controls().canMain);
        Input::Enter(f.w.Controls().canMain, QPoint(-5, 10));
        Input::Leave(f.w.Controls().canMain);
        QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&f.w, &focusIn);
        f.w.resize(f.w.width() + 40, f.w.height() + 30);
        QCoreApplication::processEvents();
        ChooseTool(f.w, Tool::Erase);
        QCOMPARE(f.w.Controls().lblStatus->text(), "tiles.png loaded");
        HoverAt(f.w, QPoint(40, 70));
        QCOMPARE(f.w.Controls().lblStatus->text(), "Erase X: 1 Y: 2");
        Input::Leave(f.w.Controls().canMain);
        QCOMPARE(f.w.Controls().lblStatus->text(), "");

        auto* status = static_cast<StatusLabel*>(f.w.Controls().lblStatus);
        const QString longName = QString(90, 'n') + ".png";
        f.LoadTiles(longName, MakeTileSheet(64, 32, 32, 32));
        const QString text = longName + " loaded";
        const QString shown = status->ShownText();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && text.startsWith(shown.chopped(1)) && shown.size() > 10,
                 qPrintable(shown));
        QVERIFY(status->fontMetrics().horizontalAdvance(shown) <= status->contentsRect().width());
        QCOMPARE(status->toolTip(), text);
        f.LoadTiles("<b>" + longName, MakeTileSheet(64, 32, 32, 32));
        QVERIFY(!status->toolTip().contains("<b>") && status->toolTip().contains("&lt;b&gt;" + longName));
        f.LoadTiles("short.png", MakeTileSheet(64, 32, 32, 32));
        QCOMPARE(Say(status->ShownText(), status->toolTip()), Say("short.png loaded", ""));

        // A load scrolls the palette to the selected tile; the swatch shows the selected tile's picture, and
        // nothing once no tile is selected.
        f.LoadSolidTiles(200, 190);
        const TileRef picked = f.w.Palette().SelectedTile();
        QCOMPARE(f.w.Controls().swatchSelectedTile->grab().toImage().pixel(15, 15), TileColour(f.w, 190));
        f.w.Controls().scbTilesVertical->setValue(0);
        f.LoadSolidTiles(3, -1); // more tiles; the selection stays
        QCOMPARE(f.w.Palette().SelectedTile(), picked);
        const int top = PaletteSlot(f.w, 190).y(), bottom = top + f.w.Tileset().TileHeight();
        QVERIFY2(top >= 0 && bottom <= f.w.Controls().canTiles->height(), qPrintable(Say(top, bottom)));
        QCOMPARE(f.w.Controls().scbTilesVertical->Value(), f.w.Palette().TilesOffsetY());
        PaletteStroke(f.w, QPoint(5, f.w.Controls().canTiles->height() - 5)); // where there is no tile
        QVERIFY(!f.w.Palette().SelectedTile());
        QCOMPARE(f.w.Controls().swatchSelectedTile->grab().toImage().pixelColor(15, 15), background);
    }
};

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
