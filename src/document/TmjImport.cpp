// The TMJ reader: JSON maps and .tsj tileset files, read whole (at most ForeignImport::kMaxJsonBytes).
#include "document/ForeignImport.h"
#include "document/ForeignLayerData.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

qint64 Number(const QJsonObject& object, const char* key, qint64 otherwise = 0) {
    return object.value(QLatin1String(key)).toInteger(otherwise);
}

int Size(const QJsonObject& object, const char* key) {
    return int(std::clamp<qint64>(Number(object, key), 0, 1 << 20));
}

QString Text(const QJsonObject& object, const char* key) {
    return object.value(QLatin1String(key)).toString();
}

std::vector<std::pair<QString, QVariant>> Properties(const QJsonObject& owner) {
    std::vector<std::pair<QString, QVariant>> list;
    for (const QJsonValue entry : owner.value(QLatin1String("properties")).toArray()) {
        const QJsonObject property = entry.toObject();
        const QJsonValue value = property.value(QLatin1String("value"));
        if (!value.isObject() && !value.isArray())
            list.emplace_back(Text(property, "name"), value.toVariant());
    }
    return list;
}

QString Parse(const QByteArray& bytes, QJsonObject* root) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return QStringLiteral("it is damaged: %1")
            .arg(error.error != QJsonParseError::NoError ? error.errorString()
                                                         : QStringLiteral("it holds no JSON object"));
    *root = document.object();
    return {};
}

void TilesetBody(const QJsonObject& object, const QDir& folder, ForeignTileset* tileset) {
    tileset->name = Text(object, "name");
    if (object.contains(QLatin1String("image")))
        tileset->image = folder.absoluteFilePath(Text(object, "image"));
    tileset->imageWidth = Size(object, "imagewidth");
    tileset->imageHeight = Size(object, "imageheight");
    tileset->tileWidth = Size(object, "tilewidth");
    tileset->tileHeight = Size(object, "tileheight");
    tileset->tileCount = Size(object, "tilecount");
    tileset->columns = Size(object, "columns");
    tileset->spacing = Number(object, "spacing") != 0;
    tileset->margin = Number(object, "margin") != 0;
    for (const QJsonValue entry : object.value(QLatin1String("tiles")).toArray()) {
        const QJsonObject tile = entry.toObject();
        tileset->collection = tileset->collection || tile.contains(QLatin1String("image"));
        CellRecord record;
        bool any = false;
        for (const auto& [name, value] : Properties(tile))
            any = SetGameProperty(record, name, value) || any;
        const qint64 id = Number(tile, "id", -1);
        if (any && id >= 0 && id < (1 << 20))
            tileset->tiles.emplace_back(int(id), std::move(record));
    }
}

class TmjMapReader {
public:
    TmjMapReader(const QString& path, ForeignFiles& files, const MapFileProgress& progress)
        : m_path(path), m_folder(QFileInfo(path).absoluteDir()), m_files(files), m_progress(progress),
          m_builder([&files](const QString& image) { return files.Image(image); }) {}

    // A refusal, or an empty text with *map and *report filled.
    QString Read(const QJsonObject& root, MapSnapshot* map, ImportReport* report) {
        if (root.contains(QLatin1String("type")) && Text(root, "type") != QLatin1String("map"))
            return QStringLiteral("it is not a JSON map");
        QString problem = m_builder.Begin(
            Text(root, "orientation"), root.value(QLatin1String("infinite")).toBool(), Number(root, "width"),
            Number(root, "height"), Number(root, "tilewidth"), Number(root, "tileheight"));
        for (const auto& [name, value] : Properties(root))
            if (name == QLatin1String("name"))
                m_builder.SetName(value.toString());
        const QJsonArray tilesets = root.value(QLatin1String("tilesets")).toArray();
        for (qsizetype t = 0; problem.isEmpty() && t < tilesets.size(); ++t)
            problem = Tileset(tilesets[t].toObject());
        if (problem.isEmpty())
            problem = Layers(root.value(QLatin1String("layers")).toArray(), true, 1);
        MapSnapshot built;
        if (problem.isEmpty())
            problem = m_builder.Finish(&built, QFileInfo(m_path).completeBaseName());
        if (problem.isEmpty()) {
            *map = std::move(built);
            *report = m_builder.Report();
        }
        return problem;
    }

    bool Cancelled() const { return m_cancelled; }

private:
    QString Tileset(const QJsonObject& object) {
        ForeignImport::SharedTileset tileset;
        if (object.contains(QLatin1String("source"))) {
            if (QString problem = ForeignImport::ExternalTileset(Text(object, "source"), m_path, m_files,
                                                                 m_cache, &tileset);
                !problem.isEmpty())
                return problem;
        } else {
            auto embedded = std::make_shared<ForeignTileset>();
            TilesetBody(object, m_folder, embedded.get());
            SortTiles(*embedded);
            tileset = std::move(embedded);
        }
        return m_builder.AddTileset(Number(object, "firstgid"), *tileset);
    }

    QString Layers(const QJsonArray& layers, bool visible, int depth) {
        if (depth > ForeignImport::kMaxDepth)
            return QStringLiteral("its groups nest deeper than %1").arg(ForeignImport::kMaxDepth);
        for (const QJsonValue entry : layers) {
            const QJsonObject layer = entry.toObject();
            const QString type = Text(layer, "type");
            const bool shown = visible && layer.value(QLatin1String("visible")).toBool(true);
            QString problem;
            if (type == QLatin1String("tilelayer")) {
                CountLooks(layer);
                problem = TileLayer(layer, shown);
            } else if (type == QLatin1String("group")) {
                CountLooks(layer);
                ++m_builder.Report().flattenedGroups;
                problem = Layers(layer.value(QLatin1String("layers")).toArray(), shown, depth + 1);
            } else if (type == QLatin1String("objectgroup")) {
                Objects(layer);
            } else {
                ++m_builder.Report().skippedLayers;
            }
            if (!problem.isEmpty())
                return problem;
        }
        return {};
    }

    void CountLooks(const QJsonObject& layer) {
        const auto differs = [&](const char* key, double usual) {
            const QJsonValue value = layer.value(QLatin1String(key));
            return value.isDouble() && value.toDouble() != usual;
        };
        m_builder.Report().ignoredLayerLooks +=
            differs("opacity", 1) || differs("offsetx", 0) || differs("offsety", 0) ||
            differs("parallaxx", 1) || differs("parallaxy", 1) || layer.contains(QLatin1String("tintcolor"));
    }

    QString TileLayer(const QJsonObject& layer, bool visible) {
        if (QString problem = m_builder.BeginLayer(Text(layer, "name"), Number(layer, "width"),
                                                   Number(layer, "height"), visible);
            !problem.isEmpty())
            return problem;
        const QJsonValue data = layer.value(QLatin1String("data"));
        QString problem;
        if (data.isString()) {
            QString refusal;
            const std::unique_ptr<ForeignLayerData::Reader> gids = ForeignLayerData::ReaderFor(
                Text(layer, "encoding"), Text(layer, "compression"), m_builder, &refusal);
            if (!gids)
                return refusal;
            problem = gids->Feed(data.toString());
            if (problem.isEmpty())
                problem = gids->Finish();
        } else {
            const QString damaged = QStringLiteral("it is damaged: a layer's data is not a list of gids");
            for (const QJsonValue value : data.toArray()) {
                const double gid = value.toDouble(-1);
                if (!(gid >= 0 && gid <= 4294967295.0) || gid != std::floor(gid))
                    return damaged;
                if (!m_builder.Add(std::uint32_t(gid)))
                    return QStringLiteral("it is damaged: a layer holds more cells than the map");
            }
        }
        if (problem.isEmpty())
            problem = m_builder.EndLayer();
        if (problem.isEmpty() && m_progress && !m_progress(++m_layersRead, 8)) {
            m_cancelled = true;
            return QStringLiteral("cancelled");
        }
        return problem;
    }

    void Objects(const QJsonObject& layer) {
        int cells = 0;
        int others = 0;
        for (const QJsonValue entry : layer.value(QLatin1String("objects")).toArray()) {
            const QJsonObject object = entry.toObject();
            if (object.value(QLatin1String("point")).toBool() && m_builder.CellObject(Properties(object)))
                ++cells;
            else
                ++others;
        }
        if (cells == 0)
            ++m_builder.Report().skippedLayers;
        else
            m_builder.Report().skippedObjects += others;
    }

    QString m_path;
    QDir m_folder;
    ForeignFiles& m_files;
    const MapFileProgress& m_progress;
    ForeignMapBuilder m_builder;
    ForeignImport::TilesetCache m_cache;
    int m_layersRead = 0;
    bool m_cancelled = false;
};

} // namespace

namespace ForeignImport {

MapFileResult ReadTmj(const QByteArray& bytes, const QString& mapPath, ForeignFiles& files, MapSnapshot* map,
                      ImportReport* report, const MapFileProgress& progress) {
    try {
        QJsonObject root;
        if (QString problem = Parse(bytes, &root); !problem.isEmpty())
            return MapFileResult::Failure(problem);
        TmjMapReader reader(mapPath, files, progress);
        const QString problem = reader.Read(root, map, report);
        if (reader.Cancelled())
            return {MapFileResult::Cancelled, {}};
        return problem.isEmpty() ? MapFileResult{} : MapFileResult::Failure(problem);
    } catch (const std::bad_alloc&) {
        return MapFileResult::Failure(QStringLiteral("there is not enough memory to open it"));
    }
}

QString ReadTsj(const QByteArray& bytes, const QString& path, ForeignTileset* tileset) {
    QJsonObject root;
    if (QString problem = Parse(bytes, &root); !problem.isEmpty())
        return problem;
    TilesetBody(root, QFileInfo(path).absoluteDir(), tileset);
    return {};
}

} // namespace ForeignImport
