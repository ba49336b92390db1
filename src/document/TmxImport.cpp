// The TMX reader: the map file and .tsx tileset files, read as a stream of XML tokens.
#include "document/ForeignImport.h"
#include "document/ForeignLayerData.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

using PropertyList = std::vector<std::pair<QString, QVariant>>;

class TmxReader {
public:
    TmxReader(QXmlStreamReader& xml, const QString& path)
        : m_xml(xml), m_folder(QFileInfo(path).absoluteDir()) {}

    // The root element, named root; false with the refusal when it is not there or a DTD comes first.
    bool Root(const char* root) {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference)
                return Fail(QStringLiteral("it holds a document type declaration, which no map needs"));
            if (token == QXmlStreamReader::StartElement) {
                if (m_xml.name() != QLatin1String(root))
                    return Fail(QStringLiteral("it is not a TMX %1").arg(QLatin1String(root)));
                return true;
            }
        }
        return Fail({});
    }

    // The refusal, the parser's own when it found the XML broken.
    QString Refusal() const {
        if (!m_refusal.isEmpty())
            return m_refusal;
        if (m_xml.hasError())
            return QStringLiteral("it is damaged: %1").arg(m_xml.errorString().left(120));
        return QStringLiteral("it is damaged: it ends too soon");
    }

    bool Fail(const QString& why) {
        if (m_refusal.isEmpty())
            m_refusal = why;
        return false;
    }
    bool Check(const QString& problem) { return problem.isEmpty() || Fail(problem); }

    // Passes over the current element and all it holds, refusing nesting beyond the limit.
    bool Skip(int depth) {
        int open = 1;
        while (open > 0 && !m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement && depth + ++open > ForeignImport::kMaxDepth)
                return Fail(QStringLiteral("its elements nest deeper than %1").arg(ForeignImport::kMaxDepth));
            if (token == QXmlStreamReader::EndElement)
                --open;
        }
        return open == 0;
    }

    // The next child of the current element, false at its end (or at an error, which Refusal tells).
    bool Child() { return m_xml.readNextStartElement(); }
    bool Is(const char* name) const { return m_xml.name() == QLatin1String(name); }
    QString Text(const char* name) const { return m_xml.attributes().value(QLatin1String(name)).toString(); }
    bool Has(const char* name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }
    qint64 Number(const char* name, qint64 otherwise = 0) const {
        bool ok = false;
        const qint64 value = m_xml.attributes().value(QLatin1String(name)).toLongLong(&ok);
        return ok ? value : otherwise;
    }
    double Real(const char* name, double otherwise) const {
        bool ok = false;
        const double value = m_xml.attributes().value(QLatin1String(name)).toDouble(&ok);
        return ok ? value : otherwise;
    }

    // The text of the current element, its child elements passed over (within the nesting limit).
    bool ElementText(int depth, QString* text) {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::Characters)
                text->append(m_xml.text());
            else if (token == QXmlStreamReader::StartElement && !Skip(depth + 1))
                return false;
            else if (token == QXmlStreamReader::EndElement)
                return true;
        }
        return false;
    }

    // <properties>: the properties with a value, typed; nested ones (class properties) passed over.
    bool Properties(PropertyList* list, int depth) {
        while (Child()) {
            if (!Is("property")) {
                if (!Skip(depth + 1))
                    return false;
                continue;
            }
            const QString name = Text("name");
            const QString type = Text("type");
            QString value = Text("value");
            if (type == QLatin1String("class")) {
                if (!Skip(depth + 1))
                    return false;
                continue;
            }
            // A text of several lines is the element's own text.
            if (!(Has("value") ? Skip(depth + 1) : ElementText(depth + 1, &value)))
                return false;
            if (type == QLatin1String("bool"))
                list->emplace_back(name, value == QLatin1String("true"));
            else if (type == QLatin1String("int"))
                list->emplace_back(name, value.toLongLong());
            else
                list->emplace_back(name, value);
        }
        return !m_xml.hasError();
    }

    bool TilesetBody(ForeignTileset* tileset, int depth) {
        tileset->name = Text("name");
        tileset->tileWidth = int(std::clamp<qint64>(Number("tilewidth"), 0, 1 << 20));
        tileset->tileHeight = int(std::clamp<qint64>(Number("tileheight"), 0, 1 << 20));
        tileset->spacing = Number("spacing") != 0;
        tileset->margin = Number("margin") != 0;
        tileset->tileCount = int(std::clamp<qint64>(Number("tilecount"), 0, 1 << 20));
        tileset->columns = int(std::clamp<qint64>(Number("columns"), 0, 1 << 20));
        while (Child()) {
            if (Is("image")) {
                tileset->image = m_folder.absoluteFilePath(Text("source"));
                tileset->imageWidth = int(std::clamp<qint64>(Number("width"), 0, 1 << 20));
                tileset->imageHeight = int(std::clamp<qint64>(Number("height"), 0, 1 << 20));
                if (!Skip(depth + 1))
                    return false;
            } else if (Is("tile")) {
                const qint64 id = Number("id", -1);
                CellRecord record;
                bool any = false;
                while (Child()) {
                    if (Is("image"))
                        tileset->collection = true;
                    if (Is("properties")) {
                        PropertyList properties;
                        if (!Properties(&properties, depth + 2))
                            return false;
                        for (const auto& [name, value] : properties)
                            any = SetGameProperty(record, name, value) || any;
                    } else if (!Skip(depth + 2)) {
                        return false;
                    }
                }
                if (any && id >= 0 && id < (1 << 20))
                    tileset->tiles.emplace_back(int(id), std::move(record));
            } else if (!Skip(depth + 1)) {
                return false;
            }
        }
        return !m_xml.hasError();
    }

protected:
    QXmlStreamReader& m_xml;
    QDir m_folder;
    QString m_refusal;
};

class TmxMapReader : public TmxReader {
public:
    TmxMapReader(QXmlStreamReader& xml, const QString& path, ForeignFiles& files,
                 const MapFileProgress& progress)
        : TmxReader(xml, path), m_path(path), m_files(files), m_progress(progress),
          m_builder([&files](const QString& image) { return files.Image(image); }) {}

    MapFileResult Read(MapSnapshot* map, ImportReport* report) {
        if (!Map()) {
            if (m_cancelled)
                return {MapFileResult::Cancelled, {}};
            return MapFileResult::Failure(Refusal());
        }
        *report = m_builder.Report();
        *map = std::move(m_map);
        return {};
    }

private:
    bool Map() {
        if (!Root("map"))
            return false;
        if (!Check(m_builder.Begin(Text("orientation"), Number("infinite") != 0, Number("width"),
                                   Number("height"), Number("tilewidth"), Number("tileheight"))))
            return false;
        if (!Layers(true, 1))
            return false;
        return Check(m_builder.Finish(&m_map, QFileInfo(m_path).completeBaseName()));
    }

    // The children of <map> or of a <group>.
    bool Layers(bool visible, int depth) {
        if (depth > ForeignImport::kMaxDepth)
            return Fail(QStringLiteral("its groups nest deeper than %1").arg(ForeignImport::kMaxDepth));
        while (Child()) {
            bool ok = true;
            if (Is("tileset"))
                ok = Tileset(depth);
            else if (Is("layer"))
                ok = Layer(visible, depth);
            else if (Is("objectgroup"))
                ok = Objects(depth);
            else if (Is("group")) {
                ++m_builder.Report().flattenedGroups;
                CountLooks();
                ok = Layers(visible && Number("visible", 1) != 0, depth + 1);
            } else if (Is("properties") && depth == 1) {
                PropertyList properties;
                ok = Properties(&properties, depth);
                for (const auto& [name, value] : properties)
                    if (name == QLatin1String("name"))
                        m_builder.SetName(value.toString());
            } else {
                m_builder.Report().skippedLayers += Is("imagelayer");
                ok = Skip(depth);
            }
            if (!ok)
                return false;
        }
        return !m_xml.hasError();
    }

    void CountLooks() {
        const bool looks = Real("opacity", 1) != 1 || Real("offsetx", 0) != 0 || Real("offsety", 0) != 0 ||
                           Real("parallaxx", 1) != 1 || Real("parallaxy", 1) != 1 || Has("tintcolor");
        m_builder.Report().ignoredLayerLooks += looks;
    }

    bool Tileset(int depth) {
        const qint64 firstGid = Number("firstgid");
        ForeignImport::SharedTileset tileset;
        if (Has("source")) {
            if (!Check(ForeignImport::ExternalTileset(Text("source"), m_path, m_files, m_cache, &tileset)) ||
                !Skip(depth))
                return false;
        } else {
            auto embedded = std::make_shared<ForeignTileset>();
            if (!TilesetBody(embedded.get(), depth))
                return false;
            SortTiles(*embedded);
            tileset = std::move(embedded);
        }
        return Check(m_builder.AddTileset(firstGid, *tileset));
    }

    bool Layer(bool visible, int depth) {
        CountLooks();
        if (!Check(m_builder.BeginLayer(Text("name"), Number("width"), Number("height"),
                                        visible && Number("visible", 1) != 0)))
            return false;
        while (Child()) {
            if (!(Is("data") ? Data(depth + 1) : Skip(depth + 1)))
                return false;
        }
        if (m_xml.hasError() || !Check(m_builder.EndLayer()))
            return false;
        if (m_progress && !m_progress(m_xml.device()->pos(), m_xml.device()->size())) {
            m_cancelled = true;
            return false;
        }
        return true;
    }

    bool Data(int depth) {
        const QString encoding = Text("encoding");
        const QString compression = Text("compression");
        if (encoding.isEmpty()) {
            // The old form: one <tile gid="…"/> per cell.
            while (Child()) {
                if (Is("chunk"))
                    return Fail(QStringLiteral("it is damaged: a map of a fixed size holds chunks"));
                if (Is("tile") &&
                    !m_builder.Add(std::uint32_t(std::clamp<qint64>(Number("gid"), 0, 0xFFFFFFFF))))
                    return Fail(QStringLiteral("it is damaged: a layer holds more cells than the map"));
                if (!Skip(depth + 1))
                    return false;
            }
            return !m_xml.hasError();
        }
        QString refusal;
        const std::unique_ptr<ForeignLayerData::Reader> gids =
            ForeignLayerData::ReaderFor(encoding, compression, m_builder, &refusal);
        if (!gids)
            return Fail(refusal);
        // The text is taken as the XML reader hands it over, never copied whole once more.
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                break;
            if (token == QXmlStreamReader::StartElement)
                return Fail(QStringLiteral("it is damaged: a layer's data holds elements"));
            if (token == QXmlStreamReader::Characters && !Check(gids->Feed(m_xml.text())))
                return false;
        }
        return !m_xml.hasError() && Check(gids->Finish());
    }

    // An object layer: our own export's cells go back into their cells; anything else is counted.
    bool Objects(int depth) {
        int cells = 0;
        int others = 0;
        while (Child()) {
            if (!Is("object")) {
                if (!Skip(depth + 1))
                    return false;
                continue;
            }
            bool point = false;
            PropertyList properties;
            while (Child()) {
                point = point || Is("point");
                if (!(Is("properties") ? Properties(&properties, depth + 2) : Skip(depth + 2)))
                    return false;
            }
            if (point && m_builder.CellObject(properties))
                ++cells;
            else
                ++others;
        }
        if (cells == 0)
            ++m_builder.Report().skippedLayers;
        else
            m_builder.Report().skippedObjects += others;
        return !m_xml.hasError();
    }

    QString m_path;
    ForeignFiles& m_files;
    const MapFileProgress& m_progress;
    ForeignMapBuilder m_builder;
    ForeignImport::TilesetCache m_cache;
    MapSnapshot m_map;
    bool m_cancelled = false;
};

} // namespace

namespace ForeignImport {

MapFileResult ReadTmx(QIODevice& device, const QString& mapPath, ForeignFiles& files, MapSnapshot* map,
                      ImportReport* report, const MapFileProgress& progress) {
    QXmlStreamReader xml(&device);
    TmxMapReader reader(xml, mapPath, files, progress);
    try {
        return reader.Read(map, report);
    } catch (const std::bad_alloc&) {
        return MapFileResult::Failure(QStringLiteral("there is not enough memory to open it"));
    }
}

QString ReadTsx(const QByteArray& bytes, const QString& path, ForeignTileset* tileset) {
    QXmlStreamReader xml(bytes);
    TmxReader reader(xml, path);
    if (!reader.Root("tileset") || !reader.TilesetBody(tileset, 1))
        return reader.Refusal();
    return {};
}

} // namespace ForeignImport
