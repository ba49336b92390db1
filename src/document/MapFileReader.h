#pragma once

#include "document/MapFileResult.h"
#include "document/MapSnapshot.h"

#include <QString>

class QIODevice;

// Reading a .mqm file (docs/file-format.md). Every file is untrusted: one that is damaged, cut short, lies
// about its sizes or breaks the rules of MapSnapshot is refused with a short reason, never by a hang, a crash
// or unbounded memory. Sizes and counts are checked against the limits and the bytes left before anything is
// allocated; compressed layer data is inflated only into buffers the checked sizes allow. The device (a file
// or a buffer: one whose size is known) is read once, front to back, as a stream. *map is replaced only by a
// whole map that passed every check; on refusal or cancel it is left as it was.
namespace MapFile {

MapFileResult Read(QIODevice& device, MapSnapshot* map, const MapFileProgress& progress = {});
// Reads no further than the map's settings (its size, tile size, layers in use and name), which come before
// its layers: what a map is, known without inflating its cells. Only the settings of *map are filled in.
MapFileResult ReadSettings(QIODevice& device, MapSnapshot* map);

// Opens the file at path as an untrusted file (see UntrustedFile) and reads it: every map file is read by
// name here. A map another program wrote, TMX or JSON (told by its content, not its name), is imported
// (see ForeignImport): the result says so and notes what of it cannot be shown.
MapFileResult Open(const QString& path, MapSnapshot* map, const MapFileProgress& progress = {});

} // namespace MapFile
