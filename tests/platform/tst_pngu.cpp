// Reading PNG files: every colour type, depth and interlacing decodes to the pixels written, colour keys
// included; lying, bombed and damaged files are refused or load correctly; only regular files are read.
#include "PngCorpus.h"
#include "PngCraft.h"
#include "platform/PNGu.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPNGu : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
private slots:
    void corpus_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < PngCorpus::All().size(); ++i)
            QTest::newRow(qPrintable(PngCorpus::All()[i].name)) << int(i);
    }
    void corpus() {
        QFETCH(int, index);
        const PngCorpus::Entry& entry = PngCorpus::All()[std::size_t(index)];
        const QString path = m_dir.filePath(QStringLiteral("%1.png").arg(index));
        QVERIFY(PngCraft::Write(path, entry.bytes));
        const PicturePtr picture = PNGu::OpenAsPictureWithMask(path, 0.0);
        // The picture holds what is drawn: the colour weighted by its alpha, and the alpha itself.
        constexpr auto kDrawn = QImage::Format_ARGB32_Premultiplied;
        QCOMPARE(picture ? picture->Image().convertToFormat(kDrawn) : QImage(),
                 entry.expected.convertToFormat(kDrawn));
    }
    void onlyRegularFilesAreRead() {
        // A device would feed the reader without end; a folder or a missing file holds no image.
        for (const QString& path : {QStringLiteral("/dev/zero"), m_dir.path(), m_dir.filePath("none")})
            QVERIFY2(!PNGu::OpenAsPictureWithMask(path, 0.0), qPrintable(path));
    }
};

QTEST_MAIN(TestPNGu)
#include "tst_pngu.moc"
