#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>

class ForeignMapBuilder;

// A tile layer's data as TMX and TMJ files hold it, handed to the builder gid by gid. The text comes in
// pieces of any length, as an XML reader hands it over: Feed each piece, then Finish; each returns a refusal
// in a few words, or an empty text. Nothing is held whole: base64 is decoded and inflated a piece at a time,
// and data that holds more than the layer's cells is refused as soon as it does, whatever it would grow to.
namespace ForeignLayerData {

class Reader {
public:
    virtual ~Reader() = default;
    virtual QString Feed(QStringView text) = 0;
    virtual QString Finish() = 0;
};

// encoding "csv" (gids separated by commas, white space anywhere between them) or "base64" (little-endian
// 32-bit gids, compressed as compression says: "" for none, "zlib", "gzip" or "zstd"). Null with *refusal
// for any other.
std::unique_ptr<Reader> ReaderFor(const QString& encoding, const QString& compression,
                                  ForeignMapBuilder& builder, QString* refusal);

} // namespace ForeignLayerData
