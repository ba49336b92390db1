#include "ExportedMapReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

namespace {

const QStringList kMapAttributes{"version",  "tiledversion", "orientation", "renderorder",
                                 "width",    "height",       "tilewidth",   "tileheight",
                                 "infinite", "nextlayerid",  "nextobjectid"};
const QStringList kTilesetAttributes{"firstgid",  "name",    "tilewidth", "tileheight",
                                     "tilecount", "columns", "spacing",   "margin"};
const QStringList kLayerAttributes{"id", "name", "width", "height", "visible"};

QVariantMap Attributes(const QXmlStreamReader& xml, const QStringList& required, QStringList& faults) {
    QVariantMap read;
    for (const QXmlStreamAttribute& attribute : xml.attributes())
        read[attribute.name().toString()] = attribute.value().toString();
    for (const QString& name : required)
        if (!read.contains(name))
            faults << QStringLiteral("<%1> has no %2").arg(xml.name().toString(), name);
    return read;
}

// Reads the <property> elements up to </properties>.
ReadProperties XmlProperties(QXmlStreamReader& xml, QStringList& faults) {
    ReadProperties read;
    while (xml.readNextStartElement()) {
        const QVariantMap a = Attributes(xml, {"name", "type", "value"}, faults);
        const QString type = a["type"].toString(), value = a["value"].toString();
        if (!xml.readElementText().isEmpty())
            faults << QStringLiteral("property %1 has element text").arg(a["name"].toString());
        bool ok = true;
        QVariant typed = value;
        if (type == "bool")
            ok = value == "true" || value == "false", typed = value == "true";
        else if (type == "int")
            typed = value.toInt(&ok);
        if (!ok)
            faults << QStringLiteral("property %1 is no %2: %3").arg(a["name"].toString(), type, value);
        read[a["name"].toString()] = {type, typed};
    }
    return read;
}

ReadProperties JsonProperties(const QJsonValue& list, QStringList& faults) {
    ReadProperties read;
    for (const QJsonValue& entry : list.toArray()) {
        const QJsonObject p = entry.toObject();
        const QString type = p["type"].toString();
        const QJsonValue value = p["value"];
        const bool ok = type == "bool"  ? value.isBool()
                        : type == "int" ? value.isDouble() && value.toDouble() == value.toInt()
                                        : type == "string" && value.isString();
        if (!ok || !p["name"].isString())
            faults << QStringLiteral("property %1 is not typed as %2").arg(p["name"].toString(), type);
        read[p["name"].toString()] = {type, type == "int" ? QVariant(value.toInt()) : value.toVariant()};
    }
    return read;
}

} // namespace

ReadMap ReadTmx(const QString& path) {
    ReadMap map;
    QFile file(path);
    QXmlStreamReader xml(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()); // then no <map>
    QStringList& faults = map.faults;
    if (!xml.readNextStartElement() || xml.name() != u"map")
        return faults << "no <map>", map;
    map.attributes = Attributes(xml, kMapAttributes, faults);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"properties") {
            map.properties = XmlProperties(xml, faults);
        } else if (xml.name() == u"tileset") {
            if (!map.layers.empty())
                faults << "a tileset after a layer";
            ReadTileset& tileset = map.tilesets.emplace_back();
            tileset.attributes = Attributes(xml, kTilesetAttributes, faults);
            while (xml.readNextStartElement()) {
                if (xml.name() == u"image") {
                    const QVariantMap image = Attributes(xml, {"source", "width", "height"}, faults);
                    tileset.attributes["image"] = image["source"];
                    tileset.attributes["imagewidth"] = image["width"];
                    tileset.attributes["imageheight"] = image["height"];
                    xml.skipCurrentElement();
                } else if (xml.name() == u"tile") {
                    const int id = xml.attributes().value("id").toInt();
                    xml.readNextStartElement();
                    tileset.tiles[id] = XmlProperties(xml, faults);
                    xml.skipCurrentElement();
                }
            }
        } else if (xml.name() == u"layer" || xml.name() == u"objectgroup") {
            ReadLayer& layer = map.layers.emplace_back();
            layer.isTileLayer = xml.name() == u"layer";
            layer.attributes =
                Attributes(xml, layer.isTileLayer ? kLayerAttributes : QStringList{"id", "name"}, faults);
            while (xml.readNextStartElement()) {
                if (xml.name() == u"data") {
                    if (xml.attributes().value("encoding") != u"csv")
                        faults << "data not csv";
                    for (const QString& gid : xml.readElementText().split(','))
                        layer.gids.push_back(gid.trimmed().toLongLong());
                    continue;
                }
                ReadObject& object = layer.objects.emplace_back();
                const QVariantMap a = Attributes(xml, {"id", "x", "y"}, faults);
                object.id = a["id"].toInt(), object.x = a["x"].toDouble(), object.y = a["y"].toDouble();
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"point")
                        object.point = true, xml.skipCurrentElement();
                    else
                        object.properties = XmlProperties(xml, faults);
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        faults << xml.errorString();
    return map;
}

ReadMap ReadTmj(const QString& path) {
    ReadMap map;
    QFile file(path);
    QJsonParseError error;
    const QJsonObject top =
        QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : "", &error).object();
    if (error.error != QJsonParseError::NoError)
        return map.faults << error.errorString(), map;
    const auto require = [&map](const QJsonObject& object, const QStringList& keys) {
        for (const QString& key : keys)
            if (!object.contains(key))
                map.faults << QStringLiteral("no %1 in %2").arg(key, object["name"].toString());
        return object.toVariantMap();
    };
    map.attributes = require(top, kMapAttributes + QStringList{"type", "layers", "tilesets"});
    if (top["type"] != "map" || !top["version"].isString() || top["infinite"] != false)
        map.faults << "type, version or infinite mistyped";
    map.properties = JsonProperties(top["properties"], map.faults);
    for (const QJsonValue& entry : top["tilesets"].toArray()) {
        ReadTileset& tileset = map.tilesets.emplace_back();
        tileset.attributes =
            require(entry.toObject(), kTilesetAttributes + QStringList{"image", "imagewidth", "imageheight"});
        for (const QJsonValue& tile : entry["tiles"].toArray())
            tileset.tiles[tile["id"].toInt()] = JsonProperties(tile["properties"], map.faults);
    }
    for (const QJsonValue& entry : top["layers"].toArray()) {
        ReadLayer& layer = map.layers.emplace_back();
        layer.isTileLayer = entry["type"] == "tilelayer";
        layer.attributes = require(
            entry.toObject(), layer.isTileLayer ? kLayerAttributes + QStringList{"x", "y", "opacity", "data"}
                                                : QStringList{"id", "name", "objects"});
        for (const QJsonValue& gid : entry["data"].toArray())
            layer.gids.push_back(gid.toInteger(-1));
        for (const QJsonValue& item : entry["objects"].toArray())
            layer.objects.push_back({item["id"].toInt(), item["x"].toDouble(), item["y"].toDouble(),
                                     item["point"] == true, JsonProperties(item["properties"], map.faults)});
    }
    return map;
}
