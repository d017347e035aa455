// The program's start on Qt: the command line, the application, then the
// start-up window. Whatever stops the start is said in one line on the
// error stream, with the exit status a shell expects: 2 for a command line
// the program does not take, 1 for no screen to show it on.
#include "program.h"
#include "qtbackend.h"
#include "registry.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace runtime {

namespace {

// The options QApplication takes for itself (-platform, -style, ...):
// left to it, not taken for mistakes. Those before the flags take a value.
const QStringList QtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "display", "style", "stylesheet", "session",
    "name", "fontengine", "qmljsdebugger"};
const QStringList QtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QStringList withoutQtOptions(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size();) {
        QString option = arguments.at(i);
        if (!option.startsWith(u'-') || option == QLatin1String("--")) {
            ++i;
            continue;
        }
        option.remove(0, option.startsWith(QLatin1String("--")) ? 2 : 1);
        option = option.section(u'=', 0, 0);
        const bool takesValue = QtOptionsWithValue.contains(option) && !arguments.at(i).contains(u'=');
        if (QtOptionsWithValue.contains(option) || QtFlags.contains(option))
            arguments.remove(i, takesValue && i + 1 < arguments.size() ? 2 : 1);
        else
            ++i;
    }
    return arguments;
}

std::string programName(const char *argv0)
{
    const std::string path = argv0 ? argv0 : "";
    return path.substr(path.find_last_of('/') + 1);
}

// Qt cannot start without a display and says so with a fatal error, a core
// dump and advice to reinstall. Until the application stands, its
// messages are held back: a fatal one becomes one line that says what to
// do, the rest are passed on once the start has gone well.
struct StartMessages
{
    static inline std::string program;
    static inline QtMessageHandler previous = nullptr;
    static inline std::vector<std::tuple<QtMsgType, QString>> held;

    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtFatalMsg) {
            std::fprintf(stderr,
                         "%s: cannot open a display: set DISPLAY to a running X server, or run without a screen "
                         "with QT_QPA_PLATFORM=offscreen or QT_QPA_PLATFORM=vnc:size=1024x768 (see the README)\n",
                         program.c_str());
            std::_Exit(1);
        }
        held.emplace_back(type, message);
    }
    static void install(const std::string &name)
    {
        program = name;
        previous = qInstallMessageHandler(handle);
    }
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
    const std::string name = programName(argc > 0 ? argv[0] : nullptr);
    // The command line first, on a bare core application: --help, --version
    // and a wrong option need no display.
    std::map<std::string, std::string> options;
    {
        // The usage names the program as a user types it, not by its path.
        std::string shortName = name;
        std::vector<char *> arguments(argv, argv + argc);
        if (!arguments.empty())
            arguments[0] = shortName.data();
        int count = argc;
        QCoreApplication parsing(count, arguments.data());
        QCoreApplication::setApplicationName(QString::fromStdString(name));
        QCoreApplication::setApplicationVersion(QString::fromUtf8(program.version));
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QString::fromUtf8(program.summary));
        const QCommandLineOption help = parser.addHelpOption();
        const QCommandLineOption version = parser.addVersionOption();
        std::vector<QCommandLineOption> own;
        for (const Option &o : program.options) {
            own.emplace_back(QString::fromUtf8(o.name), QString::fromUtf8(o.description), QString::fromUtf8(o.valueName));
            parser.addOption(own.back());
        }
        QString wrong;
        if (!parser.parse(withoutQtOptions(QCoreApplication::arguments())))
            wrong = parser.errorText();
        else if (!parser.positionalArguments().isEmpty())
            wrong = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst());
        if (!wrong.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n%s", name.c_str(), qPrintable(wrong), qPrintable(parser.helpText()));
            return 2;
        }
        if (parser.isSet(help)) {
            std::fputs(qPrintable(parser.helpText()), stdout);
            return 0;
        }
        if (parser.isSet(version)) {
            std::printf("%s %s\n", name.c_str(), program.version);
            return 0;
        }
        for (size_t i = 0; i < own.size(); ++i)
            if (parser.isSet(own[i]))
                options[program.options[i].name] = parser.value(own[i]).toStdString();
    }

    StartMessages::install(name);
    QApplication app(argc, argv);
    StartMessages::release();
    QApplication::setApplicationName(QString::fromUtf8(program.name));
    QApplication::setApplicationVersion(QString::fromUtf8(program.version));
    // Lets a Wayland compositor tie the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(program.desktopId));
    QtBackend::instance();
    FormRegistry::setOptions(std::move(options));
    for (const FormDescription *form : program.forms)
        FormRegistry::add(*form);
    return FormRegistry::run(program.startForm);
}

} // namespace runtime
