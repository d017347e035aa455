// Decodes the browser view's picture file, which each platform reads on a
// worker thread, so that no file, however large, slow or malformed, can
// stall the window.
//
// The file is read once, whole, and only when it is a regular file of at
// most MaxFileBytes (each backend opens it so that a pipe or a device can
// neither block nor be read); it is then decoded once, as GIF and nothing
// else, into the frames the view will show. Everything is bounded:
//  - reading: MaxFileBytes;
//  - memory: only the part of each frame that can be seen is kept (the
//    crop), frames that look the same share one image, and the distinct
//    frames together hold at most MaxFrameBytes;
//  - CPU: decoding stops after MaxPixelWork decoded pixels (half a second
//    of one core at most, spent once per file), rows below the crop are
//    skipped undecoded, and playing is then only swapping finished images
//    at no less than MinDelayMs apart.
// What is over a bound is cut off: the frames before it play. What is not
// a GIF, or has no readable first frame, shows nothing.
#pragma once

#include "geometry.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace runtime {

// A frame as seen: 32-bit 0xAARRGGBB pixels, row after row.
struct Image
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t pixel(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    std::int64_t bytes() const { return std::int64_t(pixels.size()) * 4; }
    bool operator==(const Image &) const = default;
};
// Frames that look the same share one image.
using Frame = std::shared_ptr<const Image>;

// Why a picture file could not be read; each backend opens it its own way.
// The last three are a web server's answers, or its silence.
enum class FileProblem { None, Missing, NotRegular, TooLarge, Unreadable, NotAllowed, ServerError, NoConnection };

struct Animation
{
    enum class End { Complete, NotGif, Malformed, OverBudget, Stopped };

    std::vector<Frame> frames;  // each one the crop of the picture, or less
    std::vector<int> delaysMs;  // how long each frame stays, already clamped
    int plays = 1;              // times through the frames; 0 for ever
    std::int64_t bytes = 0;     // memory held by the distinct frames
    std::int64_t work = 0;      // pixels decoded: the measure of CPU spent
    End end = End::NotGif;

    bool isEmpty() const { return frames.empty(); }
};

// What keeps a file from showing whole, in a few words for a line on the
// error stream; nullptr when it shows whole or decoding was stopped.
const char *describe(FileProblem problem);
const char *describe(const Animation &animation);

class FrameDecoder
{
public:
    // The shipped voice box is 13 KB; a GIF this large would already hold
    // more than MaxPixelWork pixels at typical compression.
    static constexpr std::int64_t MaxFileBytes = std::int64_t(16) << 20;
    // 224 distinct frames of the 233 x 321 the view can show, 525 of the
    // voice box's 167 x 191 (the shipped one has 16): tens of seconds of
    // animation that never repeats a picture, yet less than twice the
    // 37 MB the rest of the program takes.
    static constexpr std::int64_t MaxFrameBytes = std::int64_t(64) << 20;
    // giflib decodes some 130 M pixels a second on one core of the test
    // machine: about half a second, once per file, on a low-priority thread.
    static constexpr std::int64_t MaxPixelWork = 64'000'000;
    // Each frame costs a table reset and a place in the list even when
    // nothing of it is seen.
    static constexpr int MaxFrames = 10'000;
    static constexpr int FrameOverheadPixels = 4096;
    static constexpr int MinDelayMs = 20;       // a shorter delay is taken as unset,
    static constexpr int DefaultDelayMs = 100;  // and shown as browsers show it

    // Decodes GIF bytes into frames, one frame at a time, so that a view
    // can show the first before the rest are decoded. crop is the part of
    // the picture that can be seen, in the picture's own coordinates; stop,
    // when set, aborts. The bytes are not copied: they must outlive the
    // decoder.
    FrameDecoder(const void *bytes, std::size_t size, Rect crop, const std::atomic<bool> *stop = nullptr);
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder &) = delete;
    FrameDecoder &operator=(const FrameDecoder &) = delete;

    // Adds the next frame to the animation; false once there is none,
    // when the animation's end says why.
    bool next();
    // The same in slices, for a caller whose thread must not be held long
    // (a page has only one): decodes about budget units of work, a unit
    // being a pixel decoded or a byte read, and at least one row of an
    // image, and stops after the first frame; true while there is more to
    // do. The frames decoded so far are in the animation.
    bool advance(std::int64_t budget);
    const Animation &animation() const { return m_animation; }

    // The whole animation at once: the entry point of the tests.
    static Animation decode(const void *bytes, std::size_t size, Rect crop, const std::atomic<bool> *stop = nullptr);

private:
    enum class Step { Frame, More, Over };
    Step step(std::int64_t budget);
    bool beginImage();
    bool decodeRows(std::int64_t budget);
    bool endImage();
    void finish(Animation::End end);

    struct State;
    std::unique_ptr<State> m_state;
    Animation m_animation;
};

} // namespace runtime
