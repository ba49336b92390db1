#include "document/PieceCodec.h"

#include "document/CborFieldReader.h"
#include "document/CborFieldWriter.h"
#include "document/CellRecordFields.h"
#include "document/LayerChunkCodec.h"
#include "document/MapFileFormat.h"
#include "document/MapSnapshotCheck.h"

#include <QBuffer>
#include <QCborStreamWriter>
#include <algorithm>
#include <new>

using namespace MapFileFormat;

namespace {

constexpr std::string_view kPieceFormat = "mosaicor-piece";
constexpr std::string_view kPieceKey = "piece";
constexpr std::string_view kLayerKey = "layer";
constexpr qint64 kPieceVersion = 1;

void WriteLayer(QCborStreamWriter& w, LayerChunkEncoder& encoder, const PieceSnapshot::Layer& layer,
                qint64 cells, bool* failed) {
    w.startMap(layer.layer >= 0 ? 3 : 2);
    if (layer.layer >= 0) {
        AppendKey(w, kLayerKey);
        w.append(qint64(layer.layer));
    }
    AppendKey(w, Key::kTiles);
    w.startArray(quint64((cells + kChunkCells - 1) / kChunkCells));
    for (qint64 start = 0; start < cells; start += kChunkCells) {
        const std::size_t count = std::size_t(std::min(kChunkCells, cells - start));
        const std::span<const char> frame = encoder.Encode({layer.cells.tiles.data() + start, count});
        *failed = *failed || frame.empty();
        w.appendByteString(frame.data(), qsizetype(frame.size()));
    }
    w.endArray();
    AppendKey(w, Key::kExceptions);
    w.startArray(layer.cells.exceptions.size());
    for (const CellException& exception : layer.cells.exceptions) {
        w.startMap(2);
        AppendKey(w, Key::kIndex);
        w.append(quint64(exception.index));
        AppendKey(w, Key::kCell);
        WriteCellRecord(w, exception.record);
        w.endMap();
    }
    w.endArray();
    w.endMap();
}

class PieceParser {
public:
    explicit PieceParser(QIODevice& device) : m_in(device) {}

    QString Parse(PieceSnapshot* into) {
        if (!Top())
            return m_in.Problem();
        *into = std::move(m_piece);
        return {};
    }

private:
    bool Damaged(const QString& what) { return m_in.Fail(QStringLiteral("they are damaged: ") + what); }

    bool Top() {
        qint64 count = 0;
        std::string_view key;
        QString format;
        const QString notOurs = QStringLiteral("they are not map cells");
        if (!m_in.Stream().isMap() || !m_in.EnterMap(Key::kFormat, &count) || !m_in.HasNext() ||
            !m_in.Key(&key) || key != Key::kFormat || !m_in.Stream().isString() ||
            !m_in.Text(Key::kFormat, &format) ||
            format != QLatin1StringView(kPieceFormat.data(), qsizetype(kPieceFormat.size())))
            return m_in.Fail(notOurs);
        qint64 version = 0;
        if (!m_in.HasNext() || !m_in.Key(&key) || key != Key::kVersion ||
            !m_in.Integer(Key::kVersion, 0, std::numeric_limits<qint64>::max(), &version))
            return m_in.Fail(notOurs);
        if (version != kPieceVersion)
            return m_in.Fail(
                QStringLiteral("they are in version %1, which this program cannot read").arg(version));
        bool seen[3] = {};
        const std::string_view sections[] = {kPieceKey, Key::kTemplates, Key::kLayers};
        while (m_in.HasNext()) {
            if (!m_in.Key(&key))
                return false;
            const auto section =
                std::find(std::begin(sections), std::end(sections), key) - std::begin(sections);
            if (section == std::ssize(sections)) {
                if (!m_in.Skip())
                    return false;
                continue;
            }
            if (seen[section])
                return Damaged(QStringLiteral("a part is given twice"));
            seen[section] = true;
            const bool ok = section == 0   ? Size()
                            : section == 1 ? Templates()
                            : seen[0]      ? Layers()
                                           : Damaged(QStringLiteral("their layers come before their size"));
            if (!ok)
                return false;
        }
        if (!m_in.Leave())
            return false;
        if (!seen[0] || !seen[1] || !seen[2])
            return Damaged(QStringLiteral("a part is missing"));
        if (m_in.BytesLeft() > 0)
            return Damaged(QStringLiteral("they go on after their end"));
        return true;
    }

    bool Size() {
        constexpr std::string_view keys[] = {Key::kWidth, Key::kHeight};
        int* numbers[] = {&m_piece.width, &m_piece.height};
        const bool ok = m_in.Fields(kPieceKey, keys, 0x3, [&](std::size_t field) {
            qint64 value = 0;
            const bool read = m_in.Integer(keys[field], 1, 8192, &value);
            *numbers[field] = int(value);
            return read;
        });
        if (!ok)
            return false;
        m_cells = qint64(m_piece.width) * m_piece.height;
        if (m_cells > 16777216)
            return m_in.Fail(QStringLiteral("they are more than 16,777,216 cells"));
        m_chunks = (m_cells + kChunkCells - 1) / kChunkCells;
        return true;
    }

    bool Templates() {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kTemplates, kMaxTiles, 1, &count))
            return false;
        while (m_in.HasNext()) {
            if (m_piece.templates.size() == std::size_t(kMaxTiles))
                return Damaged(QStringLiteral("they name more than %1 tiles").arg(kMaxTiles));
            if (!ReadCellRecord(m_in, &m_piece.templates.emplace_back()))
                return false;
        }
        return m_in.Leave();
    }

    bool Layers() {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kLayers, kMaxLayers, m_chunks * kMinChunkBytes, &count))
            return false;
        std::uint32_t taken = 0;
        while (m_in.HasNext()) {
            if (m_piece.layers.size() == std::size_t(kMaxLayers))
                return Damaged(QStringLiteral("they have more than %1 layers").arg(kMaxLayers));
            PieceSnapshot::Layer& layer = m_piece.layers.emplace_back();
            if (!Layer(&layer))
                return false;
            // Layers of their own number each come once; a layer for the edit layer comes alone.
            const std::uint32_t bit = layer.layer < 0 ? 0x100u : 1u << layer.layer;
            if ((taken & bit) || (layer.layer < 0 && m_piece.layers.size() > 1) || (taken & 0x100u))
                return Damaged(QStringLiteral("their layers repeat"));
            taken |= bit;
        }
        if (!m_in.Leave())
            return false;
        if (m_piece.layers.empty())
            return Damaged(QStringLiteral("they have no layer"));
        return true;
    }

    bool Layer(PieceSnapshot::Layer* layer) {
        constexpr std::string_view keys[] = {Key::kTiles, Key::kExceptions, kLayerKey};
        const bool ok = m_in.Fields(Key::kLayers, keys, 0x3, [&](std::size_t field) {
            if (field == 2) {
                qint64 value = 0;
                const bool read = m_in.Integer(kLayerKey, 0, kMaxLayers - 1, &value);
                layer->layer = int(value);
                return read;
            }
            return field == 0 ? Tiles(&layer->cells.tiles) : Exceptions(&layer->cells.exceptions);
        });
        if (!ok)
            return false;
        if (const QString problem = MapSnapshotCheck::Layer(layer->cells, std::max(layer->layer, 0), m_cells);
            !problem.isEmpty())
            return Damaged(problem);
        return true;
    }

    bool Tiles(std::vector<std::uint16_t>* tiles) {
        qint64 count = 0;
        if (!m_in.EnterArray(Key::kTiles, m_chunks, kMinChunkBytes, &count))
            return false;
        tiles->reserve(std::size_t(m_cells));
        qint64 done = 0;
        for (qint64 chunk = 0; m_in.HasNext(); ++chunk) {
            if (chunk == m_chunks)
                return Damaged(QStringLiteral("a layer has more chunks than its size"));
            const std::size_t values = std::size_t(std::min(kChunkCells, m_cells - done));
            std::span<const char> frame;
            if (!m_in.Bytes(Key::kTiles, qint64(LayerChunkDecoder::MaxFrameBytes(values)), &frame))
                return false;
            QString problem;
            if (!m_decoder.Decode(frame, values, tiles, &problem))
                return Damaged(QStringLiteral("a chunk ") + problem);
            done += qint64(values);
        }
        if (done != m_cells && !m_in.Failed())
            return Damaged(QStringLiteral("a layer has fewer chunks than its size"));
        return m_in.Leave();
    }

    bool Exceptions(std::vector<CellException>* exceptions) {
        return ReadCellExceptions(m_in, m_cells, exceptions,
                                  [this](const QString& what) { return Damaged(what); });
    }

    CborFieldReader m_in;
    LayerChunkDecoder m_decoder;
    PieceSnapshot m_piece;
    qint64 m_cells = 0;
    qint64 m_chunks = 0;
};

} // namespace

namespace PieceCodec {

QByteArray Encode(const PieceSnapshot& piece) {
    try {
        QByteArray bytes;
        QCborStreamWriter w(&bytes);
        bool failed = false;
        w.startMap(5);
        AppendKey(w, Key::kFormat);
        w.append(QLatin1StringView(kPieceFormat.data(), qsizetype(kPieceFormat.size())));
        AppendKey(w, Key::kVersion);
        w.append(kPieceVersion);
        AppendKey(w, kPieceKey);
        w.startMap(2);
        AppendKey(w, Key::kWidth);
        w.append(qint64(piece.width));
        AppendKey(w, Key::kHeight);
        w.append(qint64(piece.height));
        w.endMap();
        AppendKey(w, Key::kTemplates);
        w.startArray(piece.templates.size());
        for (const CellRecord& record : piece.templates)
            WriteCellRecord(w, record);
        w.endArray();
        AppendKey(w, Key::kLayers);
        w.startArray(piece.layers.size());
        LayerChunkEncoder encoder;
        for (const PieceSnapshot::Layer& layer : piece.layers)
            WriteLayer(w, encoder, layer, qint64(piece.width) * piece.height, &failed);
        w.endArray();
        w.endMap();
        return failed ? QByteArray() : bytes;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

QString Decode(const QByteArray& bytes, PieceSnapshot* piece) {
    if (bytes.isEmpty())
        return QStringLiteral("they are empty");
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QStringLiteral("they cannot be read");
    try {
        return PieceParser(buffer).Parse(piece);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("there is not enough memory for them");
    }
}

QString PlainText(const PieceSnapshot& piece) {
    QString text;
    for (const PieceSnapshot::Layer& layer : piece.layers) {
        if (&layer != &piece.layers.front())
            text += QLatin1Char('\n');
        for (int row = 0; row < piece.height; ++row) {
            for (int column = 0; column < piece.width; ++column) {
                if (column > 0)
                    text += QLatin1Char('\t');
                const std::size_t i = std::size_t(row) * std::size_t(piece.width) + std::size_t(column);
                const std::uint16_t value = layer.cells.tiles[i];
                if (value == kOddTile) {
                    const auto e = std::lower_bound(
                        layer.cells.exceptions.begin(), layer.cells.exceptions.end(), i,
                        [](const CellException& x, std::size_t index) { return x.index < index; });
                    text += QString::number(e->record.imageIndex);
                } else if (value != 0) {
                    text += QString::number(value - 1);
                }
            }
            text += QLatin1Char('\n');
        }
    }
    return text;
}

} // namespace PieceCodec
