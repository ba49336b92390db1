#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

// Told how far a map file's writing or reading has come: work done out of total (both in cells, the same
// total throughout one operation). Returning false cancels the operation. Called on the thread that writes
// or reads, about every 65536 cells.
using MapFileProgress = std::function<bool(qint64 done, qint64 total)>;

// How writing or reading a map file ended.
struct MapFileResult {
    enum Status { Done, Failed, Cancelled };
    MapFileResult() = default;
    MapFileResult(Status status, const QString& reason) : status(status), reason(reason) {}
    Status status = Done;
    // When Failed: a few words fit to follow "could not be saved: " or "could not be opened: ".
    QString reason;
    // When Failed while reading: the file was read but its content is wrong, as opposed to a file that could
    // not be read at all (missing, refused, out of memory, an I/O error) and may read well another time.
    bool damaged = false;
    // When a map another program wrote (TMX or JSON) was read: it has no map file of its own yet, and notes
    // says in a few words each what of it the editor cannot show.
    bool imported = false;
    QStringList notes;

    bool ok() const { return status == Done; }
    static MapFileResult Failure(const QString& why) { return {Failed, why}; }
};
