#include "framedecoder.h"

#include <QFile>
#include <QSet>

#include <gif_lib.h>

#include <array>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace runtime {

namespace {

// giflib reads through this from the bytes in memory.
struct Input
{
    const uchar *at;
    qsizetype left;
};

int readInput(GifFileType *gif, GifByteType *into, int wanted)
{
    auto *in = static_cast<Input *>(gif->UserData);
    const int n = int(qMin<qsizetype>(qMax(wanted, 0), in->left));
    if (n > 0)
        std::memcpy(into, in->at, size_t(n));
    in->at += n;
    in->left -= n;
    return n;
}

struct GifCloser
{
    void operator()(GifFileType *gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// The graphic control extension that applies to the next image.
struct Control
{
    int disposal = 0;
    int delayCs = 0;
    int transparent = -1;
};

constexpr QRgb Skip = 0;  // a transparent index, or one past the table
constexpr QRgb Background = 0xFF000000;  // what the view shows where nothing is drawn

// The rows of an image in the order they are stored.
std::vector<int> storedOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    static constexpr int Start[] = {0, 4, 2, 1}, Step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = Start[pass]; y < height; y += Step[pass])
            rows.push_back(y);
    return rows;
}

// Skips the rest of an image's data, sub-block by sub-block, undecoded.
bool skipImageData(GifFileType *gif)
{
    GifByteType *block = nullptr;
    do {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    } while (block);
    return true;
}

bool skipExtension(GifFileType *gif, GifByteType *block)
{
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

} // namespace

FrameDecoder::FrameDecoder(std::shared_ptr<std::atomic<bool>> stop)
    : m_stop(std::move(stop))
{
    qRegisterMetaType<runtime::Animation>();
}

FrameDecoder::~FrameDecoder() = default;

void FrameDecoder::open(const QString &path, QRect crop, int generation)
{
    Animation animation;
    if (const std::optional<QByteArray> bytes = readFile(path, MaxFileBytes, m_stop.get()))
        animation = decode(*bytes, crop, m_stop.get());
    if (!m_stop->load())
        emit decoded(animation, generation);
}

std::optional<QByteArray> FrameDecoder::readFile(const QString &path, qint64 maxBytes, const std::atomic<bool> *stop)
{
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray bytes;
#ifdef Q_OS_UNIX
    // Non-blocking, so that opening a pipe or a device returns at once; no
    // controlling terminal; then the type and size are taken from the
    // descriptor itself, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct Closer { int fd; ~Closer() { ::close(fd); } } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes)
        return std::nullopt;
    // The size may be stale (a file still growing, a /proc file claiming
    // none): read to the end, but never past maxBytes.
    bytes.reserve(qsizetype(st.st_size));
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const qsizetype at = bytes.size();
        const qint64 want = qMin(Chunk, maxBytes + 1 - at);
        bytes.resize(at + qsizetype(want));
        const ssize_t n = ::read(fd, bytes.data() + at, size_t(want));
        if (n < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (n < 0)  // EAGAIN included: a "regular" file that would block
            return std::nullopt;
        bytes.resize(at + n);
        if (n == 0)
            break;
        if (bytes.size() > maxBytes)
            return std::nullopt;
    }
#else
    // Windows: a path of this name cannot name a pipe or a device, and the
    // open handle tells a disk file from anything else.
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.isSequential() || file.size() > maxBytes)
        return std::nullopt;
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const QByteArray chunk = file.read(qMin(Chunk, maxBytes + 1 - bytes.size()));
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                return std::nullopt;
            break;
        }
        bytes += chunk;
        if (bytes.size() > maxBytes)
            return std::nullopt;
    }
#endif
    bytes.squeeze();
    return bytes;
}

Animation FrameDecoder::decode(QByteArrayView bytes, QRect crop, const std::atomic<bool> *stop)
{
    Animation a;
    // Only GIF: anything else, whatever a general image reader would make
    // of it, shows nothing.
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
        return a;
    a.end = Animation::End::Malformed;
    Input input{reinterpret_cast<const uchar *>(bytes.data()), bytes.size()};
    int error = 0;
    const GifFile gif(DGifOpen(&input, readInput, &error));
    if (!gif)
        return a;

    QRect screen(0, 0, gif->SWidth, gif->SHeight);  // empty: taken from the first image
    QRect seen;
    QImage canvas, saved;
    Control control;
    int previousDisposal = 0;
    QRect previousRect;
    bool loopExtension = false;
    int loops = 0;
    std::vector<GifPixelType> line;
    QSet<qint64> kept;  // the images counted in a.bytes
    auto stopped = [stop] { return stop && stop->load(); };

    for (;;) {
        if (stopped()) {
            a.end = Animation::End::Stopped;
            break;
        }
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            break;
        if (record == TERMINATE_RECORD_TYPE) {
            a.end = Animation::End::Complete;
            break;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                break;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                control.disposal = (block[1] >> 2) & 7;
                control.delayCs = block[2] | (block[3] << 8);
                control.transparent = (block[1] & 1) ? block[4] : -1;
            } else if (code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11
                       && (!std::memcmp(block + 1, "NETSCAPE2.0", 11) || !std::memcmp(block + 1, "ANIMEXTS1.0", 11))) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    break;
                if (block && block[0] >= 3 && block[1] == 1) {
                    loopExtension = true;
                    loops = block[2] | (block[3] << 8);
                }
            }
            if (!skipExtension(gif.get(), block))
                break;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            break;

        // --- an image ---
        if (a.frames.size() >= MaxFrames) {
            a.end = Animation::End::OverBudget;
            break;
        }
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            break;
        const GifImageDesc desc = gif->Image;
        // giflib keeps a record of every image read; drop it, or a file of
        // many tiny frames would grow it without end.
        GifFreeSavedImages(gif.get());
        gif->ImageCount = 0;

        const QRect frameRect(desc.Left, desc.Top, desc.Width, desc.Height);
        if (screen.isEmpty())
            screen = QRect(0, 0, desc.Left + desc.Width, desc.Top + desc.Height);
        if (canvas.isNull()) {
            seen = crop & screen;
            if (seen.isEmpty())
                break;  // nothing of the picture can ever be seen
            canvas = QImage(seen.size(), QImage::Format_RGB32);
            canvas.fill(Background);
        }
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map || map->ColorCount <= 0 || map->ColorCount > 256)
            break;

        // Which stored rows must be decoded for every seen row to be had;
        // the rest are skipped undecoded.
        const QRect drawn = frameRect & seen;
        const std::vector<int> order = storedOrder(drawn.isEmpty() ? 0 : desc.Height, desc.Interlace);
        size_t rowsToDecode = 0;
        if (!drawn.isEmpty()) {
            const int first = drawn.top() - desc.Top, last = drawn.bottom() - desc.Top;
            int needed = last - first + 1;
            while (needed > 0 && rowsToDecode < order.size()) {
                const int y = order[rowsToDecode++];
                needed -= y >= first && y <= last;
            }
        }
        const qint64 work = qint64(rowsToDecode) * desc.Width + FrameOverheadPixels;
        if (a.work + work > MaxPixelWork) {
            a.end = Animation::End::OverBudget;
            break;
        }
        a.work += work;

        // The previous frame's disposal, then this frame on top.
        if (previousDisposal == 2 && !previousRect.isEmpty()) {
            const QRect r = previousRect.translated(-seen.topLeft());
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb *>(canvas.scanLine(y)) + r.left(), r.width(), Background);
        } else if (previousDisposal == 3 && !saved.isNull()) {
            canvas = saved;
        }
        const int disposal = control.disposal;
        if (disposal == 3)
            saved = canvas;

        std::array<QRgb, 256> colours;
        colours.fill(Skip);
        for (int i = 0; i < map->ColorCount; ++i) {
            const GifColorType &c = map->Colors[i];
            colours[size_t(i)] = qRgb(c.Red, c.Green, c.Blue);
        }
        if (control.transparent >= 0)
            colours[size_t(control.transparent)] = Skip;

        bool frameOk = true;
        line.resize(size_t(qMax(desc.Width, 1)));
        for (size_t i = 0; i < rowsToDecode; ++i) {
            if ((i & 63) == 0 && stopped()) {
                frameOk = false;
                break;
            }
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
                frameOk = false;
                break;
            }
            const int y = desc.Top + order[i];
            if (y < drawn.top() || y > drawn.bottom())
                continue;
            auto *out = reinterpret_cast<QRgb *>(canvas.scanLine(y - seen.top()));
            for (int x = drawn.left(); x <= drawn.right(); ++x)
                if (const QRgb c = colours[line[size_t(x - desc.Left)]])
                    out[x - seen.left()] = c;
        }
        if (!frameOk) {  // a bad frame ends the animation; it is not shown
            if (stopped())
                a.end = Animation::End::Stopped;
            break;
        }
        // DGifGetLine reads the end of the data itself after the last row.
        const bool allRows = rowsToDecode == size_t(desc.Height) && desc.Width > 0;
        const bool dataOk = allRows || skipImageData(gif.get());

        // The frame as seen: the same picture as the last shares its image,
        // and so does a picture restored from before and left unchanged.
        if (!a.frames.isEmpty() && a.frames.constLast() == canvas) {
            a.frames.append(a.frames.constLast());
        } else if (kept.contains(canvas.cacheKey())) {
            a.frames.append(canvas);
        } else {
            if (a.bytes + canvas.sizeInBytes() > MaxFrameBytes) {
                a.end = Animation::End::OverBudget;
                break;
            }
            a.bytes += canvas.sizeInBytes();
            kept.insert(canvas.cacheKey());
            a.frames.append(canvas);  // shared; the next change to canvas copies it
        }
        const int delay = control.delayCs * 10;
        a.delaysMs.append(delay < MinDelayMs ? DefaultDelayMs : delay);
        previousDisposal = disposal;
        previousRect = drawn;
        control = Control();
        if (!dataOk)
            break;
    }

    if (a.frames.isEmpty())
        a.delaysMs.clear();
    // No loop extension: once. A count of n: n repeats after the first
    // play, as browsers do; 0: for ever.
    a.plays = !loopExtension ? 1 : loops == 0 ? 0 : qMin(loops + 1, 65536);
    return a;
}

} // namespace runtime
