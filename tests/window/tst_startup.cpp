// Start-up: the editor state after the window opens, the status line, and start-up going on when an icon
// image is missing.
#include "EditorFixture.h"
#include "platform/BevelButton.h"
#include "platform/ScrollBar.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

namespace {
// A folder holding the real icon images except the named one.
QString IconsWithout(QTemporaryDir& dir, const QString& missing) {
    const QString from = QCoreApplication::applicationDirPath();
    for (const char* name : {"layericons.png", "gridicon.png", "toolicons.png"})
        if (QLatin1String(name) != missing)
            QFile::copy(QDir(from).filePath(QLatin1String(name)),
                        QDir(dir.path()).filePath(QLatin1String(name)));
    return dir.path();
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void constructionValuesBeforeOpen();
    void defaultsAfterOpen();
    void statusLineShowsTextColourAndAlignment();
    void missingLayerIconsStillGiveAUsableMap();
    void missingGridIconKeepsTheGridOn();
    void missingToolIconsLeaveEraseCurrent();
    void allIconsMissingGivesThreeMessages();
};

void TestStartup::constructionValuesBeforeOpen() {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    frmMain w(dialogs);
    QVERIFY(!w.IsOpen());
    QVERIFY(!w.m_VOTileset);
    QCOMPARE(w.m_intCurrentTool, 1);
    QCOMPARE(w.m_intLayers, 3);
    QCOMPARE(w.m_Layer, -1);
    QCOMPARE(w.Layer(0).Width(), 1);
    // Qt reports sizes and values while building; none of it may reach the editor before it opens.
    w.scbMainHorizontal->setValue(5);
    QCOMPARE(w.m_intMapOffsetX, 0);
}

void TestStartup::defaultsAfterOpen() {
    EditorFixture f;
    frmMain& w = f.window();
    QVERIFY(w.IsOpen());
    QVERIFY(f.dialogs->messages.isEmpty());
    QVERIFY(w.m_VOTileset);
    QCOMPARE(w.m_VOTileset->Count(), 0);
    QCOMPARE(w.m_VOTileset->TileWidth(), 32);
    QCOMPARE(w.m_VOTileset->TileHeight(), 32);
    QCOMPARE(w.m_intCurrentTool, 0);
    QCOMPARE(w.m_intLastTool, 0);
    QVERIFY(w.m_blnDrawGrid);
    QVERIFY(w.btnViewGrid->Value());
    QVERIFY(w.btnViewGrid->Icon());
    QCOMPARE(w.m_intMapWidth, 100);
    QCOMPARE(w.m_intMapHeight, 100);
    for (int k = 0; k < 3; ++k)
        QVERIFY(w.Layer(k).SizedTo(100, 100));
    for (int k = 3; k < 8; ++k)
        QVERIFY(w.Layer(k).SizedTo(1, 1));
    QCOMPARE(w.m_Layer, 0);
    QVERIFY(w.btnLayer[0]->Value());
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(w.btnLayer[i]->isEnabled(), i < 3);
        QCOMPARE(w.btnLayer[i]->Value(), i == 0);
        QCOMPARE(w.btnTool[i]->Value(), i == 0);
        QVERIFY(w.btnTool[i]->Icon());
    }
    QCOMPARE(w.cboEditLayer->count(), 3);
    QCOMPARE(w.cboEditLayer->currentText(), QStringLiteral("0"));
    QVERIFY(w.m_objLayer.empty());
    QCOMPARE(w.m_intTileRowCount, 1);
    QCOMPARE(w.m_intTilemapVisibleColumns, 17);
    QCOMPARE(w.m_intTilemapVisibleRows, 16);
    QVERIFY(!w.scbTilesVertical->isEnabled());
    QCOMPARE(w.lblStatus->text(), QString());
    QCOMPARE(w.lblStatus->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

void TestStartup::statusLineShowsTextColourAndAlignment() {
    EditorFixture f;
    // A file name is shown as it is, in black, never read as markup; so is every label's text.
    f.LoadTiles(QStringLiteral("<font color=red>x.png"), MakeTileSheet(64, 32, 32, 32));
    QCOMPARE(f->lblStatus->text(), QStringLiteral("<font color=red>x.png loaded"));
    const QImage shown = f->lblStatus->grab().toImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            QVERIFY2(c.red() < c.green() + 60, "the status text is drawn red");
        }
    for (const QLabel* label : f->findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);

    f->UpdateStatus(QStringLiteral("tiles.png loaded"), QColor(0, 0, 0), 1);
    QCOMPARE(f->lblStatus->text(), QStringLiteral("tiles.png loaded"));
    QCOMPARE(f->lblStatus->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    f->UpdateStatus(QString(), QColor(200, 0, 0), 0);
    QCOMPARE(f->lblStatus->text(), QString());
    QCOMPARE(f->lblStatus->palette().color(QPalette::WindowText), QColor(200, 0, 0));
    QCOMPARE(f->lblStatus->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

void TestStartup::missingLayerIconsStillGiveAUsableMap() {
    QTemporaryDir dir;
    EditorFixture f(IconsWithout(dir, QStringLiteral("layericons.png")));
    QCOMPARE(f.dialogs->messages, QStringList({"Error loading layer icons."}));
    QVERIFY(f->Layer(0).SizedTo(100, 100));
    QCOMPARE(f->m_Layer, 0);
    QVERIFY(f->btnLayer[0]->Value());
    QVERIFY(!f->btnLayer[0]->Icon());
    QCOMPARE(f->m_intCurrentTool, 0);
    f.LoadSolidTiles(2, 1);
    f->PlaceTile(0, 0, 0, 0, false);
    QVERIFY(f->Layer(0).Get(0, 0));
}

void TestStartup::missingGridIconKeepsTheGridOn() {
    QTemporaryDir dir;
    EditorFixture f(IconsWithout(dir, QStringLiteral("gridicon.png")));
    QCOMPARE(f.dialogs->messages, QStringList({"Error loading grid icon."}));
    QVERIFY(f->m_blnDrawGrid);
    QVERIFY(f->btnViewGrid->Value());
    QCOMPARE(f->m_intCurrentTool, 0);
}

void TestStartup::missingToolIconsLeaveEraseCurrent() {
    QTemporaryDir dir;
    EditorFixture f(IconsWithout(dir, QStringLiteral("toolicons.png")));
    QCOMPARE(f.dialogs->messages, QStringList({"Error loading tool icons."}));
    QCOMPARE(f->m_intCurrentTool, 1);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!f->btnTool[i]->Value());
}

void TestStartup::allIconsMissingGivesThreeMessages() {
    // The message boxes tell the user; nothing is printed besides.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QTemporaryDir dir;
    EditorFixture f(dir.path());
    QCOMPARE(f.dialogs->messages, QStringList({"Error loading layer icons.", "Error loading grid icon.",
                                               "Error loading tool icons."}));
    QVERIFY(f->IsOpen());
    QCOMPARE(f->m_intTilemapVisibleColumns, 17);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
