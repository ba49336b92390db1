#include "document/MapFileWriter.h"

#include "document/CborFieldWriter.h"
#include "document/CellRecordFields.h"
#include "document/LayerChunkCodec.h"
#include "document/MapFileFormat.h"
#include "document/MapSnapshotCheck.h"
#include "platform/WriteFailure.h"

#include <QCborStreamWriter>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <new>

using namespace MapFileFormat;

namespace {

// Passes bytes on to the real device and remembers the first refusal: the stream writer does not look at
// what its device's write returns.
class CheckedOutput : public QIODevice {
public:
    explicit CheckedOutput(QIODevice& target) : m_target(target) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool Failed() const { return !m_failure.isEmpty(); }
    const QString& Failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        for (qint64 done = 0; done < size && !Failed();) {
            errno = 0;
            const qint64 written = m_target.write(data + done, size - done);
            if (written <= 0) {
                const int systemError = errno;
                const auto* file = qobject_cast<const QFileDevice*>(&m_target);
                m_failure = file ? WriteFailure(*file, systemError) : m_target.errorString();
            }
            done += written;
        }
        return Failed() ? -1 : size;
    }

private:
    QIODevice& m_target;
    QString m_failure;
};

QString LowerFirst(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text.isEmpty() ? QStringLiteral("the file cannot be written") : text;
}

class MapFileComposer {
public:
    MapFileComposer(const MapSnapshot& map, const MapFile::LayerSource& layers, QIODevice& device,
                    const MapFileProgress& progress)
        : m_map(map), m_layers(layers), m_output(device), m_writer(&m_output), m_progress(progress),
          m_cells(qint64(map.mapWidth) * map.mapHeight), m_total(m_cells * map.layers) {}

    MapFileResult Compose() {
        if (m_progress && !m_progress(0, m_total))
            return {MapFileResult::Cancelled, {}};
        m_writer.append(QCborKnownTags::Signature);
        m_writer.startMap(6);
        AppendKey(m_writer, Key::kFormat);
        m_writer.append(QLatin1StringView(kFormatName.data(), qsizetype(kFormatName.size())));
        AppendKey(m_writer, Key::kVersion);
        m_writer.append(qint64(kVersion));
        WriteSettings();
        AppendKey(m_writer, Key::kTemplates);
        m_writer.startArray(m_map.templates.size());
        for (const CellRecord& record : m_map.templates)
            WriteCellRecord(m_writer, record);
        m_writer.endArray();
        WriteLoads();
        AppendKey(m_writer, Key::kLayers);
        m_writer.startArray(quint64(m_map.layers));
        for (int k = 0; k < m_map.layers; ++k) {
            MapFileResult result;
            if (m_layers) {
                LayerSnapshot layer;
                if (!m_layers(k, &layer))
                    return {MapFileResult::Cancelled, {}};
                if (const QString problem = MapSnapshotCheck::Layer(layer, k, m_cells); !problem.isEmpty())
                    return MapFileResult::Failure(QStringLiteral("the map is inconsistent: ") + problem);
                result = WriteLayer(layer);
            } else {
                result = WriteLayer(m_map.layer[k]);
            }
            if (!result.ok())
                return result;
        }
        m_writer.endArray();
        m_writer.endMap();
        if (m_output.Failed())
            return MapFileResult::Failure(LowerFirst(m_output.Failure()));
        return {};
    }

private:
    void WriteSettings() {
        AppendKey(m_writer, Key::kMap);
        m_writer.startMap(7);
        const std::pair<std::string_view, int> numbers[] = {
            {Key::kWidth, m_map.mapWidth},        {Key::kHeight, m_map.mapHeight},
            {Key::kLayers, m_map.layers},         {Key::kTileWidth, m_map.tileWidth},
            {Key::kTileHeight, m_map.tileHeight}, {Key::kVisibleLayers, m_map.visibleLayers}};
        for (const auto& [key, value] : numbers) {
            AppendKey(m_writer, key);
            m_writer.append(qint64(value));
        }
        AppendKey(m_writer, Key::kName);
        AppendText(m_writer, m_map.name);
        m_writer.endMap();
    }

    void WriteLoads() {
        AppendKey(m_writer, Key::kLoads);
        m_writer.startArray(m_map.loads.size());
        for (const TilesetLoadRecord& load : m_map.loads) {
            m_writer.startMap(9);
            AppendKey(m_writer, Key::kRelativePath);
            AppendText(m_writer, load.relativePath);
            AppendKey(m_writer, Key::kAbsolutePath);
            AppendText(m_writer, load.absolutePath);
            const std::pair<std::string_view, int> numbers[] = {
                {Key::kTileWidth, load.tileWidth},   {Key::kTileHeight, load.tileHeight},
                {Key::kImageWidth, load.imageWidth}, {Key::kImageHeight, load.imageHeight},
                {Key::kFirstTile, load.firstTile},   {Key::kTileCount, load.tileCount}};
            for (const auto& [key, value] : numbers) {
                AppendKey(m_writer, key);
                m_writer.append(qint64(value));
            }
            AppendKey(m_writer, Key::kSha256);
            m_writer.append(load.contentHash);
            m_writer.endMap();
        }
        m_writer.endArray();
    }

    MapFileResult WriteLayer(const LayerSnapshot& layer) {
        m_writer.startMap(2);
        AppendKey(m_writer, Key::kTiles);
        m_writer.startArray(quint64((m_cells + kChunkCells - 1) / kChunkCells));
        for (qint64 start = 0; start < m_cells; start += kChunkCells) {
            const std::size_t count = std::size_t(std::min(kChunkCells, m_cells - start));
            const std::span<const char> frame = m_encoder.Encode({layer.tiles.data() + start, count});
            if (frame.empty())
                return MapFileResult::Failure(QStringLiteral("there is not enough memory to save it"));
            m_writer.appendByteString(frame.data(), qsizetype(frame.size()));
            if (m_output.Failed())
                return MapFileResult::Failure(LowerFirst(m_output.Failure()));
            m_done += qint64(count);
            if (m_progress && !m_progress(m_done, m_total))
                return {MapFileResult::Cancelled, {}};
        }
        m_writer.endArray();
        AppendKey(m_writer, Key::kExceptions);
        m_writer.startArray(layer.exceptions.size());
        for (const CellException& exception : layer.exceptions) {
            m_writer.startMap(2);
            AppendKey(m_writer, Key::kIndex);
            m_writer.append(quint64(exception.index));
            AppendKey(m_writer, Key::kCell);
            WriteCellRecord(m_writer, exception.record);
            m_writer.endMap();
        }
        m_writer.endArray();
        m_writer.endMap();
        return {};
    }

    const MapSnapshot& m_map;
    const MapFile::LayerSource& m_layers;
    CheckedOutput m_output;
    QCborStreamWriter m_writer;
    const MapFileProgress& m_progress;
    LayerChunkEncoder m_encoder;
    const qint64 m_cells;
    const qint64 m_total;
    qint64 m_done = 0;
};

} // namespace

namespace MapFile {

namespace {

MapFileResult Compose(const MapSnapshot& map, const LayerSource& layers, QIODevice& device,
                      const MapFileProgress& progress) {
    const QString problem = layers ? MapSnapshotCheck::Header(map) : MapSnapshotCheck::Whole(map);
    if (!problem.isEmpty())
        return MapFileResult::Failure(QStringLiteral("the map is inconsistent: ") + problem);
    try {
        MapFileResult result = MapFileComposer(map, layers, device, progress).Compose();
        // A file device keeps the last bytes in its buffer: they must reach the file for the write to count.
        auto* file = qobject_cast<QFileDevice*>(&device);
        errno = 0;
        if (result.ok() && file && (!file->flush() || file->error() != QFileDevice::NoError))
            return MapFileResult::Failure(LowerFirst(WriteFailure(*file, errno)));
        return result;
    } catch (const std::bad_alloc&) {
        return MapFileResult::Failure(QStringLiteral("there is not enough memory to save it"));
    }
}

MapFileResult SaveFile(const MapSnapshot& map, const LayerSource& layers, const QString& path,
                       const MapFileProgress& progress) {
    const QFileInfo target(path);
    if (target.isDir())
        return MapFileResult::Failure(QStringLiteral("it is a folder"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return MapFileResult::Failure(target.dir().exists() ? LowerFirst(file.errorString())
                                                            : QStringLiteral("its folder does not exist"));
    MapFileResult result = Compose(map, layers, file, progress);
    if (!result.ok()) {
        file.cancelWriting();
        return result;
    }
    errno = 0;
    if (!file.commit())
        return MapFileResult::Failure(LowerFirst(WriteFailure(file, errno)));
    return result;
}

} // namespace

MapFileResult Write(const MapSnapshot& map, QIODevice& device, const MapFileProgress& progress) {
    return Compose(map, {}, device, progress);
}

MapFileResult Save(const MapSnapshot& map, const QString& path, const MapFileProgress& progress) {
    return SaveFile(map, {}, path, progress);
}

MapFileResult Write(const MapSnapshot& map, const LayerSource& layers, QIODevice& device,
                    const MapFileProgress& progress) {
    return layers ? Compose(map, layers, device, progress)
                  : MapFileResult::Failure(QStringLiteral("the map has no layers to write"));
}

MapFileResult Save(const MapSnapshot& map, const LayerSource& layers, const QString& path,
                   const MapFileProgress& progress) {
    return layers ? SaveFile(map, layers, path, progress)
                  : MapFileResult::Failure(QStringLiteral("the map has no layers to write"));
}

} // namespace MapFile
