// Work on the largest map the editor accepts stays on the heap and within memory.
#include "EditorFixture.h"
#include "MapInput.h"
#include "map/MapSettings.h"
#include "platform/Canvas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestBigWork : public QObject {
    Q_OBJECT
private slots:
    void largestMapTakesAFillOfAWholeLayer();
};

void TestBigWork::largestMapTakesAFillOfAWholeLayer() {
    EditorFixture f;
    f.LoadSolidTiles(2, 1);
    // 8192 x 2048 is the most cells a layer may hold; eight such layers are applied at once.
    f->txtMapWidth->setText(QString::number(kMaxMapSide));
    f->txtMapHeight->setText(QString::number(kMaxMapCells / kMaxMapSide));
    f->cboMapLayers->setCurrentIndex(7);
    f->btnApply_Action();
    QCOMPARE(f->m_intMapWidth, 8192);
    QCOMPARE(f->m_intMapHeight, 2048);
    for (int k = 0; k < 8; ++k)
        QVERIFY(f->Layer(k).SizedTo(8192, 2048));

    f->btnTool_Action(7);
    HoverAt(f.window(), QPoint(40, 40));
    Input::Click(f->canMain, QPoint(40, 40));
    QVERIFY(f->Layer(0).Get(0, 0));
    QVERIFY(f->Layer(0).Get(8191, 2047));
    QVERIFY(f->m_objLayer.empty());
    QCOMPARE(f->m_blnTilemap.Width(), 1);

    // A map beyond the cell limit is refused as a whole and the filled one stays.
    f->txtMapHeight->setText(QStringLiteral("8192"));
    f->btnApply_Action();
    QCOMPARE(f->m_intMapHeight, 2048);
    QVERIFY(f->Layer(0).Get(8191, 2047));
    QVERIFY(f->lblStatus->text().contains(QStringLiteral("16777216")));
}

QTEST_MAIN(TestBigWork)
#include "tst_bigwork.moc"
