// Reading a map file by its name, whichever program wrote it.
#include "document/ForeignImport.h"
#include "document/MapFileFormat.h"
#include "document/MapFileReader.h"
#include "platform/UntrustedFile.h"

namespace MapFile {

MapFileResult Open(const QString& path, MapSnapshot* map, const MapFileProgress& progress) {
    QString refusal;
    const std::unique_ptr<QFile> file = UntrustedFile::Open(path, MapFileFormat::kMaxFileBytes, &refusal);
    if (!file)
        return MapFileResult::Failure(refusal);
    const char kind = ForeignImport::Kind(file->peek(256));
    if (kind == 0)
        return Read(*file, map, progress);
    DiskForeignFiles files;
    ImportReport report;
    MapFileResult result;
    if (kind == 'x') {
        result = ForeignImport::ReadTmx(*file, path, files, map, &report, progress);
    } else if (file->size() > ForeignImport::kMaxJsonBytes) {
        return MapFileResult::Failure(QStringLiteral("it is a JSON map larger than %1 MB, more than is read")
                                          .arg(ForeignImport::kMaxJsonBytes >> 20));
    } else {
        try {
            const QByteArray bytes = file->readAll();
            if (bytes.size() != file->size())
                return MapFileResult::Failure(QStringLiteral("it cannot be read"));
            result = ForeignImport::ReadTmj(bytes, path, files, map, &report, progress);
        } catch (const std::bad_alloc&) {
            return MapFileResult::Failure(QStringLiteral("there is not enough memory to open it"));
        }
    }
    result.imported = true;
    result.notes = report.Notes();
    return result;
}

} // namespace MapFile
