// gifreplay: feeds mutated GIFs through the browser view's loading code,
// FrameDecoder::decode (the entry point the view itself uses), and checks
// what comes out against the decoder's bounds (gifinvariants.h), and
// against the same decoded in slices.
//
// The seeds are our own: the voice box that ships with the program and
// GIFs built by giffixtures.h (animated, interlaced, with local tables,
// transparency, disposal, huge compressed frames). Mutant number i is made
// from a random generator seeded by (--seed, i) alone, so any mutant can be
// made again on its own: `gifreplay --first i --count 1 --write-mutants DIR`.
//
//   gifreplay [--voicebox FILE] [--count N] [--first I] [--stride S]
//             [--seed X] [--write-seeds DIR] [--write-mutants DIR] [--quiet]
//   gifreplay --replay FILE...      decode given files (a fuzzer's finds)
//
// Exit status: 0 when everything held, 1 when an invariant broke (the
// mutant is written to the current folder), 2 for bad usage.
#include "animation/filereader.h"
#include "animation/framedecoder.h"
#include "gifinvariants.h"
#include "giffixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>

#include <cstdio>
#include <cstdlib>

using giffixtures::Frame;
using giffixtures::gif;
using runtime::Animation;
using runtime::FrameDecoder;

namespace {

const QRect Crop(0, 0, 233, 321);  // what the dashboard's view can show

struct Random
{
    quint64 state;
    quint64 next()  // splitmix64
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(qsizetype n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
};

QList<QByteArray> makeSeeds(const QString &voiceBox)
{
    QList<QByteArray> seeds;
    if (!voiceBox.isEmpty()) {
        QFile file(voiceBox);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "gifreplay: cannot read %s\n", qPrintable(voiceBox));
            std::exit(2);
        }
        seeds << file.readAll();
    }
    const QSize s(20, 30);
    seeds << gif(s, {{s}, {s, 10, 2}, {s, 0, 3}});
    seeds << gif({4, 4}, {{.size = {4, 4}},
                          {.size = {2, 2}, .colour = 2, .at = {2, 2}, .disposal = 2},
                          {.size = {1, 1}, .colour = 3, .transparent = 3},
                          {.size = {1, 1}, .colour = 3, .at = {3, 0}, .disposal = 3}}, 2);
    QByteArray rows;
    for (int i = 0; i < 9 * 5; ++i)
        rows.append(char(i % 4));
    seeds << gif({5, 9}, {{.size = {5, 9}, .interlaced = true, .indices = rows},
                          {.size = {5, 9}, .localTable = true, .indices = rows}}, -1);
    seeds << gif({400, 400}, {{.size = {400, 400}, .compressed = true}, {.size = {300, 50}, .colour = 2, .compressed = true}});
    seeds << gif({1, 1}, {{{1, 1}}}, -1);
    seeds << gif({0, 0}, {{.size = {30, 30}, .colour = 2}});
    seeds << gif({8000, 300}, {{.size = {8000, 300}, .compressed = true}});
    QByteArray old = gif({6, 6}, {{{6, 6}, 10, 1}}, -1);
    old[4] = '7';
    seeds << old;
    return seeds;
}

// Places worth aiming at: the screen's size, each image descriptor's
// fields, and each sub-block's length byte as the structure is walked.
QList<qsizetype> fieldsOf(const QByteArray &g)
{
    QList<qsizetype> at{6, 8, 10, 11};
    for (qsizetype i = 13; i < g.size() && at.size() < 64; ++i) {
        if (g.at(i) == 0x2C && i + 10 < g.size())
            at << i + 1 << i + 3 << i + 5 << i + 7 << i + 9 << i + 10;
        else if (g.at(i) == 0x21 && i + 4 < g.size() && quint8(g.at(i + 1)) == 0xF9)
            at << i + 3 << i + 4;
    }
    return at;
}

QByteArray mutate(const QList<QByteArray> &seeds, Random &r)
{
    QByteArray g = seeds.at(r.below(seeds.size()));
    const int steps = 1 + r.below(r.chance(70) ? 3 : 8);
    static const quint16 Interesting16[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF, 191, 167};
    static const quint8 Interesting8[] = {0, 1, 0x7F, 0x80, 0xFF, 0x2C, 0x21, 0x3B, 0xF9, 0x0C, 12, 11, 9};
    for (int step = 0; step < steps && !g.isEmpty(); ++step) {
        const qsizetype n = g.size();
        switch (r.below(12)) {
        case 0:  // flip a bit
            g[r.below(n)] ^= char(1 << r.below(8));
            break;
        case 1:
            g[r.below(n)] = char(Interesting8[r.below(std::size(Interesting8))]);
            break;
        case 2:
            g[r.below(n)] = char(r.next());
            break;
        case 3:
        case 4: {  // a 16-bit field, often a structural one
            const QList<qsizetype> fields = fieldsOf(g);
            const qsizetype at = r.chance(70) ? fields.at(r.below(fields.size())) : r.below(n);
            if (at + 1 < n) {
                const quint16 v = r.chance(80) ? Interesting16[r.below(std::size(Interesting16))] : quint16(r.next());
                g[at] = char(v & 0xFF);
                g[at + 1] = char(v >> 8);
            }
            break;
        }
        case 5:  // cut short
            g.truncate(r.below(n));
            break;
        case 6:  // drop a piece
            g.remove(r.below(n), 1 + r.below(qMin<qsizetype>(n, 300)));
            break;
        case 7: {  // repeat a piece
            const qsizetype from = r.below(n), len = 1 + r.below(qMin<qsizetype>(n - from, 2000));
            g.insert(r.below(n + 1), g.mid(from, len));
            break;
        }
        case 8: {  // insert random bytes
            QByteArray junk(1 + r.below(64), '\0');
            for (char &c : junk)
                c = char(r.next());
            g.insert(r.below(n + 1), junk);
            break;
        }
        case 9: {  // splice another seed's tail in
            const QByteArray &other = seeds.at(r.below(seeds.size()));
            g = g.left(r.below(n)) + other.mid(r.below(other.size()));
            break;
        }
        case 10: {  // swap two pieces
            const qsizetype a = r.below(n), b = r.below(n), len = 1 + r.below(qMin<qsizetype>(64, n - qMax(a, b)));
            const QByteArray pa = g.mid(a, len), pb = g.mid(b, len);
            g.replace(a, pa.size(), pb);
            g.replace(b, pb.size(), pa);
            break;
        }
        case 11: {  // a byte past the largest colour table: a code size, a block length
            const qsizetype table = 13 + 768;
            g[n > table ? table + r.below(n - table) : r.below(n)] = char(Interesting8[r.below(std::size(Interesting8))]);
            break;
        }
        }
    }
    return g;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Tally
{
    qint64 decoded = 0, withFrames = 0, frames = 0;
    qint64 maxBytes = 0, maxWork = 0, maxMs = 0, totalMs = 0;
    QMap<int, qint64> ends;
};

const char *endName(int e)
{
    static const char *const names[] = {"complete", "not-gif", "malformed", "over-budget", "stopped"};
    return e >= 0 && e < 5 ? names[e] : "?";
}

// Decodes one input; false when an invariant broke.
bool replay(const QByteArray &bytes, const QString &name, Tally &t)
{
    QElapsedTimer clock;
    clock.start();
    const Animation a = gifinvariants::decode(bytes, Crop);
    const qint64 ms = clock.elapsed();
    ++t.decoded;
    t.withFrames += !a.isEmpty();
    t.frames += a.frames.size();
    t.maxBytes = qMax(t.maxBytes, a.bytes);
    t.maxWork = qMax(t.maxWork, a.work);
    t.maxMs = qMax(t.maxMs, ms);
    t.totalMs += ms;
    ++t.ends[int(a.end)];
    QString broken = gifinvariants::check(a, Crop);
    // Decoded in slices that end part way through an image, as a page does
    // it, the same.
    if (broken.isEmpty())
        broken = gifinvariants::difference(a, gifinvariants::decodeInSlices(bytes, Crop, 997));
    if (broken.isEmpty())
        return true;
    std::fprintf(stderr, "gifreplay: %s: %s\n", qPrintable(name), qPrintable(broken));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString voiceBox, seedsDir, mutantsDir;
    qint64 count = 1000, first = 0, stride = 1;
    quint64 seed = 20240601;
    bool quiet = false;
    QStringList replayFiles;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&]() -> QString {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "gifreplay: %s needs a value\n", qPrintable(a));
                std::exit(2);
            }
            return args.at(++i);
        };
        if (a == "--voicebox") voiceBox = value();
        else if (a == "--count") count = value().toLongLong();
        else if (a == "--first") first = value().toLongLong();
        else if (a == "--stride") stride = qMax(1LL, value().toLongLong());
        else if (a == "--seed") seed = value().toULongLong();
        else if (a == "--write-seeds") seedsDir = value();
        else if (a == "--write-mutants") mutantsDir = value();
        else if (a == "--quiet") quiet = true;
        else if (a == "--replay") { replayFiles = args.mid(i + 1); break; }
        else { std::fprintf(stderr, "gifreplay: unknown argument %s\n", qPrintable(a)); return 2; }
    }

    Tally t;
    QElapsedTimer clock;
    clock.start();
    if (!replayFiles.isEmpty()) {
        bool ok = true;
        for (const QString &f : replayFiles) {
            runtime::FileProblem problem;
            const auto bytes = runtime::readRegularFile(f.toStdString(), FrameDecoder::MaxFileBytes, nullptr, problem);
            ok &= replay(bytes ? QByteArray(reinterpret_cast<const char *>(bytes->data()), qsizetype(bytes->size()))
                               : QByteArray(), f, t);
        }
        std::printf("gifreplay: %lld files replayed, %lld with frames\n", t.decoded, t.withFrames);
        return ok ? 0 : 1;
    }

    const QList<QByteArray> seeds = makeSeeds(voiceBox);
    if (!seedsDir.isEmpty()) {
        QDir().mkpath(seedsDir);
        for (qsizetype i = 0; i < seeds.size(); ++i)
            writeFile(QStringLiteral("%1/seed-%2.gif").arg(seedsDir).arg(i), seeds.at(i));
    }
    if (!mutantsDir.isEmpty())
        QDir().mkpath(mutantsDir);
    // The seeds themselves first: each must decode whole.
    for (qsizetype i = 0; i < seeds.size(); ++i) {
        const Animation a = gifinvariants::decode(seeds.at(i), Crop);
        if (a.isEmpty() || a.end != Animation::End::Complete) {
            std::fprintf(stderr, "gifreplay: seed %lld does not decode\n", qint64(i));
            return 1;
        }
    }
    for (qint64 k = 0; k < count; ++k) {
        const qint64 index = first + k * stride;
        Random r{seed ^ (quint64(index) * 0xD1B54A32D192ED03ull)};
        const QByteArray mutant = mutate(seeds, r);
        const QString name = QStringLiteral("mutant-%1.gif").arg(index);
        if (!mutantsDir.isEmpty())
            writeFile(mutantsDir + QLatin1Char('/') + name, mutant);
        if (!replay(mutant, name, t)) {
            writeFile(name, mutant);
            std::fprintf(stderr, "gifreplay: written to %s\n", qPrintable(QDir::current().filePath(name)));
            return 1;
        }
        if (!quiet && (k + 1) % 1000 == 0)
            std::printf("gifreplay: %lld mutants...\n", k + 1);
    }
    std::printf("gifreplay: %lld mutants replayed (first %lld, stride %lld, seed %llu) from %lld seeds in %lld ms: "
                "%lld with frames (%lld frames), max %lld bytes of frames, max %lld pixels decoded, "
                "slowest %lld ms; ends:",
                t.decoded, first, stride, seed, qint64(seeds.size()), clock.elapsed(), t.withFrames, t.frames,
                t.maxBytes, t.maxWork, t.maxMs);
    for (auto it = t.ends.cbegin(); it != t.ends.cend(); ++it)
        std::printf(" %s %lld", endName(it.key()), it.value());
    std::printf("\n");
    return 0;
}
