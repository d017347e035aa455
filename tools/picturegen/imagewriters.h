// File encoders for the pictures. JPEG goes through libjpeg, as plain
// baseline JFIF with 4:2:0 colour, and PNG through Qt's writer; the BMP
// and ICO layouts are written here byte by byte, because the program's
// picture loading expects exactly the 24-bit bitmap and 8-bit icon variants
// and Qt writes neither. The desktop's scalable icon is SVG text, written
// here too.
#ifndef IMAGEWRITERS_H
#define IMAGEWRITERS_H

#include <QByteArray>

class QImage;

namespace ImageWriters {

// Baseline JFIF 1.01, 72 dpi, YCbCr 4:2:0. Empty on failure.
QByteArray jpeg(const QImage &image);

// BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits, bottom-up, 3780 px/m.
QByteArray bmp24(const QImage &image);

// PNG through Qt's writer: a palette image stays a palette PNG; no text,
// time or colour-space chunks. The desktop's icon theme takes this format.
QByteArray png(const QImage &image);

// One-image icon file: 8-bit palette image plus an all-clear AND mask.
// `indexed` must be Format_Indexed8.
QByteArray ico8(const QImage &indexed);

// The palette image as SVG of its own size: a background rectangle in
// palette colour 0, then one rectangle per block of another colour, so it
// scales to any size with edges as sharp as the pixels'.
// `indexed` must be Format_Indexed8.
QByteArray svgBlocks(const QImage &indexed);

} // namespace ImageWriters

#endif // IMAGEWRITERS_H
