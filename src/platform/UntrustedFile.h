#pragma once

#include <QFile>
#include <QString>
#include <memory>

// Opening a file a user chose. Every such file is untrusted: between a look at its path and its opening the
// name can be swapped for a FIFO or a device, which would block the user-interface thread in open() or in
// the first read. So the file is opened first, without blocking, and only the open descriptor is checked
// and read: what was checked is what is read.
namespace UntrustedFile {

// The file at path opened for reading, or null with *refusal saying why in a few words fit to follow
// "could not be opened: " or "could not be loaded: " ("it is not a regular file", "it is larger than
// 257 MB", "no such file", ...). Only a regular file of at most maxBytes is accepted.
std::unique_ptr<QFile> Open(const QString& path, qint64 maxBytes, QString* refusal);

} // namespace UntrustedFile
