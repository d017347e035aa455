// The nine built-in pictures and the desktop's icons. The committed files
// must be exactly what make-pictures writes; their headers must be the
// plain JPEG, BMP and ICO variants the picture loading expects; the icons
// must be the program icon enlarged pixel for pixel, the scalable one its
// pixels as rectangles; and the features that the
// dashboard's zones, lamps and readouts are laid over must be painted where
// the layout puts them, in the right colours. Colours are judged by hue with
// some slack, since JPEG blurs edges and shifts shades a little.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

namespace {

const QDir Resources(QStringLiteral(RESOURCES_DIR));

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray committed(const QString &name) { return bytesOf(Resources.filePath(name)); }

QImage picture(const QString &name)
{
    return QImage(Resources.filePath(name)).convertToFormat(QImage::Format_RGB32);
}

quint16 le16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 be16(const QByteArray &b, int at) { return qFromBigEndian<quint16>(b.constData() + at); }

QByteArray bgr(QRgb c)
{
    const char bytes[] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c))};
    return QByteArray(bytes, 3);
}

// Inclusive pixel spans, the way the layout gives them.
QRect span(int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); }

int brightness(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}); }

// Names a pixel's colour by its hue; dim pixels are "dark" whatever their hue.
QString colourName(QRgb c)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    const int hi = brightness(c), lo = std::min({r, g, b});
    if (hi < 40)
        return "dark";
    if (hi - lo < hi / 4)
        return hi < 140 ? "grey" : "light grey";
    if (r >= 2 * g && r >= 2 * b)
        return "red";
    if (g * 10 >= 14 * r && g * 10 >= 14 * b)
        return "green";
    if (r * 10 >= 14 * b && g * 10 >= 14 * b && g * 100 >= 55 * r && r * 10 >= 7 * g)
        return "yellow";
    return "other";
}

QRgb meanColour(const QImage &image, const QRect &area)
{
    qint64 r = 0, g = 0, b = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            r += qRed(c), g += qGreen(c), b += qBlue(c);
        }
    }
    const qint64 n = qint64(area.width()) * area.height();
    return qRgb(int(r / n), int(g / n), int(b / n));
}

// Runs of consecutive lit pixels along a line, as (first, last) pairs.
QList<QPair<int, int>> litRuns(const QImage &image, QPoint from, QPoint step, int count)
{
    QList<QPair<int, int>> runs;
    bool inRun = false;
    for (int i = 0; i < count; ++i) {
        const QRgb c = image.pixel(from + i * step);
        const bool lit = qRed(c) > 150 && qGreen(c) < 110;
        if (lit && !inRun)
            runs.append({i, i});
        else if (lit)
            runs.last().second = i;
        inRun = lit;
    }
    return runs;
}

// The program's nine, then the desktop's icons.
const QStringList AllPictures = QStringLiteral(VELK_PICTURES).split(u' ') + QStringList{
    "appicon-32.png", "appicon-64.png", "appicon-128.png", "appicon-256.png", "appicon-192.png", "appicon-512.png",
    "appicon.svg"};

// The icon's promised pixels: three columns of 6 x 2 bars a pixel apart,
// each column's first and last pixel row dark red, everything else black.
QRgb iconPixel(int x, int y)
{
    const struct { int left, top, bottom; } columns[] = {{6, 9, 22}, {13, 3, 28}, {20, 9, 22}};
    for (const auto &c : columns) {
        if (x >= c.left && x < c.left + 6 && y >= c.top && y <= c.bottom && (y - c.top) % 3 != 2)
            return (y == c.top || y == c.bottom) ? qRgb(0x94, 0, 0) : qRgb(0xff, 0, 0);
    }
    return qRgb(0, 0, 0);
}

// An SVG of crisp-edged, whole-unit rectangles in plain colours, filled in
// at one pixel per unit; a null image for anything else it might hold.
// What no rectangle covers stays magenta, which no icon pixel is.
QImage drawnRects(const QByteArray &svg)
{
    QXmlStreamReader xml(svg);
    QImage image;
    auto number = [&](const char *name, int fallback = -1) {
        const auto value = xml.attributes().value(QLatin1String(name));
        bool ok = false;
        const int n = value.toInt(&ok);
        return value.isNull() ? fallback : ok ? n : -1;
    };
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("svg") && image.isNull()) {
            const QString view = QString("0 0 %1 %2").arg(number("width")).arg(number("height"));
            if (xml.attributes().value("viewBox") != view
                || xml.attributes().value("shape-rendering") != QLatin1String("crispEdges"))
                return {};
            image = QImage(number("width"), number("height"), QImage::Format_RGB32);
            image.fill(qRgb(0xff, 0, 0xff));
        } else if (xml.name() == QLatin1String("rect") && !image.isNull()) {
            const QRect r(number("x", 0), number("y", 0), number("width"), number("height"));
            const QColor fill = QColor::fromString(xml.attributes().value("fill"));
            if (r.isEmpty() || !image.rect().contains(r) || !fill.isValid())
                return {};
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    image.setPixel(x, y, fill.rgb());
            xml.skipCurrentElement();
        } else {
            return {};
        }
    }
    return xml.hasError() ? QImage() : image;
}

struct Resource
{
    quint16 type = 0, name = 0;  // ordinals; 0 for a named one
    QByteArray data;
};

// A .res file is a run of RESOURCEHEADER records, each followed by its data,
// both padded to four bytes. Types and names are an ordinal (0xFFFF, id) or
// a NUL-terminated UTF-16 string.
QList<Resource> parseRes(const QByteArray &res)
{
    QList<Resource> out;
    auto ordinalAt = [&](int &at) -> quint16 {
        if (le16(res, at) == 0xffff) {
            at += 4;
            return le16(res, at - 2);
        }
        while (le16(res, at) != 0)
            at += 2;
        at += 2;
        return 0;
    };
    for (int at = 0; at + 8 <= res.size();) {
        const quint32 dataSize = le32(res, at), headerSize = le32(res, at + 4);
        int field = at + 8;
        Resource r;
        r.type = ordinalAt(field);
        r.name = ordinalAt(field);
        r.data = res.mid(at + headerSize, dataSize);
        if (dataSize > 0)
            out.append(r);
        at = (at + headerSize + dataSize + 3) & ~3;
    }
    return out;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

    QTemporaryDir made;

private slots:
    void initTestCase()
    {
        QVERIFY(made.isValid());
        QProcess tool;
        tool.start(QStringLiteral(MAKE_PICTURES), {made.path()});
        QVERIFY(tool.waitForFinished(120000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }

    void regenerated_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : AllPictures)
            QTest::newRow(qPrintable(name)) << name;
    }
    void regenerated()
    {
        QFETCH(QString, name);
        const QByteArray theirs = committed(name);
        QVERIFY2(!theirs.isEmpty(), "missing from resources/");
        QVERIFY2(bytesOf(QDir(made.path()).filePath(name)) == theirs,
                 "resources/ differs from what make-pictures writes");
    }

    void jpegStructure_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("leftpanel") << "leftpanel.jpg" << QSize(500, 220);
        QTest::newRow("rightpanel") << "rightpanel.jpg" << QSize(500, 193);
        QTest::newRow("leftconsole") << "leftconsole.jpg" << QSize(170, 303);
        QTest::newRow("rightconsole") << "rightconsole.jpg" << QSize(200, 304);
        QTest::newRow("lamplit") << "lamplit.jpg" << QSize(15, 13);
    }
    void jpegStructure()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QByteArray b = committed(name);
        QCOMPARE(b.left(2), QByteArray("\xff\xd8"));
        // APP0: length 16, "JFIF", version 1.01, dots per inch, 72 x 72, no thumbnail.
        QCOMPARE(b.mid(2, 18).toHex(), QByteArray("ffe000104a46494600010101004800480000"));
        QCOMPARE(b.right(2), QByteArray("\xff\xd9"));
        int frames = 0;
        int at = 2 + 18;
        for (;;) {
            QVERIFY(at + 4 <= b.size());
            QCOMPARE(quint8(b[at]), quint8(0xff));
            const quint8 marker = b[at + 1];
            const int length = be16(b, at + 2);
            if (marker == 0xda)
                break;
            // Only tables and the one baseline frame: no progressive frame,
            // no further APPn (EXIF, ICC), no comment.
            QVERIFY2(marker == 0xdb || marker == 0xc4 || marker == 0xc0 || marker == 0xdd,
                     qPrintable(QString("unexpected marker %1").arg(marker, 2, 16)));
            if (marker == 0xc0) {
                ++frames;
                QCOMPARE(length, 8 + 3 * 3);
                QCOMPARE(quint8(b[at + 4]), quint8(8));
                QCOMPARE(QSize(be16(b, at + 7), be16(b, at + 5)), size);
                QCOMPARE(quint8(b[at + 9]), quint8(3));
                // 4:2:0: luma 2 x 2, each colour component 1 x 1.
                const quint8 sampling[] = {0x22, 0x11, 0x11};
                for (int c = 0; c < 3; ++c) {
                    QCOMPARE(quint8(b[at + 10 + 3 * c]), quint8(c + 1));
                    QCOMPARE(quint8(b[at + 11 + 3 * c]), sampling[c]);
                }
            }
            at += 2 + length;
        }
        QCOMPARE(frames, 1);
        QCOMPARE(picture(name).size(), size);
    }

    void bmpHeader_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"modepursuit.bmp", "modeauto.bmp", "modenormal.bmp"})
            QTest::newRow(name) << QString(name);
    }
    void bmpHeader()
    {
        QFETCH(QString, name);
        const QByteArray b = committed(name);
        QCOMPARE(b.size(), 119454);
        // 'BM', file size, reserved, pixels at 54; a 40-byte header, 199 x +199
        // (bottom-up), 1 plane, 24 bpp, BI_RGB, 119400 bytes of pixels, 3780 x
        // 3780 pixels per metre, no palette.
        const QByteArray header = QByteArray("424d" "9ed20100" "00000000" "36000000")
                                  + "28000000" "c7000000" "c7000000" "0100" "1800" "00000000"
                                  + "68d20100" "c40e0000" "c40e0000" "00000000" "00000000";
        QCOMPARE(b.left(54).toHex(), header);
        for (int row = 0; row < 199; ++row)
            QCOMPARE(b.mid(54 + row * 600 + 597, 3), QByteArray(3, '\0'));
        // Bottom-up BGR: the file's last row is the image's top row.
        const QImage image = picture(name);
        QCOMPARE(image.size(), QSize(199, 199));
        const QRgb topLeft = image.pixel(30, 40), bottomRight = image.pixel(150, 170);
        QCOMPARE(b.mid(54 + (198 - 40) * 600 + 30 * 3, 3), bgr(topLeft));
        QCOMPARE(b.mid(54 + (198 - 170) * 600 + 150 * 3, 3), bgr(bottomRight));
    }

    void iconFile()
    {
        const QByteArray b = committed("appicon.ico");
        QCOMPARE(b.size(), 2238);
        QCOMPARE(b.left(6).toHex(), QByteArray("000001000100"));
        // Directory entry: 32 x 32, 0 colours, reserved, 1 plane, 8 bpp, 2216 bytes at 22.
        QCOMPARE(b.mid(6, 16).toHex(), QByteArray("2020000001000800a808000016000000"));
        // 40 bytes, 32 x 64 (image and mask), 1 plane, 8 bpp, BI_RGB, 1024
        // bytes of pixels, no resolution, palette size implied by the depth.
        const QByteArray header = QByteArray("28000000" "20000000" "40000000" "0100" "0800")
                                  + "00000000" "00040000" "00000000" "00000000"
                                  + "00000000" "00000000";
        QCOMPARE(b.mid(22, 40).toHex(), header);
        const int palette = 62;
        QCOMPARE(b.mid(palette, 12).toHex(), QByteArray("000000000000ff0000009400"));
        QCOMPARE(b.mid(palette + 12, 1024 - 12), QByteArray(1024 - 12, '\0'));
        QCOMPARE(b.right(128), QByteArray(128, '\0'));
    }

    void iconPixels()
    {
        const QByteArray b = committed("appicon.ico");
        const int indices = 62 + 1024;
        const QRgb palette[] = {qRgb(0, 0, 0), qRgb(0xff, 0, 0), qRgb(0x94, 0, 0)};
        const QImage decoded = picture("appicon.ico");
        QCOMPARE(decoded.size(), QSize(32, 32));
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const quint8 index = b[indices + (31 - y) * 32 + x];
                QVERIFY(index < 3);
                const QString at = QString("pixel %1,%2").arg(x).arg(y);
                QVERIFY2(palette[index] == iconPixel(x, y), qPrintable(at));
                QVERIFY2(decoded.pixel(x, y) == iconPixel(x, y), qPrintable(at));
            }
        }
    }

    // The desktop's icons: the program icon with each pixel grown to a
    // whole square block, so no pixel is a blend of two; and opaque, like
    // the icon, so a dark theme cannot show through its black. The scalable
    // one, at one pixel per unit, must be the icon itself.
    void desktopIcons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        for (int size : {32, 64, 128, 192, 256, 512})
            QTest::addRow("%d px", size) << QString("appicon-%1.png").arg(size) << size;
        QTest::newRow("scalable") << "appicon.svg" << 32;
    }
    void desktopIcons()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        const bool scalable = name.endsWith(".svg");
        if (!scalable)
            QCOMPARE(committed(name).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        const QImage icon = scalable ? drawnRects(committed(name)) : QImage(Resources.filePath(name));
        QVERIFY2(!icon.isNull(), "not a picture, or not crisp whole-unit rectangles");
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(!icon.hasAlphaChannel());
        const QImage small = picture("appicon.ico");
        const int factor = size / 32;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (icon.pixel(x, y) != small.pixel(x / factor, y / factor))
                    QFAIL(qPrintable(QString("pixel %1,%2 is not the icon's %3,%4")
                                         .arg(x).arg(y).arg(x / factor).arg(y / factor)));
            }
        }
    }

    // Each row names a patch of a picture (a 3 x 3 spot or a larger area,
    // averaged) and the colour the layout needs there.
    void paintedColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QString>("colour");
        auto add = [](const char *name, const QString &what, QRect area, const char *colour) {
            QTest::addRow("%s %s", name, qPrintable(what)) << name << area << QString(colour);
        };
        auto spot = [](int x, int y) { return QRect(x - 1, y - 1, 3, 3); };

        // Console keys by row, both columns alike, black beyond the outer
        // edges; a dark-grey lamp socket on every row.
        const char *rowColours[] = {"green", "red",    "green", "green",
                                    "red",   "yellow", "red",   "red"};
        using Spans = int[8][2];
        const struct
        {
            const char *name;
            int columns[2][2];
            Spans rows;
            int socketColumn[2];
            Spans sockets;
        } consoles[] = {
            {"leftconsole.jpg", {{6, 56}, {108, 159}},
             {{31, 62}, {64, 94}, {96, 126}, {128, 158},
              {172, 203}, {205, 235}, {237, 267}, {269, 300}},
             {76, 88},
             {{42, 53}, {71, 82}, {103, 115}, {136, 147},
              {183, 194}, {213, 224}, {245, 256}, {277, 288}}},
            {"rightconsole.jpg", {{43, 93}, {146, 196}},
             {{33, 64}, {66, 96}, {98, 128}, {130, 160},
              {174, 204}, {207, 237}, {239, 269}, {271, 301}},
             {114, 125},
             {{44, 55}, {73, 84}, {105, 116}, {137, 149},
              {185, 196}, {214, 225}, {246, 257}, {279, 290}}},
        };
        for (const auto &c : consoles) {
            for (int row = 0; row < 8; ++row) {
                const auto [top, bottom] = c.rows[row];
                const int cy = (top + bottom) / 2;
                const char *colour = rowColours[row];
                for (int col = 0; col < 2; ++col) {
                    const auto [left, right] = c.columns[col];
                    const QString key = QString("row %1 %2").arg(row + 1).arg(col ? "right"
                                                                                 : "left");
                    add(c.name, key, span(left, top, right, bottom).adjusted(4, 4, -4, -4), colour);
                    add(c.name, key + " left edge", spot(left + 2, cy), colour);
                    add(c.name, key + " right edge", spot(right - 2, cy), colour);
                    add(c.name, key + " beyond", spot(col ? right + 3 : left - 3, cy), "dark");
                }
                const QPoint socket = span(c.socketColumn[0], c.sockets[row][0],
                                           c.socketColumn[1], c.sockets[row][1]).center();
                add(c.name, QString("row %1 socket").arg(row + 1), spot(socket.x(), socket.y()),
                    "grey");
            }
        }
        add("rightconsole.jpg", "round key", spot(14, 76), "light grey");

        // Left panel: seven keys, red over green, and the MPH plate.
        const char *left = "leftpanel.jpg";
        for (int i = 0; i < 7; ++i) {
            const int x = 302 + 25 * i + 9;
            add(left, QString("trip key %1 upper").arg(i + 1), spot(x, 134), "red");
            add(left, QString("trip key %1 lower").arg(i + 1), spot(x, 145), "green");
        }
        add(left, "trip keys start", spot(304, 145), "green");
        add(left, "trip keys end", spot(467, 134), "red");
        add(left, "before trip keys", spot(299, 140), "dark");
        add(left, "MPH plate", span(436, 95, 475, 114), "red");
        add(left, "MPH plate corner", spot(439, 98), "red");
        add(left, "beyond MPH plate", spot(478, 104), "dark");

        // Right panel: program keys, green over red; the four tall keys
        // with their lamps; the RPM plate.
        const char *right = "rightpanel.jpg";
        for (int i = 0; i < 4; ++i) {
            const int x = 396 + 21 * i;
            add(right, QString("program key %1 upper").arg(i + 1), spot(x + 3, 77), "green");
            add(right, QString("program key %1 lower").arg(i + 1), spot(x + 8, 87), "red");
        }
        add(right, "program keys end", spot(473, 86), "red");
        const struct
        {
            const char *name;
            int left, right;
            const char *colour;
        } tall[] = {{"POWER", 304, 320, "red"}, {"NORMAL", 359, 374, "green"},
                    {"AUTO", 414, 429, "yellow"}, {"PURSUIT", 468, 484, "red"}};
        for (const auto &k : tall) {
            const int cx = (k.left + k.right) / 2;
            const QString name(k.name);
            for (int y : {140, 170, 184})
                add(right, name + QString(" at y %1").arg(y), spot(cx, y), k.colour);
            add(right, name + " left edge", spot(k.left + 2, 170), k.colour);
            add(right, name + " right edge", spot(k.right - 2, 170), k.colour);
            add(right, name + " left of it", spot(k.left - 4, 170), "dark");
            add(right, name + " right of it", spot(k.right + 4, 170), "dark");
            add(right, name + " below", spot(cx, 190), "dark");
            add(right, name + " lamp", spot(cx, 107), "yellow");
        }
        add(right, "RPM plate", span(223, 86, 255, 102), "red");
        add(right, "RPM plate corner", spot(252, 99), "red");
        add(right, "beyond RPM plate", spot(258, 94), "dark");

        // The mode pictures' warning ovals: the top two rows yellow.
        const int ovalRows[][2] = {{32, 48}, {64, 80}, {96, 112}, {129, 145}, {162, 178}};
        const int ovalColumns[][2] = {{26, 51}, {142, 166}};
        for (int r = 0; r < 5; ++r) {
            const auto [top, bottom] = ovalRows[r];
            const char *colour = r < 2 ? "yellow" : "red";
            for (const auto &[x0, x1] : ovalColumns) {
                const QString oval = QString("oval at %1,%2").arg(x0).arg(top);
                const QRect area = span(x0, top, x1, bottom).adjusted(5, 4, -5, -4);
                add("modenormal.bmp", oval, area, colour);
                add("modenormal.bmp", oval + " left end", spot(x0 + 3, area.center().y()), colour);
                add("modenormal.bmp", oval + " before", spot(x0 - 2, area.center().y()), "dark");
            }
        }
    }
    void paintedColours()
    {
        QFETCH(QString, name);
        QFETCH(QRect, area);
        QFETCH(QString, colour);
        const QImage image = picture(name);
        QCOMPARE(colourName(meanColour(image, area & image.rect())), colour);
    }

    void readoutDigits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("digits");
        QTest::newRow("left, MPH") << "leftpanel.jpg" << span(331, 60, 432, 99);
        QTest::newRow("right, RPM") << "rightpanel.jpg" << span(133, 56, 219, 89);
    }
    // The painted display reads 000 in lit red segments on black, filling
    // the given box, so the readout label laid over it hides it exactly.
    void readoutDigits()
    {
        QFETCH(QString, name);
        QFETCH(QRect, digits);
        const QImage image = picture(name);

        QRect litArea;
        const QRect search = digits.adjusted(-6, -6, 3, 6);
        for (int y = search.top(); y <= search.bottom(); ++y)
            for (const auto &run : litRuns(image, {search.left(), y}, {1, 0}, search.width()))
                litArea |= QRect(search.left() + run.first, y, run.second - run.first + 1, 1);
        // JPEG may blur an edge by a pixel either way.
        const QString found = QString("lit pixels span %1,%2 to %3,%4")
                                  .arg(litArea.left()).arg(litArea.top())
                                  .arg(litArea.right()).arg(litArea.bottom());
        QVERIFY2(digits.adjusted(-1, -1, 1, 1).contains(litArea)
                     && litArea.contains(digits.adjusted(1, 1, -1, -1)), qPrintable(found));

        // Across the upper and lower halves: two upright strokes per zero.
        for (int y : {digits.top() + digits.height() / 4, digits.bottom() - digits.height() / 4})
            QCOMPARE(litRuns(image, {digits.left(), y}, {1, 0}, digits.width()).size(), 6);
        // Down each digit's middle: top and bottom stroke lit, the middle
        // stroke dark but faintly visible, black inside the loops.
        const auto strokes = litRuns(image, {digits.left(), digits.top() + digits.height() / 4},
                                     {1, 0}, digits.width());
        for (int d = 0; d < 3; ++d) {
            const int x = digits.left() + (strokes[2 * d].second + strokes[2 * d + 1].first) / 2;
            QCOMPARE(litRuns(image, {x, digits.top()}, {0, 1}, digits.height()).size(), 2);
            const QRgb middle = image.pixel(x, digits.center().y());
            QVERIFY2(qRed(middle) > 15 && qRed(middle) < 120, "the middle stroke of a 0 is unlit");
            const QRgb loop = image.pixel(x, digits.top() + digits.height() / 4);
            QCOMPARE(colourName(loop), QString("dark"));
        }
    }

    void modeIndicator_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::newRow("normal") << "modenormal.bmp" << "green" << 126 << 141;
        QTest::newRow("auto") << "modeauto.bmp" << "yellow" << 151 << 166;
        QTest::newRow("pursuit") << "modepursuit.bmp" << "red" << 169 << 186;
    }
    void modeIndicator()
    {
        QFETCH(QString, name);
        QFETCH(QString, colour);
        QFETCH(int, top);
        QFETCH(int, bottom);
        const QImage image = picture(name);
        const int barX = 71, boxX = 107, middle = (top + bottom) / 2;
        for (int y = top; y <= bottom; ++y)
            QCOMPARE(colourName(image.pixel(barX, y)), colour);
        QCOMPARE(colourName(image.pixel(barX, top - 1)), QString("dark"));
        QCOMPARE(colourName(image.pixel(barX, bottom + 1)), QString("dark"));
        QCOMPARE(colourName(image.pixel(boxX, top)), colour);
        QCOMPARE(colourName(image.pixel(boxX, bottom)), colour);
        for (int x : {67, 75, 88, 126})
            QCOMPARE(colourName(image.pixel(x, middle)), colour);
        for (int x : {66, 76, 87, 127})
            QCOMPARE(colourName(image.pixel(x, middle)), QString("dark"));
        // The mode's name in dark letters across the box.
        int letterPixels = 0;
        for (int x = 90; x <= 124; ++x)
            letterPixels += brightness(image.pixel(x, middle)) < 100;
        QVERIFY(letterPixels >= 4);
        // No other indicator is lit.
        for (int y : {133, 158, 177})
            if (y < top || y > bottom)
                QVERIFY(brightness(image.pixel(barX, y)) < 80);
    }

    void modeImagesAgree()
    {
        const QImage normal = picture("modenormal.bmp");
        const QImage others[] = {picture("modeauto.bmp"), picture("modepursuit.bmp")};
        const QRect indicator = span(67, 125, 126, 186);
        for (int y = 0; y < 199; ++y) {
            for (int x = 0; x < 199; ++x) {
                bool ok = x <= 167 && y <= 186 ? true : normal.pixel(x, y) == qRgb(0, 0, 0);
                for (const QImage &other : others)
                    ok = ok && (indicator.contains(x, y) || other.pixel(x, y) == normal.pixel(x, y));
                if (!ok)
                    QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    void litLamp()
    {
        const QImage lamp = picture("lamplit.jpg");
        QPoint hottest;
        int best = -1;
        for (int y = 0; y < lamp.height(); ++y) {
            for (int x = 0; x < lamp.width(); ++x) {
                const QRgb c = lamp.pixel(x, y);
                if (qRed(c) + qGreen(c) + qBlue(c) > best)
                    best = qRed(c) + qGreen(c) + qBlue(c), hottest = {x, y};
            }
        }
        // Pixel (7, 6) is the centre.
        QVERIFY2(hottest.x() > 7 && hottest.x() <= 10 && hottest.y() < 6 && hottest.y() >= 3,
                 qPrintable(QString("hottest at %1,%2").arg(hottest.x()).arg(hottest.y())));
        QVERIFY(best > 3 * 200);
        for (QPoint corner : {QPoint(0, 0), QPoint(14, 0), QPoint(0, 12), QPoint(14, 12)})
            QVERIFY(brightness(lamp.pixel(corner)) < 40);
        QCOMPARE(colourName(meanColour(lamp, lamp.rect())), QString("red"));
    }

    // What a Qt build for Windows links in from resources/appicon.rc: one icon
    // group with one 32 x 32 8-bit entry, whose image is the icon file's.
    void windowsIconResource()
    {
        const QString windres = QStandardPaths::findExecutable("x86_64-w64-mingw32-windres");
        QVERIFY2(!windres.isEmpty(), "windres missing: run tools/install-deps.sh");
        QTemporaryDir dir;
        const QString res = dir.filePath("appicon.res");
        QProcess tool;
        tool.setWorkingDirectory(Resources.path());
        tool.start(windres, {"--preprocessor=cpp", "--preprocessor-arg=-xc-header", "-O", "res",
                             "-I", Resources.path(), "-i", Resources.filePath("appicon.rc"),
                             "-o", res});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());

        enum : quint16 { RtIcon = 3, RtGroupIcon = 14 };
        QList<Resource> icons, groups;
        for (const Resource &r : parseRes(bytesOf(res))) {
            QVERIFY2(r.type == RtIcon || r.type == RtGroupIcon, "only the icon is built in");
            (r.type == RtIcon ? icons : groups).append(r);
        }
        QCOMPARE(groups.size(), 1);
        QCOMPARE(icons.size(), 1);
        const QByteArray group = groups.first().data;
        QCOMPARE(group.size(), 6 + 14);
        QCOMPARE(group.left(6).toHex(), QByteArray("000001000100"));
        // 32 x 32, 0 colours, reserved, 1 plane, 8 bpp, 2216 bytes, then the icon's id.
        QCOMPARE(group.mid(6, 12).toHex(), QByteArray("2020000001000800a8080000"));
        QCOMPARE(le16(group, 18), icons.first().name);
        QVERIFY(icons.first().data == committed("appicon.ico").mid(22));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
