// Reading PNG files: every colour type, depth and interlacing decodes to the pixels that were written, colour
// keys included; lying, bombed and damaged files are refused or load correctly.
#include "PngCorpus.h"
#include "PngCraft.h"
#include "platform/PNGu.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestPNGu : public QObject {
    Q_OBJECT
private slots:
    void corpus_data();
    void corpus();
    void onlyRegularFilesAreRead();

private:
    QTemporaryDir m_dir;
};

void TestPNGu::corpus_data() {
    QTest::addColumn<int>("index");
    const auto& all = PngCorpus::All();
    for (int i = 0; i < int(all.size()); ++i)
        QTest::newRow(qPrintable(all[std::size_t(i)].name)) << i;
}

void TestPNGu::corpus() {
    QFETCH(int, index);
    const PngCorpus::Entry& entry = PngCorpus::All()[std::size_t(index)];
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("%1.png").arg(index));
    QVERIFY(PngCraft::Write(path, entry.bytes));
    const PicturePtr picture = PNGu::OpenAsPictureWithMask(path, 0.0);
    if (entry.expected.isNull()) {
        QVERIFY(!picture);
        return;
    }
    QVERIFY(picture);
    const QImage& image = picture->Image();
    QCOMPARE(image.size(), entry.expected.size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            // The picture holds what is drawn: the colour weighted by its alpha, and the alpha itself.
            const QRgb want = qPremultiply(entry.expected.pixel(x, y));
            const QRgb got = image.pixel(x, y);
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): got %3, want %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(got, 8, 16, QLatin1Char('0'))
                                     .arg(want, 8, 16, QLatin1Char('0'))));
        }
    }
}

void TestPNGu::onlyRegularFilesAreRead() {
    // A device would feed the reader without end; a folder or a missing file holds no image.
    for (const QString& path :
         {QStringLiteral("/dev/zero"), m_dir.path(), m_dir.filePath(QStringLiteral("none"))})
        QVERIFY2(!PNGu::OpenAsPictureWithMask(path, 0.0), qPrintable(path));
}

QTEST_MAIN(TestPNGu)
#include "tst_pngu.moc"
