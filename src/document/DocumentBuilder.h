#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <functional>
#include <memory>

class MapDocument;

// Asked when a tileset image of a map being opened is missing or is no longer the image the map was made
// with (its size or its content differ).
class TilesetImageResolver {
public:
    enum class Problem { Missing, Changed };
    enum class Answer { Locate, GoOn, Cancel };
    virtual ~TilesetImageResolver() = default;
    // Locate: *located holds another file to try. GoOn: the map opens without the image, its tiles kept as
    // placeholders. Cancel: the map is not opened.
    virtual Answer Resolve(const TilesetLoadRecord& load, Problem problem, QString* located) = 0;
};

// Progress of long work: done of total; false cancels.
using WorkProgress = std::function<bool(qint64 done, qint64 total)>;

// The document a snapshot read from the file at mapPath describes: its settings, cells and tile templates,
// with the tiles cut again from their images. Equal records are shared again (a cell like its tile's
// template holds the template). A record's place is where it lies (0 for a template): *moved, when given,
// counts the records whose stored position or layer said otherwise. Null when the user cancelled. Throws
// std::bad_alloc when memory for the map runs out; nothing of any other document is touched either way.
std::unique_ptr<MapDocument> BuildDocument(const MapSnapshot& snapshot, const QString& mapPath,
                                           TilesetImageResolver& resolver, const WorkProgress& progress = {},
                                           qint64* moved = nullptr);
