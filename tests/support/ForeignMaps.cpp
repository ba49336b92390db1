#include "ForeignMaps.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QVariant>
#include <zlib.h>
#include <zstd.h>

namespace ForeignMaps {

namespace {

QByteArray Compress(const QByteArray& raw, bool gzip) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(raw.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// The text with %1, %2... replaced by the values in one pass, numbers and truth values written out.
template <class... T> QString Fill(const QString& text, const T&... values) {
    return text.arg(QVariant(values).toString()...);
}

const char* CompressionName(Encoding encoding) {
    const char* const names[] = {"", "", "zlib", "gzip", "zstd", ""}; // in the order of Encoding
    return names[int(encoding)];
}

// A tileset's name, sizes, image and tiles, as the members of a TSX element or a JSON object.
QString TilesetBody(const Tileset& t, const QString& name, bool json) {
    const QString body =
        json
            ? QStringLiteral(
                  "\"name\":\"%1\",\"tilewidth\":%2,\"tileheight\":%2,\"tilecount\":%3,\"columns\":%4,"
                  "\"spacing\":%5,\"margin\":0,%6\"tiles\":[%7]")
            : QStringLiteral("name=\"%1\" tilewidth=\"%2\" tileheight=\"%2\" tilecount=\"%3\" columns=\"%4\" "
                             "spacing=\"%5\" margin=\"0\">\n  %6\n%7");
    const QString image = json ? QStringLiteral("\"image\":\"%1\",\"imagewidth\":%2,\"imageheight\":%3,")
                               : QStringLiteral("<image source=\"%1\" width=\"%2\" height=\"%3\"/>");
    return Fill(body, name, t.tileSize, (t.imageWidth / t.tileSize) * (t.imageHeight / t.tileSize),
                t.imageWidth / t.tileSize, t.spacing,
                t.image.isEmpty() ? QString() : Fill(image, t.image, t.imageWidth, t.imageHeight), t.tiles);
}

// The layer's gids as the encoding stores them (base64 text for the binary forms).
QByteArray LayerData(const std::vector<std::uint32_t>& gids, int width, Encoding encoding) {
    if (encoding == Encoding::Csv) {
        QByteArray text;
        for (std::size_t i = 0; i < gids.size(); ++i) {
            text += QByteArray::number(gids[i]);
            if (i + 1 < gids.size())
                text += (i + 1) % std::size_t(width) == 0 ? ",\n" : ",";
        }
        return text;
    }
    QByteArray raw;
    raw.reserve(qsizetype(gids.size() * 4));
    for (const std::uint32_t gid : gids)
        for (int b = 0; b < 4; ++b)
            raw.append(char((gid >> (8 * b)) & 0xFF));
    if (encoding == Encoding::Zlib || encoding == Encoding::Gzip) {
        raw = Compress(raw, encoding == Encoding::Gzip);
    } else if (encoding == Encoding::Zstd) {
        QByteArray packed(qsizetype(ZSTD_compressBound(std::size_t(raw.size()))), '\0');
        packed.resize(qsizetype(ZSTD_compress(packed.data(), std::size_t(packed.size()), raw.constData(),
                                              std::size_t(raw.size()), 3)));
        raw = packed;
    }
    return raw.toBase64();
}

} // namespace

QByteArray Tmx(const Map& map, Encoding encoding) {
    QString out = Fill(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.10\" "
                                      "orientation=\"%1\" renderorder=\"right-down\" width=\"%2\" "
                                      "height=\"%3\" tilewidth=\"%4\" tileheight=\"%4\" infinite=\"%5\">\n"),
                       map.orientation, map.width, map.height, map.tileSize, int(map.infinite));
    if (!map.name.isNull())
        out += QStringLiteral(" <properties>\n  <property name=\"name\" value=\"%1\"/>\n </properties>\n")
                   .arg(map.name.toHtmlEscaped());
    for (std::size_t t = 0; t < map.tilesets.size(); ++t) {
        const Tileset& set = map.tilesets[t];
        out += Fill(QStringLiteral(" <tileset firstgid=\"%1\" %2\n"), set.firstGid,
                    set.external.isEmpty()
                        ? TilesetBody(set, QStringLiteral("set%1").arg(t), false) + " </tileset>"
                        : QStringLiteral("source=\"%1\"/>").arg(set.external));
    }
    for (std::size_t k = 0; k < map.layers.size(); ++k) {
        const Layer& layer = map.layers[k];
        out += Fill(
            QStringLiteral(" <layer id=\"%1\" name=\"L%1\" width=\"%2\" height=\"%3\" visible=\"%4\" %5>\n"),
            int(k + 1), map.width, map.height, int(layer.visible), layer.extra);
        if (encoding == Encoding::TileElements) {
            out += QStringLiteral("  <data>\n");
            for (const std::uint32_t gid : layer.gids)
                out += gid == 0 ? QStringLiteral("   <tile/>\n")
                                : QStringLiteral("   <tile gid=\"%1\"/>\n").arg(gid);
            out += QStringLiteral("  </data>\n");
        } else {
            const QString compression = QLatin1String(CompressionName(encoding));
            out += Fill(QStringLiteral("  <data encoding=\"%1\"%2>\n%3\n  </data>\n"),
                        encoding == Encoding::Csv ? "csv" : "base64",
                        compression.isEmpty() ? QString() : " compression=\"" + compression + "\"",
                        QString::fromLatin1(LayerData(layer.gids, map.width, encoding)));
        }
        out += QStringLiteral(" </layer>\n");
    }
    out += map.after + QStringLiteral("</map>\n");
    return out.toUtf8();
}

QByteArray Tmj(const Map& map, Encoding encoding) {
    QStringList layers;
    for (std::size_t k = 0; k < map.layers.size(); ++k) {
        const Layer& layer = map.layers[k];
        QString data = QString::fromLatin1(LayerData(layer.gids, map.width, encoding));
        data = encoding == Encoding::Csv
                   ? QStringLiteral("[%1]").arg(data)
                   : QStringLiteral("\"%1\",\"encoding\":\"base64\",\"compression\":\"%2\"")
                         .arg(data, QLatin1String(CompressionName(encoding)));
        layers << Fill(
            QStringLiteral("{\"type\":\"tilelayer\",\"id\":%1,\"name\":\"L%1\",\"width\":%2,"
                           "\"height\":%3,\"x\":0,\"y\":0,\"opacity\":1,\"visible\":%4%5,\"data\":%6}"),
            int(k + 1), map.width, map.height, layer.visible, layer.extra, data);
    }
    if (!map.after.isEmpty())
        layers << map.after;
    QStringList tilesets;
    for (std::size_t t = 0; t < map.tilesets.size(); ++t) {
        const Tileset& set = map.tilesets[t];
        tilesets << Fill(QStringLiteral("{\"firstgid\":%1,%2}"), set.firstGid,
                         set.external.isEmpty() ? TilesetBody(set, QStringLiteral("set%1").arg(t), true)
                                                : QStringLiteral("\"source\":\"%1\"").arg(set.external));
    }
    const QString name = map.name.isNull()
                             ? QString()
                             : QStringLiteral("\"properties\":[{\"name\":\"name\",\"type\":\"string\","
                                              "\"value\":\"%1\"}],")
                                   .arg(map.name);
    // Layers before tilesets, as some writers order the members.
    return Fill(QStringLiteral("{\"type\":\"map\",\"version\":\"1.10\",\"orientation\":\"%1\","
                               "\"renderorder\":\"right-down\",\"width\":%2,\"height\":%3,\"tilewidth\":%4,"
                               "\"tileheight\":%4,\"infinite\":%5,%6\"layers\":[%7],\"tilesets\":[%8]}"),
                map.orientation, map.width, map.height, map.tileSize, map.infinite, name,
                layers.join(QStringLiteral(",\n")), tilesets.join(QStringLiteral(",")))
        .toUtf8();
}

bool WriteTilesets(const Map& map, bool json, const QString& folder) {
    for (std::size_t t = 0; t < map.tilesets.size(); ++t) {
        const Tileset& set = map.tilesets[t];
        if (set.external.isEmpty())
            continue;
        const QString name = QStringLiteral("ext%1").arg(t);
        const QString text =
            json ? QStringLiteral("{\"type\":\"tileset\",%1}").arg(TilesetBody(set, name, true))
                 : QStringLiteral("<?xml version=\"1.0\"?>\n<tileset %1</tileset>\n")
                       .arg(TilesetBody(set, name, false));
        QFile file(QDir(folder).filePath(set.external));
        QDir().mkpath(QFileInfo(file.fileName()).path());
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
            return false;
    }
    return true;
}

} // namespace ForeignMaps
