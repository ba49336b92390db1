#pragma once

#include <cstdint>

class MapDocument;

// A map made the same way from the same seed wherever it is made (a test and a program it starts): five
// layers of 50 x 40 cells of ten tiles, a few cells with properties and texts of their own, a name and a
// hidden layer. The document needs no window and no tileset.
void PaintSample(MapDocument& document, std::uint32_t seed);
