// What must hold for whatever FrameDecoder::decode makes of any bytes:
// the bounds of framedecoder.h, and frames the view can paint. Shared by
// the replay harness (gifreplay) and the libFuzzer entry (fuzz_gifdecode).
#pragma once

#include "framedecoder.h"

#include <QSet>
#include <QString>

namespace gifinvariants {

// Empty when all holds; otherwise what does not.
inline QString check(const runtime::Animation &a, QRect crop)
{
    using runtime::FrameDecoder;
    if (a.frames.size() != a.delaysMs.size())
        return QStringLiteral("%1 frames but %2 delays").arg(a.frames.size()).arg(a.delaysMs.size());
    if (a.frames.size() > FrameDecoder::MaxFrames)
        return QStringLiteral("%1 frames").arg(a.frames.size());
    if (a.bytes > FrameDecoder::MaxFrameBytes)
        return QStringLiteral("%1 bytes of frames").arg(a.bytes);
    if (a.work > FrameDecoder::MaxPixelWork)
        return QStringLiteral("%1 pixels decoded").arg(a.work);
    if (a.plays < 0)
        return QStringLiteral("plays %1").arg(a.plays);
    QSet<qint64> distinct;
    qint64 bytes = 0;
    for (qsizetype i = 0; i < a.frames.size(); ++i) {
        const QImage &f = a.frames.at(i);
        if (f.isNull() || f.format() != QImage::Format_RGB32)
            return QStringLiteral("frame %1 null or of format %2").arg(i).arg(int(f.format()));
        if (f.width() > crop.width() || f.height() > crop.height())
            return QStringLiteral("frame %1 of %2 x %3").arg(i).arg(f.width()).arg(f.height());
        if (f.size() != a.frames.at(0).size())
            return QStringLiteral("frame %1 of another size").arg(i);
        if (a.delaysMs.at(i) < FrameDecoder::MinDelayMs)
            return QStringLiteral("delay %1 ms").arg(a.delaysMs.at(i));
        if (!distinct.contains(f.cacheKey())) {
            distinct.insert(f.cacheKey());
            bytes += f.sizeInBytes();
        }
    }
    if (bytes != a.bytes)
        return QStringLiteral("frames hold %1 bytes, %2 counted").arg(bytes).arg(a.bytes);
    if (a.end == runtime::Animation::End::NotGif && !a.isEmpty())
        return QStringLiteral("frames from what is not a GIF");
    return {};
}

} // namespace gifinvariants
