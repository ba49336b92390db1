#pragma once

#include "platform/FolderItem.h"
#include "tiles/clsVOTile.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class MemoryReserve;
namespace PNGu {
class Reader;
}

// What a load did: the text for the status line, and what was loaded, for a map that names its tileset.
struct TilesetLoadResult {
    QString Text;
    // False when the load failed or could not add every tile of the image: the status line says so in red.
    bool Complete = true;
    // The image's size in pixels, once its header was read; 0 before.
    int ImageWidth = 0;
    int ImageHeight = 0;
    // SHA-256 of every byte of the file as it was read, when the whole file was; empty otherwise.
    QByteArray ContentHash;
    // The tiles this load appended: numbers FirstTile to FirstTile + TileCount - 1.
    int FirstTile = 0;
    int TileCount = 0;
    // Memory ran out part way.
    bool OutOfMemory = false;
};

// The editor's tiles in load order and the tile size used for cutting.
// Tile i shows picture i, and its template cell's ImageIndex is i.
class clsVOTileset {
public:
    // ImageIndex is 16-bit signed, so this many tiles are all a tileset can number.
    static constexpr int kMaxTiles = 32768;

    // Appends a tile on the picture, numbered after the last one.
    void Add(PicturePtr picture);
    int Count() const { return m_intTileCount; }
    // Tile i, or null outside 0 .. Count - 1.
    TileRef GetTile(int i) const;
    // The record a placement of tile i stores: the tile's template itself, shared by every cell placed from
    // it; null when there is no such tile. Every placement (plot, shapes, fills, opening a file, a tile's new
    // properties given to placed cells) takes its record from here.
    CellRef PlacedRecord(int i) const;
    PicturePtr GetTileImage(int i) const;

    int Index() const { return m_intIndex; }
    void SetIndex(int value) { m_intIndex = value; }
    int TileHeight() const { return m_intTileHeight; }
    void SetTileHeight(int value) { m_intTileHeight = value; }
    int TileWidth() const { return m_intTileWidth; }
    void SetTileWidth(int value) { m_intTileWidth = value; }

    // Removes the tiles from index first on and hands them over.
    std::vector<TileRef> TakeFrom(int first);
    // Appends tiles that were numbered for the places they now take.
    void Append(std::vector<TileRef> tiles);

    // Cuts the PNG image in file row by row into whole tiles of the tileset's tile size and appends them.
    // A null file changes nothing and yields an empty text. Only the rows that become tiles are decoded, a
    // band of one tile row at a time; an image that yields no tile is refused from its header. A file
    // refused part way leaves the tileset as it was; when memory runs out, the tiles cut so far stay and
    // reserve, when given, is released so the editor has room to say so. progress, when given, hears of the
    // rows of tiles cut (done, total) and may cancel the load by answering false: it is then refused. An
    // interlaced image is decoded whole before any tile is cut, and is not heard of.
    using Progress = std::function<bool(qint64 done, qint64 total)>;
    TilesetLoadResult LoadTileset(const FolderItem& file, MemoryReserve* reserve = nullptr,
                                  const Progress& progress = {});

private:
    // Cuts the tiles of lines (whole tile rows, premultiplied), row by row from its top left, columns to a
    // row and at most count of them, and appends them.
    void CutTiles(const Picture& lines, qint64 columns, qint64 count);
    // Decoding the rows of the first taken tiles of an image columns tiles wide, and cutting them: an
    // interlaced image whole (false when it could not be read), any other a band of one tile row at a time,
    // telling progress before each.
    enum class CutOutcome { Done, Failed, Cancelled };
    bool CutInterlaced(PNGu::Reader& reader, qint64 columns, qint64 taken);
    CutOutcome CutBands(PNGu::Reader& reader, qint64 columns, qint64 taken, const Progress& progress);
    // Drops the tiles from number count on: a load refused part way takes back what it added.
    void Truncate(int count);

    std::vector<TileRef> m_VOTiles;
    int m_intTileCount = 0;
    int m_intIndex = 0;
    int m_intTileHeight = 0;
    int m_intTileWidth = 0;
};
