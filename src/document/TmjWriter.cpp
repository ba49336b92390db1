#include "document/TmjWriter.h"

#include "document/GidRows.h"
#include "document/JsonStreamWriter.h"
#include "document/WriteAll.h"

namespace {

void Properties(JsonStreamWriter& json, const std::vector<GameProperty>& properties) {
    json.Key("properties");
    json.BeginArray();
    for (const GameProperty& property : properties) {
        json.BeginObject(JsonStreamWriter::Layout::OneLine);
        json.Key("name").String(property.name);
        json.Key("type").String(PropertyTypeName(property.type));
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
    json.Key("firstgid").Int(tileset.firstGid);
    json.Key("name").String(tileset.name);
    json.Key("image").String(tileset.source);
    json.Key("imagewidth").Int(tileset.imageWidth);
    json.Key("imageheight").Int(tileset.imageHeight);
    json.Key("tilewidth").Int(tileset.tileWidth);
    json.Key("tileheight").Int(tileset.tileHeight);
    json.Key("tilecount").Int(tileset.tileCount);
    json.Key("columns").Int(tileset.columns);
    json.Key("spacing").Int(0);
    json.Key("margin").Int(0);
    if (!tileset.tilesWithProperties.empty()) {
        json.Key("tiles");
        json.BeginArray();
        for (const int local : tileset.tilesWithProperties) {
            json.BeginObject();
            json.Key("id").Int(local);
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
    json.Key("type").String(QLatin1String(type));
    json.Key("id").Int(id);
    json.Key("name").String(name);
    json.Key("x").Int(0);
    json.Key("y").Int(0);
    json.Key("opacity").Int(1);
    json.Key("visible").Bool(visible);
}

void Object(JsonStreamWriter& json, const CellObject& object) {
    json.BeginObject();
    json.Key("id").Int(object.id);
    json.Key("name").String(QString());
    json.Key("x").Number(PixelText(object.x));
    json.Key("y").Number(PixelText(object.y));
    json.Key("width").Int(0);
    json.Key("height").Int(0);
    json.Key("rotation").Int(0);
    json.Key("visible").Bool(true);
    json.Key("point").Bool(true);
    Properties(json, object.properties);
    json.EndObject();
}

bool Layer(JsonStreamWriter& json, const ExportPlan& plan, const ExportLayer& layer) {
    const MapSnapshot& map = *plan.map;
    json.BeginObject();
    LayerHead(json, "tilelayer", layer.id, QStringLiteral("Layer %1").arg(layer.number), layer.visible);
    json.Key("width").Int(map.mapWidth);
    json.Key("height").Int(map.mapHeight);
    json.Key("data");
    QIODevice& device = json.BeginRawValue();
    if (!WriteAll(device, "[", 1) ||
        !WriteGidRows(device, layer.cells->tiles, map.mapWidth, plan.tileExists) || !WriteAll(device, "]", 1))
        return false;
    json.EndObject();
    if (layer.objectGroupId != 0) {
        json.BeginObject();
        LayerHead(json, "objectgroup", layer.objectGroupId,
                  QStringLiteral("Layer %1 cells").arg(layer.number), layer.visible);
        json.Key("draworder").String(QStringLiteral("topdown"));
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
    json.Key("type").String(QStringLiteral("map"));
    json.Key("version").String(QStringLiteral("1.10"));
    json.Key("tiledversion").String(QStringLiteral("1.10"));
    json.Key("orientation").String(QStringLiteral("orthogonal"));
    json.Key("renderorder").String(QStringLiteral("right-down"));
    json.Key("width").Int(map.mapWidth);
    json.Key("height").Int(map.mapHeight);
    json.Key("tilewidth").Int(map.tileWidth);
    json.Key("tileheight").Int(map.tileHeight);
    json.Key("infinite").Bool(false);
    json.Key("nextlayerid").Int(plan.nextLayerId);
    json.Key("nextobjectid").Int(plan.nextObjectId);
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
            outcome.failure = QStringLiteral("the map could not be written");
            return outcome;
        }
    json.EndArray();
    json.EndObject();
    if (!json.Finish())
        outcome.failure = QStringLiteral("the map could not be written");
    outcome.alteredTexts = json.AlteredTexts();
    return outcome;
}
