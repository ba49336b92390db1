#include "document/MapExport.h"

#include "document/ExportPlan.h"
#include "document/TmjWriter.h"
#include "document/TmxWriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <new>

ExportOutcome ExportMap(const MapSnapshot& map, const QString& path, ExportFormat format) {
    ExportOutcome outcome;
    try {
        const auto plan = PlanExport(map, path, outcome.failure);
        if (!plan)
            return outcome;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            outcome.failure = file.errorString();
            return outcome;
        }
        const FormatWriteOutcome written =
            format == ExportFormat::Tmx ? WriteTmx(*plan, file) : WriteTmj(*plan, file);
        if (!written.failure.isEmpty()) {
            outcome.failure = file.error() != QFileDevice::NoError ? file.errorString() : written.failure;
            file.cancelWriting();
            return outcome;
        }
        if (!file.commit()) {
            outcome.failure = file.errorString();
            return outcome;
        }
        outcome.goneCells = plan->goneCells;
        outcome.alteredTexts = written.alteredTexts;
    } catch (const std::bad_alloc&) {
        // The save file, not committed, is removed on the way out; the map is untouched.
        outcome.failure = QStringLiteral("there is not enough memory");
    }
    return outcome;
}

std::optional<ExportFormat> ExportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tmx"))
        return ExportFormat::Tmx;
    if (suffix == QLatin1String("tmj") || suffix == QLatin1String("json"))
        return ExportFormat::Tmj;
    return std::nullopt;
}
