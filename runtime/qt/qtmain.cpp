// The program's start on Qt: the command line (the core's, once Qt's own
// options are set aside for QApplication), the application, then the
// start-up window. Whatever stops the start is said in one line on the
// error stream, with the exit status a shell expects: 2 for a command line
// the program does not take, 1 for no screen to show it on.
#include "program/commandline.h"
#include "program/diagnostics.h"
#include "program/program.h"
#include "qtbackend.h"

#include <QApplication>
#include <QDebug>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
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
// messages are held back: a fatal one becomes one line that says what to
// do, the rest are passed on once the start has gone well.
struct StartMessages
{
    static inline QtMessageHandler previous = nullptr;
    static inline std::vector<std::tuple<QtMsgType, QString>> held;

    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtFatalMsg) {
            printError("cannot open a display: set DISPLAY to a running X server, or run without a screen "
                       "with QT_QPA_PLATFORM=offscreen or QT_QPA_PLATFORM=vnc:size=1024x768 (see the README)");
            std::_Exit(1);
        }
        held.emplace_back(type, message);
    }
    static void install() { previous = qInstallMessageHandler(handle); }
    static void release()
    {
        qInstallMessageHandler(previous);
        for (const auto &[type, message] : held)
            if (type == QtWarningMsg || type == QtCriticalMsg)
                qWarning().noquote() << message;
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
