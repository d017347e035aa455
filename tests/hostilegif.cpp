// hostilegif KIND FILE: writes one of the hostile pictures that
// tests/hostile-corpus.sh puts in the voice box's place. GIFs are built
// byte by byte by giffixtures.h (no encoder would write most of them);
// pictures of other formats by Qt's own writers. Nothing is downloaded.
// `hostilegif list` prints the kinds.
#include "giffixtures.h"

#include <QBuffer>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QMap>

#include <cstdio>
#include <functional>

using giffixtures::Frame;
using giffixtures::gif;

namespace {

const QSize Seen(167, 191);  // what the clip box shows

QByteArray picture(const char *format)
{
    QImage image(Seen, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QList<Frame> repeated(int n, const Frame &f) { return QList<Frame>(n, f); }

const QMap<QString, std::function<QByteArray()>> &kinds()
{
    static const QMap<QString, std::function<QByteArray()>> k{
        // other formats under the GIF's name
        {"png", [] { return picture("png"); }},
        {"jpeg", [] { return picture("jpeg"); }},
        {"bmp", [] { return picture("bmp"); }},
        // canvases and frames that would take hundreds of megabytes
        {"canvas-65535", [] {  // 4 G pixels in 3 MB: 16 GB as a full canvas
             return gif({65535, 65535}, {{.size = {65535, 65535}, .compressed = true}});
         }},
        {"screen-65535-small-frame", [] { return gif({65535, 65535}, {{.size = {10, 10}}}); }},
        {"frames-2000-distinct", [] {  // 2000 x 125 KiB = 250 MB decoded
             QList<Frame> f{{.size = Seen, .colour = 0}};
             for (int i = 0; i < 2000; ++i)
                 f.append({.size = {Seen.width(), 1}, .delayCs = 2, .colour = 1 + i % 3, .at = {0, i % 191}});
             return gif(Seen, f);
         }},
        {"frames-20000-tiny", [] {  // more frames than any animation needs
             return gif(Seen, repeated(20000, {.size = {1, 1}, .delayCs = 0, .colour = 2, .at = {80, 90}}));
         }},
        // work that would take a core: 60 frames of 4000 x 4000, 1 G pixels
        {"core-burner", [] {
             QList<Frame> f;
             for (int i = 0; i < 60; ++i)
                 f.append({.size = {4000, 4000}, .delayCs = 0, .colour = 1 + i % 3, .compressed = true});
             return gif({4000, 4000}, f);
         }},
        {"interlaced-tall", [] {  // every pass must be read to reach row 190
             return gif({2000, 2000}, repeated(20, {.size = {2000, 2000}, .compressed = true, .interlaced = true}));
         }},
        // delays
        {"zero-delay", [] {
             QList<Frame> f;
             for (int i = 0; i < 24; ++i)
                 f.append({.size = Seen, .delayCs = 0, .colour = 1 + i % 3});
             return gif(Seen, f);
         }},
        {"tiny-delay", [] {
             QList<Frame> f;
             for (int i = 0; i < 24; ++i)
                 f.append({.size = Seen, .delayCs = 1, .colour = 1 + i % 3});
             return gif(Seen, f);
         }},
        {"fastest-allowed", [] {  // 20 ms: the fastest rate kept, 50 frames a second
             QList<Frame> f;
             for (int i = 0; i < 24; ++i)
                 f.append({.size = Seen, .delayCs = 2, .colour = 1 + i % 3});
             return gif(Seen, f);
         }},
        // corrupt structure
        {"bad-code-size", [] {
             QByteArray g = gif(Seen, {{Seen}});
             g[13 + 768 + 19 + 8 + 10] = char(12);  // after the loop and control extensions, the descriptor
             return g;
         }},
        {"no-colour-table", [] {
             QByteArray g = gif(Seen, {{Seen}});
             g[10] = 0;
             return g;
         }},
        {"lzw-noise", [] {
             QByteArray g = gif(Seen, {{.size = Seen, .written = 0}});
             g.chop(6);  // the block of clear and end codes, the terminator, the trailer
             QByteArray blocks;
             quint32 x = 12345;
             for (int b = 0; b < 400; ++b) {
                 blocks.append(char(255));
                 for (int i = 0; i < 255; ++i)
                     blocks.append(char((x = x * 1103515245u + 12345u) >> 24));
             }
             return g + blocks + QByteArray("\0;", 2);
         }},
        {"endless-extension", [] {  // 12 MB of comment sub-blocks before any image
             QByteArray g = gif(Seen, {{Seen}});
             QByteArray comment("\x21\xFE", 2);
             const QByteArray block = char(255) + QByteArray(255, 'x');
             comment.reserve(12 << 20);
             while (comment.size() < (12 << 20))
                 comment.append(block);
             comment.append(char(0));
             g.insert(13 + 768, comment);
             return g;
         }},
        {"frame-past-screen", [] {
             return gif({100, 100}, {{.size = {60000, 60000}, .colour = 3, .compressed = true}});
         }},
        {"zero-size-frames", [] { return gif(Seen, repeated(500, {.size = {0, 0}, .delayCs = 0})); }},
    };
    return k;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);  // image writers need no window system
    const QStringList args = app.arguments();
    if (args.size() == 2 && args.at(1) == QLatin1String("list")) {
        for (const QString &k : kinds().keys())
            std::printf("%s\n", qPrintable(k));
        return 0;
    }
    if (args.size() != 3 || !kinds().contains(args.at(1))) {
        std::fprintf(stderr, "usage: hostilegif KIND FILE | hostilegif list\n");
        return 2;
    }
    const QByteArray bytes = kinds().value(args.at(1))();
    QFile file(args.at(2));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "hostilegif: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
