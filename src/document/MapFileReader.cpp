#include "document/MapFileReader.h"

#include "document/CborFieldReader.h"
#include "document/CellRecordFields.h"
#include "document/LayerChunkCodec.h"
#include "document/MapFileFormat.h"
#include "document/MapSnapshotCheck.h"

#include <QCborStreamReader>
#include <QFileDevice>
#include <QIODevice>
#include <algorithm>
#include <limits>
#include <new>

#include <sys/mman.h>

using namespace MapFileFormat;

namespace {

constexpr qint64 kIntMax = std::numeric_limits<int>::max();
constexpr qint64 kIntMin = std::numeric_limits<int>::min();
// The fewest bytes a tileset load can take: its nine keys alone.
constexpr qint64 kMinLoadBytes = 80;

// A layer of the largest map takes 32 MiB. Page by page, faulting it in costs more than reading it; offered
// for huge pages, its pages come 2 MiB at a time. Advice only, on the whole 2 MiB pages within the array.
void OfferHugePages(void* start, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    const std::uintptr_t first = (std::uintptr_t(start) + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (std::uintptr_t(start) + bytes) & ~(kHugePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(start);
    Q_UNUSED(bytes);
#endif
}

class MapFileParser {
public:
    MapFileParser(QIODevice& device, const MapFileProgress& progress, bool settingsOnly)
        : m_in(device), m_progress(progress), m_settingsOnly(settingsOnly) {}

    MapFileResult Parse(MapSnapshot* into) {
        if (!Top())
            return m_cancelled ? MapFileResult{MapFileResult::Cancelled, {}}
                               : MapFileResult::Failure(m_in.Problem());
        *into = std::move(m_map);
        return {};
    }

private:
    bool Damaged(const QString& what) { return m_in.Fail(QStringLiteral("it is damaged: ") + what); }
    QString LayerName(int k) const { return QStringLiteral("layer %1").arg(k); }

    // The file opens with its signature, then a map whose first entries name the format and its version.
    bool FormatAndVersion() {
        if (!m_in.SkipTag(quint64(QCborKnownTags::Signature)))
            return false;
        qint64 count = 0;
        std::string_view key;
        QString format;
        const QString notOurs = QStringLiteral("it is not a 2D Mosaicor map");
        if (!m_in.Stream().isMap() || !m_in.EnterMap(Key::kFormat, &count) || !m_in.HasNext() ||
            !m_in.Key(&key) || key != Key::kFormat || !m_in.Stream().isString() ||
            !m_in.Text(Key::kFormat, &format) ||
            format != QLatin1StringView(kFormatName.data(), qsizetype(kFormatName.size())))
            return m_in.Fail(notOurs);
        qint64 version = 0;
        if (!m_in.HasNext() || !m_in.Key(&key) || key != Key::kVersion)
            return m_in.Fail(notOurs);
        if (!m_in.Integer(Key::kVersion, 0, std::numeric_limits<qint64>::max(), &version))
            return false;
        if (version != kVersion)
            return m_in.Fail(
                QStringLiteral("it is in version %1 of the map format, which this program cannot read")
                    .arg(version));
        return true;
    }

    // After the format and version, each section once (the layers after the map's size); entries of no known
    // section are passed over.
    bool Top() {
        if (!FormatAndVersion())
            return false;
        std::string_view key;
        bool seen[4] = {};
        const std::string_view sections[] = {Key::kMap, Key::kTemplates, Key::kLoads, Key::kLayers};
        while (m_in.HasNext()) {
            if (!m_in.Key(&key))
                return false;
            const auto section =
                std::find(std::begin(sections), std::end(sections), key) - std::begin(sections);
            if (key == Key::kFormat || key == Key::kVersion)
                return Damaged(QStringLiteral("it says its format twice"));
            if (section == std::ssize(sections)) {
                if (!m_in.Skip())
                    return false;
                continue;
            }
            if (seen[section])
                return Damaged(QStringLiteral("it has “%1” twice")
                                   .arg(QLatin1StringView(key.data(), qsizetype(key.size()))));
            seen[section] = true;
            if (section == 0 && m_settingsOnly)
                return Settings();
            // The layers are inflated only once every small field is known to be sound: when the tiles or
            // their loads come after them, they are passed over now and read at the end.
            const bool ok = section == 0         ? Settings()
                            : section == 1       ? Templates()
                            : section == 2       ? Loads()
                            : !seen[0]           ? Damaged(QStringLiteral("its layers come before its size"))
                            : seen[1] && seen[2] ? TilesAgree() && Layers()
                                                 : PassLayers();
            if (!ok)
                return false;
        }
        if (!m_in.Leave())
            return false;
        for (std::size_t section = 0; section < std::size(sections); ++section)
            if (!seen[section])
                return Damaged(QStringLiteral("it has no “%1”")
                                   .arg(QLatin1StringView(sections[section].data(),
                                                          qsizetype(sections[section].size()))));
        if (m_in.BytesLeft() > 0)
            return Damaged(QStringLiteral("it goes on after its end"));
        if (!TilesAgree())
            return false;
        return m_layersAt < 0 || (m_in.Reposition(m_layersAt) && Layers());
    }

    bool TilesAgree() {
        if (const QString problem = MapSnapshotCheck::Loads(m_map.loads, qint64(m_map.templates.size()));
            !problem.isEmpty())
            return Damaged(problem);
        return true;
    }

    bool PassLayers() {
        m_layersAt = m_in.Stream().currentOffset();
        return m_in.Skip();
    }

    bool Settings() {
        constexpr std::string_view keys[] = {Key::kWidth,        Key::kHeight,     Key::kLayers,
                                             Key::kTileWidth,    Key::kTileHeight, Key::kName,
                                             Key::kVisibleLayers};
        MapSnapshot& m = m_map;
        int* numbers[] = {&m.mapWidth, &m.mapHeight, &m.layers, &m.tileWidth, &m.tileHeight};
        qint64 value = 0;
        const bool ok = m_in.Fields(Key::kMap, keys, 0x7F, [&](std::size_t field) {
            if (field == 5)
                return m_in.Text(keys[field], &m.name);
            if (field == 6) {
                const bool read = m_in.Integer(keys[field], 0, 255, &value);
                m.visibleLayers = std::uint8_t(value);
                return read;
            }
            const bool read = m_in.Integer(keys[field], kIntMin, kIntMax, &value);
            *numbers[field] = int(value);
            return read;
        });
        if (!ok)
            return false;
        if (const QString problem =
                MapSnapshotCheck::Settings(m.mapWidth, m.mapHeight, m.layers, m.tileWidth, m.tileHeight);
            !problem.isEmpty())
            return m_in.Fail(problem);
        m_cells = qint64(m.mapWidth) * m.mapHeight;
        m_chunks = (m_cells + kChunkCells - 1) / kChunkCells;
        m_total = m_cells * m.layers;
        if (m.layers * m_chunks * kMinChunkBytes > m_in.BytesLeft())
            return m_in.Fail(QStringLiteral("it ends too early"));
        return !m_progress || Progress();
    }

    bool Templates() {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kTemplates, kMaxTiles, 1, &count))
            return false;
        m_map.templates.clear();
        while (m_in.HasNext()) {
            if (m_map.templates.size() == std::size_t(kMaxTiles))
                return Damaged(QStringLiteral("it has more than %1 tiles").arg(kMaxTiles));
            if (!ReadCellRecord(m_in, &m_map.templates.emplace_back()))
                return false;
        }
        return m_in.Leave();
    }

    bool Loads() {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kLoads, kMaxTiles, kMinLoadBytes, &count))
            return false;
        constexpr std::string_view keys[] = {Key::kRelativePath, Key::kAbsolutePath, Key::kTileWidth,
                                             Key::kTileHeight,   Key::kImageWidth,   Key::kImageHeight,
                                             Key::kFirstTile,    Key::kTileCount,    Key::kSha256};
        while (m_in.HasNext()) {
            if (m_map.loads.size() == std::size_t(kMaxTiles))
                return Damaged(QStringLiteral("it has more than %1 tileset images").arg(kMaxTiles));
            TilesetLoadRecord& load = m_map.loads.emplace_back();
            int* numbers[] = {&load.tileWidth,   &load.tileHeight, &load.imageWidth,
                              &load.imageHeight, &load.firstTile,  &load.tileCount};
            const bool ok = m_in.Fields(Key::kLoads, keys, 0x1FF, [&](std::size_t field) {
                if (field < 2)
                    return m_in.Text(keys[field], field == 0 ? &load.relativePath : &load.absolutePath);
                if (field == 8) {
                    std::span<const char> hash;
                    if (!m_in.Bytes(keys[field], kHashBytes, &hash))
                        return false;
                    load.contentHash = QByteArray(hash.data(), qsizetype(hash.size()));
                    return true;
                }
                qint64 value = 0;
                const bool read = m_in.Integer(keys[field], kIntMin, kIntMax, &value);
                *numbers[field - 2] = int(value);
                return read;
            });
            if (!ok)
                return false;
            if (const QString problem = MapSnapshotCheck::Load(load); !problem.isEmpty())
                return Damaged(problem);
        }
        return m_in.Leave();
    }

    bool Layers() {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kLayers, MapFileFormat::kMaxLayers, m_chunks * kMinChunkBytes, &count))
            return false;
        if (count >= 0 && count != m_map.layers)
            return Damaged(QStringLiteral("it has data for %1 layers, not %2").arg(count).arg(m_map.layers));
        int k = 0;
        while (m_in.HasNext()) {
            if (k == m_map.layers)
                return Damaged(QStringLiteral("it has data for more layers than it uses"));
            if (!Layer(k++))
                return false;
        }
        if (!m_in.Failed() && k != m_map.layers)
            return Damaged(QStringLiteral("it has data for %1 layers, not %2").arg(k).arg(m_map.layers));
        return m_in.Leave();
    }

    bool Layer(int k) {
        LayerSnapshot& layer = m_map.layer[k];
        constexpr std::string_view keys[] = {Key::kTiles, Key::kExceptions};
        const bool ok = m_in.Fields(Key::kLayers, keys, 0x3, [&](std::size_t field) {
            return field == 0 ? Tiles(k, &layer.tiles) : Exceptions(&layer.exceptions);
        });
        if (!ok)
            return false;
        if (const QString problem = MapSnapshotCheck::Layer(layer, k, m_cells); !problem.isEmpty())
            return Damaged(problem);
        return true;
    }

    bool Tiles(int k, std::vector<std::uint16_t>* tiles) {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kTiles, m_chunks, kMinChunkBytes, &count))
            return false;
        if (count >= 0 && count != m_chunks)
            return Damaged(LayerName(k) +
                           QStringLiteral(" claims %1 chunks, not %2").arg(count).arg(m_chunks));
        // Reserved, not filled: the pages are taken only as chunks arrive, so a file whose data falls short
        // costs what it holds, never more than its size allows.
        tiles->reserve(std::size_t(m_cells));
        OfferHugePages(tiles->data(), std::size_t(m_cells) * sizeof(std::uint16_t));
        qint64 done = 0;
        for (qint64 chunk = 0; m_in.HasNext(); ++chunk) {
            if (chunk == m_chunks)
                return Damaged(LayerName(k) + QStringLiteral(" has more chunks than its size"));
            const std::size_t values = std::size_t(std::min(kChunkCells, m_cells - done));
            std::span<const char> frame;
            if (!m_in.Bytes(Key::kTiles, qint64(LayerChunkDecoder::MaxFrameBytes(values)), &frame))
                return false;
            QString problem;
            if (!m_decoder.Decode(frame, values, tiles, &problem))
                return Damaged(LayerName(k) + QStringLiteral("'s chunk %1 ").arg(chunk) + problem);
            if (!std::all_of(tiles->end() - std::ptrdiff_t(values), tiles->end(),
                             MapSnapshotCheck::IsTileValue))
                return Damaged(LayerName(k) + QStringLiteral(" has a cell with no meaningful tile value"));
            done += qint64(values);
            m_done += qint64(values);
            if (m_progress && !Progress())
                return false;
        }
        if (done != m_cells && !m_in.Failed())
            return Damaged(LayerName(k) + QStringLiteral(" has fewer chunks than its size"));
        return m_in.Leave();
    }

    bool Exceptions(std::vector<CellException>* exceptions) {
        return ReadCellExceptions(m_in, m_cells, exceptions,
                                  [this](const QString& what) { return Damaged(what); });
    }

    bool Progress() {
        if (m_progress(m_done, m_total))
            return true;
        m_cancelled = true;
        return m_in.Fail(QStringLiteral("cancelled"));
    }

    CborFieldReader m_in;
    const MapFileProgress& m_progress;
    LayerChunkDecoder m_decoder;
    MapSnapshot m_map;
    qint64 m_cells = 0;
    qint64 m_chunks = 0;
    qint64 m_total = 0;
    qint64 m_done = 0;
    // Where the layers begin when they were passed over to be read last; -1 when they were read in place.
    qint64 m_layersAt = -1;
    bool m_cancelled = false;
    // Only the settings are wanted: the reading ends with them.
    const bool m_settingsOnly;
};

MapFileResult ReadFrom(QIODevice& device, MapSnapshot* map, const MapFileProgress& progress,
                       bool settingsOnly) {
    // The sizes a file claims are checked against the bytes it holds, so the device must know its size.
    if (device.isSequential())
        return MapFileResult::Failure(QStringLiteral("it is not a file"));
    if (device.size() - device.pos() <= 0)
        return MapFileResult::Failure(QStringLiteral("it is empty"));
    try {
        MapFileResult result = MapFileParser(device, progress, settingsOnly).Parse(map);
        const auto* file = qobject_cast<const QFileDevice*>(&device);
        result.damaged =
            result.status == MapFileResult::Failed && (!file || file->error() == QFileDevice::NoError);
        return result;
    } catch (const std::bad_alloc&) {
        return MapFileResult::Failure(QStringLiteral("there is not enough memory to open it"));
    }
}

} // namespace

namespace MapFile {

MapFileResult Read(QIODevice& device, MapSnapshot* map, const MapFileProgress& progress) {
    return ReadFrom(device, map, progress, false);
}

MapFileResult ReadSettings(QIODevice& device, MapSnapshot* map) {
    return ReadFrom(device, map, {}, true);
}

} // namespace MapFile
