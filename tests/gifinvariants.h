// What must hold for whatever FrameDecoder::decode makes of any bytes:
// the bounds of framedecoder.h, and frames the view can paint. Shared by
// the replay harness (gifreplay), the libFuzzer entry (fuzz_gifdecode) and
// the browser view's tests, with the decoder in the tests' Qt terms.
#pragma once

#include "framedecoder.h"

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
