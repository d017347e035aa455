// The program's start on Qt: the command line (the core's, once Qt's own
// options are set aside for QApplication), the application, then the
// start-up window. Whatever stops the start is said in one line on the
// error stream, with the exit status a shell expects: 2 for a command line
// the program does not take, 1 for no screen to show it on (no display, one
// that refused, or a platform plugin that is missing or would not start).
#include "program/commandline.h"
#include "platform/diagnostics.h"
#include "program/program.h"
#include "qtbackend.h"

#include <QApplication>
#include <QDebug>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace runtime {

namespace {

// The options QApplication takes for itself (-platform, -style, ...):
// left to it, not taken for mistakes. The first list's take a value.
constexpr const char *QtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "display", "style", "stylesheet", "session",
    "name", "fontengine", "qmljsdebugger"};
constexpr const char *QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool listed(const auto &list, const std::string &word)
{
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

std::vector<std::string> withoutQtOptions(int argc, char *argv[])
{
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
            words.push_back(arg);
            continue;
        }
        const std::string word = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::string name = word.substr(0, word.find('='));
        if (listed(QtOptionsWithValue, name))
            i += word.find('=') == std::string::npos ? 1 : 0;  // its value goes with it
        else if (!listed(QtFlags, name))
            words.push_back(arg);
    }
    return words;
}

// Qt cannot start without a display and says so with a fatal error, a core
// dump and advice to reinstall. Until the application stands, its
// messages are held back: a fatal one becomes one line that says what went
// wrong, from what Qt said before it gave up, and what to do; the rest are
// passed on once the start has gone well.
struct StartMessages
{
    struct Message
    {
        QtMsgType type;
        QString text;
    };
    static inline QtMessageHandler previous = nullptr;
    static inline std::vector<Message> held;

    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtFatalMsg) {
            printError(whyNoStart(message).toStdString());
            std::_Exit(1);
        }
        held.push_back({type, message});
    }

    static QString whyNoStart(const QString &fatal)
    {
        static const QRegularExpression missing(QStringLiteral(R"re(^Could not find the Qt platform plugin "([^"]*)")re")),
                failed(QStringLiteral(R"re(^Could not load the Qt platform plugin "([^"]*)")re")),
                noConnection(QStringLiteral("^could not connect to display ?(.*)$")),
                available(QStringLiteral("^Available platform plugins are: (.*?)\\.?$"),
                          QRegularExpression::MultilineOption);
        const QString noScreen = QStringLiteral(
                ", or run without a screen with QT_QPA_PLATFORM=offscreen or QT_QPA_PLATFORM=vnc:size=1024x768 "
                "(see the README)");
        QString plugin, why;
        for (const Message &m : held) {
            if (const auto named = missing.match(m.text); named.hasMatch()) {
                const QString there = available.match(fatal).captured(1);
                return QStringLiteral("cannot start: there is no Qt platform plugin \"%1\" (named by "
                                      "QT_QPA_PLATFORM or -platform)%2")
                        .arg(named.captured(1), there.isEmpty() ? QString() : QStringLiteral("; there are: ") + there);
            }
            if (const auto to = noConnection.match(m.text); to.hasMatch()) {
                const QString display = to.captured(1).trimmed();
                if (display.isEmpty())
                    return QStringLiteral("cannot start: no display, DISPLAY is %1: set it to a running X server")
                                   .arg(qEnvironmentVariableIsSet("DISPLAY") ? "empty" : "not set")
                            + noScreen;
                return QStringLiteral("cannot start: the display %1 refused the connection (no X server runs "
                                      "there, or it does not let this user in): check DISPLAY")
                               .arg(display)
                        + noScreen;
            }
            // A plugin that was there but would not start: the last warning
            // before Qt said so is the reason, from whatever part of Qt (the
            // Wayland plugin's has no category), never the debugging lines
            // QT_LOGGING_RULES may turn on.
            if (const auto loaded = failed.match(m.text); loaded.hasMatch())
                plugin = loaded.captured(1);
            else if (m.type != QtDebugMsg && m.type != QtInfoMsg && plugin.isEmpty())
                why = m.text.section(u'\n', 0, 0);
        }
        if (!plugin.isEmpty())
            return QStringLiteral("cannot start: the Qt platform plugin \"%1\" would not start: %2")
                    .arg(plugin, why.isEmpty() ? QStringLiteral("QT_DEBUG_PLUGINS=1 tells why") : why);
        return QStringLiteral("cannot start: ") + fatal.section(u'\n', 0, 0);
    }

    static void install() { previous = qInstallMessageHandler(handle); }
    static void release()
    {
        qInstallMessageHandler(previous);
        for (const Message &m : held)
            if (m.type == QtWarningMsg || m.type == QtCriticalMsg)
                qWarning().noquote() << m.text;
        held.clear();
    }
};

} // namespace

int run(int argc, char *argv[], const Program &program)
{
    // The usage names the program as a user types it, not by its path.
    setProgramName(programNameOf(argc > 0 && argv[0] ? argv[0] : ""));
    CommandLine line = parseCommandLine(program, withoutQtOptions(argc, argv));
    if (line.outcome != CommandLine::Outcome::Run) {
        std::fputs(line.text.c_str(), line.outcome == CommandLine::Outcome::Wrong ? stderr : stdout);
        return line.status;
    }

    StartMessages::install();
    // X's shared memory makes each small repaint (a voice box frame) wait
    // a round trip on two threads; a copy costs less (docs/performance.md).
    // Qt decides once, for its X connection.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    StartMessages::release();
    QApplication::setApplicationName(QString::fromUtf8(program.name));
    QApplication::setApplicationVersion(QString::fromUtf8(program.version));
    // Lets a Wayland compositor tie the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(program.desktopId));
    qt::QtBackend backend;
    return runProgram(backend, program, std::move(line.options));
}

} // namespace runtime
