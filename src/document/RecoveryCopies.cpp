#include "document/RecoveryCopies.h"

#include "document/MapDocument.h"
#include "document/MapFileFormat.h"
#include "document/MapFileReader.h"
#include "document/MapFileWriter.h"
#include "document/SnapshotGatherer.h"
#include "platform/UntrustedFile.h"
#include "platform/WriteFailure.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <atomic>

namespace Recovery {

namespace {
QString PathOf(const QString& id, const char* suffix) {
    return QDir(Folder()).filePath(id + QLatin1String(suffix));
}

std::unique_ptr<QLockFile> LockOf(const QString& id) {
    auto lock = std::make_unique<QLockFile>(PathOf(id, ".lock"));
    // A lock is stale only when the editor that took it is gone, however long it has been held.
    lock->setStaleLockTime(0);
    return lock;
}
} // namespace

QString Folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("mosaicor/recovery"));
}

namespace {
// Removes the locks (and descriptions) that no running editor holds and that have no copy beside them: left
// by a run that ended between taking its lock and writing its first copy.
void RemoveLoneLocks(const QDir& folder) {
    for (const QString& file : folder.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString id = file.chopped(5);
        if (QFile::exists(PathOf(id, ".mqm")))
            continue;
        const std::unique_ptr<QLockFile> lock = LockOf(id);
        if (!lock->tryLock(0))
            continue;
        QFile::remove(PathOf(id, ".json"));
        lock->unlock();
    }
}

// The name a copy's own map gives itself, for a copy whose description is missing (older builds wrote the
// map first) or unreadable: the settings at the file's head are read, nothing more. Empty when it has none.
QString NameInCopy(const QString& copyPath) {
    QString refusal;
    const std::unique_ptr<QFile> file = UntrustedFile::Open(copyPath, MapFileFormat::kMaxFileBytes, &refusal);
    MapSnapshot settings;
    if (!file || !MapFile::ReadSettings(*file, &settings).ok())
        return {};
    // A question names the copy: a name of a megabyte, which the file may hold, is cut to a line's length.
    constexpr qsizetype kLongest = 100;
    return settings.name.size() > kLongest ? settings.name.left(kLongest - 1) + QChar(0x2026) : settings.name;
}
} // namespace

std::vector<AbandonedCopy> TakeAbandonedCopies() {
    std::vector<AbandonedCopy> copies;
    const QDir folder(Folder());
    RemoveLoneLocks(folder);
    for (const QString& file : folder.entryList({QStringLiteral("*.mqm")}, QDir::Files)) {
        AbandonedCopy copy;
        copy.id = file.chopped(4);
        copy.lock = LockOf(copy.id);
        if (!copy.lock->tryLock(0))
            continue; // an editor that is running keeps it
        copy.copyPath = folder.filePath(file);
        copy.time = QFileInfo(copy.copyPath).lastModified();
        QFile meta(PathOf(copy.id, ".json"));
        if (meta.open(QIODevice::ReadOnly) && meta.size() < (1 << 20)) {
            const QJsonObject about = QJsonDocument::fromJson(meta.readAll()).object();
            copy.originalPath = about.value(QStringLiteral("original")).toString();
            copy.name = about.value(QStringLiteral("name")).toString();
            // The description is written before its map, so the map may be the newer of the two.
            const QDateTime time =
                QDateTime::fromString(about.value(QStringLiteral("time")).toString(), Qt::ISODate);
            copy.time = time.isValid() ? std::max(time, copy.time) : copy.time;
        }
        if (copy.name.isEmpty())
            copy.name = NameInCopy(copy.copyPath);
        if (copy.name.isEmpty())
            copy.name = QStringLiteral("Untitled");
        copies.push_back(std::move(copy));
    }
    std::sort(copies.begin(), copies.end(),
              [](const AbandonedCopy& a, const AbandonedCopy& b) { return a.time > b.time; });
    return copies;
}

void Delete(AbandonedCopy& copy) {
    QFile::remove(PathOf(copy.id, ".mqm"));
    QFile::remove(PathOf(copy.id, ".json"));
    if (copy.lock)
        copy.lock->unlock();
}

} // namespace Recovery

RecoveryKeeper::RecoveryKeeper(QObject* parent) : QObject(parent) {
    m_due.setSingleShot(true);
    connect(&m_due, &QTimer::timeout, this, &RecoveryKeeper::StartCopy);
    connect(&m_slice, &QTimer::timeout, this, &RecoveryKeeper::GatherSlice);
}

RecoveryKeeper::~RecoveryKeeper() {
    if (m_writer)
        m_writer->wait();
}

void RecoveryKeeper::Watch(MapDocument* document) {
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_gatherer.reset();
    m_slice.stop();
    m_due.stop();
    if (!document)
        return;
    connect(document, &MapDocument::cellsChanged, this, &RecoveryKeeper::OnChanged);
    connect(document, &MapDocument::settingsChanged, this, &RecoveryKeeper::OnChanged);
    connect(document, &MapDocument::visibilityChanged, this, &RecoveryKeeper::OnChanged);
    connect(document, &MapDocument::tilesetChanged, this, &RecoveryKeeper::OnChanged);
    connect(document, &MapDocument::titleChanged, this, &RecoveryKeeper::OnChanged);
    connect(document, &QObject::destroyed, this, [this] { m_document = nullptr; });
    OnChanged();
}

void RecoveryKeeper::OnChanged() {
    if (!m_document)
        return;
    if (!m_document->IsModified()) {
        // Saved, or undone back to where it was saved: there is no unsaved work to keep.
        Remove();
        return;
    }
    // A snapshot half gathered would mix the map before and after the change: it starts again.
    m_gatherer.reset();
    m_slice.stop();
    Schedule();
}

void RecoveryKeeper::Schedule() {
    if (m_writer) {
        m_again = true;
        return;
    }
    qint64 delay = m_timing.quietMs;
    if (m_lastStart.isValid())
        delay = std::max(delay, m_timing.intervalMs - m_lastStart.msecsTo(QDateTime::currentDateTimeUtc()));
    m_due.start(static_cast<int>(std::max<qint64>(delay, 0)));
}

QString RecoveryKeeper::EnsureLock() {
    if (m_lock)
        return {};
    const QString folder = Recovery::Folder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto lock = Recovery::LockOf(id);
    if (!lock->tryLock(0))
        return QStringLiteral("the folder %1 cannot be written").arg(QDir::toNativeSeparators(folder));
    m_id = id;
    m_lock = std::move(lock);
    return {};
}

void RecoveryKeeper::Failed(const QString& reason) {
    if (!std::exchange(m_failing, true))
        emit copiesFailing(reason);
    // Tried again at the usual pace, counted from this try.
    if (!m_lastStart.isValid())
        m_lastStart = QDateTime::currentDateTimeUtc();
    Schedule();
}

void RecoveryKeeper::StartCopy() {
    if (!m_document || !m_document->IsModified())
        return;
    // An edit under way (a stroke, or a long fill letting the window repaint) is half done: the copy waits
    // for it to end.
    if (m_document->OpenEdit()) {
        Schedule();
        return;
    }
    m_lastStart = QDateTime::currentDateTimeUtc();
    if (const QString refusal = EnsureLock(); !refusal.isEmpty())
        return Failed(refusal);
    try {
        m_gatherer = std::make_unique<SnapshotGatherer>(*m_document, m_document->FilePath());
    } catch (const std::bad_alloc&) {
        return Failed(QStringLiteral("there is not enough memory for a copy"));
    }
    m_slice.start(0);
}

void RecoveryKeeper::GatherSlice() {
    if (!m_gatherer || !m_document) {
        m_slice.stop();
        return;
    }
    if (m_document->OpenEdit()) {
        m_gatherer.reset();
        m_slice.stop();
        Schedule();
        return;
    }
    try {
        if (!m_gatherer->Advance(m_timing.sliceCells))
            return;
    } catch (const std::bad_alloc&) {
        m_gatherer.reset();
        m_slice.stop();
        return Failed(QStringLiteral("there is not enough memory for a copy"));
    }
    m_slice.stop();
    try {
        StartWriter(std::make_shared<MapSnapshot>(m_gatherer->Take()));
    } catch (const std::bad_alloc&) {
        m_writer.reset();
        Failed(QStringLiteral("there is not enough memory for a copy"));
    }
    m_gatherer.reset();
}

void RecoveryKeeper::StartWriter(std::shared_ptr<const MapSnapshot> snapshot) {
    QJsonObject about;
    about.insert(QStringLiteral("original"), m_document->FilePath());
    about.insert(QStringLiteral("name"), m_document->DisplayName());
    about.insert(QStringLiteral("time"), m_lastStart.toLocalTime().toString(Qt::ISODate));
    const QString copyPath = CopyPath();
    const QString metaPath = QDir(Recovery::Folder()).filePath(m_id + QStringLiteral(".json"));
    m_writeFailure = std::make_shared<QString>();
    m_writer.reset(QThread::create(
        [snapshot, copyPath, metaPath, meta = QJsonDocument(about).toJson(), failure = m_writeFailure] {
            // Only values travel here: compressing and writing touch no cell. The description goes first, so
            // no copy is ever without one: a copy it cannot describe is not written.
            QSaveFile file(metaPath);
            errno = 0;
            if (!file.open(QIODevice::WriteOnly) || file.write(meta) != meta.size() || !file.commit()) {
                *failure = WriteFailure(file, errno);
                return;
            }
            if (const MapFileResult saved = MapFile::Save(*snapshot, copyPath); !saved.ok())
                *failure = saved.reason;
        }));
    connect(m_writer.get(), &QThread::finished, this, &RecoveryKeeper::OnWritten);
    m_startThread(*m_writer);
    if (!m_writer->isRunning() && !m_writer->isFinished()) {
        // No thread could be made for the writing.
        m_writer.reset();
        Failed(QStringLiteral("no thread can be started to write it"));
    }
}

void RecoveryKeeper::OnWritten() {
    if (!m_writer)
        return;
    m_writer->wait();
    m_writer.reset();
    const QString failure = m_writeFailure ? *m_writeFailure : QString();
    m_writeFailure.reset();
    if (!failure.isEmpty()) {
        m_again = false;
        return Failed(failure.left(1).toLower() + failure.mid(1));
    }
    const QString path = CopyPath();
    if (QFile::exists(path)) {
        m_writtenOnce = true;
        if (std::exchange(m_failing, false))
            emit copiesWorkAgain();
        emit copyWritten(path);
    }
    if (std::exchange(m_again, false))
        Schedule();
}

void RecoveryKeeper::Adopt(Recovery::AbandonedCopy&& copy) {
    Remove();
    m_id = copy.id;
    m_lock = std::move(copy.lock);
    m_writtenOnce = true;
}

void RecoveryKeeper::Remove() {
    m_due.stop();
    m_slice.stop();
    m_gatherer.reset();
    m_again = false;
    if (m_writer) {
        m_writer->wait();
        m_writer.reset();
    }
    if (!m_lock)
        return;
    QFile::remove(CopyPath());
    QFile::remove(QDir(Recovery::Folder()).filePath(m_id + QStringLiteral(".json")));
    m_lock->unlock();
    m_lock.reset();
    m_id.clear();
    m_writtenOnce = false;
}

QString RecoveryKeeper::CopyPath() const {
    return m_id.isEmpty() ? QString() : QDir(Recovery::Folder()).filePath(m_id + QStringLiteral(".mqm"));
}
