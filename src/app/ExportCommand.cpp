// --export: maps written in other formats by a script, with no window and no questions.
#include "app/HeadlessCommands.h"
#include "document/DocumentBuilder.h"
#include "document/MapDocument.h"
#include "document/MapExport.h"
#include "document/MapFileWriter.h"
#include "document/ReadMapFile.h"
#include "map/MapPicture.h"
#include "platform/PNGu.h"

#include <QDir>

#include <QFileInfo>
#include <cmath>
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
void WarnOfImage(std::FILE* err, const QString& in, const QString& image, bool missing) {
    PrintLine(err,
              QStringLiteral("mosaicor: warning: %1: the tileset image %2 %3; its cells are written as empty")
                  .arg(TerminalSafe(in), TerminalSafe(image),
                       missing ? QStringLiteral("is missing")
                               : QStringLiteral("is not the image the map was made with")));
}

class WarningResolver : public TilesetImageResolver {
public:
    WarningResolver(std::FILE* err, const QString& in) : m_err(err), m_in(in) {}
    Answer Resolve(const TilesetLoadRecord& load, Problem problem, QString*) override {
        WarnOfImage(m_err, m_in, load.absolutePath, problem == Problem::Missing);
        return Answer::GoOn;
    }

private:
    std::FILE* m_err;
    QString m_in;
};

// Whether the image at path is the one the load was cut from, as opening the map would decide it: its size,
// enough whole tiles, and its content, read through without decoding a pixel. *found: it is a PNG at all.
bool SameImage(const TilesetLoadRecord& load, const QString& path, bool* found) {
    PNGu::Reader reader(path);
    *found = *found || reader.Ok();
    if (!reader.Ok() || reader.Width() != load.imageWidth || reader.Height() != load.imageHeight ||
        qint64(reader.Width() / load.tileWidth) * (reader.Height() / load.tileHeight) < load.tileCount)
        return false;
    return reader.Finish() && (load.contentHash.isEmpty() || reader.ContentHash() == load.contentHash);
}

// The map as the document opened from it would give it to an export to out, without building the document:
// each load's image looked for as opening looks for it (beside the map, then where it was), found or marked
// missing with a warning, its path made relative to out's folder.
void PrepareForExport(MapSnapshot& map, const QString& in, const QString& out, std::FILE* err) {
    const QDir mapFolder = QFileInfo(in).absoluteDir();
    const QDir outFolder = QFileInfo(out).absoluteDir();
    for (TilesetLoadRecord& load : map.loads) {
        QStringList candidates;
        if (!load.relativePath.isEmpty())
            candidates << mapFolder.absoluteFilePath(load.relativePath);
        candidates << load.absolutePath;
        bool found = false;
        load.imageMissing = load.tileCount > 0;
        for (const QString& path : candidates) {
            if (SameImage(load, path, &found)) {
                load.absolutePath = QFileInfo(path).absoluteFilePath();
                load.imageMissing = false;
                break;
            }
        }
        if (load.imageMissing)
            WarnOfImage(err, in, load.absolutePath, !found);
        load.relativePath = outFolder.relativeFilePath(load.absolutePath);
    }
    for (std::size_t i = 0; i < map.templates.size(); ++i)
        map.templates[i].imageIndex = std::int16_t(i);
    map.visibleLayers &= std::uint8_t((1u << map.layers) - 1);
}

// The picture's percent: the zoom, shrunk further by the scale.
int PicturePercent(const CommandLine& line) {
    return std::max(1, int(std::lround(line.zoom * line.scale)));
}

// Writes out from the map; empty when done, else why not. *notes gathers what the success line should add.
QString Write(MapSnapshot& map, const QString& in, const QString& out, OutFormat format,
              const CommandLine& line, std::FILE* err, QString* notes) {
    if (format == OutFormat::Png) {
        // The picture needs the tiles' pictures: the map is opened as the editor opens it.
        WarningResolver resolver(err, in);
        const std::unique_ptr<MapDocument> document =
            BuildDocument(map, QFileInfo(in).absoluteFilePath(), resolver);
        map = MapSnapshot();
        QString failure = MapPicture::Write(*document, out, PicturePercent(line));
        if (failure.startsWith(QLatin1String("the picture would be")))
            failure += QStringLiteral("; --scale shrinks it");
        return failure;
    }
    PrepareForExport(map, in, out, err);
    if (format == OutFormat::Mqm) {
        const MapFileResult saved = MapFile::Save(map, out);
        return saved.ok() ? QString() : saved.reason;
    }
    const ExportOutcome outcome =
        ExportMap(map, out, format == OutFormat::Tmx ? ExportFormat::Tmx : ExportFormat::Tmj);
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
    return FailureOf([&] {
        MapSnapshot map;
        const MapFileResult read = ReadMapFile(in, &map);
        if (!read.ok())
            return QStringLiteral("%1 could not be opened: %2")
                .arg(TerminalSafe(QFileInfo(in).fileName()), read.reason);
        return Write(map, in, out, *format, line, err, notes);
    });
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
