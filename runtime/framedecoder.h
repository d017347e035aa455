// Reads and decodes the browser view's picture file on a worker thread, so
// that no file, however large, slow or malformed, can stall the window.
//
// The file is read once, whole, and only when it is a regular file of at
// most MaxFileBytes; it is then decoded once, as GIF and nothing else, into
// the frames the view will show. Everything is bounded:
//  - reading: MaxFileBytes, opened so that a pipe or a device can neither
//    block nor be read (the type is checked on the open descriptor);
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

#include <QImage>
#include <QList>
#include <QObject>
#include <QRect>

#include <atomic>
#include <memory>
#include <optional>

namespace runtime {

struct Animation
{
    enum class End { Complete, NotGif, Malformed, OverBudget, Stopped };

    QList<QImage> frames;  // each one the crop of the picture, or less
    QList<int> delaysMs;   // how long each frame stays, already clamped
    int plays = 1;         // times through the frames; 0 for ever
    qint64 bytes = 0;      // memory held by the distinct frames
    qint64 work = 0;       // pixels decoded: the measure of CPU spent
    End end = End::NotGif;

    bool isEmpty() const { return frames.isEmpty(); }
};

class FrameDecoder : public QObject
{
    Q_OBJECT

public:
    explicit FrameDecoder(std::shared_ptr<std::atomic<bool>> stop);
    ~FrameDecoder() override;

    // The shipped voice box is 13 KB; a GIF this large would already hold
    // more than MaxPixelWork pixels at typical compression.
    static constexpr qint64 MaxFileBytes = qint64(16) << 20;
    // 224 distinct frames of the 233 x 321 the view can show, 525 of the
    // voice box's 167 x 191 (the shipped one has 16): tens of seconds of
    // animation that never repeats a picture, yet less than twice the
    // 37 MB the rest of the program takes.
    static constexpr qint64 MaxFrameBytes = qint64(64) << 20;
    // giflib decodes some 130 M pixels a second on one core of the test
    // machine: about half a second, once per file, on a low-priority thread.
    static constexpr qint64 MaxPixelWork = 64'000'000;
    // Each frame costs a table reset and a place in the list even when
    // nothing of it is seen.
    static constexpr int MaxFrames = 10'000;
    static constexpr int FrameOverheadPixels = 4096;
    static constexpr int MinDelayMs = 20;       // a shorter delay is taken as unset,
    static constexpr int DefaultDelayMs = 100;  // and shown as browsers show it

    // The one decoding entry point, shared by the view and the tests:
    // GIF bytes to frames. crop is the part of the picture that can be
    // seen, in the picture's own coordinates; stop, when set, aborts.
    static Animation decode(QByteArrayView bytes, QRect crop, const std::atomic<bool> *stop = nullptr);

    // The whole of a regular file of at most maxBytes, read once; nothing
    // for anything else (missing, a folder, a pipe, a device, too large,
    // growing past maxBytes while read, unreadable) or when stop is set.
    static std::optional<QByteArray> readFile(const QString &path, qint64 maxBytes,
                                              const std::atomic<bool> *stop = nullptr);

public slots:
    void open(const QString &path, QRect crop, int generation);

signals:
    void decoded(const runtime::Animation &animation, int generation);

private:
    std::shared_ptr<std::atomic<bool>> m_stop;
};

} // namespace runtime

Q_DECLARE_METATYPE(runtime::Animation)
