#pragma once

#include "app/CommandLine.h"
#include "platform/CommandGuard.h"

#include <QString>
#include <cstdio>

// The modes that run without a window, asking nothing: they report on out (one line for each thing done)
// and err (warnings, and the reason for each failure), and give the process's exit status: 0 when all was
// done, 1 when anything failed.

// Each (IN, OUT) pair of an --export on its own: OUT is written from the map IN in the format its extension
// names, or left as it was when anything fails.
int RunExport(const CommandLine& line, std::FILE* out, std::FILE* err);

// --thumbnail IN OUT SIZE: a PNG for file managers, or no OUT at all.
int RunThumbnail(const CommandLine& line, std::FILE* out, std::FILE* err);

// Writes text and a line end to stream, as UTF-8.
void PrintLine(std::FILE* stream, const QString& text);

// What one command's work returns (why it failed, empty when it worked), or that memory ran out part way.
template <class Work> QString FailureOf(Work&& work) {
    return UnlessOutOfMemory(std::forward<Work>(work),
                             [] { return QStringLiteral("there is not enough memory for it"); });
}
