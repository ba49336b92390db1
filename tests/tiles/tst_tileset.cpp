// Loading a tileset through File, Load Tiles: cutting whole tiles row by row with their transparency, the
// status line, and files or settings that must not break the tileset.
#include "EditorFixture.h"
#include "PngCorpus.h"
#include "PngCraft.h"
#include "platform/Canvas.h"

#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QtEndian>
#include <QtTest>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kFailureRed(200, 0, 0);

// An opaque image whose every pixel differs from its neighbours, so a tile cut from the wrong place shows.
QImage Noise(int width, int height, int seed = 0) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) % 256, (y * 11 + seed * 3) % 256, (x * y + seed) % 256));
    return image;
}

QColor StatusColour(EditorFixture& f) {
    return f->lblStatus->palette().color(QPalette::WindowText);
}

Qt::Alignment StatusAlignment(EditorFixture& f) {
    return f->lblStatus->alignment() & Qt::AlignHorizontal_Mask;
}

// Whether the tile's picture is exactly the source region at (left, top).
bool SameAsRegion(const Picture& tile, const QImage& source, int left, int top, QString* why) {
    const QImage& image = tile.Image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qPremultiply(source.pixel(left + x, top + y))) {
                *why = QStringLiteral("tile pixel (%1, %2) differs from source (%3, %4)")
                           .arg(x)
                           .arg(y)
                           .arg(left + x)
                           .arg(top + y);
                return false;
            }
        }
    }
    return true;
}

// Loads a file holding exactly the given bytes, chosen in the dialog like any other.
void LoadBytes(EditorFixture& f, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(f.temp.path()).filePath(name);
    QVERIFY(PngCraft::Write(path, bytes));
    f.dialogs->answers.push_back(FolderItem(path));
    f->FileLoadTiles_Action();
}

} // namespace

class TestTileset : public QObject {
    Q_OBJECT
private slots:
    void cutsWholeTilesRowByRow_data();
    void cutsWholeTilesRowByRow();
    void loadReportsTheNameInBlackCentred();
    void secondImageContinuesTheNumbering();
    void transparencyIsKeptPixelForPixel();
    void tileSizeComesFromTheTilesetNotTheField();
    void cancelChangesNothing();
    void undecodableFilesLeaveTheTilesetAsItWas_data();
    void undecodableFilesLeaveTheTilesetAsItWas();
    void onePixelImageLoadsWithOnePixelTiles();
    void tileSizeBelowOneYieldsNoTiles_data();
    void tileSizeBelowOneYieldsNoTiles();
    void indicesStopAtTheLastNumberImageIndexHolds();
    void largestAcceptedImageLoads();
};

void TestTileset::cutsWholeTilesRowByRow_data() {
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("tile");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("100 x 70 by 32: right and bottom strips dropped")
        << QSize(100, 70) << QSize(32, 32) << 3 << 2;
    QTest::newRow("exact fit") << QSize(64, 96) << QSize(32, 32) << 2 << 3;
    QTest::newRow("oblong tiles") << QSize(50, 30) << QSize(16, 8) << 3 << 3;
    QTest::newRow("narrower than one tile") << QSize(31, 70) << QSize(32, 32) << 0 << 2;
    QTest::newRow("lower than one tile") << QSize(100, 31) << QSize(32, 32) << 3 << 0;
}

void TestTileset::cutsWholeTilesRowByRow() {
    QFETCH(QSize, image);
    QFETCH(QSize, tile);
    QFETCH(int, columns);
    QFETCH(int, rows);
    EditorFixture f;
    f->m_VOTileset->SetTileWidth(tile.width());
    f->m_VOTileset->SetTileHeight(tile.height());
    const QImage source = Noise(image.width(), image.height());
    f.LoadTiles(QStringLiteral("sheet.png"), source);
    QCOMPARE(f->m_VOTileset->Count(), columns * rows);
    // An image smaller than a tile is still a load that worked.
    QCOMPARE(f->lblStatus->text(), QStringLiteral("sheet.png loaded"));
    for (int i = 0; i < columns * rows; ++i) {
        const TileRef t = f->m_VOTileset->GetTile(i);
        QCOMPARE(int(t->ImageIndex()), i);
        QCOMPARE(t->Image()->Width(), tile.width());
        QCOMPARE(t->Image()->Height(), tile.height());
        QString why;
        QVERIFY2(SameAsRegion(*t->Image(), source, (i % columns) * tile.width(),
                              (i / columns) * tile.height(), &why),
                 qPrintable(QStringLiteral("tile %1: %2").arg(i).arg(why)));
        const CellRef cell = t->Cell();
        QCOMPARE(cell->X(), 0);
        QCOMPARE(cell->Y(), 0);
        QCOMPARE(int(cell->ZOrder()), 0);
        QVERIFY(!cell->Passable());
        QVERIFY(!t->MouseFocus);
    }
}

void TestTileset::loadReportsTheNameInBlackCentred() {
    EditorFixture f;
    f->UpdateStatus(QStringLiteral("earlier"), kFailureRed, 0);
    f.LoadTiles(QStringLiteral("tiles.png"), Noise(100, 70));
    QCOMPARE(f->lblStatus->text(), QStringLiteral("tiles.png loaded"));
    QCOMPARE(StatusColour(f), kBlack);
    QCOMPARE(StatusAlignment(f), Qt::AlignHCenter);
    // The palette shows the new tiles at once: tile 0's first pixel at the margin.
    QCOMPARE(f->canTiles->Buffer().pixel(10, 10), f->m_VOTileset->GetTileImage(0)->Image().pixel(0, 0));
    QCOMPARE(f->canTiles->Buffer().pixel(52 + 31, 10 + 31),
             f->m_VOTileset->GetTileImage(1)->Image().pixel(31, 31));
}

void TestTileset::secondImageContinuesTheNumbering() {
    EditorFixture f;
    const QImage first = Noise(100, 70, 1);
    const QImage second = Noise(100, 70, 2);
    f.LoadTiles(QStringLiteral("first.png"), first);
    f.PickTile(4);
    const TileRef selected = f->m_VOTileset->SelectedTile();
    QCOMPARE(selected, f->m_VOTileset->GetTile(4));
    f.LoadTiles(QStringLiteral("second.png"), second);
    QCOMPARE(f->m_VOTileset->Count(), 12);
    QCOMPARE(f->lblStatus->text(), QStringLiteral("second.png loaded"));
    // The selection survives the load; the first image's tiles are untouched.
    QCOMPARE(f->m_VOTileset->SelectedTile(), selected);
    QString why;
    QVERIFY2(SameAsRegion(*f->m_VOTileset->GetTileImage(5), first, 64, 32, &why), qPrintable(why));
    for (int i = 6; i < 12; ++i) {
        const TileRef t = f->m_VOTileset->GetTile(i);
        QCOMPARE(int(t->ImageIndex()), i);
        QVERIFY2(SameAsRegion(*t->Image(), second, ((i - 6) % 3) * 32, ((i - 6) / 3) * 32, &why),
                 qPrintable(why));
    }
    // Twelve 32-pixel tiles fill two palette rows of six.
    QCOMPARE(f->m_VOTileset->GetTile(5)->DisplayRow, 0);
    QCOMPARE(f->m_VOTileset->GetTile(6)->DisplayRow, 1);
    QCOMPARE(f->m_intTileRowCount, 2);
}

void TestTileset::transparencyIsKeptPixelForPixel() {
    EditorFixture f;
    // Alpha runs through fully transparent, partly transparent and opaque values across both tiles.
    QImage source(64, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            static constexpr int kAlphas[] = {0, 255, 128, 1, 254, 200, 0, 64};
            source.setPixel(x, y, qRgba(40 + x, 200 - y, (x * y) % 256, kAlphas[(x + 3 * y) % 8]));
        }
    f.LoadTiles(QStringLiteral("glass.png"), source);
    QCOMPARE(f->m_VOTileset->Count(), 2);
    // Each tile is its part of the decoded image exactly; decoding itself is checked pixel by pixel
    // elsewhere.
    const QImage drawn = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(f->m_VOTileset->GetTileImage(i)->Image(), drawn.copy(i * 32, 0, 32, 32));
    // In the palette the background shows through a transparent pixel and not through an opaque one.
    const QImage& palette = f->canTiles->Buffer();
    QCOMPARE(palette.pixel(10, 10), palette.pixel(0, 0));
    QCOMPARE(palette.pixel(11, 10), source.pixel(1, 0));
}

void TestTileset::tileSizeComesFromTheTilesetNotTheField() {
    EditorFixture f;
    f->txtWidth->setText(QStringLiteral("16"));
    f->txtHeight->setText(QStringLiteral("8.9 pixels"));
    // The fields' handlers ran (leading number, fraction dropped), but without Apply the tileset keeps 32.
    QCOMPARE(f->m_intTileWidth, 16);
    QCOMPARE(f->m_intTileHeight, 8);
    f.LoadTiles(QStringLiteral("tiles.png"), Noise(100, 70));
    QCOMPARE(f->m_VOTileset->Count(), 6);
    QCOMPARE(f->m_VOTileset->GetTileImage(0)->Width(), 32);
    QCOMPARE(f->m_VOTileset->GetTileImage(0)->Height(), 32);
    f->txtWidth->setText(QStringLiteral("wide"));
    QCOMPARE(f->m_intTileWidth, 0);
}

void TestTileset::cancelChangesNothing() {
    EditorFixture f;
    f.LoadTiles(QStringLiteral("tiles.png"), Noise(100, 70));
    f.PickTile(1);
    const QImage palette = f->canTiles->Buffer().copy();
    f->FileLoadTiles_Action(); // the dialog answers nothing: cancelled
    QCOMPARE(f.dialogs->requests.size(), std::size_t(2));
    QCOMPARE(f.dialogs->requests.back().Filter, QStringLiteral("image/png (*.png)"));
    QCOMPARE(f->m_VOTileset->Count(), 6);
    QCOMPARE(f->m_VOTileset->SelectedTile(), f->m_VOTileset->GetTile(1));
    QCOMPARE(f->lblStatus->text(), QStringLiteral("tiles.png loaded"));
    QCOMPARE(f->canTiles->Buffer(), palette);
}

void TestTileset::undecodableFilesLeaveTheTilesetAsItWas_data() {
    QTest::addColumn<QByteArray>("bytes");
    for (const PngCorpus::Entry& entry : PngCorpus::All())
        if (entry.expected.isNull())
            QTest::newRow(qPrintable(entry.name)) << entry.bytes;
}

void TestTileset::undecodableFilesLeaveTheTilesetAsItWas() {
    QFETCH(QByteArray, bytes);
    EditorFixture f;
    f.LoadTiles(QStringLiteral("good.png"), Noise(100, 70));
    f.PickTile(4);
    const TileRef selected = f->m_VOTileset->SelectedTile();
    const QImage palette = f->canTiles->Buffer().copy();

    LoadBytes(f, QStringLiteral("broken.png"), bytes);
    QCOMPARE(f->m_VOTileset->Count(), 6);
    QCOMPARE(f->m_VOTileset->SelectedTile(), selected);
    QCOMPARE(f->lblStatus->text(), QStringLiteral("broken.png could not be loaded"));
    QCOMPARE(StatusColour(f), kFailureRed);
    QCOMPARE(f->canTiles->Buffer(), palette);

    // The editor goes on working: the next good file loads after the first one's tiles.
    f.LoadTiles(QStringLiteral("next.png"), Noise(64, 32));
    QCOMPARE(f->m_VOTileset->Count(), 8);
    QCOMPARE(int(f->m_VOTileset->GetTile(7)->ImageIndex()), 7);
    QCOMPARE(StatusColour(f), kBlack);
}

void TestTileset::onePixelImageLoadsWithOnePixelTiles() {
    EditorFixture f;
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.setPixelColor(0, 0, QColor(10, 200, 30, 128));
    f.LoadTiles(QStringLiteral("dot.png"), dot);
    QCOMPARE(f->m_VOTileset->Count(), 0);
    QCOMPARE(f->lblStatus->text(), QStringLiteral("dot.png loaded"));
    f->m_VOTileset->SetTileWidth(1);
    f->m_VOTileset->SetTileHeight(1);
    f.LoadTiles(QStringLiteral("dot.png"), dot);
    QCOMPARE(f->m_VOTileset->Count(), 1);
    QCOMPARE(qAlpha(f->m_VOTileset->GetTileImage(0)->Image().pixel(0, 0)), 128);
}

void TestTileset::tileSizeBelowOneYieldsNoTiles_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("width 0") << 0 << 32;
    QTest::newRow("height 0") << 32 << 0;
    QTest::newRow("both negative") << -4 << -1;
}

void TestTileset::tileSizeBelowOneYieldsNoTiles() {
    QFETCH(int, width);
    QFETCH(int, height);
    EditorFixture f;
    f.LoadTiles(QStringLiteral("first.png"), Noise(64, 32));
    // As Apply could set it before it checked its fields.
    f->m_VOTileset->SetTileWidth(width);
    f->m_VOTileset->SetTileHeight(height);
    f.LoadTiles(QStringLiteral("tiles.png"), Noise(100, 70));
    QCOMPARE(f->m_VOTileset->Count(), 2);
    QVERIFY(f->lblStatus->text().startsWith(QStringLiteral("tiles.png")));
    QVERIFY(f->lblStatus->text() != QStringLiteral("tiles.png loaded"));
    QCOMPARE(StatusColour(f), kFailureRed);
    // Hovering and clicking the palette with that size does no harm.
    f->canTiles_MouseEnter();
    f->canTiles_MouseMove(12, 12);
    f->canTiles_MouseDown(12, 12);
    f->canTiles_MouseExit();
    QCOMPARE(f->m_VOTileset->Count(), 2);
}

void TestTileset::indicesStopAtTheLastNumberImageIndexHolds() {
    EditorFixture f;
    f->m_VOTileset->SetTileWidth(1);
    f->m_VOTileset->SetTileHeight(1);
    // 256 x 129 one-pixel tiles are 33,024: one row of 256 more than a tileset can number.
    QImage source(256, 129, QImage::Format_ARGB32);
    for (int y = 0; y < 129; ++y)
        for (int x = 0; x < 256; ++x)
            source.setPixel(x, y, qRgb(x, y, (x ^ y) & 0xFF));
    f.LoadTiles(QStringLiteral("pixels.png"), source);
    QCOMPARE(f->m_VOTileset->Count(), 32768);
    for (int i = 0; i < 32768; ++i)
        if (f->m_VOTileset->GetTile(i)->ImageIndex() != i)
            QFAIL(qPrintable(QStringLiteral("tile %1 has ImageIndex %2")
                                 .arg(i)
                                 .arg(f->m_VOTileset->GetTile(i)->ImageIndex())));
    QCOMPARE(int(f->m_VOTileset->GetTile(32767)->ImageIndex()), 32767);
    QCOMPARE(f->m_VOTileset->GetTileImage(32767)->Image().pixel(0, 0), source.pixel(255, 127));
    const QString text = f->lblStatus->text();
    QVERIFY2(text.startsWith(QStringLiteral("pixels.png")) && text.contains(QStringLiteral("256")),
             qPrintable(text));
    QCOMPARE(StatusColour(f), kFailureRed);

    // A full tileset takes nothing more, says how much it left out, and does not call that a load.
    f.LoadTiles(QStringLiteral("more.png"), Noise(3, 2));
    QCOMPARE(f->m_VOTileset->Count(), 32768);
    const QString refused = f->lblStatus->text();
    QVERIFY2(refused.startsWith(QStringLiteral("more.png")) && refused.contains(QStringLiteral("6")) &&
                 !refused.startsWith(QStringLiteral("more.png loaded")),
             qPrintable(refused));
    QCOMPARE(StatusColour(f), kFailureRed);
}

void TestTileset::largestAcceptedImageLoads() {
    EditorFixture f;
    const QString path = QDir(f.temp.path()).filePath(QStringLiteral("huge.png"));
    QRgb corner = 0;
    QRgb lastTile = 0;
    {
        // 8192 x 8192 RGBA in 16-pixel blocks of colour, every fifth block fully transparent.
        QImage source(8192, 8192, QImage::Format_ARGB32);
        for (int y = 0; y < 8192; ++y) {
            auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
            for (int x = 0; x < 8192; ++x) {
                const int block = (x / 16) + (y / 16) * 512;
                line[x] = block % 5 == 0 ? qRgba(0, 0, 0, 0) : qRgb(block % 251, (block / 7) % 256, x / 32);
            }
        }
        corner = source.pixel(7168, 7168);
        lastTile = source.pixel(8191, 8191);
        QImageWriter writer(path, "png");
        writer.setQuality(90); // light compression: the test is about reading
        QVERIFY(writer.write(source));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(26);
    QCOMPARE(qFromBigEndian<quint32>(header.constData() + 16), 8192u);
    QCOMPARE(qFromBigEndian<quint32>(header.constData() + 20), 8192u);
    QCOMPARE(int(header[25]), int(PngCraft::Rgba));

    f->m_VOTileset->SetTileWidth(1024);
    f->m_VOTileset->SetTileHeight(1024);
    f.dialogs->answers.push_back(FolderItem(path));
    f->FileLoadTiles_Action();
    QCOMPARE(f->lblStatus->text(), QStringLiteral("huge.png loaded"));
    QCOMPARE(StatusColour(f), kBlack);
    QCOMPARE(f->m_VOTileset->Count(), 64);
    const QImage& last = f->m_VOTileset->GetTileImage(63)->Image();
    QCOMPARE(last.pixel(0, 0), corner);
    QCOMPARE(last.pixel(1023, 1023), lastTile);
    QCOMPARE(qAlpha(last.pixel(16, 0)), 0); // the next block is a fifth one
}

QTEST_MAIN(TestTileset)
#include "tst_tileset.moc"
