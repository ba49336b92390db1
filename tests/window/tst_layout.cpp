// The window's controls sit where the design puts them and keep their anchoring as the window grows.
#include "EditorFixture.h"
#include "MapInput.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/ScrollBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void designPlacesEveryControl();
    void growingWiderMovesRightAnchoredControls();
    void growingTallerStretchesAndMovesBottomAnchoredControls();
    void windowNeverShrinksBelowItsDesign();
    void tabsSitBelowThePageControls();
    void pageControlsShowOnlyWithTheirPage();
    void popupsTakeNoKeysAndNoWheel();
};

void TestLayout::designPlacesEveryControl() {
    EditorFixture f;
    frmMain& w = f.window();
    QCOMPARE(w.windowTitle(), QStringLiteral("2D Mosaicor"));
    QCOMPARE(w.Content()->size(), QSize(876, 580));
    const struct {
        QWidget* widget;
        QRect rect;
    } expected[] = {
        {w.tabpnlMain, {10, 10, 301, 540}},
        {w.txtWidth, {236, 49, 52, 21}},
        {w.lblTileWidth, {25, 49, 211, 21}},
        {w.txtHeight, {236, 76, 52, 21}},
        {w.lblTileHeight, {25, 76, 211, 21}},
        {w.txtName, {80, 20, 208, 22}},
        {w.lblName, {25, 20, 43, 20}},
        {w.btnLayer[0], {418, 10, 30, 30}},
        {w.lblEditLayer, {684, 19, 74, 20}},
        {w.cboEditLayer, {760, 19, 52, 20}},
        {w.lblViewLayer, {323, 19, 98, 20}},
        {w.btnLayer[7], {642, 10, 30, 30}},
        {w.btnViewGrid, {826, 10, 30, 30}},
        {w.canTiles, {17, 110, 270, 402}},
        {w.canMain, {324, 54, 536, 508}},
        {w.scbMainVertical, {860, 54, 16, 508}},
        {w.scbMainHorizontal, {323, 562, 537, 18}},
        {w.lblStatus, {10, 554, 301, 20}},
        {w.lblMapHeight, {25, 131, 211, 20}},
        {w.txtMapHeight, {236, 131, 52, 21}},
        {w.lblMapWidth, {25, 103, 211, 20}},
        {w.txtMapWidth, {236, 103, 52, 21}},
        {w.lblMapLayers, {25, 159, 211, 20}},
        {w.cboMapLayers, {236, 159, 52, 20}},
        {w.btnApply, {208, 482, 80, 20}},
        {w.btnTool[0], {40, 26, 30, 30}},
        {w.btnTool[5], {250, 26, 30, 30}},
        {w.btnTool[6], {40, 68, 30, 30}},
        {w.btnTool[7], {82, 68, 30, 30}},
        {w.scbTilesVertical, {287, 110, 16, 402}},
    };
    for (const auto& e : expected)
        QVERIFY2(e.widget->geometry() == e.rect, qPrintable(e.widget->objectName()));
    for (int i = 0; i < 8; ++i)
        QCOMPARE(w.btnLayer[i]->geometry().left(), 418 + 32 * i);
    QCOMPARE(w.tabpnlMain->tabText(0), QStringLiteral("Tools && Tiles"));
    QCOMPARE(w.tabpnlMain->tabText(1), QStringLiteral("Map Properties"));
    QCOMPARE(w.tabpnlMain->currentIndex(), 0);
    QCOMPARE(w.txtWidth->text(), QStringLiteral("32"));
    QCOMPARE(w.txtMapWidth->text(), QStringLiteral("100"));
    QCOMPARE(w.cboMapLayers->count(), 8);
    QCOMPARE(w.cboMapLayers->currentText(), QStringLiteral("3"));
    QCOMPARE(w.btnLayer[3]->toolTip(), QStringLiteral("View Layer 3"));
    QCOMPARE(w.btnViewGrid->toolTip(), QStringLiteral("View Grid"));
    QCOMPARE(w.btnViewGrid->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w.scbMainVertical->pageStep(), 20);
    QCOMPARE(w.scbMainHorizontal->hasTracking(), false);
}

void TestLayout::growingWiderMovesRightAnchoredControls() {
    EditorFixture f;
    frmMain& w = f.window();
    w.resize(w.width() + 100, w.height());
    QCOMPARE(w.Content()->width(), 976);
    QCOMPARE(w.btnViewGrid->geometry(), QRect(926, 10, 30, 30));
    QCOMPARE(w.scbMainVertical->geometry().left(), 960);
    QCOMPARE(w.canMain->width(), 636);
    QCOMPARE(w.scbMainHorizontal->width(), 637);
    QCOMPARE(w.tabpnlMain->geometry(), QRect(10, 10, 301, 540));
    QCOMPARE(w.txtWidth->geometry(), QRect(236, 49, 52, 21));
    QCOMPARE(w.btnApply->geometry(), QRect(208, 482, 80, 20));
    QCOMPARE(w.canTiles->geometry(), QRect(17, 110, 270, 402));
    QCOMPARE(w.btnLayer[7]->geometry(), QRect(642, 10, 30, 30));
    QCOMPARE(w.cboEditLayer->geometry(), QRect(760, 19, 52, 20));
    // The map view follows: one column more is visible.
    QCOMPARE(w.m_intTilemapVisibleColumns, 20);
}

void TestLayout::growingTallerStretchesAndMovesBottomAnchoredControls() {
    EditorFixture f;
    frmMain& w = f.window();
    w.resize(w.width(), w.height() + 100);
    QCOMPARE(w.Content()->height(), 680);
    QCOMPARE(w.tabpnlMain->height(), 640);
    QCOMPARE(w.canTiles->height(), 502);
    QCOMPARE(w.scbTilesVertical->height(), 502);
    QCOMPARE(w.btnApply->geometry().top(), 582);
    QCOMPARE(w.lblStatus->geometry().top(), 654);
    QCOMPARE(w.canMain->height(), 608);
    QCOMPARE(w.scbMainVertical->height(), 608);
    QCOMPARE(w.scbMainHorizontal->geometry().top(), 662);
    QCOMPARE(w.txtMapHeight->geometry(), QRect(236, 131, 52, 21));
    QCOMPARE(w.btnTool[6]->geometry(), QRect(40, 68, 30, 30));
    QCOMPARE(w.m_intTilemapVisibleRows, 19);
}

void TestLayout::windowNeverShrinksBelowItsDesign() {
    EditorFixture f;
    frmMain& w = f.window();
    // The window manager is told the limits of the whole window, menu bar included.
    const int menu = w.menuBar()->height();
    QCOMPARE(w.windowHandle()->minimumSize(), QSize(876, 580 + menu));
    QCOMPARE(w.windowHandle()->maximumSize(), QSize(32000, 32000 + menu));
    w.resize(400, 300);
    QVERIFY(w.Content()->width() >= 876);
    QVERIFY(w.Content()->height() >= 580);
    QCOMPARE(w.canMain->geometry(), QRect(324, 54, 536, 508));
}

void TestLayout::tabsSitBelowThePageControls() {
    EditorFixture f;
    frmMain& w = f.window();
    const QTabBar* tabs = w.tabpnlMain->tabBar();
    const QRect tabsInWindow(tabs->mapTo(w.Content(), QPoint(0, 0)), tabs->size());
    QVERIFY2(tabsInWindow.top() >= 512, "the tab bar must sit at the foot of the panel");
    QVERIFY(!tabsInWindow.intersects(w.btnTool[0]->geometry()));
    QVERIFY(!tabsInWindow.intersects(w.txtName->geometry()));
    QVERIFY(tabsInWindow.bottom() < w.lblStatus->geometry().top());
}

void TestLayout::pageControlsShowOnlyWithTheirPage() {
    EditorFixture f;
    frmMain& w = f.window();
    QVERIFY(w.canTiles->isVisible());
    QVERIFY(w.btnTool[3]->isVisible());
    QVERIFY(!w.btnApply->isVisible());
    w.tabpnlMain->setCurrentIndex(1);
    QVERIFY(!w.canTiles->isVisible());
    QVERIFY(w.btnApply->isVisible());
    QVERIFY(w.txtMapWidth->isVisible());
    QVERIFY(w.canMain->isVisible());
}

void TestLayout::popupsTakeNoKeysAndNoWheel() {
    EditorFixture f;
    frmMain& w = f.window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (int page : {0, 1}) {
        w.tabpnlMain->setCurrentIndex(page);
        // Tab walks the focus chain round more than once and never stops on a popup.
        for (int i = 0; i < 12; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &w, Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != w.cboEditLayer);
            QVERIFY(QApplication::focusWidget() != w.cboMapLayers);
        }
        for (QComboBox* popup : {w.cboEditLayer, w.cboMapLayers}) {
            const int row = popup->currentIndex();
            Input::Wheel(popup, QPoint(10, 10), QPoint(0, -120));
            Input::Wheel(popup, QPoint(10, 10), QPoint(0, -120));
            QCOMPARE(popup->currentIndex(), row);
        }
    }
    QCOMPARE(w.m_Layer, 0);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
