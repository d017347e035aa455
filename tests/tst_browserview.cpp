// The browser view with whatever file a user may put in the voice box's
// place: it shows GIF pictures and only those, reads the file once and only
// when it is a regular file of bounded size, never blocks the window or
// grows without bound, keeps a sane frame rate, places the picture where
// the clip box can show it whole, and does no work while unseen. The
// decoder's own rules (disposal, transparency, interlacing, the bounds)
// are checked on FrameDecoder::decode, the entry point the view uses.
#include "animation/animationview.h"
#include "browserview.h"
#include "formaccess.h"
#include "animation/filereader.h"
#include "animation/framedecoder.h"
#include "giffixtures.h"
#include "gifinvariants.h"

#include <QBuffer>
#include <QPaintEvent>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace runtime;
using namespace runtime::qt;
using GifFrame = giffixtures::Frame;
using gifinvariants::decode;
using gifinvariants::sizeOf;
using giffixtures::gif;

namespace {

const QRect VoiceBoxCrop(0, 0, 167, 191);  // what the dashboard's clip box lets through
const QRect Seen = VoiceBoxCrop.translated(16, 24);  // the same, in the view

// Pixels not black, inside and outside a part of a picture.
std::pair<int, int> litInAndOut(const QImage &image, const QRect &part)
{
    std::pair<int, int> lit;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) & 0xFFFFFF)
                ++(part.contains(x, y) ? lit.first : lit.second);
    return lit;
}

QByteArray encoded(const char *format, QSize size = {20, 30})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QRgb at(const Animation &a, int frame, int x, int y) { return a.frames.at(size_t(frame))->pixel(x, y); }

// Each frame's first paint, from the first frame's, and what it painted.
struct PaintLog : QObject
{
    const AnimationView *view;
    std::vector<std::pair<runtime::Frame, QRegion>> shown;
    bool eventFilter(QObject *, QEvent *e) override
    {
        const runtime::Frame &f = view->frame();
        if (e->type() == QEvent::Paint && f
                && (shown.empty() ? f == view->playback().animation().frames[0] : f != shown.back().first))
            shown.emplace_back(f, static_cast<QPaintEvent *>(e)->region());
        return false;
    }
};

const QRgb Black = qRgb(0, 0, 0), Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0), Blue = qRgb(0, 0, 255);

} // namespace

class tst_BrowserView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void anyFile_data();
    void anyFile();
    void readsOnlyRegularFilesOfBoundedSize_data();
    void readsOnlyRegularFilesOfBoundedSize();
    void zeroDelayIsSlowedDown();
    void decodesOnlyGif();
    void keepsOnlyWhatCanBeSeen();
    void disposalAndTransparency();
    void interlacedRowsLandInPlace();
    void localColourTable();
    void badFrameEndsTheAnimation();
    void boundsHold_data();
    void boundsHold();
    void sameLookingFramesShareAnImage();
    void loopCounts();
    void pictureSitsWhereTheClipBoxShowsIt();
    void playsOnceWithoutLoopExtension();
    void showsEveryFrameAndWhatItChanges_data();
    void showsEveryFrameAndWhatItChanges();
    void pausesWhileHiddenAndResumesWithoutReopening();
    void fileChangedAfterReadingChangesNothing();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_parent;
    BrowserView *m_view = nullptr;
    const AnimationView *m_shown = nullptr;  // what the view was asked for, has decoded and has shown
};

QString tst_BrowserView::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_BrowserView::init()
{
    // As in the dashboard: the view larger than its container, which shows
    // only its part from (16, 24).
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(Seen.size());
    m_view = new BrowserView({Kind::BrowserView, "WebBrowser1", "", -240, -360, 3735, 5175}, m_parent.get());
    m_view->setGeometry(-16, -24, 249, 345);
    m_shown = &animationOf(m_view);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
}

void tst_BrowserView::anyFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kind");  // file, folder, pipe, link (to the text in bytes), missing
    QTest::addColumn<bool>("shows");    // a picture appears; else a note says why

    const QSize small(20, 30);
    QByteArray noise(1 << 20, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 24);
    const QByteArray good = gif(small, {{small}, {small, 10, 2}});

    QTest::newRow("animated gif") << "a.gif" << good << "file" << true;
    QTest::newRow("png under the gif's name") << "p.gif" << encoded("png") << "file" << false;
    QTest::newRow("jpeg under the gif's name") << "j.gif" << encoded("jpeg") << "file" << false;
    QTest::newRow("bmp under the gif's name") << "b.gif" << encoded("bmp") << "file" << false;
    QTest::newRow("missing") << "none.gif" << QByteArray() << "missing" << false;
    QTest::newRow("empty") << "e.gif" << QByteArray() << "file" << false;
    QTest::newRow("noise") << "n.gif" << noise << "file" << false;
    QTest::newRow("a web page") << "w.gif" << QByteArray("<html><script>while(1){}</script></html>") << "file" << false;
    QTest::newRow("header only") << "h.gif" << good.left(13) << "file" << false;
    QTest::newRow("cut in the first frame") << "c.gif" << good.left(good.size() / 3) << "file" << false;
    QTest::newRow("screen 65535 square") << "s.gif" << gif({65535, 65535}, {{{65535, 65535}, 10, 1, 2000}}) << "file" << false;
    // A frame larger than its screen is clipped to it: what fits is shown.
    QTest::newRow("frame past the screen")
            << "f.gif" << gif(small, {{.size = {60000, 60000}, .compressed = true}}) << "file" << true;
    QTest::newRow("folder") << "d.gif" << QByteArray() << "folder" << false;
    QTest::newRow("pipe") << "fifo.gif" << QByteArray() << "pipe" << false;
    QTest::newRow("link to /dev/zero") << "z.gif" << QByteArray("/dev/zero") << "link" << false;
    QTest::newRow("link to /dev/urandom") << "u.gif" << QByteArray("/dev/urandom") << "link" << false;
    QTest::newRow("link to nowhere") << "l.gif" << QByteArray("no such file") << "link" << false;
    QTest::newRow("link to itself") << "self.gif" << QByteArray("self.gif") << "link" << false;
}

void tst_BrowserView::anyFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    QFETCH(bool, shows);

    const QString path = m_dir.filePath(name);
    if (kind == "file")
        write(name, bytes);
    else if (kind == "folder")
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (kind == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "link")
        QCOMPARE(symlink(bytes.constData(), QFile::encodeName(path).constData()), 0);
    m_view->apply(Property::Navigate, path.toStdString());
    QVERIFY(m_shown->playback().loading());  // returns before reading: the worker reads
    QTRY_VERIFY_WITH_TIMEOUT(!m_shown->playback().loading(), 20000);
    QCOMPARE(!m_shown->playback().animation().isEmpty(), shows);
    if (shows) {
        QTRY_VERIFY(m_shown->framesShown() >= 1);
        QVERIFY(m_shown->frame());
        // The picture, and no note beside it.
        QCOMPARE(litInAndOut(m_view->grab().toImage(), QRect(Seen.topLeft(), toQImage(m_shown->frame()).size())).second, 0);
    } else {
        QTest::qWait(50);
        QCOMPARE(m_shown->framesShown(), 0);
        // The note, all of it where the container lets it be seen.
        const auto [inside, outside] = litInAndOut(m_view->grab().toImage(), Seen);
        QVERIFY(inside > 0);
        QCOMPARE(outside, 0);
    }
}

void tst_BrowserView::readsOnlyRegularFilesOfBoundedSize_data()
{
    QTest::addColumn<QString>("target");  // what the link points at; "" for a file of `size` bytes
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("read");

    QTest::newRow("regular file") << "" << qint64(1000) << true;
    QTest::newRow("exactly the bound") << "" << qint64(FrameDecoder::MaxFileBytes) << true;
    QTest::newRow("a byte over the bound (sparse)") << "" << qint64(FrameDecoder::MaxFileBytes + 1) << false;
    QTest::newRow("4 GiB (sparse)") << "" << (qint64(4) << 30) << false;
    QTest::newRow("/dev/zero") << "/dev/zero" << qint64(0) << false;
    QTest::newRow("/dev/urandom") << "/dev/urandom" << qint64(0) << false;
    QTest::newRow("/dev/null") << "/dev/null" << qint64(0) << false;
    QTest::newRow("a folder") << "/" << qint64(0) << false;
    // A /proc file is "regular" of size 0 and reads on for ever.
    QTest::newRow("/proc/self/pagemap") << "/proc/self/pagemap" << qint64(0) << false;
    QTest::newRow("/proc/self/status") << "/proc/self/status" << qint64(0) << true;
}

void tst_BrowserView::readsOnlyRegularFilesOfBoundedSize()
{
    QFETCH(QString, target);
    QFETCH(qint64, size);
    QFETCH(bool, read);
    const QString path = m_dir.filePath(QStringLiteral("r.gif"));
    QFile::remove(path);
    if (target.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    } else {
        QVERIFY(QFile::link(target, path));
    }
    // A pipe or a device that blocked would hang here, on this thread.
    FileProblem problem;
    const auto bytes = readRegularFile(path.toStdString(), FrameDecoder::MaxFileBytes, nullptr, problem);
    QCOMPARE(bytes.has_value(), read);
    if (read && target.isEmpty())
        QCOMPARE(qint64(bytes->size()), size);
}

void tst_BrowserView::zeroDelayIsSlowedDown()
{
    const Animation a = decode(gif({4, 4}, {{{4, 4}, 0}, {{4, 4}, 1}, {{4, 4}, 2}, {{4, 4}, 5}}),
                                             VoiceBoxCrop);
    QCOMPARE(a.delaysMs, (std::vector<int>{FrameDecoder::DefaultDelayMs, FrameDecoder::DefaultDelayMs, 20, 50}));
    QCOMPARE(a.end, Animation::End::Complete);
}

void tst_BrowserView::decodesOnlyGif()
{
    for (const char *format : {"png", "jpeg", "bmp", "ppm"}) {
        const Animation a = decode(encoded(format), VoiceBoxCrop);
        QVERIFY2(a.isEmpty(), format);
        QCOMPARE(a.end, Animation::End::NotGif);
    }
    QByteArray gif87 = gif({4, 4}, {{{4, 4}}}, -1);
    gif87[4] = '7';
    QVERIFY(!decode(gif87, VoiceBoxCrop).isEmpty());
    QByteArray gif88 = gif87;
    gif88[4] = '8';  // giflib itself would take any "GIF" prefix
    QVERIFY(decode(gif88, VoiceBoxCrop).isEmpty());
}

void tst_BrowserView::keepsOnlyWhatCanBeSeen()
{
    // A 400 x 400 picture keeps its visible 167 x 191, whatever the screen.
    const Animation a = decode(gif({400, 400}, {{{400, 400}, 10, 2}}), VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 1);
    QCOMPARE(sizeOf(a.frames.at(0)), QSize(167, 191));
    QCOMPARE(at(a, 0, 166, 190), Green);
    // Rows below the crop are not decoded: 191 of 400, plus the table reset.
    QCOMPARE(a.work, 191 * 400 + FrameDecoder::FrameOverheadPixels);
    // A crop that starts inside the picture keeps from there.
    const Animation b = decode(gif({100, 100}, {{{100, 100}, 10, 3}}), QRect(10, 20, 50, 50));
    QCOMPARE(sizeOf(b.frames.at(0)), QSize(50, 50));
    // A smaller screen makes a smaller frame.
    const Animation c = decode(gif({20, 30}, {{{20, 30}}}), VoiceBoxCrop);
    QCOMPARE(sizeOf(c.frames.at(0)), QSize(20, 30));
    // A picture placed wholly outside what is seen shows nothing.
    QVERIFY(decode(gif({400, 400}, {{{400, 400}}}), QRect(500, 500, 10, 10)).isEmpty());
}

void tst_BrowserView::disposalAndTransparency()
{
    // Frame 1: red 4 x 4. Frame 2: green 2 x 2 at (2, 2), kept, then
    // disposed to background. Frame 3: blue 1 x 1 at (0, 0) with its
    // colour transparent: nothing drawn. Frame 4: blue 1 x 1 at (3, 0),
    // restored to the previous picture afterwards. Frame 5: nothing new.
    const QByteArray bytes = gif({4, 4}, {
        {.size = {4, 4}, .colour = 1},
        {.size = {2, 2}, .colour = 2, .at = {2, 2}, .disposal = 2},
        {.size = {1, 1}, .colour = 3, .transparent = 3},
        {.size = {1, 1}, .colour = 3, .at = {3, 0}, .disposal = 3},
        {.size = {1, 1}, .colour = 1, .at = {0, 0}},
    });
    const Animation a = decode(bytes, VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 5);
    QCOMPARE(at(a, 0, 3, 3), Red);
    QCOMPARE(at(a, 1, 3, 3), Green);
    QCOMPARE(at(a, 1, 1, 1), Red);
    QCOMPARE(at(a, 2, 3, 3), Black);  // disposed to background: black
    QCOMPARE(at(a, 2, 0, 0), Red);    // transparent: left as it was
    QCOMPARE(at(a, 3, 3, 0), Blue);
    QCOMPARE(at(a, 4, 3, 0), Red);    // restored to before frame 4
    QCOMPARE(at(a, 4, 3, 3), Black);
}

void tst_BrowserView::interlacedRowsLandInPlace()
{
    // Stored in passes: rows 0, 8; 4; 2, 6; 1, 3, 5, 7. Each stored row is
    // one colour, in stored order: red, green, blue, red, ...
    const int h = 9, w = 3;
    const int stored[] = {0, 8, 4, 2, 6, 1, 3, 5, 7};
    QByteArray indices;
    for (int i = 0; i < h; ++i)
        indices.append(QByteArray(w, char(1 + i % 3)));
    const Animation a = decode(
            gif({w, h}, {{.size = {w, h}, .interlaced = true, .indices = indices}}), VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 1);
    const QRgb colour[] = {Red, Green, Blue};
    for (int i = 0; i < h; ++i)
        QCOMPARE(at(a, 0, 1, stored[i]), colour[i % 3]);
    // With a crop of the top two rows, decoding stops once rows 0 and 1
    // are had: at stored row 6 of 9, which is row 1 (blue).
    const Animation top = decode(
            gif({w, h}, {{.size = {w, h}, .interlaced = true, .indices = indices}}), QRect(0, 0, w, 2));
    QCOMPARE(top.work, 6 * w + FrameDecoder::FrameOverheadPixels);
    QCOMPARE(top.frames.at(0)->pixel(0, 1), Blue);
}

void tst_BrowserView::localColourTable()
{
    // The local table is the global one reversed (blue, green, red,
    // black): index 1 is green there, 0 blue.
    const Animation a = decode(gif({2, 2}, {{.size = {2, 2}, .colour = 1, .localTable = true}}),
                                             VoiceBoxCrop);
    QCOMPARE(at(a, 0, 0, 0), Green);
    // An index past a table's end draws nothing.
    const Animation b = decode(gif({2, 2}, {{.size = {2, 2}, .colour = 7, .localTable = true}}),
                                             VoiceBoxCrop);
    QCOMPARE(at(b, 0, 0, 0), Black);
}

void tst_BrowserView::badFrameEndsTheAnimation()
{
    const QSize s(8, 8);
    const QByteArray three = gif(s, {{s, 10, 1}, {s, 10, 2}, {s, 10, 3}});
    // Cut inside the third frame: the first two play.
    const QByteArray cut = three.left(three.size() - 20);
    Animation a = decode(cut, VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 2);
    QCOMPARE(a.end, Animation::End::Malformed);
    // Without its trailer: all three, the end being unreadable.
    a = decode(three.chopped(1), VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 3);
    // A frame whose data ends before its last pixel is not shown.
    a = decode(gif(s, {{s, 10, 1}, {s, 10, 2, 40}}), VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 1);
    // No colour table at all.
    QByteArray noTable = gif(s, {{s}});
    noTable[10] = 0;  // no global table flag: the 768 table bytes become junk
    QVERIFY(decode(noTable, VoiceBoxCrop).isEmpty());
}

void tst_BrowserView::boundsHold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("frames");  // expected, or -1: any, within the bounds
    QTest::addColumn<int>("end");

    const QSize seen(167, 191);
    // 600 different full frames: 600 x 125 KiB is over 64 MiB.
    QList<GifFrame> many;
    for (int i = 0; i < 600; ++i)
        many.append(GifFrame{.size = {167, 1}, .colour = 1 + i % 3, .at = {0, i % 191}});
    many.prepend(GifFrame{.size = seen, .colour = 0});
    QTest::newRow("frames over the memory bound") << gif(seen, many) << -1 << int(Animation::End::OverBudget);
    // A 65535-square frame (4 G pixels, 3 MB compressed): its top 191
    // rows are decoded, the rest skipped.
    QTest::newRow("65535 square")
            << gif({65535, 65535}, {{.size = {65535, 65535}, .compressed = true}}) << 1 << int(Animation::End::Complete);
    // Each 65535-wide frame costs 191 x 65535 pixels: the sixth is over.
    QTest::newRow("frames over the work bound")
            << gif({65535, 1000}, QList<GifFrame>(6, GifFrame{.size = {65535, 1000}, .compressed = true}))
            << 5 << int(Animation::End::OverBudget);
    // 8000 x 8000: only the 191 seen rows are decoded, the rest skipped.
    QTest::newRow("8000 square, top rows decoded")
            << gif({8000, 8000}, {{.size = {8000, 8000}, .compressed = true}}) << 1 << int(Animation::End::Complete);
    // 20 frames of 2000 x 2000 (80 M pixels) need only 20 x 191 rows.
    QList<GifFrame> big(20, GifFrame{.size = {2000, 2000}, .compressed = true});
    QTest::newRow("20 frames of 2000 square") << gif({2000, 2000}, big) << 20 << int(Animation::End::Complete);
    // The same, interlaced: the last pass must be read to row 190.
    big.resize(10);
    for (GifFrame &f : big)
        f.interlaced = true, f.compressed = false, f.size = {2000, 400};
    QTest::newRow("interlaced") << gif({2000, 400}, big) << 10 << int(Animation::End::Complete);
    // More frames than MaxFrames, each a pixel outside the crop.
    QList<GifFrame> tiny(FrameDecoder::MaxFrames + 5, GifFrame{.size = {1, 1}, .delayCs = 0, .at = {200, 200}});
    QTest::newRow("too many frames") << gif({300, 300}, tiny) << FrameDecoder::MaxFrames
                                     << int(Animation::End::OverBudget);
}

void tst_BrowserView::boundsHold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, frames);
    QFETCH(int, end);
    const Animation a = decode(bytes, VoiceBoxCrop);
    QCOMPARE(int(a.end), end);
    if (frames >= 0)
        QCOMPARE(a.frames.size(), frames);
    QVERIFY(a.bytes <= FrameDecoder::MaxFrameBytes);
    QVERIFY(a.work <= FrameDecoder::MaxPixelWork);
    QVERIFY(a.frames.size() <= FrameDecoder::MaxFrames);
    QCOMPARE(a.delaysMs.size(), a.frames.size());
    for (const runtime::Frame &f : a.frames)
        QVERIFY(f->width <= 167 && f->height <= 191);
}

void tst_BrowserView::sameLookingFramesShareAnImage()
{
    // Changes outside what is seen make no new image and cost no memory.
    QList<GifFrame> frames{{.size = {10, 10}}};
    for (int i = 0; i < 50; ++i)
        frames.append(GifFrame{.size = {5, 5}, .colour = 2, .at = {300, 300}});
    const Animation a = decode(gif({400, 400}, frames), VoiceBoxCrop);
    QCOMPARE(a.frames.size(), 51);
    QCOMPARE(a.bytes, a.frames.at(0)->bytes());
    QCOMPARE(a.frames.at(50).get(), a.frames.at(0).get());
    // A picture restored from before a frame, then left as it was, is that
    // earlier image again: counted once (found by the fuzzer).
    const Animation b = decode(gif({4, 4}, {{.size = {4, 4}},
                                                          {.size = {1, 1}, .colour = 2, .disposal = 3},
                                                          {.size = {1, 1}, .at = {300, 300}}}), VoiceBoxCrop);
    QCOMPARE(b.frames.size(), 3);
    QCOMPARE(b.frames.at(2).get(), b.frames.at(0).get());
    QCOMPARE(b.bytes, 2 * b.frames.at(0)->bytes());
}

void tst_BrowserView::loopCounts()
{
    const QList<GifFrame> two{{{4, 4}}, {{4, 4}, 10, 2}};
    QCOMPARE(decode(gif({4, 4}, two, -1), VoiceBoxCrop).plays, 1);
    QCOMPARE(decode(gif({4, 4}, two, 0), VoiceBoxCrop).plays, 0);
    QCOMPARE(decode(gif({4, 4}, two, 2), VoiceBoxCrop).plays, 3);
}

void tst_BrowserView::pictureSitsWhereTheClipBoxShowsIt()
{
    // A picture as large as the clip box's client area is seen whole.
    m_view->apply(Property::Navigate, write("fit.gif", gif({167, 191}, {{{167, 191}, 10, 1}}, -1)).toStdString());
    QTRY_COMPARE(m_shown->framesShown(), 1);
    const QImage shot = m_view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(16, 24), Red);
    QCOMPARE(shot.pixel(182, 214), Red);
    QCOMPARE(shot.pixel(15, 24), Black);
    QCOMPARE(shot.pixel(16, 23), Black);
    QCOMPARE(shot.pixel(183, 214), Black);
    QCOMPARE(shot.pixel(182, 215), Black);
    // The view keeps no more than the part of it that its parent shows.
    QCOMPARE(m_shown->playback().animation().bytes, 167 * 191 * 4);
}

void tst_BrowserView::playsOnceWithoutLoopExtension()
{
    m_view->apply(Property::Navigate, write("once.gif", gif({4, 4}, {{{4, 4}, 2, 1}, {{4, 4}, 2, 2}}, -1)).toStdString());
    QTRY_COMPARE(m_shown->framesShown(), 2);
    QTest::qWait(300);
    QCOMPARE(m_shown->framesShown(), 2);
    QCOMPARE(m_shown->frame()->pixel(0, 0), Green);
}

void tst_BrowserView::showsEveryFrameAndWhatItChanges_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QSize s(20, 30);  // one pixel changed on a tile's corner, then in the last part tile:
    QTest::newRow("whole frames") << gif(s, {{s, 2, 1}, {s, 5, 2}, {s, 3, 3}, {s, 4, 0}});
    QTest::newRow("a pixel a frame") << gif(s, {{s, 2, 1}, {.size = {1, 1}, .delayCs = 3, .colour = 2, .at = {8, 16}},
                                                {.size = {1, 1}, .delayCs = 2, .colour = 3, .at = {19, 29}}, {s, 4, 0}});
}

void tst_BrowserView::showsEveryFrameAndWhatItChanges()
{
    QFETCH(QByteArray, bytes);
    PaintLog log;
    log.view = m_shown;
    m_view->installEventFilter(&log);
    m_view->apply(Property::Navigate, write("every.gif", bytes).toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(log.shown.size() > 8, 10000);  // twice round
    m_view->removeEventFilter(&log);
    const Animation &a = m_shown->playback().animation();
    // The next frame, none skipped, and every pixel it changes painted.
    for (size_t i = 1; i < log.shown.size(); ++i) {
        const auto &[frame, region] = log.shown[i];
        QCOMPARE(frame, a.frames[i % 4]);
        for (int p = 0; p < 30 * 20; ++p)
            QVERIFY(frame->pixels[size_t(p)] == log.shown[i - 1].first->pixels[size_t(p)]
                    || region.contains(Seen.topLeft() + QPoint(p % 20, p / 20)));
    }
}

void tst_BrowserView::pausesWhileHiddenAndResumesWithoutReopening()
{
    const QString path = write("loop.gif", gif({4, 4}, {{{4, 4}, 2, 1}, {{4, 4}, 2, 2}, {{4, 4}, 2, 3}}));
    m_view->apply(Property::Navigate, path.toStdString());
    QTRY_VERIFY(m_shown->framesShown() >= 4);  // looped past the last frame

    m_parent->hide();
    QTest::qWait(100);  // a frame already due may still land
    const int atHide = m_shown->framesShown();
    QTest::qWait(400);
    QCOMPARE(m_shown->framesShown(), atHide);

    QFile::remove(path);  // nothing is read anew: a new read would find no file
    m_parent->show();
    QTRY_VERIFY(m_shown->framesShown() >= atHide + 3);
}

void tst_BrowserView::fileChangedAfterReadingChangesNothing()
{
    // Read once: whatever happens to the file afterwards, the animation
    // plays on as it was read.
    const QString path = write("changing.gif", gif({4, 4}, {{{4, 4}, 2, 1}, {{4, 4}, 2, 2}}));
    m_view->apply(Property::Navigate, path.toStdString());
    QTRY_VERIFY(!m_shown->playback().loading());
    QVERIFY(::truncate(QFile::encodeName(path).constData(), 0) == 0);
    QTRY_VERIFY(m_shown->framesShown() >= 3);
    write("changing.gif", QByteArray(1 << 20, 'x'));
    const int before = m_shown->framesShown();
    QTRY_VERIFY(m_shown->framesShown() >= before + 3);
    QVERIFY(!m_shown->playback().loading());
    QCOMPARE(m_shown->playback().animation().frames.size(), 2);
}

QTEST_MAIN(tst_BrowserView)
#include "tst_browserview.moc"
