#include "framedecoder.h"


#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
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
    case FileProblem::NotAllowed: return "not allowed by the server";
    case FileProblem::ServerError: return "the server failed to send it";
    case FileProblem::NoConnection: return "no connection to the server";
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

// What the decoder keeps between frames: giflib's handle on the bytes,
// the canvas frames are drawn on, and the frame it still equals when
// nothing has been drawn on it since (a picture restored from before and
// left unchanged is counted once).
struct FrameDecoder::State
{
    Input input;
    GifFile gif;
    Rect crop, screen, seen;
    const std::atomic<bool> *stop;
    Image canvas, saved;
    Frame canvasFrame, savedFrame;
    Control control;
    int previousDisposal = 0;
    Rect previousRect;
    std::vector<GifPixelType> line;
    bool over = false;

    // The image being decoded, row by row, between steps.
    struct Decoding
    {
        bool active = false;
        int left = 0, top = 0, width = 0, height = 0;
        Rect drawn;  // what of it is seen
        std::vector<int> order;
        std::size_t rows = 0, row = 0;  // rows to decode, rows decoded
        int disposal = 0;
        std::array<Rgb, 256> colours;
    } image;

    // This step's work so far: pixels decoded, and bytes read since mark.
    std::int64_t stepPixels = 0;
    std::size_t stepMark = 0;
    std::int64_t stepWork() const { return stepPixels + std::int64_t(stepMark - input.left); }

    bool stopped() const { return stop && stop->load(); }
};

FrameDecoder::FrameDecoder(const void *data, std::size_t size, Rect crop, const std::atomic<bool> *stop)
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    s.crop = crop;
    s.stop = stop;
    const auto *bytes = static_cast<const unsigned char *>(data);
    // Only GIF: anything else, whatever a general image reader would make
    // of it, shows nothing.
    if (size < 6 || (std::memcmp(bytes, "GIF87a", 6) && std::memcmp(bytes, "GIF89a", 6))) {
        finish(Animation::End::NotGif);
        return;
    }
    s.input = {bytes, size};
    int error = 0;
    s.gif.reset(DGifOpen(&s.input, readInput, &error));
    if (!s.gif) {
        finish(Animation::End::Malformed);
        return;
    }
    s.screen = Rect{0, 0, s.gif->SWidth, s.gif->SHeight};  // empty: taken from the first image
}

FrameDecoder::~FrameDecoder() = default;

Animation FrameDecoder::decode(const void *bytes, std::size_t size, Rect crop, const std::atomic<bool> *stop)
{
    FrameDecoder decoder(bytes, size, crop, stop);
    while (decoder.next()) {
    }
    return std::move(decoder.m_animation);
}

void FrameDecoder::finish(Animation::End end)
{
    m_state->over = true;
    m_state->gif.reset();
    m_animation.end = end;
    if (m_animation.frames.empty())
        m_animation.delaysMs.clear();
}

bool FrameDecoder::next()
{
    m_state->stepPixels = 0;
    m_state->stepMark = m_state->input.left;
    Step got;
    while ((got = step(std::numeric_limits<std::int64_t>::max())) == Step::More) {
    }
    return got == Step::Frame;
}

bool FrameDecoder::advance(std::int64_t budget)
{
    m_state->stepPixels = 0;
    m_state->stepMark = m_state->input.left;
    // The first frame ends a slice, so that it can be shown at once.
    Step got;
    while ((got = step(budget)) == Step::Frame && m_animation.frames.size() > 1) {
    }
    return got != Step::Over && !m_state->over;
}

// Decodes until a frame is added, the animation is over, or the work done
// since the counters were reset reaches budget.
FrameDecoder::Step FrameDecoder::step(std::int64_t budget)
{
    State &s = *m_state;
    Animation &a = m_animation;
    while (!s.over) {
        if (s.image.active) {
            if (!decodeRows(budget))
                return s.over ? Step::Over : Step::More;
            return endImage() ? Step::Frame : Step::Over;
        }
        if (s.stepWork() >= budget)
            return Step::More;
        if (s.stopped()) {
            finish(Animation::End::Stopped);
            break;
        }
        GifRecordType record;
        if (DGifGetRecordType(s.gif.get(), &record) == GIF_ERROR) {
            finish(Animation::End::Malformed);
            break;
        }
        if (record == TERMINATE_RECORD_TYPE) {
            finish(Animation::End::Complete);
            break;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (!beginImage())
                break;
            continue;
        }
        if (record != EXTENSION_RECORD_TYPE) {
            finish(Animation::End::Malformed);
            break;
        }
        int code = 0;
        GifByteType *block = nullptr;
        bool ok = DGifGetExtension(s.gif.get(), &code, &block) != GIF_ERROR;
        if (ok && code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
            s.control.disposal = (block[1] >> 2) & 7;
            s.control.delayCs = block[2] | (block[3] << 8);
            s.control.transparent = (block[1] & 1) ? block[4] : -1;
        } else if (ok && code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11
                   && (!std::memcmp(block + 1, "NETSCAPE2.0", 11) || !std::memcmp(block + 1, "ANIMEXTS1.0", 11))) {
            ok = DGifGetExtensionNext(s.gif.get(), &block) != GIF_ERROR;
            // No loop extension: once. A count of n: n repeats after the
            // first play, as browsers do; 0: for ever.
            if (ok && block && block[0] >= 3 && block[1] == 1) {
                const int loops = block[2] | (block[3] << 8);
                a.plays = loops == 0 ? 0 : std::min(loops + 1, 65536);
            }
        }
        if (!ok || !skipExtension(s.gif.get(), block))
            finish(Animation::End::Malformed);
    }
    return Step::Over;
}

// One image in three parts: its description read and the canvas readied,
// its rows decoded onto the canvas, and the canvas kept as a frame. Each
// returns false when the animation is over.
bool FrameDecoder::beginImage()
{
    State &s = *m_state;
    Animation &a = m_animation;
    GifFileType *gif = s.gif.get();
    if (a.frames.size() >= size_t(MaxFrames)) {
        finish(Animation::End::OverBudget);
        return false;
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        finish(Animation::End::Malformed);
        return false;
    }
    const GifImageDesc desc = gif->Image;
    // giflib keeps a record of every image read; drop it, or a file of
    // many tiny frames would grow it without end.
    GifFreeSavedImages(gif);
    gif->ImageCount = 0;

    const Rect frameRect{desc.Left, desc.Top, desc.Width, desc.Height};
    if (s.screen.isEmpty())
        s.screen = Rect{0, 0, desc.Left + desc.Width, desc.Top + desc.Height};
    if (s.canvas.pixels.empty()) {
        s.seen = s.crop.intersected(s.screen);
        if (s.seen.isEmpty()) {  // nothing of the picture can ever be seen
            finish(Animation::End::Malformed);
            return false;
        }
        s.canvas = Image{s.seen.width, s.seen.height,
                         std::vector<Rgb>(size_t(s.seen.width) * size_t(s.seen.height), Background)};
    }
    const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || map->ColorCount > 256) {
        finish(Animation::End::Malformed);
        return false;
    }

    // Which stored rows must be decoded for every seen row to be had;
    // the rest are skipped undecoded.
    const Rect drawn = frameRect.intersected(s.seen);
    std::vector<int> order = storedOrder(drawn.isEmpty() ? 0 : desc.Height, desc.Interlace);
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
        finish(Animation::End::OverBudget);
        return false;
    }
    a.work += work;
    s.stepPixels += FrameOverheadPixels;

    // The previous frame's disposal, then this frame on top.
    Image &canvas = s.canvas;
    if (s.previousDisposal == 2 && !s.previousRect.isEmpty()) {
        for (int y = s.previousRect.y; y <= s.previousRect.bottom(); ++y)
            std::fill_n(&canvas.pixels[size_t(y - s.seen.y) * size_t(canvas.width) + size_t(s.previousRect.x - s.seen.x)],
                        s.previousRect.width, Background);
        s.canvasFrame.reset();
    } else if (s.previousDisposal == 3 && !s.saved.pixels.empty()) {
        canvas = s.saved;
        s.canvasFrame = s.savedFrame;
    }
    const int disposal = s.control.disposal;
    if (disposal == 3) {
        s.saved = canvas;
        s.savedFrame = s.canvasFrame;
    }

    State::Decoding &image = s.image;
    image.colours.fill(Skip);
    for (int i = 0; i < map->ColorCount; ++i) {
        const GifColorType &c = map->Colors[i];
        image.colours[size_t(i)] = 0xFF000000u | Rgb(c.Red) << 16 | Rgb(c.Green) << 8 | Rgb(c.Blue);
    }
    if (s.control.transparent >= 0)
        image.colours[size_t(s.control.transparent)] = Skip;
    image.active = true;
    image.left = desc.Left;
    image.top = desc.Top;
    image.width = desc.Width;
    image.height = desc.Height;
    image.drawn = drawn;
    image.order = std::move(order);
    image.rows = rowsToDecode;
    image.row = 0;
    image.disposal = disposal;
    s.line.resize(size_t(std::max(desc.Width, 1)));
    return true;
}

// Rows until the image is decoded (true) or the step's budget is spent or
// the animation is over (false).
bool FrameDecoder::decodeRows(std::int64_t budget)
{
    State &s = *m_state;
    State::Decoding &image = s.image;
    Image &canvas = s.canvas;
    for (bool first = true; image.row < image.rows; ++image.row, first = false) {
        if (!first && s.stepWork() >= budget)
            return false;
        // A bad frame ends the animation; it is not shown.
        if ((image.row & 63) == 0 && s.stopped()) {
            finish(Animation::End::Stopped);
            return false;
        }
        if (DGifGetLine(s.gif.get(), s.line.data(), image.width) == GIF_ERROR) {
            finish(Animation::End::Malformed);
            return false;
        }
        s.stepPixels += image.width;
        const int y = image.top + image.order[image.row];
        const Rect &drawn = image.drawn;
        if (y < drawn.y || y > drawn.bottom())
            continue;
        Rgb *out = &canvas.pixels[size_t(y - s.seen.y) * size_t(canvas.width)];
        for (int x = drawn.x; x <= drawn.right(); ++x)
            if (const Rgb c = image.colours[s.line[size_t(x - image.left)]]) {
                out[x - s.seen.x] = c;
                s.canvasFrame.reset();
            }
    }
    return true;
}

// Returns whether a frame was added.
bool FrameDecoder::endImage()
{
    State &s = *m_state;
    Animation &a = m_animation;
    State::Decoding &image = s.image;
    const Image &canvas = s.canvas;
    image.active = false;
    // DGifGetLine reads the end of the data itself after the last row.
    const bool allRows = image.rows == size_t(image.height) && image.width > 0;
    const bool dataOk = allRows || skipImageData(s.gif.get());

    // The frame as seen: the same picture as the last shares its image,
    // and so does a picture restored from before and left unchanged.
    s.stepPixels += std::int64_t(canvas.pixels.size());  // compared, or copied
    if (!s.canvasFrame && !a.frames.empty() && *a.frames.back() == canvas)
        s.canvasFrame = a.frames.back();
    if (!s.canvasFrame) {
        if (a.bytes + canvas.bytes() > MaxFrameBytes) {
            finish(Animation::End::OverBudget);
            return false;
        }
        a.bytes += canvas.bytes();
        s.canvasFrame = std::make_shared<const Image>(canvas);
    }
    a.frames.push_back(s.canvasFrame);
    const int delay = s.control.delayCs * 10;
    a.delaysMs.push_back(delay < MinDelayMs ? DefaultDelayMs : delay);
    s.previousDisposal = image.disposal;
    s.previousRect = image.drawn;
    s.control = Control();
    if (!dataOk)
        finish(Animation::End::Malformed);
    return true;
}

} // namespace runtime
