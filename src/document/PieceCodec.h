#pragma once

#include "document/MapSnapshot.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A piece of a map as it travels on the clipboard, in values: a width x height grid per layer in the map
// file's encoding of cells (tile values in zstd chunks, and whole records for the cells whose record is not
// their tile's). A cell's place (x, y, layer) is not carried: the cell takes the place it is pasted at.
//
// The bytes are one CBOR map:
//   { "format": "mosaicor-piece", "version": 1, "piece": { "width": w, "height": h },
//     "templates": [ {cell record}, ... ],
//     "layers": [ { "layer": k (left out: the edit layer), "tiles": [ chunks ], "exceptions": [ ... ] }, ...
//     ] }
// A cell with tile value v and no exception has the record templates[v - 1] (initial values when there is no
// such entry) with imageIndex v - 1, as in a map file.
struct PieceSnapshot {
    struct Layer {
        // -1: the layer being edited where it is pasted.
        int layer = -1;
        LayerSnapshot cells;

        bool operator==(const Layer&) const = default;
    };
    int width = 0;
    int height = 0;
    std::vector<CellRecord> templates;
    std::vector<Layer> layers;

    bool operator==(const PieceSnapshot&) const = default;
};

namespace PieceCodec {

// Our own clipboard type.
inline constexpr const char* kMimeType = "application/x-mosaicor-piece";

// The bytes of a piece; empty when memory for them could not be had.
QByteArray Encode(const PieceSnapshot& piece);
// Reads bytes from the clipboard, untrusted: anything damaged, cut short or beyond the limits (8192 cells a
// side, 16,777,216 cells, 8 layers) is refused, never by a hang, a crash or unbounded memory. Returns the
// reason for a refusal, empty on success; *piece is replaced only by a whole piece that passed every check.
QString Decode(const QByteArray& bytes, PieceSnapshot* piece);
// The plain text form: each layer's rows, one per line, tile numbers separated by tabs and empty cells left
// blank; layers are parted by an empty line.
QString PlainText(const PieceSnapshot& piece);

} // namespace PieceCodec
