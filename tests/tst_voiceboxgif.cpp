// The voice-box animation: the committed "velk voicebox.gif" must be exactly
// what make-voicebox writes, and must suit the clip box that shows it (167 x
// 191 pixels, looping for ever at a speaking pace) and the icon it echoes
// (three columns of bars in the icon's reds, each frame symmetric). The layout
// is read from the picture itself rather than restated here, so the checks
// hold for any bar sizes that keep those promises.
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString Committed = QStringLiteral(RESOURCES_DIR "/velk voicebox.gif");
constexpr int CentreX = 83;
constexpr QRgb Black = 0xff000000, Dim = 0xff300000, DarkRed = 0xff940000, Red = 0xffff0000;

struct Span
{
    int first, last;
};

// The unlit shape is drawn in every frame, so any non-black pixel marks it.
QList<Span> columnsOf(const QImage &frame)
{
    QList<Span> spans;
    for (int x = 0; x < frame.width(); ++x) {
        bool used = false;
        for (int y = 0; y < frame.height() && !used; ++y)
            used = frame.pixel(x, y) != Black;
        if (used && (spans.isEmpty() || spans.last().last != x - 1))
            spans.append({x, x});
        else if (used)
            spans.last().last = x;
    }
    return spans;
}

} // namespace

class TestVoiceboxGif : public QObject
{
    Q_OBJECT

    QList<QImage> frames;
    QList<int> delays;
    int loopCount = 0;

private slots:
    void initTestCase()
    {
        QImageReader reader(Committed);
        QCOMPARE(reader.format(), QByteArray("gif"));
        QCOMPARE(reader.size(), QSize(167, 191));
        QVERIFY(reader.supportsAnimation());
        loopCount = reader.loopCount();
        for (QImage frame; reader.read(&frame);) {
            frames.append(frame.convertToFormat(QImage::Format_RGB32));
            delays.append(reader.nextImageDelay());
        }
        QCOMPARE(frames.size(), reader.imageCount());
    }

    void regeneratesByteForByte()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("velk voicebox.gif");
        QCOMPARE(QProcess::execute(MAKE_VOICEBOX, {out}), 0);
        QFile made(out), committed(Committed);
        QVERIFY(made.open(QIODevice::ReadOnly) && committed.open(QIODevice::ReadOnly));
        QVERIFY(made.readAll() == committed.readAll());
    }

    void refusesBadTargets_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("maxFileSize"); // 0: no limit
        QTest::newRow("no argument") << QStringList{} << 0;
        QTest::newRow("two arguments") << QStringList{"a.gif", "b.gif"} << 0;
        QTest::newRow("missing folder") << QStringList{"no such folder/v.gif"} << 0;
        QTest::newRow("folder as output") << QStringList{"."} << 0;
        QTest::newRow("disk fills up") << QStringList{"v.gif"} << 1024;
    }

    // A failure must say so and leave nothing behind that could be committed.
    void refusesBadTargets()
    {
        QFETCH(QStringList, args);
        QFETCH(int, maxFileSize);
        QTemporaryDir dir;
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        if (maxFileSize > 0) {
            // Writes past the limit then fail as on a full disk, rather than
            // the signal killing the tool before it can clean up.
            tool.setChildProcessModifier([maxFileSize] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{rlim_t(maxFileSize), rlim_t(maxFileSize)};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        tool.start(MAKE_VOICEBOX, args);
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY(tool.exitCode() != 0);
        QVERIFY(!tool.readAllStandardError().isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void loopsForeverAtSpeakingPace()
    {
        QVERIFY(frames.size() > 1);
        QCOMPARE(loopCount, -1); // Qt's word for the NETSCAPE2.0 repeat count 0
        for (int delay : delays)
            QVERIFY2(delay >= 60 && delay <= 120, qPrintable(QString::number(delay)));
        for (qsizetype i = 0; i < frames.size(); ++i) // the loop seam included
            QVERIFY2(frames[i] != frames[(i + 1) % frames.size()], qPrintable(QString::number(i)));
    }

    void shapeIsThreeMirroredColumns()
    {
        const QList<Span> columns = columnsOf(frames.first());
        QCOMPARE(columns.size(), 3);
        QCOMPARE(columns[1].first + columns[1].last, 2 * CentreX);
        QCOMPARE(columns[0].first + columns[2].last, 2 * CentreX);
        QCOMPARE(columns[0].last + columns[2].first, 2 * CentreX);
        const auto height = [&](int x) {
            int rows = 0;
            for (int y = 0; y < frames.first().height(); ++y)
                rows += frames.first().pixel(x, y) != Black;
            return rows;
        };
        QVERIFY(height(CentreX) > height(columns[0].first));
        QCOMPARE(height(columns[0].first), height(columns[2].first));
    }

    void frameIsAMeter_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < frames.size(); ++i)
            QTest::addRow("frame %d", i) << i;
    }

    // Within each column every row is one colour, and going down the middle
    // of it the lit bars form one unbroken run whose two end bars are dark
    // red: a level meter, not scattered sparks.
    void frameIsAMeter()
    {
        QFETCH(int, index);
        const QImage &image = frames[index];
        const QImage &shape = frames.first();
        QCOMPARE(image.mirrored(false, true), image);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb colour = image.pixel(x, y);
                QVERIFY(colour == Black || colour == Dim || colour == DarkRed || colour == Red);
                // Unlit bars stay dim, so quiet or loud the shape is the same.
                QCOMPARE(colour == Black, shape.pixel(x, y) == Black);
            }
        }
        const QList<Span> columns = columnsOf(shape);
        for (const Span &column : columns) {
            QList<QRgb> bars; // one entry per bar, top to bottom
            for (int y = 0; y < image.height(); ++y) {
                const QRgb colour = image.pixel(column.first, y);
                for (int x = column.first; x <= column.last; ++x)
                    QCOMPARE(image.pixel(x, y), colour);
                if (colour != Black && (y == 0 || image.pixel(column.first, y - 1) == Black))
                    bars.append(colour);
            }
            const qsizetype first = bars.indexOf(DarkRed), last = bars.lastIndexOf(DarkRed);
            for (qsizetype bar = 0; bar < bars.size(); ++bar)
                QCOMPARE(bars[bar], bar == first || bar == last ? DarkRed
                                    : bar > first && bar < last ? Red : Dim);
        }
    }
};

QTEST_GUILESS_MAIN(TestVoiceboxGif)
#include "tst_voiceboxgif.moc"
