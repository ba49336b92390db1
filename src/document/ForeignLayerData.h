#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

class ForeignMapBuilder;

// A tile layer's data as TMX and TMJ files hold it, handed to the builder gid by gid. Each returns a refusal
// in a few words, or an empty text when the data held exactly the layer's cells. Compressed data is inflated
// a piece at a time and refused as soon as it holds more than the layer's cells: it never costs more memory
// than the piece, whatever it would grow to.
namespace ForeignLayerData {

// Gids separated by commas, with white space anywhere between them.
QString ReadCsv(QStringView text, ForeignMapBuilder& builder);
// Base64 of little-endian 32-bit gids, compressed as compression says: "" (none), "zlib", "gzip" or "zstd".
QString ReadBase64(QByteArrayView text, const QString& compression, ForeignMapBuilder& builder);

} // namespace ForeignLayerData
