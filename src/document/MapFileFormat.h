#pragma once

#include <QtGlobal>
#include <string_view>

// The fixed facts of the .mqm map file, shared by its writer and its reader; docs/file-format.md describes
// the file in full.
namespace MapFileFormat {

// The first two fields of the file's top-level map.
inline constexpr std::string_view kFormatName = "mosaicor-map";
// Raised only when an older reader would misread a newer file; additions go into new fields, which readers
// skip.
inline constexpr qint64 kVersion = 1;

// A layer's tile values are stored in chunks of this many cells (the last chunk holds what remains), each
// its own zstd frame: small enough to bound every buffer the reader needs, large enough to compress well.
inline constexpr qint64 kChunkCells = 65536;
// The fewest bytes a chunk takes in the file: its byte string's head (1) and a zstd frame that gives at least
// one byte (magic 4, frame header at least 2, block header 3). A header that claims more chunks than the
// file could hold is refused with this before anything is allocated.
inline constexpr qint64 kMinChunkBytes = 10;

// Every free text (name, paths, a cell's two texts) in UTF-8 bytes; a text field of the editor holds at most
// 32767 characters, three times fewer.
inline constexpr qint64 kMaxTextBytes = qint64(1) << 20;
inline constexpr int kMaxLayers = 8;
// As many tiles as a cell's 16-bit signed image index can number; a tileset has at most this many loads.
inline constexpr int kMaxTiles = 32768;
inline constexpr int kHashBytes = 32;
// Files larger than this are refused at once.
inline constexpr qint64 kMaxFileBytes = qint64(4) << 30;
// Unknown fields may nest this deep and no deeper.
inline constexpr int kMaxSkipDepth = 64;

// Field names (the keys of the file's maps).
namespace Key {
// The top-level map, in this order: format and version first, the settings before the layers.
inline constexpr std::string_view kFormat = "format";
inline constexpr std::string_view kVersion = "version";
inline constexpr std::string_view kMap = "map";
inline constexpr std::string_view kTemplates = "templates";
inline constexpr std::string_view kLoads = "loads";
inline constexpr std::string_view kLayers = "layers";
// The settings ("map"); kLayers is also the number of layers in use.
inline constexpr std::string_view kWidth = "width";
inline constexpr std::string_view kHeight = "height";
inline constexpr std::string_view kTileWidth = "tileWidth";
inline constexpr std::string_view kTileHeight = "tileHeight";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kVisibleLayers = "visibleLayers";
// A cell record (a tile's template, an exception's cell); kWidth and kHeight are its own fields too.
inline constexpr std::string_view kX = "x";
inline constexpr std::string_view kY = "y";
inline constexpr std::string_view kListIndex = "listIndex";
inline constexpr std::string_view kImageIndex = "imageIndex";
inline constexpr std::string_view kImageValue = "imageValue";
inline constexpr std::string_view kCustom1 = "custom1";
inline constexpr std::string_view kCustom2 = "custom2";
inline constexpr std::string_view kZOrder = "zOrder";
inline constexpr std::string_view kPassable = "passable";
inline constexpr std::string_view kDestroyable = "destroyable";
// A tileset load; kTileWidth and kTileHeight too.
inline constexpr std::string_view kRelativePath = "relativePath";
inline constexpr std::string_view kAbsolutePath = "absolutePath";
inline constexpr std::string_view kImageWidth = "imageWidth";
inline constexpr std::string_view kImageHeight = "imageHeight";
inline constexpr std::string_view kSha256 = "sha256";
inline constexpr std::string_view kFirstTile = "firstTile";
inline constexpr std::string_view kTileCount = "tileCount";
// A layer and one of its exceptions.
inline constexpr std::string_view kTiles = "tiles";
inline constexpr std::string_view kExceptions = "exceptions";
inline constexpr std::string_view kIndex = "index";
inline constexpr std::string_view kCell = "cell";
} // namespace Key

} // namespace MapFileFormat
