#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

class ForeignMapBuilder;

// A tile layer's data as TMX and TMJ files hold it, handed to the builder gid by gid. Each returns a refusal
// in a few words, or an empty text when the data held exactly the layer's cells. Compressed data is inflated
// a piece at a time and refused as soon as it holds more than the layer's cells: it never costs more memory
// than the piece, whatever it would grow to.
namespace ForeignLayerData {

// Gids separated by commas, with white space anywhere between them, in pieces of any length as an XML
// reader hands them over: Feed each piece, then Finish. Each returns a refusal or an empty text.
class CsvReader {
public:
    explicit CsvReader(ForeignMapBuilder& builder) : m_builder(builder) {}
    QString Feed(QStringView text);
    QString Finish();

private:
    ForeignMapBuilder& m_builder;
    enum { Expect, InValue, AfterValue } m_state = Expect;
    std::uint64_t m_gid = 0;
};

// A whole text of gids separated by commas.
QString ReadCsv(QStringView text, ForeignMapBuilder& builder);
// Base64 of little-endian 32-bit gids, compressed as compression says: "" (none), "zlib", "gzip" or "zstd".
QString ReadBase64(QByteArrayView text, const QString& compression, ForeignMapBuilder& builder);

} // namespace ForeignLayerData
