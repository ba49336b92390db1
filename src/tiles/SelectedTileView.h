#pragma once

#include "platform/Picture.h"

class clsVOTileset;
struct Piece;

// What the swatch beside the palette shows for the stamp: one tile's own picture, a block or piece drawn
// whole (its top layer last), or null when the stamp is empty.
PicturePtr StampSwatchPicture(const Piece& stamp, const clsVOTileset& tileset);
