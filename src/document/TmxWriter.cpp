#include "document/TmxWriter.h"

#include "document/GidRows.h"
#include "document/WriteAll.h"
#include "document/XmlSafeText.h"

#include <QXmlStreamWriter>

namespace {

class TmxMapWriter {
public:
    TmxMapWriter(const ExportPlan& plan, QIODevice& device)
        : plan(plan), device(device), whole(device), xml(&whole) {
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(1);
    }

    FormatWriteOutcome Write() {
        const MapSnapshot& map = *plan.map;
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("map"));
        Attribute("version", QStringLiteral("1.10"));
        Attribute("tiledversion", QStringLiteral("1.10"));
        Attribute("orientation", QStringLiteral("orthogonal"));
        Attribute("renderorder", QStringLiteral("right-down"));
        Attribute("width", map.mapWidth);
        Attribute("height", map.mapHeight);
        Attribute("tilewidth", map.tileWidth);
        Attribute("tileheight", map.tileHeight);
        Attribute("infinite", 0);
        Attribute("nextlayerid", plan.nextLayerId);
        Attribute("nextobjectid", plan.nextObjectId);
        Properties({GameProperty{QLatin1String("name"), PropertyType::String, 0, map.name}});
        bool complete = true;
        for (std::size_t t = 0; complete && t < plan.tilesets.size(); ++t)
            complete = Tileset(plan.tilesets[t]);
        for (std::size_t k = 0; complete && k < plan.layers.size(); ++k)
            complete = Layer(plan.layers[k]);
        xml.writeEndElement();
        xml.writeEndDocument();
        // The file's own error, when it has one, says more (see ExportMap); the writer also stops at a
        // character XML cannot hold, which every text is cleared of before.
        if ((!complete || xml.hasError()) && outcome.failure.isEmpty())
            outcome.failure = QStringLiteral("the map could not be written as XML");
        return outcome;
    }

private:
    void Attribute(const char* name, const QString& value) { xml.writeAttribute(QLatin1String(name), value); }
    void Attribute(const char* name, int value) { Attribute(name, QString::number(value)); }

    void Properties(const std::vector<GameProperty>& properties) {
        xml.writeStartElement(QStringLiteral("properties"));
        for (const GameProperty& property : properties) {
            xml.writeStartElement(QStringLiteral("property"));
            xml.writeAttribute(QStringLiteral("name"), property.name);
            Attribute("type", PropertyTypeName(property.type));
            // Texts stay in the value attribute even when they run over several lines: the writer keeps their
            // line breaks as character references, and readers that look only at the attribute get them.
            switch (property.type) {
            case PropertyType::Bool:
                Attribute("value", property.number ? QStringLiteral("true") : QStringLiteral("false"));
                break;
            case PropertyType::Int:
                Attribute("value", property.number);
                break;
            case PropertyType::String:
                Attribute("value", XmlSafeText(property.text, outcome.alteredTexts));
                break;
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }

    bool Tileset(const ExportTileset& tileset) {
        int alteredSource = 0;
        XmlSafeText(tileset.source, alteredSource);
        if (alteredSource != 0) {
            outcome.failure = QStringLiteral("the path of %1 holds characters a TMX file cannot hold; "
                                             "export as JSON or rename the image")
                                  .arg(tileset.source);
            return false;
        }
        xml.writeStartElement(QStringLiteral("tileset"));
        Attribute("firstgid", tileset.firstGid);
        Attribute("name", XmlSafeText(tileset.name, outcome.alteredTexts));
        Attribute("tilewidth", tileset.tileWidth);
        Attribute("tileheight", tileset.tileHeight);
        Attribute("spacing", 0);
        Attribute("margin", 0);
        Attribute("tilecount", tileset.tileCount);
        Attribute("columns", tileset.columns);
        xml.writeEmptyElement(QStringLiteral("image"));
        Attribute("source", tileset.source);
        Attribute("width", tileset.imageWidth);
        Attribute("height", tileset.imageHeight);
        for (const int local : tileset.tilesWithProperties) {
            xml.writeStartElement(QStringLiteral("tile"));
            Attribute("id", local);
            const auto all = GamePropertiesOf(plan.map->templates[std::size_t(tileset.firstGid - 1 + local)]);
            Properties({all.begin(), all.end()});
            xml.writeEndElement();
        }
        xml.writeEndElement();
        return !xml.hasError();
    }

    bool Layer(const ExportLayer& layer) {
        const MapSnapshot& map = *plan.map;
        xml.writeStartElement(QStringLiteral("layer"));
        Attribute("id", layer.id);
        Attribute("name", QStringLiteral("Layer %1").arg(layer.number));
        Attribute("width", map.mapWidth);
        Attribute("height", map.mapHeight);
        Attribute("visible", layer.visible ? 1 : 0);
        xml.writeStartElement(QStringLiteral("data"));
        Attribute("encoding", QStringLiteral("csv"));
        // An empty text closes the start tag; the gids then go to the same device directly, which the writer
        // does not buffer ahead of: its escaping pass would take longer than the whole export may.
        xml.writeCharacters(QString());
        if (xml.hasError() || !WriteAll(device, "\n", 1) ||
            !WriteGidRows(device, layer.cells->tiles, map.mapWidth, plan.tileExists) ||
            !WriteAll(device, "\n", 1))
            return false;
        xml.writeEndElement();
        xml.writeEndElement();
        if (layer.objectGroupId != 0) {
            xml.writeStartElement(QStringLiteral("objectgroup"));
            Attribute("id", layer.objectGroupId);
            Attribute("name", QStringLiteral("Layer %1 cells").arg(layer.number));
            Attribute("visible", layer.visible ? 1 : 0);
            ForEachCellObject(plan, layer, [this](const CellObject& object) { Object(object); });
            xml.writeEndElement();
        }
        return !xml.hasError();
    }

    void Object(const CellObject& object) {
        xml.writeStartElement(QStringLiteral("object"));
        Attribute("id", object.id);
        Attribute("x", PixelText(object.x));
        Attribute("y", PixelText(object.y));
        xml.writeEmptyElement(QStringLiteral("point"));
        Properties(object.properties);
        xml.writeEndElement();
    }

    const ExportPlan& plan;
    QIODevice& device;
    WholeWrites whole;
    QXmlStreamWriter xml;
    FormatWriteOutcome outcome;
};

} // namespace

FormatWriteOutcome WriteTmx(const ExportPlan& plan, QIODevice& device) {
    return TmxMapWriter(plan, device).Write();
}
