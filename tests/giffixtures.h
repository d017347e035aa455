// Builds small GIF files byte by byte for the tests, including ones no
// encoder would write: any screen size, zero delays, cut-off data, frames
// far larger than their screen. Pixels are stored either as uncompressed
// LZW (a clear code before the dictionary can grow past nine-bit codes) or,
// for a frame of one colour, compressed as giflib's encoder would: then a
// 65535 x 65535 frame takes 3 MB and is made in milliseconds.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QSize>

namespace giffixtures {

struct Frame
{
    QSize size;
    int delayCs = 10;
    int colour = 1;       // 0 black, 1 red, 2 green, 3 blue
    qint64 written = -1;  // pixels actually stored; -1: all of them
    bool compressed = false;  // real LZW (one colour only): for huge frames
    QPoint at = {};
    int disposal = 1;     // 0 unspecified, 1 keep, 2 to background, 3 to previous
    int transparent = -1; // the transparent colour index, -1 for none
    bool interlaced = false;
    bool localTable = false;  // its own table of 4 colours, in reverse order
    QByteArray indices = {};  // explicit pixels, row by row; overrides colour
};

inline void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

// Codes packed least significant bit first, then cut into sub-blocks.
class CodeWriter
{
public:
    void put(int code, int bits)
    {
        m_acc |= quint64(code) << m_bits;
        for (m_bits += bits; m_bits >= 8; m_bits -= 8, m_acc >>= 8)
            m_packed.append(char(m_acc & 0xFF));
    }
    QByteArray blocks(int minimumCodeSize)
    {
        if (m_bits > 0)
            m_packed.append(char(m_acc & 0xFF));
        QByteArray out;
        out.reserve(m_packed.size() + m_packed.size() / 255 + 3);
        out.append(char(minimumCodeSize));
        for (qsizetype at = 0; at < m_packed.size(); at += 255) {
            const qsizetype n = qMin<qsizetype>(255, m_packed.size() - at);
            out.append(char(n));
            out.append(m_packed.constData() + at, n);
        }
        out.append(char(0));
        return out;
    }

private:
    QByteArray m_packed;
    quint64 m_acc = 0;
    int m_bits = 0;
};

// Uncompressed: nine-bit codes, a clear code every 250 pixels.
inline QByteArray lzw(qint64 pixels, int colour, const QByteArray &indices = {})
{
    CodeWriter w;
    for (qint64 done = 0; done < pixels; done += 250) {
        w.put(256, 9);
        for (qint64 i = done; i < qMin(pixels, done + 250); ++i)
            w.put(indices.isEmpty() ? colour : quint8(indices.at(i % indices.size())), 9);
    }
    w.put(257, 9);
    return w.blocks(8);
}

// A run of one colour compressed as giflib's encoder (EGifCompressLine)
// writes it, worked out a code at a time: after a clear, the table holds
// the run's strings of 2, 3, ... pixels as codes 258, 259, ...
inline QByteArray lzwSolid(qint64 pixels, int colour)
{
    CodeWriter w;
    int bits = 9, maxCode1 = 512, running = 258;
    auto out = [&](int code) {
        w.put(code, bits);
        if (running >= maxCode1 && code <= 4095)
            maxCode1 = 1 << ++bits;
    };
    auto codeFor = [colour](qint64 length) { return length == 1 ? colour : int(256 + length); };
    out(256);
    if (pixels > 0) {
        qint64 left = pixels - 1, length = 1, longest = 1;
        while (left > 0) {
            const qint64 grow = qMin(longest - length, left);
            length += grow;
            left -= grow;
            if (left == 0)
                break;
            out(codeFor(length));  // the next pixel is not in the table after it
            if (running >= 4095) {
                out(256);
                running = 258, bits = 9, maxCode1 = 512, longest = 1;
            } else {
                ++running;
                longest = length + 1;
            }
            length = 1;
            --left;
        }
        out(codeFor(length));
    }
    out(257);
    return w.blocks(8);
}

inline QByteArray colourTable(int entries, bool reversed)
{
    const QRgb table[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    QByteArray out;
    for (int i = 0; i < entries; ++i) {
        const int k = reversed ? 3 - i : i;
        const QRgb c = i < 4 ? table[k] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    return out;
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
    out.append(colourTable(256, false));
    if (loops >= 0) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        put16(out, loops);
        out.append(char(0));
    }
    for (const Frame &f : frames) {
        out.append("\x21\xF9\x04", 3);  // graphic control
        out.append(char((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)));
        put16(out, f.delayCs);
        out.append(char(f.transparent >= 0 ? f.transparent : 0)).append(char(0));
        out.append(char(0x2C));
        put16(out, f.at.x());
        put16(out, f.at.y());
        put16(out, f.size.width());
        put16(out, f.size.height());
        out.append(char((f.interlaced ? 0x40 : 0) | (f.localTable ? 0x81 : 0)));  // local: 4 entries
        if (f.localTable)
            out.append(colourTable(4, true));
        const qint64 pixels = f.written >= 0 ? f.written : qint64(f.size.width()) * f.size.height();
        out.append(f.compressed ? lzwSolid(pixels, f.colour) : lzw(pixels, f.colour, f.indices));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace giffixtures
