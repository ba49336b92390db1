// One input: any bytes, read as a TMX map (IMPORT_JSON 0) or a JSON map (IMPORT_JSON 1); a tileset file the
// map names holds the same bytes, and every image is a PNG of 64 x 64 pixels. Refusing is fine; crashing,
// reading out of bounds, undefined behaviour or a map that breaks the rules of the editor's plain form is a
// finding.
#include "document/ForeignImport.h"
#include "document/MapSnapshotCheck.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace {

class InputFiles : public ForeignFiles {
public:
    explicit InputFiles(const QByteArray& bytes) : m_bytes(bytes) {}
    std::optional<QByteArray> TilesetFile(const QString&, QString*) override { return m_bytes; }
    ImageFacts Image(const QString&) override { return {true, true, 64, 64}; }

private:
    QByteArray m_bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    InputFiles files(bytes);
    MapSnapshot map;
    ImportReport report;
    MapFileResult result;
#if IMPORT_JSON
    result = ForeignImport::ReadTmj(bytes, QStringLiteral("/maps/fuzz.tmj"), files, &map, &report);
#else
    QBuffer input;
    input.setData(bytes);
    input.open(QIODevice::ReadOnly);
    result = ForeignImport::ReadTmx(input, QStringLiteral("/maps/fuzz.tmx"), files, &map, &report);
#endif
    if (!result.ok())
        return 0;
    if (!MapSnapshotCheck::Whole(map).isEmpty())
        std::abort();
    for (int k = 0; k < map.layers; ++k)
        for (const std::uint16_t value : map.layer[k].tiles)
            if (value > map.templates.size())
                std::abort();
    return 0;
}
