#include "app/CommandLine.h"
#include "app/HeadlessCommands.h"
#include "app/Mosaicor.h"
#include "platform/FileTypes.h"
#include "window/frmMain.h"
#include "window/mnuMain.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <vector>

namespace {

// argv for the application object: the program's name and Qt's own options only, so Qt never takes a file
// name for one of its options, and nothing after "--" reaches it.
class QtArguments {
public:
    QtArguments(const char* program, const QStringList& options) {
        m_bytes.emplace_back(program);
        for (const QString& option : options)
            m_bytes.push_back(QFile::encodeName(option));
        for (QByteArray& bytes : m_bytes)
            m_pointers.push_back(bytes.data());
        m_pointers.push_back(nullptr);
        m_count = int(m_bytes.size());
    }
    int& Count() { return m_count; }
    char** Values() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char*> m_pointers;
    int m_count = 0;
};

int RunEditor(const CommandLine& line, QtArguments& qt) {
    InitFileTypes();
    int status = 0;
    {
        Mosaicor app(qt.Count(), qt.Values());
        mnuMain::Instance();
        frmMain window;
        if (!line.file.isEmpty())
            window.OpenAtStart(QFileInfo(line.file).absoluteFilePath());
        window.show();
        status = app.exec();
        // The window owns the menu bar and releases it as it goes.
    }
    ReleaseFileTypes();
    return status;
}

// Export and thumbnails need no display: Qt's off-screen platform draws into memory, so they run in a
// script, over ssh or in a file manager's sandbox alike.
int RunWithoutWindow(const CommandLine& line, QtArguments& qt) {
    // Standard error is the script's: it carries the program's warnings and failures, not Qt's notes about
    // the platform it runs on.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            PrintLine(stderr, message);
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing here draws with OpenGL: the off-screen platform then never looks for an X server either.
    qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
    QGuiApplication app(qt.Count(), qt.Values());
    return line.mode == CommandLine::Mode::Export ? RunExport(line, stdout, stderr)
                                                  : RunThumbnail(line, stdout, stderr);
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const CommandLine line = ParseCommandLine(arguments);
    QtArguments qt(argc > 0 ? argv[0] : "mosaicor", line.qtArguments);
    switch (line.mode) {
    case CommandLine::Mode::Help:
        std::fputs(UsageText().toUtf8().constData(), stdout);
        return 0;
    case CommandLine::Mode::Version:
        std::fputs("mosaicor " MOSAICOR_VERSION "\n", stdout);
        return 0;
    case CommandLine::Mode::Usage:
        PrintLine(stderr, QStringLiteral("mosaicor: %1").arg(TerminalSafe(line.error)));
        std::fputs(UsageText().toUtf8().constData(), stderr);
        return 2;
    case CommandLine::Mode::Export:
    case CommandLine::Mode::Thumbnail:
        return RunWithoutWindow(line, qt);
    case CommandLine::Mode::Edit:
        break;
    }
    return RunEditor(line, qt);
}
