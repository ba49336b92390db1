#include "app/CommandLine.h"

#include <QLatin1StringView>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Qt reads these from the command line itself (in either -name or --name form); the program hands them on.
constexpr std::array kQtOptionsWithValue{"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "geometry",
                                         "qwindowicon",
                                         "icon",
                                         "qwindowtitle",
                                         "title",
                                         "session",
                                         "display",
                                         "name",
                                         "style",
                                         "stylesheet",
                                         "visual",
                                         "ncols",
                                         "cmap"};
constexpr std::array kQtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
constexpr std::array kQtOptionsWithEquals{"style=", "stylesheet=", "qmljsdebugger="};

template <std::size_t N> bool Listed(const std::array<const char*, N>& list, const QString& name) {
    return std::any_of(list.begin(), list.end(), [&](const char* o) { return name == QLatin1StringView(o); });
}

template <std::size_t N> bool StartsListed(const std::array<const char*, N>& list, const QString& name) {
    return std::any_of(list.begin(), list.end(),
                       [&](const char* o) { return name.startsWith(QLatin1StringView(o)); });
}

class Parser {
public:
    explicit Parser(const QStringList& arguments) : m_args(arguments) {}

    CommandLine Parse() {
        for (m_at = 0; m_at < m_args.size() && m_line.mode != CommandLine::Mode::Usage; ++m_at) {
            const QString& a = m_args[m_at];
            if (m_optionsEnded || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-')))
                m_positional << a;
            else if (a == QLatin1String("--"))
                m_optionsEnded = true;
            else if (!Ours(a) && !Qts(a))
                Fail(QStringLiteral("unknown option %1").arg(a));
        }
        if (m_line.mode != CommandLine::Mode::Usage)
            Finish();
        return m_line;
    }

private:
    void Fail(const QString& why) {
        m_line.mode = CommandLine::Mode::Usage;
        m_line.error = why;
    }

    void SetMode(CommandLine::Mode mode, const QString& option) {
        if (m_line.mode != CommandLine::Mode::Edit && m_line.mode != mode)
            return Fail(QStringLiteral("%1 cannot be combined with the options before it").arg(option));
        m_line.mode = mode;
    }

    // The value of an option, given as --name=value or as the next argument.
    bool Value(const QString& option, QString* value) {
        const qsizetype equals = m_args[m_at].indexOf(QLatin1Char('='));
        if (equals >= 0) {
            *value = m_args[m_at].mid(equals + 1);
            return true;
        }
        if (m_at + 1 >= m_args.size()) {
            Fail(QStringLiteral("%1 needs a value").arg(option));
            return false;
        }
        *value = m_args[++m_at];
        return true;
    }

    bool Ours(const QString& a) {
        const QString name = a.section(QLatin1Char('='), 0, 0);
        const bool attached = a.contains(QLatin1Char('='));
        QString value;
        if ((name == QLatin1String("--help") || name == QLatin1String("-h")) && !attached)
            m_help = true;
        else if (name == QLatin1String("--version") && !attached)
            m_version = true;
        else if (name == QLatin1String("--export") && !attached)
            SetMode(CommandLine::Mode::Export, name);
        else if (name == QLatin1String("--thumbnail") && !attached)
            SetMode(CommandLine::Mode::Thumbnail, name);
        else if (name == QLatin1String("--zoom")) {
            if (Value(name, &value))
                Zoom(value);
        } else if (name == QLatin1String("--scale")) {
            if (Value(name, &value))
                Scale(value);
        } else
            return false;
        return true;
    }

    void Zoom(const QString& value) {
        m_zoomGiven = true;
        m_line.zoom = value.toInt();
        if (value != QLatin1String("25") && value != QLatin1String("50") && value != QLatin1String("100"))
            Fail(QStringLiteral("--zoom takes 25, 50 or 100, not %1").arg(value));
    }

    void Scale(const QString& value) {
        bool ok = false;
        m_zoomGiven = true;
        m_line.scale = value.toDouble(&ok);
        if (!ok || !std::isfinite(m_line.scale) || m_line.scale <= 0 || m_line.scale > 1)
            Fail(QStringLiteral("--scale takes a number above 0 and at most 1, not %1").arg(value));
    }

    bool Qts(const QString& a) {
        const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
        if (Listed(kQtFlags, name) || StartsListed(kQtOptionsWithEquals, name)) {
            m_line.qtArguments << a;
            return true;
        }
        if (!Listed(kQtOptionsWithValue, name))
            return false;
        if (m_at + 1 >= m_args.size()) {
            Fail(QStringLiteral("%1 needs a value").arg(a));
            return true;
        }
        m_line.qtArguments << a << m_args[++m_at];
        return true;
    }

    void Finish();

    const QStringList& m_args;
    qsizetype m_at = 0;
    CommandLine m_line;
    QStringList m_positional;
    bool m_optionsEnded = false;
    bool m_help = false;
    bool m_version = false;
    bool m_zoomGiven = false;
};

void Parser::Finish() {
    using Mode = CommandLine::Mode;
    if (m_help || m_version) {
        m_line.mode = m_help ? Mode::Help : Mode::Version;
        return;
    }
    if (m_zoomGiven && m_line.mode != Mode::Export)
        return Fail(QStringLiteral("--zoom and --scale go with --export"));
    if (m_line.mode == Mode::Export) {
        if (m_positional.isEmpty() || m_positional.size() % 2 != 0)
            return Fail(QStringLiteral("--export takes an IN and an OUT file for each map"));
        for (qsizetype i = 0; i < m_positional.size(); i += 2)
            m_line.pairs.emplace_back(m_positional[i], m_positional[i + 1]);
    } else if (m_line.mode == Mode::Thumbnail) {
        bool ok = false;
        const int size = m_positional.size() == 3 ? m_positional[2].toInt(&ok) : 0;
        if (!ok || size < 1 || size > 1024)
            return Fail(QStringLiteral("--thumbnail takes IN, OUT and a SIZE of 1 to 1024 pixels"));
        m_line.thumbnailIn = m_positional[0];
        m_line.thumbnailOut = m_positional[1];
        m_line.thumbnailSize = size;
    } else if (m_positional.size() > 1) {
        Fail(QStringLiteral("one map at a time: %1 files were named").arg(m_positional.size()));
    } else if (!m_positional.isEmpty()) {
        m_line.file = m_positional.front();
    }
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    return Parser(arguments).Parse();
}

QString UsageText() {
    return QStringLiteral(
        "Usage: mosaicor [FILE]\n"
        "       mosaicor --export [--zoom 25|50|100] [--scale F] IN OUT [IN OUT ...]\n"
        "       mosaicor --thumbnail IN OUT SIZE\n"
        "\n"
        "Opens FILE, a map, in the editor's window.\n"
        "\n"
        "  --export      writes each OUT from the map IN without a window; OUT's extension chooses\n"
        "                the format: .tmx, .tmj (or .json), .mqm or .png (a picture of the shown layers)\n"
        "  --zoom P      the picture's scale in percent: 25, 50 or 100 (the default)\n"
        "  --scale F     shrinks the picture further by F (above 0, at most 1), for a map too large\n"
        "                for a picture of 268,435,456 pixels\n"
        "  --thumbnail   writes a PNG of at most SIZE x SIZE pixels showing the map IN, for file managers\n"
        "  --help        shows this text\n"
        "  --version     shows the program's version\n"
        "  --            ends the options: what follows are file names\n"
        "\n"
        "Qt's own options, such as -platform NAME or -style NAME, are taken too.\n");
}

QString TerminalSafe(const QString& text) {
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool bidi =
            (u >= 0x200E && u <= 0x200F) || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
        if (c.category() == QChar::Other_Control || bidi || u == 0x2028 || u == 0x2029)
            safe += (u <= 0xFF ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
                    QString::number(u, 16).toUpper().rightJustified(u <= 0xFF ? 2 : 4, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}
