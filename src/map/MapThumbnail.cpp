#include "map/MapThumbnail.h"

#include "platform/PNGu.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct Sum {
    double r = 0, g = 0, b = 0, a = 0;
    void operator+=(const Sum& o) { r += o.r, g += o.g, b += o.b, a += o.a; }
};

// One cell as the editor layers it: its shown layers' tile colours over black, layer 0 first; a weight of 1.
Sum CellColour(const MapSnapshot& map, std::size_t index, const std::vector<QRgb>& tileColours) {
    Sum cell{0, 0, 0, 1};
    for (int k = 0; k < map.layers; ++k) {
        const std::vector<std::uint16_t>& tiles = map.layer[std::size_t(k)].tiles;
        if (!((map.visibleLayers >> k) & 1) || tiles.size() <= index)
            continue;
        const std::uint16_t v = tiles[index];
        if (v == 0 || v == kOddTile || std::size_t(v - 1) >= tileColours.size())
            continue;
        const QRgb c = tileColours[std::size_t(v - 1)];
        const double a = qAlpha(c) / 255.0;
        cell.r = cell.r * (1 - a) + qRed(c) * a;
        cell.g = cell.g * (1 - a) + qGreen(c) * a;
        cell.b = cell.b * (1 - a) + qBlue(c) * a;
    }
    return cell;
}

// The average colours of the first count tiles of tileWidth x tileHeight cut row by row from the image at
// path, one band of tile rows at a time; empty when the image cannot be read within *budget pixels.
std::vector<QRgb> Averages(const QString& path, int tileWidth, int tileHeight, int count, qint64* budget) {
    PNGu::Reader reader(path);
    if (!reader.Ok() || tileWidth < 1 || tileHeight < 1)
        return {};
    const int columns = reader.Width() / tileWidth;
    const int rows =
        columns > 0 ? std::min(reader.Height() / tileHeight, (count + columns - 1) / columns) : 0;
    const qint64 pixels =
        qint64(reader.Width()) * (reader.Interlaced() ? reader.Height() : rows * tileHeight);
    if (rows == 0 || pixels > *budget)
        return {};
    *budget -= pixels;
    std::vector<QRgb> colours;
    QImage band(reader.Width(), reader.Interlaced() ? reader.Height() : tileHeight, QImage::Format_ARGB32);
    if (band.isNull())
        return {};
    if (reader.Interlaced() && !reader.ReadInterlaced(band))
        return {};
    for (int row = 0; row < rows; ++row) {
        if (!reader.Interlaced() && !reader.ReadRows(band))
            return {};
        const int top = reader.Interlaced() ? row * tileHeight : 0;
        std::vector<Sum> sums(static_cast<std::size_t>(columns));
        for (int y = top; y < top + tileHeight; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            for (int x = 0; x < columns * tileWidth; ++x) {
                Sum& s = sums[std::size_t(x / tileWidth)];
                const double a = qAlpha(line[x]);
                s.r += qRed(line[x]) * a;
                s.g += qGreen(line[x]) * a;
                s.b += qBlue(line[x]) * a;
                s.a += a;
            }
        }
        const double area = double(tileWidth) * tileHeight;
        for (const Sum& s : sums) {
            const double a = std::max(s.a, 1.0);
            colours.push_back(qRgba(int(s.r / a), int(s.g / a), int(s.b / a), int(std::lround(s.a / area))));
        }
    }
    colours.resize(std::min(colours.size(), std::size_t(count)));
    return colours;
}

} // namespace

namespace MapThumbnail {

std::vector<QRgb> TileColours(const MapSnapshot& map, const QString& mapPath, qint64 pixelBudget) {
    std::vector<QRgb> colours(map.templates.size(), kUnreached);
    // Many loads of one image are read once.
    std::map<std::tuple<QString, int, int>, std::vector<QRgb>> read;
    const QDir folder = QFileInfo(mapPath).absoluteDir();
    for (const TilesetLoadRecord& load : map.loads) {
        QStringList candidates;
        if (!load.relativePath.isEmpty())
            candidates << folder.absoluteFilePath(load.relativePath);
        candidates << load.absolutePath;
        for (const QString& path : candidates) {
            const auto key = std::make_tuple(path, load.tileWidth, load.tileHeight);
            auto at = read.find(key);
            if (at == read.end())
                at = read.emplace(key, Averages(path, load.tileWidth, load.tileHeight, load.tileCount,
                                                &pixelBudget))
                         .first;
            if (at->second.empty())
                continue;
            for (int i = 0; i < load.tileCount && std::size_t(i) < at->second.size(); ++i)
                if (std::size_t(load.firstTile + i) < colours.size())
                    colours[std::size_t(load.firstTile + i)] = at->second[std::size_t(i)];
            break;
        }
    }
    return colours;
}

QImage Draw(const MapSnapshot& map, const std::vector<QRgb>& tileColours, int size) {
    const qint64 pictureWidth = qint64(map.mapWidth) * map.tileWidth;
    const qint64 pictureHeight = qint64(map.mapHeight) * map.tileHeight;
    const double scale = std::min({1.0, double(size) / pictureWidth, double(size) / pictureHeight});
    const int width = std::clamp(int(std::lround(pictureWidth * scale)), 1, size);
    const int height = std::clamp(int(std::lround(pictureHeight * scale)), 1, size);
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    for (int y = 0; y < height; ++y) {
        // The cells each pixel covers: at least one, the one under it when cells are larger than pixels.
        const int firstRow = int(qint64(y) * map.mapHeight / height);
        const int endRow = std::max(firstRow + 1, int(qint64(y + 1) * map.mapHeight / height));
        for (int x = 0; x < width; ++x) {
            const int firstColumn = int(qint64(x) * map.mapWidth / width);
            const int endColumn = std::max(firstColumn + 1, int(qint64(x + 1) * map.mapWidth / width));
            Sum s;
            for (int row = firstRow; row < endRow; ++row) {
                for (int column = firstColumn; column < endColumn; ++column) {
                    const std::size_t index =
                        std::size_t(row) * std::size_t(map.mapWidth) + std::size_t(column);
                    s += CellColour(map, index, tileColours);
                }
            }
            picture.setPixel(x, y, qRgb(int(s.r / s.a), int(s.g / s.a), int(s.b / s.a)));
        }
    }
    return picture;
}

} // namespace MapThumbnail
