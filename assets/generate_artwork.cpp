// Placeholder: replaced by the real artwork generator.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QImage img(48, 192, QImage::Format_ARGB32);
    img.fill(Qt::gray);
    img.save(QDir(dir).filePath("layericons.png"));
    img.save(QDir(dir).filePath("toolicons.png"));
    img.copy(0, 0, 48, 24).save(QDir(dir).filePath("gridicon.png"));
    QImage tiles(256, 256, QImage::Format_ARGB32);
    tiles.fill(Qt::darkGreen);
    tiles.save(QDir(dir).filePath("sample-tiles.png"));
    return 0;
}
