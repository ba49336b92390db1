#pragma once

#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// An exported TMX or TMJ map read back the way a game's loader reads it, with Qt's own XML and JSON readers,
// into one shape for both formats. What a loader would trip over (a missing attribute, a property without a
// value attribute, a value that does not match its type) is listed in faults rather than read.

// name -> (type, value as bool, int or QString), so that equal properties compare equal in either format.
using ReadProperties = QMap<QString, QPair<QString, QVariant>>;

struct ReadObject {
    int id = 0;
    double x = 0, y = 0;
    bool point = false;
    ReadProperties properties;
};

struct ReadLayer {
    // The layer's own attributes (id, name, visible, width, height; type for JSON).
    QVariantMap attributes;
    bool isTileLayer = true;
    std::vector<qint64> gids;
    std::vector<ReadObject> objects;
};

struct ReadTileset {
    // firstgid, name, tilewidth, tileheight, tilecount, columns, spacing, margin, image, imagewidth,
    // imageheight.
    QVariantMap attributes;
    QMap<int, ReadProperties> tiles;
};

struct ReadMap {
    QVariantMap attributes;
    ReadProperties properties;
    std::vector<ReadTileset> tilesets;
    std::vector<ReadLayer> layers;
    QStringList faults;
};

ReadMap ReadTmx(const QString& path);
ReadMap ReadTmj(const QString& path);
