#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <optional>

// Exporting a map for game engines: as a TMX map (XML) or as the JSON map format of the same family (.tmj).
//
// What a game can rely on in both:
// - Orthogonal, right-down, the map's size in cells and its tile size; one tile layer per layer in use, named
//   "Layer 0" ... "Layer 7", with ids 1 ... 8 and the layer's visibility, its data as width x height gids row
//   by row. Gid 0 is an empty cell, and also a cell whose tile is gone (see ExportOutcome::goneCells).
// - One embedded tileset per tileset image, in load order; tile i of the editor's tileset is gid i + 1.
// - A map property `name` (string): the map's name, empty when it has none.
// - Tile properties: a tile whose game properties are not all at their initial values carries all eight,
// typed:
//   passable, destroyable (bool), prop_width, prop_height, list_index, image_value (int), custom1, custom2
//   (string). A tile without properties has the initial values: false, false, 0, 0, 0, 0, "", "".
// - A cell whose game properties differ from its tile's is a point object at the cell's centre in pixels, in
//   the object group "Layer k cells" (id: layers in use + k + 1) that follows its tile layer and has its
//   visibility. The object carries `column` and `row` (int) and exactly the properties in which the cell
//   differs; the others are its tile's. A layer without such cells has no object group. A cell whose tile is
//   gone is written as empty and has no object.
enum class ExportFormat { Tmx, Tmj };

struct ExportOutcome {
    // Empty when the file was written. Otherwise why not, as a sentence part for the user ("Permission
    // denied", "there is not enough memory"); a file already at the target is then left as it was.
    QString failure;
    // Cells written as 0 because their tile is gone: a tile number the tileset no longer has (after Remove
    // Tiles, or its image missing) or an odd tile.
    qint64 goneCells = 0;
    // Texts (custom texts, the map's name, image names) written with U+FFFD in place of characters the format
    // cannot hold: control characters in XML, a lone UTF-16 surrogate in either.
    int alteredTexts = 0;

    bool written() const { return failure.isEmpty(); }
};

// Writes map to path as the given format through QSaveFile: nothing at path is replaced until the new file is
// complete. Image paths are written relative to path's folder. Safe to call on any thread.
ExportOutcome ExportMap(const MapSnapshot& map, const QString& path, ExportFormat format);

// The format a file name asks for by its suffix (.tmx; .tmj or .json), if any.
std::optional<ExportFormat> ExportFormatOf(const QString& path);
