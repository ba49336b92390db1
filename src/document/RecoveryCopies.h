#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class MapDocument;
struct MapSnapshot;
class SnapshotGatherer;

// Copies of unsaved work, so that a crash or a kill costs at most a few seconds of it. While a map has
// unsaved changes, a copy is written a few seconds after its last change into the user's data folder (never
// over the user's own file), with the same all-or-nothing write as Save. Each copy has a lock held by the
// editor that keeps it, so editors running side by side never take each other's copies; a copy whose lock
// nobody holds was left by a run that did not end cleanly and is offered at the next start.
namespace Recovery {

// Where the copies are kept: the user's application data folder.
QString Folder();

// A copy left by a run that ended without removing it, locked by this process while it is dealt with.
struct AbandonedCopy {
    QString id;
    QString copyPath;
    // The map file the copy is of; empty for a map never saved.
    QString originalPath;
    // What the map was called: its file's name; for a copy with no description, the name its map gives
    // itself; else "Untitled".
    QString name;
    QDateTime time;
    std::unique_ptr<QLockFile> lock;
};

// The copies no running editor holds, newest first. Locks and descriptions left without a copy are removed.
std::vector<AbandonedCopy> TakeAbandonedCopies();
// Deletes a copy and releases its lock.
void Delete(AbandonedCopy& copy);

} // namespace Recovery

// Keeps the recovery copy of one document up to date. The snapshot is gathered on the user-interface thread
// in slices between events (a cell's reference count is not atomic, so no other thread may touch cells);
// compressing and writing it happen on a worker thread.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    struct Timing {
        // Quiet time after the last change before a copy is made.
        int quietMs = 3000;
        // The least time between the starts of two copies.
        int intervalMs = 30000;
        // Cells gathered per slice: a few milliseconds of work.
        long long sliceCells = 200000;
    };

    explicit RecoveryKeeper(QObject* parent = nullptr);
    // Waits for a write under way; the copy stays (only Remove removes it).
    ~RecoveryKeeper() override;

    void SetTiming(const Timing& timing) { m_timing = timing; }
    // What starts the writer's thread. A thread that cannot be created is left neither running nor
    // finished; a test puts in a starter that leaves it so, as a machine out of threads does.
    using ThreadStarter = std::function<void(QThread& writer)>;
    void SetThreadStarter(ThreadStarter starter) { m_startThread = std::move(starter); }
    // Keeps copies of document from now on; null for none.
    void Watch(MapDocument* document);
    // Continues the copy of a recovered map: its files and its lock become this keeper's.
    void Adopt(Recovery::AbandonedCopy&& copy);
    // Removes this keeper's copy: the map was saved, left or closed cleanly.
    void Remove();
    // The copy being kept, or empty when there is none.
    QString CopyPath() const;

signals:
    // A copy was written completely.
    void copyWritten(const QString& path);
    // Copies cannot be made, for the reason given in a few words: said once, when they stop; the keeper
    // goes on trying at its usual pace.
    void copiesFailing(const QString& reason);
    // Copies are made again after they had failed.
    void copiesWorkAgain();

private:
    void OnChanged();
    void Schedule();
    void StartCopy();
    void GatherSlice();
    // Writes snapshot as the copy on a thread of its own.
    void StartWriter(std::shared_ptr<const MapSnapshot> snapshot);
    void OnWritten();
    // Empty when the lock is held; else why it cannot be had.
    QString EnsureLock();
    // A copy could not be made: said if it is the first since copies last worked, and tried again later.
    void Failed(const QString& reason);

    Timing m_timing;
    ThreadStarter m_startThread = [](QThread& writer) { writer.start(QThread::LowPriority); };
    MapDocument* m_document = nullptr;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_due;
    QTimer m_slice;
    std::unique_ptr<SnapshotGatherer> m_gatherer;
    // A thread that is still running must be waited for before it goes.
    std::unique_ptr<QThread> m_writer;
    // A change came while a copy was written: another copy follows.
    bool m_again = false;
    bool m_writtenOnce = false;
    bool m_failing = false;
    // Why the copy being written failed, set by the writer's thread before it ends.
    std::shared_ptr<QString> m_writeFailure;
    QDateTime m_lastStart;
};
