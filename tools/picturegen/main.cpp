// make-pictures OUTDIR: paints the dashboard's nine built-in pictures and
// writes them into OUTDIR under the names the program embeds them by, and
// the icon for the desktop's icon theme and the web page's manifest,
// enlarged (appicon-SIZE.png), and
// as blocks that scale to any size (appicon.svg). The
// copies committed in resources/ are this program's output; tst_pictures
// runs it again and insists on identical bytes, so nothing here may depend
// on the time, the locale or the desktop's font settings.
#include "consoles.h"
#include "imagewriters.h"
#include "lampicon.h"
#include "modedisplays.h"
#include "panels.h"
#include "artkit.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <functional>

namespace {

struct Picture
{
    const char *fileName;
    std::function<QByteArray()> encode;
};

using ModeDisplays::Mode;

const Picture Pictures[] = {
    {"leftpanel.jpg", [] { return ImageWriters::jpeg(Panels::left()); }},
    {"rightpanel.jpg", [] { return ImageWriters::jpeg(Panels::right()); }},
    {"leftconsole.jpg", [] { return ImageWriters::jpeg(Consoles::left()); }},
    {"rightconsole.jpg", [] { return ImageWriters::jpeg(Consoles::right()); }},
    {"lamplit.jpg", [] { return ImageWriters::jpeg(LampIcon::lamp()); }},
    {"modepursuit.bmp", [] { return ImageWriters::bmp24(ModeDisplays::paint(Mode::Pursuit)); }},
    {"modeauto.bmp", [] { return ImageWriters::bmp24(ModeDisplays::paint(Mode::Auto)); }},
    {"modenormal.bmp", [] { return ImageWriters::bmp24(ModeDisplays::paint(Mode::Normal)); }},
    {"appicon.ico", [] { return ImageWriters::ico8(LampIcon::icon()); }},
    {"appicon-32.png", [] { return ImageWriters::png(LampIcon::icon(32)); }},
    {"appicon-64.png", [] { return ImageWriters::png(LampIcon::icon(64)); }},
    {"appicon-128.png", [] { return ImageWriters::png(LampIcon::icon(128)); }},
    {"appicon-256.png", [] { return ImageWriters::png(LampIcon::icon(256)); }},
    // The web page's icons, as its manifest names them.
    {"appicon-192.png", [] { return ImageWriters::png(LampIcon::icon(192)); }},
    {"appicon-512.png", [] { return ImageWriters::png(LampIcon::icon(512)); }},
    {"appicon.svg", [] { return ImageWriters::svgBlocks(LampIcon::icon()); }},
};

int fail(const QString &message)
{
    std::fprintf(stderr, "make-pictures: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts need a GUI application, but nothing is ever shown; and the
    // output must not depend on which desktop the tool happens to run under.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() != 2)
        return fail(QStringLiteral("usage: make-pictures OUTDIR"));
    const QDir outDir(args.at(1));
    if (!outDir.exists() && !QDir().mkpath(outDir.path()))
        return fail(QStringLiteral("cannot create %1").arg(outDir.path()));

    QString missing;
    if (!Art::fontsAvailable(&missing))
        return fail(QStringLiteral("font family \"%1\" is not installed").arg(missing));

    for (const Picture &picture : Pictures) {
        const QString path = outDir.filePath(QString::fromLatin1(picture.fileName));
        const QByteArray bytes = picture.encode();
        if (bytes.isEmpty())
            return fail(QStringLiteral("cannot encode %1").arg(path));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    return 0;
}
