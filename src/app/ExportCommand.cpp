// --export: maps written in other formats by a script, with no window and no questions.
#include "app/HeadlessCommands.h"
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapExport.h"
#include "document/MapFileWriter.h"
#include "document/ReadMapFile.h"
#include "document/SnapshotGatherer.h"
#include "map/MapPicture.h"

#include <QFileInfo>
#include <cmath>
#include <new>
#include <sys/stat.h>

namespace {

enum class OutFormat { Tmx, Tmj, Mqm, Png };

std::optional<OutFormat> OutFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tmx"))
        return OutFormat::Tmx;
    if (suffix == QLatin1String("tmj") || suffix == QLatin1String("json"))
        return OutFormat::Tmj;
    if (suffix == QLatin1String("mqm"))
        return OutFormat::Mqm;
    if (suffix == QLatin1String("png"))
        return OutFormat::Png;
    return std::nullopt;
}

// Whether two names are one file (through links, other spellings of the path, hard links).
bool SameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Nobody to ask: a tileset image that is missing or changed leaves its cells empty, with a warning.
class WarningResolver : public TilesetImageResolver {
public:
    WarningResolver(std::FILE* err, const QString& in) : m_err(err), m_in(in) {}
    Answer Resolve(const TilesetLoadRecord& load, Problem problem, QString*) override {
        PrintLine(m_err,
                  QStringLiteral("mosaicor: warning: %1: the tileset image %2 %3; its cells are written "
                                 "as empty")
                      .arg(TerminalSafe(m_in), TerminalSafe(load.absolutePath),
                           problem == Problem::Missing
                               ? QStringLiteral("is missing")
                               : QStringLiteral("is not the image the map was made with")));
        return Answer::GoOn;
    }

private:
    std::FILE* m_err;
    QString m_in;
};

// The picture's percent: the zoom, shrunk further by the scale.
int PicturePercent(const CommandLine& line) {
    return std::max(1, int(std::lround(line.zoom * line.scale)));
}

// Writes out; empty when done, else why not. *notes gathers what the success line should add.
QString Write(const MapDocument& document, const QString& out, OutFormat format, const CommandLine& line,
              QString* notes) {
    if (format == OutFormat::Png) {
        QString failure = MapPicture::Write(document, out, PicturePercent(line));
        if (failure.startsWith(QLatin1String("the picture would be")))
            failure += QStringLiteral("; --scale shrinks it");
        return failure;
    }
    if (format == OutFormat::Mqm) {
        const MapFileResult saved = MapFile::Save(TakeSnapshot(document, out), out);
        return saved.ok() ? QString() : saved.reason;
    }
    const ExportOutcome outcome = ExportMap(TakeSnapshot(document, out), out,
                                            format == OutFormat::Tmx ? ExportFormat::Tmx : ExportFormat::Tmj);
    if (outcome.goneCells > 0)
        *notes += QStringLiteral("; %1 cells written as empty, their tiles are gone").arg(outcome.goneCells);
    if (outcome.alteredTexts > 0)
        *notes +=
            QStringLiteral("; %1 texts with characters the format cannot hold").arg(outcome.alteredTexts);
    return outcome.failure;
}

// One pair; empty when OUT was written, else why not.
QString ExportOne(const QString& in, const QString& out, const CommandLine& line, std::FILE* err,
                  QString* notes) {
    const std::optional<OutFormat> format = OutFormatOf(out);
    if (!format)
        return QStringLiteral("its extension names no format (.tmx, .tmj, .json, .mqm or .png)");
    if (SameFile(in, out))
        return QStringLiteral("it is the map being exported");
    try {
        MapSnapshot snapshot;
        const MapFileResult read = ReadMapFile(in, &snapshot);
        if (!read.ok())
            return QStringLiteral("%1 could not be opened: %2")
                .arg(TerminalSafe(QFileInfo(in).fileName()), read.reason);
        WarningResolver resolver(err, in);
        const std::unique_ptr<MapDocument> document =
            BuildDocument(snapshot, QFileInfo(in).absoluteFilePath(), resolver);
        if (!document)
            return QStringLiteral("it was cancelled");
        snapshot = MapSnapshot();
        return Write(*document, out, *format, line, notes);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("there is not enough memory for it");
    }
}

} // namespace

int RunExport(const CommandLine& line, std::FILE* out, std::FILE* err) {
    int status = 0;
    for (const auto& [in, target] : line.pairs) {
        QString notes;
        const QString failure = ExportOne(in, target, line, err, &notes);
        if (failure.isEmpty()) {
            PrintLine(
                out,
                QStringLiteral("%1 written from %2%3").arg(TerminalSafe(target), TerminalSafe(in), notes));
        } else {
            PrintLine(
                err,
                QStringLiteral("mosaicor: %1 could not be exported: %2").arg(TerminalSafe(target), failure));
            status = 1;
        }
        std::fflush(out);
    }
    return status;
}

void PrintLine(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}
