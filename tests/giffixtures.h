// Builds small GIF files byte by byte for the tests, including ones no
// encoder would write: any screen size, zero delays, cut-off data.
// Pixels are stored as uncompressed LZW: a clear code before the
// dictionary can grow past nine-bit codes.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSize>

namespace giffixtures {

struct Frame
{
    QSize size;
    int delayCs = 10;
    int colour = 1;  // 0 black, 1 red, 2 green, 3 blue
    qint64 written = -1;  // pixels actually stored; -1: all of them
};

inline void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

inline QByteArray lzw(qint64 pixels, int colour)
{
    QByteArray packed;
    quint32 acc = 0;
    int bits = 0;
    auto code = [&](int c) {
        acc |= quint32(c) << bits;
        for (bits += 9; bits >= 8; bits -= 8, acc >>= 8)
            packed.append(char(acc & 0xFF));
    };
    for (qint64 done = 0; done < pixels; done += 250) {
        code(256);
        for (qint64 i = done; i < qMin(pixels, done + 250); ++i)
            code(colour);
    }
    code(257);
    if (bits > 0)
        packed.append(char(acc & 0xFF));
    QByteArray blocks;
    blocks.append(char(8));  // minimum code size
    for (int at = 0; at < packed.size(); at += 255) {
        const QByteArray chunk = packed.mid(at, 255);
        blocks.append(char(chunk.size()));
        blocks.append(chunk);
    }
    blocks.append(char(0));
    return blocks;
}

// loops: -1 writes no loop extension (play once), 0 loops for ever.
inline QByteArray gif(QSize screen, const QList<Frame> &frames, int loops = 0)
{
    QByteArray out("GIF89a");
    put16(out, screen.width());
    put16(out, screen.height());
    out.append(char(0xF7));  // global table of 256 entries
    out.append(char(0));
    out.append(char(0));
    const QRgb table[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < 4 ? table[i] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    if (loops >= 0) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        put16(out, loops);
        out.append(char(0));
    }
    for (const Frame &f : frames) {
        out.append("\x21\xF9\x04\x04", 4);  // graphic control: do not dispose
        put16(out, f.delayCs);
        out.append(char(0)).append(char(0));
        out.append(char(0x2C));
        put16(out, 0);
        put16(out, 0);
        put16(out, f.size.width());
        put16(out, f.size.height());
        out.append(char(0));
        out.append(lzw(f.written >= 0 ? f.written : qint64(f.size.width()) * f.size.height(), f.colour));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace giffixtures
