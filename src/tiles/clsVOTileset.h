#pragma once

#include "platform/FolderItem.h"
#include "tiles/clsVOTile.h"

#include <QString>
#include <vector>

// What a load did, for the status line.
struct TilesetLoadResult {
    QString Text;
    // False when the load failed or could not add every tile of the image: the status line says so in red.
    bool Complete = true;
    // Memory ran out part way.
    bool OutOfMemory = false;
    // The image's size in pixels, and the SHA-256 of the file's bytes.
    int ImageWidth = 0;
    int ImageHeight = 0;
    QByteArray ContentHash;
    // The tiles the load appended: FirstTile .. FirstTile + TileCount - 1.
    int FirstTile = 0;
    int TileCount = 0;
};

// The editor's tiles in load order, the tile size used for cutting and the selected tile.
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
    PicturePtr GetTileImage(int i) const;

    int Index() const { return m_intIndex; }
    void SetIndex(int value) { m_intIndex = value; }
    int TileHeight() const { return m_intTileHeight; }
    void SetTileHeight(int value) { m_intTileHeight = value; }
    int TileWidth() const { return m_intTileWidth; }
    void SetTileWidth(int value) { m_intTileWidth = value; }

    // Selects the first tile that has the mouse focus, or clears the selection when none has it.
    void SelectTileUnderMouse();
    const TileRef& SelectedTile() const { return m_SelectedVOTile; }

    // Removes the tiles from index first on and hands them over; the selection goes if it was among them.
    std::vector<TileRef> TakeFrom(int first);
    // Appends tiles that were numbered for the places they now take.
    void Append(std::vector<TileRef> tiles);

    // Cuts the PNG image in file row by row into whole tiles of the tileset's tile size and appends them.
    // A null file changes nothing and yields an empty text.
    TilesetLoadResult LoadTileset(const FolderItem& file);

private:
    std::vector<TileRef> m_VOTiles;
    int m_intTileCount = 0;
    int m_intIndex = 0;
    int m_intTileHeight = 0;
    int m_intTileWidth = 0;
    TileRef m_SelectedVOTile;
};
