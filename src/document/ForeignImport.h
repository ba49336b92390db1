#pragma once

#include "document/ForeignFiles.h"
#include "document/ForeignMap.h"
#include "document/MapFileResult.h"
#include "document/MapSnapshot.h"

#include <QHash>
#include <QIODevice>
#include <QString>
#include <memory>

// The readers of maps other programs wrote: TMX (XML) read as a stream, TMJ (JSON) read whole. Every file is
// untrusted: sizes are checked before anything is allocated, compressed data is inflated only as far as the
// map's size allows, an XML document type declaration (and with it any entity) is refused, nesting is
// bounded. *map is set only when the whole file was read; what the editor cannot show is counted in *report.
namespace ForeignImport {

// JSON maps and tileset files are read whole, so no larger one is read.
constexpr qint64 kMaxJsonBytes = qint64(64) << 20;
// Elements, groups and arrays nest at most this deep.
constexpr int kMaxDepth = 64;

// Tilesets already read, by the name the map gives their file: many tilesets naming one file read it once
// and share what it holds.
using SharedTileset = std::shared_ptr<const ForeignTileset>;
using TilesetCache = QHash<QString, SharedTileset>;

// mapPath: where the map file is (relative paths start from its folder); its base name names a map that has
// no name of its own.
MapFileResult ReadTmx(QIODevice& device, const QString& mapPath, ForeignFiles& files, MapSnapshot* map,
                      ImportReport* report, const MapFileProgress& progress = {});
MapFileResult ReadTmj(const QByteArray& bytes, const QString& mapPath, ForeignFiles& files, MapSnapshot* map,
                      ImportReport* report, const MapFileProgress& progress = {});

// A tileset file (.tsx or .tsj, told by its first character) at path: its image is relative to its folder.
// Returns a refusal, or an empty text with *tileset filled.
QString ReadTilesetFile(const QByteArray& bytes, const QString& path, ForeignTileset* tileset);
QString ReadTsx(const QByteArray& bytes, const QString& path, ForeignTileset* tileset);
QString ReadTsj(const QByteArray& bytes, const QString& path, ForeignTileset* tileset);

// The tileset a map names by source (relative to mapPath's folder): from the cache or read with files.
QString ExternalTileset(const QString& source, const QString& mapPath, ForeignFiles& files,
                        TilesetCache& cache, SharedTileset* tileset);

// Whether bytes, the start of a file, look like XML ('<') or JSON ('{') after a byte-order mark and white
// space: 'x', 'j' or 0 for neither.
char Kind(QByteArrayView bytes);

} // namespace ForeignImport
