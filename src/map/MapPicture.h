#pragma once

#include <QString>
#include <QtGlobal>

class MapDocument;

// A picture of a whole map as the editor draws it: the shown layers over its black ground, without the grid,
// at a zoom. Written as PNG a band of rows at a time, so the picture is never held whole.
namespace MapPicture {

// The largest picture written.
constexpr qint64 kMaxPixels = qint64(1) << 28;

// The picture's size in pixels at percent (any whole percent above 0).
qint64 Width(const MapDocument& document, int percent);
qint64 Height(const MapDocument& document, int percent);

// Writes the picture at percent to path through a file that replaces path only once it is whole. Empty when
// written; otherwise why not, in a few words fit to follow "could not be exported: ", path then as it was.
QString Write(const MapDocument& document, const QString& path, int percent);

} // namespace MapPicture
