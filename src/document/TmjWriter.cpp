#include "document/TmjWriter.h"

#include "document/GidRows.h"
#include "document/JsonStreamWriter.h"

namespace {

const char* PropertyTypeName(PropertyType type) {
    switch (type) {
    case PropertyType::Bool:
        return "bool";
    case PropertyType::Int:
        return "int";
    case PropertyType::String:
        break;
    }
    return "string";
}

void Properties(JsonStreamWriter& json, const std::vector<GameProperty>& properties) {
    json.Key("properties");
    json.BeginArray();
    for (const GameProperty& property : properties) {
        json.BeginObject(JsonStreamWriter::Layout::OneLine);
        json.Key("name");
        json.String(property.name);
        json.Key("type");
        json.String(QLatin1String(PropertyTypeName(property.type)));
        json.Key("value");
        switch (property.type) {
        case PropertyType::Bool:
            json.Bool(property.number != 0);
            break;
        case PropertyType::Int:
            json.Int(property.number);
            break;
        case PropertyType::String:
            json.String(property.text);
            break;
        }
        json.EndObject();
    }
    json.EndArray();
}

void Tileset(JsonStreamWriter& json, const ExportPlan& plan, const ExportTileset& tileset) {
    json.BeginObject();
    json.Key("firstgid");
    json.Int(tileset.firstGid);
    json.Key("name");
    json.String(tileset.name);
    json.Key("image");
    json.String(tileset.source);
    json.Key("imagewidth");
    json.Int(tileset.imageWidth);
    json.Key("imageheight");
    json.Int(tileset.imageHeight);
    json.Key("tilewidth");
    json.Int(tileset.tileWidth);
    json.Key("tileheight");
    json.Int(tileset.tileHeight);
    json.Key("tilecount");
    json.Int(tileset.tileCount);
    json.Key("columns");
    json.Int(tileset.columns);
    json.Key("spacing");
    json.Int(0);
    json.Key("margin");
    json.Int(0);
    if (!tileset.tilesWithProperties.empty()) {
        json.Key("tiles");
        json.BeginArray();
        for (const int local : tileset.tilesWithProperties) {
            json.BeginObject();
            json.Key("id");
            json.Int(local);
            const auto all = GamePropertiesOf(plan.map->templates[std::size_t(tileset.firstGid - 1 + local)]);
            Properties(json, {all.begin(), all.end()});
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
}

// The members every layer has, whatever its type.
void LayerHead(JsonStreamWriter& json, const char* type, int id, const QString& name, bool visible) {
    json.Key("type");
    json.String(QLatin1String(type));
    json.Key("id");
    json.Int(id);
    json.Key("name");
    json.String(name);
    json.Key("x");
    json.Int(0);
    json.Key("y");
    json.Int(0);
    json.Key("opacity");
    json.Int(1);
    json.Key("visible");
    json.Bool(visible);
}

void Object(JsonStreamWriter& json, const CellObject& object) {
    json.BeginObject();
    json.Key("id");
    json.Int(object.id);
    json.Key("name");
    json.String(QString());
    json.Key("x");
    json.Number(PixelText(object.x));
    json.Key("y");
    json.Number(PixelText(object.y));
    json.Key("width");
    json.Int(0);
    json.Key("height");
    json.Int(0);
    json.Key("rotation");
    json.Int(0);
    json.Key("visible");
    json.Bool(true);
    json.Key("point");
    json.Bool(true);
    std::vector<GameProperty> properties{{QLatin1String("column"), PropertyType::Int, object.column, {}},
                                         {QLatin1String("row"), PropertyType::Int, object.row, {}}};
    properties.insert(properties.end(), object.properties.begin(), object.properties.end());
    Properties(json, properties);
    json.EndObject();
}

bool Layer(JsonStreamWriter& json, const ExportPlan& plan, const ExportLayer& layer) {
    const MapSnapshot& map = *plan.map;
    json.BeginObject();
    LayerHead(json, "tilelayer", layer.id, QStringLiteral("Layer %1").arg(layer.number), layer.visible);
    json.Key("width");
    json.Int(map.mapWidth);
    json.Key("height");
    json.Int(map.mapHeight);
    json.Key("data");
    QIODevice& device = json.BeginRawValue();
    if (device.write("[") != 1 || !WriteGidRows(device, layer.cells->tiles, map.mapWidth, plan.tileCount) ||
        device.write("]") != 1)
        return false;
    json.EndObject();
    if (layer.objectGroupId != 0) {
        json.BeginObject();
        LayerHead(json, "objectgroup", layer.objectGroupId,
                  QStringLiteral("Layer %1 cells").arg(layer.number), layer.visible);
        json.Key("draworder");
        json.String(QStringLiteral("topdown"));
        json.Key("objects");
        json.BeginArray();
        ForEachCellObject(plan, layer, [&json](const CellObject& object) { Object(json, object); });
        json.EndArray();
        json.EndObject();
    }
    return json.Finish();
}

} // namespace

FormatWriteOutcome WriteTmj(const ExportPlan& plan, QIODevice& device) {
    const MapSnapshot& map = *plan.map;
    JsonStreamWriter json(device);
    FormatWriteOutcome outcome;
    json.BeginObject();
    json.Key("type");
    json.String(QStringLiteral("map"));
    json.Key("version");
    json.String(QStringLiteral("1.10"));
    json.Key("tiledversion");
    json.String(QStringLiteral("1.10"));
    json.Key("orientation");
    json.String(QStringLiteral("orthogonal"));
    json.Key("renderorder");
    json.String(QStringLiteral("right-down"));
    json.Key("width");
    json.Int(map.mapWidth);
    json.Key("height");
    json.Int(map.mapHeight);
    json.Key("tilewidth");
    json.Int(map.tileWidth);
    json.Key("tileheight");
    json.Int(map.tileHeight);
    json.Key("infinite");
    json.Bool(false);
    json.Key("nextlayerid");
    json.Int(plan.nextLayerId);
    json.Key("nextobjectid");
    json.Int(plan.nextObjectId);
    Properties(json, {GameProperty{QLatin1String("name"), PropertyType::String, 0, map.name}});
    json.Key("tilesets");
    json.BeginArray();
    for (const ExportTileset& tileset : plan.tilesets)
        Tileset(json, plan, tileset);
    json.EndArray();
    json.Key("layers");
    json.BeginArray();
    for (const ExportLayer& layer : plan.layers)
        if (!Layer(json, plan, layer)) {
            outcome.failure = device.errorString();
            return outcome;
        }
    json.EndArray();
    json.EndObject();
    if (!json.Finish())
        outcome.failure = device.errorString();
    outcome.alteredTexts = json.AlteredTexts();
    return outcome;
}
