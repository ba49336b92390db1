#pragma once

#include "document/MapFileResult.h"
#include "document/MapSnapshot.h"

#include <QString>

class QIODevice;

// Writing a map as a .mqm file (docs/file-format.md). Both functions read nothing but the map, so they may
// run on a worker thread while the user-interface thread goes on. A map that breaks the rules of
// MapSnapshot is not written (the reason names the rule): no file is made that could not be opened again.
namespace MapFile {

// Writes the map to a device open for writing. A device that refuses bytes ends the writing with its error.
MapFileResult Write(const MapSnapshot& map, QIODevice& device, const MapFileProgress& progress = {});

// Saves the map as the file at path. The file there, if any, is replaced only once the new one is complete:
// after a failure or a cancel it is still there byte for byte.
MapFileResult Save(const MapSnapshot& map, const QString& path, const MapFileProgress& progress = {});

} // namespace MapFile
