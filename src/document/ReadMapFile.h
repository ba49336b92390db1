#pragma once

#include "document/MapFileResult.h"
#include "document/MapSnapshot.h"

#include <QString>

// Reads the map file at path into the plain values a document is built from. Every map file the program
// opens comes through here, whoever opens it: File > Open, a file named on the command line, the input of
// --export and of --thumbnail. So each of them takes the same files, and refuses the same ones with the
// same reasons. *map is replaced only by a whole map that passed every check.
MapFileResult ReadMapFile(const QString& path, MapSnapshot* map, const MapFileProgress& progress = {});
