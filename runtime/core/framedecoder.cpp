#include "framedecoder.h"


#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace runtime {

namespace {

// giflib reads through this from the bytes in memory.
struct Input
{
    const unsigned char *at;
    std::size_t left;
};

int readInput(GifFileType *gif, GifByteType *into, int wanted)
{
    auto *in = static_cast<Input *>(gif->UserData);
    const int n = int(std::min<std::size_t>(std::size_t(std::max(wanted, 0)), in->left));
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

using Rgb = std::uint32_t;
constexpr Rgb Skip = 0;  // a transparent index, or one past the table
constexpr Rgb Background = 0xFF000000;  // what the view shows where nothing is drawn

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

const char *describe(FileProblem problem)
{
    switch (problem) {
    case FileProblem::None:       return nullptr;
    case FileProblem::Missing:    return "no such file";
    case FileProblem::NotRegular: return "not a regular file";
    case FileProblem::TooLarge:   return "larger than 16 MB";
    case FileProblem::Unreadable: return "cannot be read";
    }
    return nullptr;
}

const char *describe(const Animation &a)
{
    switch (a.end) {
    case Animation::End::Complete:   return nullptr;
    case Animation::End::Stopped:    return nullptr;
    case Animation::End::NotGif:     return "not a GIF picture";
    case Animation::End::Malformed:  return a.isEmpty() ? "a broken GIF picture, nothing of it shown"
                                                        : "a broken GIF picture, shown up to the fault";
    case Animation::End::OverBudget: return a.isEmpty() ? "too large to decode, nothing of it shown"
                                                        : "too large to decode whole, shown in part";
    }
    return nullptr;
}

Animation FrameDecoder::decode(const void *data, std::size_t size, Rect crop, const std::atomic<bool> *stop)
{
    Animation a;
    const auto *bytes = static_cast<const unsigned char *>(data);
    // Only GIF: anything else, whatever a general image reader would make
    // of it, shows nothing.
    if (size < 6 || (std::memcmp(bytes, "GIF87a", 6) && std::memcmp(bytes, "GIF89a", 6)))
        return a;
    a.end = Animation::End::Malformed;
    Input input{bytes, size};
    int error = 0;
    const GifFile gif(DGifOpen(&input, readInput, &error));
    if (!gif)
        return a;

    Rect screen{0, 0, gif->SWidth, gif->SHeight};  // empty: taken from the first image
    Rect seen;
    // The canvas, and the frame it still equals when nothing has been
    // drawn on it since: a picture restored from before and left
    // unchanged is counted once.
    Image canvas, saved;
    Frame canvasFrame, savedFrame;
    Control control;
    int previousDisposal = 0;
    Rect previousRect;
    bool loopExtension = false;
    int loops = 0;
    std::vector<GifPixelType> line;
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
        if (a.frames.size() >= size_t(MaxFrames)) {
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

        const Rect frameRect{desc.Left, desc.Top, desc.Width, desc.Height};
        if (screen.isEmpty())
            screen = Rect{0, 0, desc.Left + desc.Width, desc.Top + desc.Height};
        if (canvas.pixels.empty()) {
            seen = crop.intersected(screen);
            if (seen.isEmpty())
                break;  // nothing of the picture can ever be seen
            canvas = Image{seen.width, seen.height, std::vector<Rgb>(size_t(seen.width) * size_t(seen.height), Background)};
        }
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map || map->ColorCount <= 0 || map->ColorCount > 256)
            break;

        // Which stored rows must be decoded for every seen row to be had;
        // the rest are skipped undecoded.
        const Rect drawn = frameRect.intersected(seen);
        const std::vector<int> order = storedOrder(drawn.isEmpty() ? 0 : desc.Height, desc.Interlace);
        size_t rowsToDecode = 0;
        if (!drawn.isEmpty()) {
            const int first = drawn.y - desc.Top, last = drawn.bottom() - desc.Top;
            int needed = last - first + 1;
            while (needed > 0 && rowsToDecode < order.size()) {
                const int y = order[rowsToDecode++];
                needed -= y >= first && y <= last;
            }
        }
        const std::int64_t work = std::int64_t(rowsToDecode) * desc.Width + FrameOverheadPixels;
        if (a.work + work > MaxPixelWork) {
            a.end = Animation::End::OverBudget;
            break;
        }
        a.work += work;

        // The previous frame's disposal, then this frame on top.
        if (previousDisposal == 2 && !previousRect.isEmpty()) {
            for (int y = previousRect.y; y <= previousRect.bottom(); ++y)
                std::fill_n(&canvas.pixels[size_t(y - seen.y) * size_t(canvas.width) + size_t(previousRect.x - seen.x)],
                            previousRect.width, Background);
            canvasFrame.reset();
        } else if (previousDisposal == 3 && !saved.pixels.empty()) {
            canvas = saved;
            canvasFrame = savedFrame;
        }
        const int disposal = control.disposal;
        if (disposal == 3) {
            saved = canvas;
            savedFrame = canvasFrame;
        }

        std::array<Rgb, 256> colours;
        colours.fill(Skip);
        for (int i = 0; i < map->ColorCount; ++i) {
            const GifColorType &c = map->Colors[i];
            colours[size_t(i)] = 0xFF000000u | Rgb(c.Red) << 16 | Rgb(c.Green) << 8 | Rgb(c.Blue);
        }
        if (control.transparent >= 0)
            colours[size_t(control.transparent)] = Skip;

        bool frameOk = true;
        line.resize(size_t(std::max(desc.Width, 1)));
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
            if (y < drawn.y || y > drawn.bottom())
                continue;
            Rgb *out = &canvas.pixels[size_t(y - seen.y) * size_t(canvas.width)];
            for (int x = drawn.x; x <= drawn.right(); ++x)
                if (const Rgb c = colours[line[size_t(x - desc.Left)]]) {
                    out[x - seen.x] = c;
                    canvasFrame.reset();
                }
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
        if (!canvasFrame && !a.frames.empty() && *a.frames.back() == canvas)
            canvasFrame = a.frames.back();
        if (!canvasFrame) {
            if (a.bytes + canvas.bytes() > MaxFrameBytes) {
                a.end = Animation::End::OverBudget;
                break;
            }
            a.bytes += canvas.bytes();
            canvasFrame = std::make_shared<const Image>(canvas);
        }
        a.frames.push_back(canvasFrame);
        const int delay = control.delayCs * 10;
        a.delaysMs.push_back(delay < MinDelayMs ? DefaultDelayMs : delay);
        previousDisposal = disposal;
        previousRect = drawn;
        control = Control();
        if (!dataOk)
            break;
    }

    if (a.frames.empty())
        a.delaysMs.clear();
    // No loop extension: once. A count of n: n repeats after the first
    // play, as browsers do; 0: for ever.
    a.plays = !loopExtension ? 1 : loops == 0 ? 0 : std::min(loops + 1, 65536);
    return a;
}

} // namespace runtime
