// One input: any bytes, read as a map file and as map cells from the clipboard. Refusing is fine; crashing,
// reading out of bounds, undefined behaviour, a map that breaks the rules a file must keep, or one that does
// not come back the same after being written and read again is a finding.
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/MapSnapshotCheck.h"
#include "document/PieceCodec.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace {
// The clipboard's map cells: what is read must come back the same after being written and read again.
void ReadAsPiece(const QByteArray& bytes) {
    PieceSnapshot piece;
    if (!PieceCodec::Decode(bytes, &piece).isEmpty())
        return;
    if (qint64(piece.width) * piece.height * qint64(piece.layers.size()) > (qint64(1) << 20))
        return;
    PieceSnapshot again;
    if (!PieceCodec::Decode(PieceCodec::Encode(piece), &again).isEmpty() || !(again == piece))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAsPiece(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    QBuffer input;
    input.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    input.open(QIODevice::ReadOnly);
    // The settings alone, as a recovery copy is named: a file that reads whole reads the same settings.
    MapSnapshot settings;
    const bool settingsRead = MapFile::ReadSettings(input, &settings).ok();
    input.seek(0);
    MapSnapshot map;
    if (!MapFile::Read(input, &map).ok())
        return 0;
    if (!MapSnapshotCheck::Whole(map).isEmpty())
        std::abort();
    if (!settingsRead || settings.name != map.name || settings.mapWidth != map.mapWidth ||
        settings.mapHeight != map.mapHeight || settings.layers != map.layers)
        std::abort();
    // Writing a map of many cells takes long under the sanitizers; the small ones find the same faults.
    if (qint64(map.mapWidth) * map.mapHeight * map.layers > (qint64(1) << 20))
        return 0;
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    if (!MapFile::Write(map, output).ok())
        std::abort();
    output.close();
    output.open(QIODevice::ReadOnly);
    MapSnapshot again;
    if (!MapFile::Read(output, &again).ok() || !(again == map))
        std::abort();
    return 0;
}
