#include "platform/PNGu.h"

#include <QFile>
#include <QImageReader>

namespace PNGu {

PicturePtr OpenAsPictureWithMask(const QString& path, double /*gamma*/) {
    // Room for the decoded 8192 x 8192 RGBA image and its conversion, nothing near what a bomb would ask for.
    QImageReader::setAllocationLimit(600);
    // Opened here so a missing or unreadable file is simply refused; the reader would warn about it.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead())
        return nullptr;
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > kMaxPixels)
        return nullptr;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return nullptr;
    return std::make_shared<Picture>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

} // namespace PNGu
