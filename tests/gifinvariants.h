// What must hold for whatever FrameDecoder::decode makes of any bytes:
// the bounds of framedecoder.h, and frames the view can paint. Shared by
// the replay harness (gifreplay), the libFuzzer entry (fuzz_gifdecode) and
// the browser view's tests, with the decoder in the tests' Qt terms.
#pragma once

#include "animation/framedecoder.h"

#include <QByteArray>
#include <QRect>
#include <QSet>
#include <QString>

namespace gifinvariants {

inline runtime::Animation decode(QByteArrayView bytes, QRect crop, const std::atomic<bool> *stop = nullptr)
{
    return runtime::FrameDecoder::decode(bytes.data(), size_t(bytes.size()),
                                         {crop.x(), crop.y(), crop.width(), crop.height()}, stop);
}

// The same in slices of about budget units, as a page decodes.
inline runtime::Animation decodeInSlices(QByteArrayView bytes, QRect crop, std::int64_t budget)
{
    runtime::FrameDecoder decoder(bytes.data(), size_t(bytes.size()), {crop.x(), crop.y(), crop.width(), crop.height()});
    while (decoder.advance(budget)) {
    }
    return decoder.animation();
}

// Empty when the two show alike; otherwise how they differ.
inline QString difference(const runtime::Animation &a, const runtime::Animation &b)
{
    if (a.end != b.end || a.plays != b.plays || a.work != b.work || a.bytes != b.bytes || a.delaysMs != b.delaysMs)
        return QStringLiteral("end, plays, work, bytes or delays differ");
    if (a.frames.size() != b.frames.size())
        return QStringLiteral("%1 frames against %2").arg(a.frames.size()).arg(b.frames.size());
    for (size_t i = 0; i < a.frames.size(); ++i)
        if (*a.frames.at(i) != *b.frames.at(i))
            return QStringLiteral("frame %1 differs").arg(i);
    return {};
}

inline QSize sizeOf(const runtime::Frame &f) { return QSize(f->width, f->height); }

// Empty when all holds; otherwise what does not.
inline QString check(const runtime::Animation &a, QRect crop)
{
    using runtime::FrameDecoder;
    if (a.frames.size() != a.delaysMs.size())
        return QStringLiteral("%1 frames but %2 delays").arg(a.frames.size()).arg(a.delaysMs.size());
    if (a.frames.size() > size_t(FrameDecoder::MaxFrames))
        return QStringLiteral("%1 frames").arg(a.frames.size());
    if (a.bytes > FrameDecoder::MaxFrameBytes)
        return QStringLiteral("%1 bytes of frames").arg(a.bytes);
    if (a.work > FrameDecoder::MaxPixelWork)
        return QStringLiteral("%1 pixels decoded").arg(a.work);
    if (a.plays < 0)
        return QStringLiteral("plays %1").arg(a.plays);
    QSet<const runtime::Image *> distinct;
    qint64 bytes = 0;
    for (size_t i = 0; i < a.frames.size(); ++i) {
        const runtime::Frame &f = a.frames.at(i);
        if (!f || f->pixels.size() != size_t(f->width) * size_t(f->height) || f->pixels.empty())
            return QStringLiteral("frame %1 empty or of the wrong size").arg(i);
        if (f->width > crop.width() || f->height > crop.height())
            return QStringLiteral("frame %1 of %2 x %3").arg(i).arg(f->width).arg(f->height);
        if (sizeOf(f) != sizeOf(a.frames.at(0)))
            return QStringLiteral("frame %1 of another size").arg(i);
        if (a.delaysMs.at(i) < FrameDecoder::MinDelayMs)
            return QStringLiteral("delay %1 ms").arg(a.delaysMs.at(i));
        if (!distinct.contains(f.get())) {
            distinct.insert(f.get());
            bytes += f->bytes();
        }
    }
    if (bytes != a.bytes)
        return QStringLiteral("frames hold %1 bytes, %2 counted").arg(bytes).arg(a.bytes);
    if (a.end == runtime::Animation::End::NotGif && !a.isEmpty())
        return QStringLiteral("frames from what is not a GIF");
    return {};
}

} // namespace gifinvariants
