#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// What the program was asked to do on its command line. Arguments are untrusted like any input: anything not
// understood is a usage error, never a guess.
struct CommandLine {
    enum class Mode {
        // The editor's window, with file (when not empty) opened at start.
        Edit,
        Help,
        Version,
        // Each (in, out) pair written without a window.
        Export,
        // A small picture of a map for file managers.
        Thumbnail,
        // The arguments make no sense: error says why.
        Usage
    };
    Mode mode = Mode::Edit;
    QString file;
    std::vector<std::pair<QString, QString>> pairs;
    // Export to PNG: the view's zoom in percent, then a further scale.
    int zoom = 100;
    double scale = 1.0;
    QString thumbnailIn;
    QString thumbnailOut;
    int thumbnailSize = 0;
    QString error;
    // The options that are Qt's own (-platform xcb, -style fusion, ...), for the application object; the
    // program's name is not among them.
    QStringList qtArguments;
};

// arguments: argv without the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);

// How to call the program, for --help and usage errors.
QString UsageText();

// text with every control character written as an escape (\x1B, \u202E), so a file name printed to a
// terminal cannot move its cursor, change its colours or hide the rest of the line.
QString TerminalSafe(const QString& text);
