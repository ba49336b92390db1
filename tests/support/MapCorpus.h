#pragma once

#include "document/MapSnapshot.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Map files for the reader's tests, the fuzzer's seeds and the benchmarks, made here: random maps with every
// kind of record, and files that must be refused — cut short at every byte, every length and count lying up
// and down, every field of the wrong type or missing, sizes beyond the limits, layer data that inflates to
// more or less than it claims, broken rules — or read exactly as the map they were made from (unknown fields
// added, containers of unstated length, fields spelled out at their initial value).
namespace MapCorpus {

// A map with random settings, tiles in runs and scattered, odd tiles, exceptions, templates and loads, with
// extreme numbers and odd texts.
MapSnapshot RandomMap(quint32 seed, int width, int height);

struct Entry {
    QString name;
    QByteArray bytes;
};
// The map's file, or nothing when the writer refuses the map.
QByteArray Written(const MapSnapshot& map);

// The map the variants and most damaged files are made from.
const MapSnapshot& BaseMap();
const std::vector<Entry>& Damaged();  // each must be refused
const std::vector<Entry>& Variants(); // each must read as BaseMap()

// The map's file with its layers before its tiles and loads, as the format allows, and extraTemplates tiles
// more than its loads give (a file to refuse when not 0).
QByteArray LayersFirst(const MapSnapshot& map, int extraTemplates = 0);

// A map of 16 x 16 cells on one layer whose loads all name the image at imagePath, each giving its first
// tile (of side tileSide); the cells show them in turn.
MapSnapshot ManyLoadsOfOneImage(const QString& imagePath, int loads, int tileSide);

// Files of a map of the largest size with 8 full layers: with tiles no load gave after its layers, with no
// layer data, with a first chunk that is not zstd or that inflates to far more than its size, and, last, one
// whose data holds up until the last chunk of the last layer, which inflates to more than its size.
std::vector<Entry> LargestMapLies();

} // namespace MapCorpus
