// The browser view with whatever file a user may put in the voice box's
// place: it shows pictures and only pictures, never blocks the window or
// grows without bound, keeps a sane frame rate, places the picture where
// the clip box can show it whole, and does no work while unseen.
#include "browserview.h"
#include "framedecoder.h"
#include "giffixtures.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace runtime;
using giffixtures::Frame;
using giffixtures::gif;

static quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

class tst_BrowserView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void anyFile_data();
    void anyFile();
    void zeroDelayIsSlowedDown();
    void pictureSitsWhereTheClipBoxShowsIt();
    void playsOnceWithoutLoopExtension();
    void pausesWhileHiddenAndResumesWithoutReopening();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_parent;
    BrowserView *m_view = nullptr;
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
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(300, 400);
    m_view = new BrowserView(m_parent.get());
    m_view->setGeometry(0, 0, 249, 345);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
}

void tst_BrowserView::anyFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");       // 0 regular file, 1 folder, 2 pipe, 3 device link, 4 missing
    QTest::addColumn<bool>("shows");     // a picture appears

    const QSize small(20, 30);
    QImage png(small, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(png);
    QByteArray hugePng = pngBytes;  // the header claims 100000 x 100000, checksum and all
    hugePng.replace(16, 8, QByteArray("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8));
    const quint32 crc = crc32(hugePng.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        hugePng[29 + i] = char(crc >> (24 - 8 * i));
    QByteArray noise(1 << 20, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 24);
    const QByteArray good = gif(small, {{small}, {small, 10, 2}});

    QTest::newRow("animated gif") << "a.gif" << good << 0 << true;
    QTest::newRow("still png") << "p.gif" << pngBytes << 0 << true;
    QTest::newRow("missing") << "none.gif" << QByteArray() << 4 << false;
    QTest::newRow("empty") << "e.gif" << QByteArray() << 0 << false;
    QTest::newRow("noise") << "n.gif" << noise << 0 << false;
    QTest::newRow("a web page") << "w.gif" << QByteArray("<html><script>while(1){}</script></html>") << 0 << false;
    QTest::newRow("header only") << "h.gif" << good.left(13) << 0 << false;
    QTest::newRow("cut in the first frame") << "c.gif" << good.left(good.size() / 3) << 0 << false;
    QTest::newRow("screen 65535 square") << "s.gif" << gif({65535, 65535}, {{{65535, 65535}, 10, 1, 2000}}) << 0 << false;
    // The decoder clips a frame to the screen: what fits is shown.
    QTest::newRow("frame past the screen") << "f.gif" << gif(small, {{{60000, 60000}, 10, 1, 2000}}) << 0 << true;
    QTest::newRow("png claiming 10^10 pixels") << "g.gif" << hugePng << 0 << false;
    QTest::newRow("folder") << "d.gif" << QByteArray() << 1 << false;
    QTest::newRow("pipe") << "fifo.gif" << QByteArray() << 2 << false;
    QTest::newRow("link to a device") << "z.gif" << QByteArray() << 3 << false;
}

void tst_BrowserView::anyFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(bool, shows);

    QString path = m_dir.filePath(name);
    switch (kind) {
    case 0: write(name, bytes); break;
    case 1: QVERIFY(QDir(m_dir.path()).mkpath(name)); break;
    case 2: QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0); break;
    case 3: QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path)); break;
    }
    QSignalSpy frames(m_view, &BrowserView::frameShown);
    QCOMPARE(m_view->navigate(path), Status::Ok);
    if (shows) {
        QTRY_VERIFY(frames.count() >= 1);
        QVERIFY(!m_view->currentFrame().isNull());
    } else {
        QTest::qWait(300);
        QCOMPARE(frames.count(), 0);
        const QImage shot = m_view->grab().toImage();
        QCOMPARE(shot.pixel(50, 50), qRgb(0, 0, 0));
    }
}

void tst_BrowserView::zeroDelayIsSlowedDown()
{
    FrameDecoder decoder(std::make_shared<std::atomic<bool>>(false));
    QSignalSpy ready(&decoder, &FrameDecoder::frameReady);
    decoder.open(write("zero.gif", gif({4, 4}, {{{4, 4}, 0}, {{4, 4}, 1}, {{4, 4}, 5}})), {100, 100}, 1);
    decoder.decodeNext(1);
    decoder.decodeNext(1);
    QCOMPARE(ready.count(), 3);
    QCOMPARE(ready.at(0).at(1).toInt(), FrameDecoder::DefaultDelayMs);
    QCOMPARE(ready.at(1).at(1).toInt(), FrameDecoder::DefaultDelayMs);
    QCOMPARE(ready.at(2).at(1).toInt(), 50);
}

void tst_BrowserView::pictureSitsWhereTheClipBoxShowsIt()
{
    // A picture as large as the clip box's client area is seen whole.
    m_view->navigate(write("fit.gif", gif({167, 191}, {{{167, 191}, 10, 1}}, -1)));
    QSignalSpy frames(m_view, &BrowserView::frameShown);
    QTRY_COMPARE(frames.count(), 1);
    const QImage shot = m_view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb red = qRgb(255, 0, 0), black = qRgb(0, 0, 0);
    QCOMPARE(shot.pixel(16, 24), red);
    QCOMPARE(shot.pixel(182, 214), red);
    QCOMPARE(shot.pixel(15, 24), black);
    QCOMPARE(shot.pixel(16, 23), black);
    QCOMPARE(shot.pixel(183, 214), black);
    QCOMPARE(shot.pixel(182, 215), black);
}

void tst_BrowserView::playsOnceWithoutLoopExtension()
{
    QSignalSpy frames(m_view, &BrowserView::frameShown);
    m_view->navigate(write("once.gif", gif({4, 4}, {{{4, 4}, 2, 1}, {{4, 4}, 2, 2}}, -1)));
    QTRY_COMPARE(frames.count(), 2);
    QTest::qWait(300);
    QCOMPARE(frames.count(), 2);
    QCOMPARE(m_view->currentFrame().pixel(0, 0), qRgb(0, 255, 0));
}

void tst_BrowserView::pausesWhileHiddenAndResumesWithoutReopening()
{
    QSignalSpy navigated(m_view, &BrowserView::navigated);
    QSignalSpy frames(m_view, &BrowserView::frameShown);
    const QString path = write("loop.gif", gif({4, 4}, {{{4, 4}, 2, 1}, {{4, 4}, 2, 2}, {{4, 4}, 2, 3}}));
    m_view->navigate(path);
    QTRY_VERIFY(frames.count() >= 4);  // looped past the last frame

    m_parent->hide();
    QTest::qWait(100);  // a frame asked for before hiding may still land
    const int atHide = frames.count();
    QTest::qWait(400);
    QCOMPARE(frames.count(), atHide);

    QFile::remove(path);  // the open file goes on; nothing is read anew
    m_parent->show();
    QTRY_VERIFY(frames.count() >= atHide + 3);
    QCOMPARE(navigated.count(), 1);
}

QTEST_MAIN(tst_BrowserView)
#include "tst_browserview.moc"
