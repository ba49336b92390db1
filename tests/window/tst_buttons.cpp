// The toggle buttons: cutting icon images into up and down pictures, and the tool, layer and grid buttons.
#include "EditorFixture.h"
#include "platform/BevelButton.h"
#include "platform/Canvas.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QtTest>

namespace {
// An image of width x height whose 24 x 24 cells, row by row, have distinct colours; cell 1 has a
// transparent top-left pixel.
QImage IconSheet(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    int n = 0;
    for (int y = 0; y + 24 <= height; y += 24)
        for (int x = 0; x + 24 <= width; x += 24, ++n)
            for (int yy = y; yy < y + 24; ++yy)
                for (int xx = x; xx < x + 24; ++xx)
                    image.setPixelColor(xx, yy, QColor(10 * n, 255 - 10 * n, 100));
    if (width >= 48)
        image.setPixelColor(24, 0, Qt::transparent);
    return image;
}

QColor CellColour(int n) {
    return QColor(10 * n, 255 - 10 * n, 100);
}

QColor Centre(const PicturePtr& picture) {
    return picture->Image().pixelColor(12, 12);
}
} // namespace

class TestButtons : public QObject {
    Q_OBJECT
private slots:
    void iconCellsAlternateUpAndDown_data();
    void iconCellsAlternateUpAndDown();
    void threeCellsGiveTwoUpAndOneDown();
    void missingIconFileFails();
    void clickingAnotherToolPressesOnlyIt();
    void clickingTheCurrentToolKeepsItPressed();
    void realClickOnAToolButton();
    void toolButtonsAreNoExclusiveGroup();
    void gridButtonTogglesTheGrid();
    void layerButtonsShowAndHide();
    void settingAButtonFromCodeRunsNoHandler();
};

void TestButtons::iconCellsAlternateUpAndDown_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("pairs");
    QTest::newRow("2 across, 8 down") << QSize(48, 192) << 8;
    QTest::newRow("16 across") << QSize(384, 24) << 8;
    QTest::newRow("partial cells at the edges") << QSize(48 + 23, 192 + 10) << 8;
    // Three cells a row: the alternation runs on across the row's end.
    QTest::newRow("3 across, 2 down") << QSize(72, 48) << 3;
}

void TestButtons::iconCellsAlternateUpAndDown() {
    QFETCH(QSize, size);
    QFETCH(int, pairs);
    EditorFixture f;
    const QString path = f.WritePng(QStringLiteral("icons.png"), IconSheet(size.width(), size.height()));
    clsVOIcon store;
    QVERIFY(f->LoadIcons(FolderItem(path), store));
    QCOMPARE(store.UpIconCount(), pairs - 1);
    QCOMPARE(store.DownIconCount(), pairs - 1);
    for (int k = 0; k < pairs; ++k) {
        QCOMPARE(store.UpIcon(k)->Width(), 24);
        QCOMPARE(store.UpIcon(k)->Height(), 24);
        QCOMPARE(Centre(store.UpIcon(k)), CellColour(2 * k));
        QCOMPARE(Centre(store.DownIcon(k)), CellColour(2 * k + 1));
    }
    // Transparency travels with the picture.
    QCOMPARE(store.DownIcon(0)->Image().pixelColor(0, 0).alpha(), 0);
    QCOMPARE(store.DownIcon(0)->Image().pixelColor(1, 0).alpha(), 255);
    QVERIFY(!store.UpIcon(pairs));
    QVERIFY(!store.DownIcon(pairs));
}

void TestButtons::threeCellsGiveTwoUpAndOneDown() {
    EditorFixture f;
    const QString path = f.WritePng(QStringLiteral("three.png"), IconSheet(72, 24));
    clsVOIcon store;
    QVERIFY(f->LoadIcons(FolderItem(path), store));
    QCOMPARE(store.UpIconCount(), 1);
    QCOMPARE(store.DownIconCount(), 0);
    QCOMPARE(Centre(store.UpIcon(0)), CellColour(0));
    QCOMPARE(Centre(store.DownIcon(0)), CellColour(1));
    QCOMPARE(Centre(store.UpIcon(1)), CellColour(2));
    QVERIFY(!store.DownIcon(1));
}

void TestButtons::missingIconFileFails() {
    EditorFixture f;
    clsVOIcon store;
    QVERIFY(!f->LoadIcons(FolderItem(f.temp.filePath(QStringLiteral("none.png"))), store));
    QVERIFY(!f->LoadIcons(FolderItem(), store));
    const QString notPng = f.temp.filePath(QStringLiteral("text.png"));
    QFile file(notPng);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    QVERIFY(!f->LoadIcons(FolderItem(notPng), store));
    QCOMPARE(store.UpIconCount(), -1);
}

void TestButtons::clickingAnotherToolPressesOnlyIt() {
    EditorFixture f;
    QCOMPARE(f->m_intCurrentTool, 0);
    f->btnTool[2]->click();
    QCOMPARE(f->m_intCurrentTool, 2);
    QCOMPARE(f->m_intLastTool, 0);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(f->btnTool[i]->Value(), i == 2);
        QCOMPARE(f->btnTool[i]->Icon(),
                 i == 2 ? f->m_objVOToolIcon->DownIcon(i) : f->m_objVOToolIcon->UpIcon(i));
    }
    f->btnTool[7]->click();
    QCOMPARE(f->m_intCurrentTool, 7);
    QCOMPARE(f->m_intLastTool, 2);
    QVERIFY(!f->btnTool[2]->Value());
    QCOMPARE(f->btnTool[2]->Icon(), f->m_objVOToolIcon->UpIcon(2));
}

void TestButtons::clickingTheCurrentToolKeepsItPressed() {
    EditorFixture f;
    f->btnTool[4]->click();
    f->btnTool[4]->click();
    QCOMPARE(f->m_intCurrentTool, 4);
    QCOMPARE(f->m_intLastTool, 4);
    QVERIFY(f->btnTool[4]->Value());
    QCOMPARE(f->btnTool[4]->Icon(), f->m_objVOToolIcon->DownIcon(4));
    int pressed = 0;
    for (int i = 0; i < 8; ++i)
        pressed += f->btnTool[i]->Value() ? 1 : 0;
    QCOMPARE(pressed, 1);
}

void TestButtons::realClickOnAToolButton() {
    EditorFixture f;
    QVERIFY(f->btnTool[1]->isVisible());
    QTest::mouseClick(f->btnTool[1], Qt::LeftButton);
    QCOMPARE(f->m_intCurrentTool, 1);
    QVERIFY(f->btnTool[1]->Value());
    QVERIFY(!f->btnTool[0]->Value());
    QTest::mouseClick(f->btnTool[1], Qt::LeftButton);
    QVERIFY(f->btnTool[1]->Value());
}

void TestButtons::toolButtonsAreNoExclusiveGroup() {
    EditorFixture f;
    for (BevelButton* button : f->btnTool) {
        QVERIFY(!button->group());
        QVERIFY(!button->autoExclusive());
        QVERIFY(button->isCheckable());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(button->toolTip().isEmpty());
        QVERIFY(button->text().isEmpty());
    }
    for (BevelButton* button : f->btnLayer)
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QCOMPARE(f->btnViewGrid->focusPolicy(), Qt::NoFocus);
}

void TestButtons::gridButtonTogglesTheGrid() {
    EditorFixture f;
    const auto pixel = [&](int x, int y) { return QColor(f->canMain->Buffer().pixel(x, y)); };
    QCOMPARE(pixel(32, 10), QColor(115, 200, 200));
    f->btnViewGrid->click();
    QVERIFY(!f->m_blnDrawGrid);
    QVERIFY(!f->btnViewGrid->Value());
    QCOMPARE(f->btnViewGrid->Icon(), f->m_objVOGridIcon->UpIcon(0));
    QCOMPARE(pixel(32, 10), QColor(0, 0, 0));
    QCOMPARE(pixel(0, 0), QColor(0, 0, 0));
    f->btnViewGrid->click();
    QVERIFY(f->m_blnDrawGrid);
    QCOMPARE(f->btnViewGrid->Icon(), f->m_objVOGridIcon->DownIcon(0));
    QCOMPARE(pixel(32, 10), QColor(115, 200, 200));
}

void TestButtons::layerButtonsShowAndHide() {
    EditorFixture f;
    f.LoadSolidTiles(1, 0);
    f->cboEditLayer->setCurrentIndex(1);
    f->PlaceTile(64, 64, 2, 2, false);
    const auto pixel = [&] { return QColor(f->canMain->Buffer().pixel(70, 70)); };
    const QColor tile(f->m_VOTileset->GetTileImage(0)->Image().pixel(2, 2));
    f->btnLayer[1]->click();
    QVERIFY(f->btnLayer[1]->Value());
    QCOMPARE(f->btnLayer[1]->Icon(), f->m_objVOLayerIcon->DownIcon(1));
    QCOMPARE(pixel(), tile);
    f->btnLayer[1]->click();
    QVERIFY(!f->btnLayer[1]->Value());
    QCOMPARE(f->btnLayer[1]->Icon(), f->m_objVOLayerIcon->UpIcon(1));
    QCOMPARE(pixel(), QColor(0, 0, 0));
    // Hiding layer 0 hides its cells too; the buttons act only on their own layer.
    f->cboEditLayer->setCurrentIndex(0);
    f->PlaceTile(0, 0, 0, 0, false);
    f->btnLayer[0]->click();
    QCOMPARE(QColor(f->canMain->Buffer().pixel(10, 10)), QColor(0, 0, 0));
    QVERIFY(!f->btnLayer[1]->Value());
    // A disabled layer button cannot be pressed.
    QVERIFY(!f->btnLayer[5]->isEnabled());
    QTest::mouseClick(f->btnLayer[5], Qt::LeftButton);
    QVERIFY(!f->btnLayer[5]->Value());
}

void TestButtons::settingAButtonFromCodeRunsNoHandler() {
    EditorFixture f;
    f->btnLayer[1]->SetValue(true);
    QCOMPARE(f->btnLayer[1]->Icon(), f->m_objVOLayerIcon->UpIcon(1));
    f->btnTool[3]->SetValue(true);
    QCOMPARE(f->m_intCurrentTool, 0);
    f->btnViewGrid->SetValue(false);
    QVERIFY(f->m_blnDrawGrid);
}

QTEST_MAIN(TestButtons)
#include "tst_buttons.moc"
