#include "map/MapPicture.h"

#include "document/MapDocument.h"
#include "map/MapPainter.h"
#include "map/MapZoom.h"
#include "map/ZoomedPictures.h"
#include "platform/PngBandWriter.h"

#include <QLocale>
#include <QSaveFile>
#include <algorithm>

namespace {
// A band of rows takes at most this much memory (or one row, if a row alone is larger).
constexpr qint64 kBandBytes = qint64(16) << 20;

// The tallest tile picture at the view's scale: how far above a band a row of cells can still reach into it.
int TallestPicture(const MapDocument& document, const MapPainter& painter) {
    int tallest = 0;
    const clsVOTileset& tileset = document.Tileset();
    for (int i = 0; i < tileset.Count(); ++i)
        if (const PicturePtr picture = tileset.GetTileImage(i))
            tallest = std::max(tallest, picture->Height());
    return painter.ToView({0, tallest}).y() + 1;
}
} // namespace

namespace MapPicture {

qint64 Width(const MapDocument& document, int percent) {
    return qint64(document.MapWidth()) * ZoomedSide(std::max(document.TileWidth(), 1), percent);
}

qint64 Height(const MapDocument& document, int percent) {
    return qint64(document.MapHeight()) * ZoomedSide(std::max(document.TileHeight(), 1), percent);
}

QString Write(const MapDocument& document, const QString& path, int percent) {
    const qint64 width = Width(document, percent);
    const qint64 height = Height(document, percent);
    if (width * height > kMaxPixels)
        return QStringLiteral("the picture would be %1 × %2 pixels, more than %3")
            .arg(width)
            .arg(height)
            .arg(QLocale(QLocale::English).toString(kMaxPixels));
    ZoomedPictures zoomed;
    MapPainter painter(document, percent, zoomed);
    const int reach = TallestPicture(document, painter);
    const int bandRows = int(std::clamp<qint64>(kBandBytes / (width * 4), 1, height));
    QImage band(int(width), bandRows, QImage::Format_RGB32);
    if (band.isNull())
        return QStringLiteral("there is not enough memory for it");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    PngBandWriter writer(file, int(width), int(height));
    const int cellHeight = painter.CellHeight();
    for (int top = 0; top < height; top += bandRows) {
        const int rows = int(std::min<qint64>(bandRows, height - top));
        // The last band may be shorter.
        if (rows < band.height())
            band = QImage(int(width), rows, QImage::Format_RGB32);
        if (band.isNull())
            return QStringLiteral("there is not enough memory for it");
        band.fill(Qt::black);
        {
            Graphics g(band);
            // Every row of cells whose pictures can reach into the band, in the order the editor draws them.
            const int first = std::max(0, (top - reach) / cellHeight);
            const int last = (top + rows - 1) / cellHeight;
            painter.DrawCells(g, QRect(0, first, document.MapWidth(), last - first + 1), QPoint(0, top));
        }
        if (!writer.AddRows(band))
            return writer.Problem();
    }
    if (!writer.Finish())
        return writer.Problem();
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace MapPicture
