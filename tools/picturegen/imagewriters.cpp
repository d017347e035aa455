// Encoders for the three picture formats. All output is a pure function of
// the pixels: no timestamps, comments or metadata go into any file.
#include "imagewriters.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>

#include <algorithm>

namespace ImageWriters {

namespace {

// Little-endian fields, the byte order of every Windows bitmap structure.
class LittleEndian
{
public:
    explicit LittleEndian(QByteArray &out) : m_out(out) {}
    LittleEndian &u8(quint8 v) { m_out.append(char(v)); return *this; }
    LittleEndian &u16(quint16 v) { return u8(v & 0xff).u8(v >> 8); }
    LittleEndian &u32(quint32 v) { return u16(v & 0xffff).u16(v >> 16); }
    LittleEndian &i32(qint32 v) { return u32(quint32(v)); }

private:
    QByteArray &m_out;
};

// Rows of a DIB are padded to a multiple of four bytes.
int strideOf(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

void bitmapInfoHeader(LittleEndian &le, int width, int height, int bitsPerPixel, quint32 imageSize,
                      qint32 pixelsPerMetre)
{
    le.u32(40).i32(width).i32(height).u16(1).u16(bitsPerPixel);
    le.u32(0);  // BI_RGB
    le.u32(imageSize).i32(pixelsPerMetre).i32(pixelsPerMetre);
    le.u32(0).u32(0);  // colours used (0: all), colours important (0: all)
}

} // namespace

// Baseline JFIF at quality 90 with the colour at half resolution each way
// (4:2:0), as JPEG pictures usually come. Decoders spread that colour back
// over its 2 x 2 blocks each their own way, so the Windows build paints
// these pictures a few levels off the Linux build near sharp colour edges;
// the tests that compare the two allow for that. Integer DCT and fixed
// tables, so the same libjpeg writes the same bytes.
QByteArray jpeg(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    // Luma at full resolution, both colour components at half.
    for (int c = 0; c < 3; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = c == 0 ? 2 : 1;
    cinfo.density_unit = 1;  // 72 dots per inch
    cinfo.X_density = cinfo.Y_density = 72;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

QByteArray png(const QImage &image)
{
    QImage copy = image;
    // Otherwise the pixel density comes from whatever screen the tool finds.
    copy.setDotsPerMeterX(3780);
    copy.setDotsPerMeterY(3780);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(copy))
        return {};
    return bytes;
}

QByteArray bmp24(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int stride = strideOf(rgb.width(), 24);
    const quint32 pixelBytes = quint32(stride) * rgb.height();
    constexpr quint32 HeadersSize = 14 + 40;

    QByteArray out;
    out.reserve(HeadersSize + pixelBytes);
    LittleEndian le(out);
    le.u8('B').u8('M').u32(HeadersSize + pixelBytes).u16(0).u16(0).u32(HeadersSize);
    bitmapInfoHeader(le, rgb.width(), rgb.height(), 24, pixelBytes, 3780);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            le.u8(qBlue(line[x])).u8(qGreen(line[x])).u8(qRed(line[x]));
        for (int pad = rgb.width() * 3; pad < stride; ++pad)
            le.u8(0);
    }
    return out;
}

QByteArray ico8(const QImage &indexed)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    const int w = indexed.width(), h = indexed.height();
    const int xorStride = strideOf(w, 8), andStride = strideOf(w, 1);
    const quint32 xorBytes = quint32(xorStride) * h;
    const quint32 imageBytes = 40 + 256 * 4 + xorBytes + quint32(andStride) * h;
    constexpr quint32 ImageOffset = 6 + 16;

    QByteArray out;
    LittleEndian le(out);
    le.u16(0).u16(1).u16(1);  // reserved, type icon, one image
    le.u8(w).u8(h).u8(0).u8(0).u16(1).u16(8).u32(imageBytes).u32(ImageOffset);
    // The height counts the colour image and the mask stacked together.
    bitmapInfoHeader(le, w, 2 * h, 8, xorBytes, 0);
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        le.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c)).u8(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < xorStride; ++x)
            le.u8(x < w ? line[x] : 0);
    }
    // Nothing is transparent: the AND mask is all zero.
    out.append(QByteArray(andStride * h, '\0'));
    return out;
}

QByteArray svgBlocks(const QImage &indexed)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    struct Block
    {
        int x, y, width, height;
        uchar colour;
    };
    // Runs of one colour along each row; a run exactly under a block of the
    // same span and colour makes that block a row taller instead.
    QList<Block> blocks;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0, end; x < indexed.width(); x = end) {
            const uchar colour = line[x];
            for (end = x + 1; end < indexed.width() && line[end] == colour; ++end) {}
            if (colour == 0)
                continue;
            const auto above = std::find_if(blocks.begin(), blocks.end(), [&](const Block &b) {
                return b.x == x && b.width == end - x && b.colour == colour && b.y + b.height == y;
            });
            if (above != blocks.end())
                ++above->height;
            else
                blocks.append({x, y, end - x, 1, colour});
        }
    }

    const auto fill = [&](uchar index) { return QColor(indexed.color(index)).name().toLatin1(); };
    const QByteArray w = QByteArray::number(indexed.width()), h = QByteArray::number(indexed.height());
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h
                     + "\" viewBox=\"0 0 " + w + ' ' + h + "\" shape-rendering=\"crispEdges\">\n";
    out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + fill(0) + "\"/>\n";
    for (const Block &b : blocks) {
        out += "<rect x=\"" + QByteArray::number(b.x) + "\" y=\"" + QByteArray::number(b.y)
               + "\" width=\"" + QByteArray::number(b.width) + "\" height=\""
               + QByteArray::number(b.height) + "\" fill=\"" + fill(b.colour) + "\"/>\n";
    }
    out += "</svg>\n";
    return out;
}

} // namespace ImageWriters
