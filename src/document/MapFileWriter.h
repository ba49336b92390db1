#pragma once

#include "document/MapFileResult.h"
#include "document/MapSnapshot.h"

#include <QString>
#include <functional>

class QIODevice;

// Writing a map as a .mqm file (docs/file-format.md). Both functions read nothing but the map, so they may
// run on a worker thread while the user-interface thread goes on. A map that breaks the rules of
// MapSnapshot is not written (the reason names the rule): no file is made that could not be opened again.
namespace MapFile {

// Hands over layer k of a map whose snapshot holds its layers' data only one at a time; false cancels.
using LayerSource = std::function<bool(int k, LayerSnapshot* layer)>;

// Writes the map to a device open for writing. A device that refuses bytes ends the writing with its error.
MapFileResult Write(const MapSnapshot& map, QIODevice& device, const MapFileProgress& progress = {});

// Saves the map as the file at path. The file there, if any, is replaced only once the new one is complete:
// after a failure or a cancel it is still there byte for byte.
MapFileResult Save(const MapSnapshot& map, const QString& path, const MapFileProgress& progress = {});

// The same for a map whose layers are handed over one at a time by layers, each checked and written before
// the next is asked for (the layers of map are not looked at): a large map is saved with one layer's data in
// memory, not all eight.
MapFileResult Write(const MapSnapshot& map, const LayerSource& layers, QIODevice& device,
                    const MapFileProgress& progress = {});
MapFileResult Save(const MapSnapshot& map, const LayerSource& layers, const QString& path,
                   const MapFileProgress& progress = {});

} // namespace MapFile
