// The soak: the dashboard under a storm of random clicks all over the
// window, single and double, with the 1 ms timer and the voice-box
// animation running. A model (dashboardmodel.h) works out from the form
// table which control each click reaches and what it must do; after every
// click the window system's choice and the twenty switchable pictures and
// the power state must match the model: no click lost, none taken twice.
// The readouts must follow their sources. Memory and open files must stay
// flat after the warm-up.
//
// Bounded by count and by time: SOAK_CLICKS (default 20000) and
// SOAK_SECONDS (default 60); `make soak` runs it for an hour. Figures go
// to SOAK_FIGURES when set. SOAK_SEED picks another storm.
#include "dashboardfixture.h"
#include "dashboardmodel.h"

#include "animation/animationview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <sys/resource.h>
#include <unistd.h>

namespace {

qint64 residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;  // ASan's quarantine makes resident memory meaningless
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

} // namespace

class tst_Soak : public DashboardFixture
{
    Q_OBJECT

private slots:
    void storm();
};

void tst_Soak::storm()
{
    const qint64 maxClicks = qEnvironmentVariableIntValue("SOAK_CLICKS") > 0
            ? qEnvironmentVariable("SOAK_CLICKS").toLongLong() : 20000;
    const qint64 maxSeconds = qEnvironmentVariableIntValue("SOAK_SECONDS") > 0
            ? qEnvironmentVariableIntValue("SOAK_SECONDS") : 60;
    const quint32 seed = qEnvironmentVariableIsSet("SOAK_SEED") ? quint32(qEnvironmentVariableIntValue("SOAK_SEED")) : 1;
    QRandomGenerator random(seed);

    loadDashboard();
    DashboardModel model;
    // The voice box is asked for once, when the dashboard loads.
    const runtime::AnimationView &view = animationOf(controlOf(form, QStringLiteral("WebBrowser1")));

    // Zones to aim at, the voice-box ones weighted so that the animation
    // runs for a good share of the time; the exit zone never.
    QStringList aims;
    for (int i = 1; i <= 45; ++i) {
        const QString zone = QStringLiteral("Label%1").arg(i);
        if (i == 2 || i == 6 || i == 10 || i == 11 || i == 29 || model.windowRect(zone).isNull())
            continue;
        aims << zone;
        if (i == 8 || i == 9)
            aims << zone << zone << zone << zone << zone << zone;
    }
    const QRect exitZone = model.windowRect(QStringLiteral("Label2"));

    QHash<QString, qint64> reached;
    qint64 clicks = 0, doubles = 0, voiceBoxClicks = 0, worstClickUs = 0;
    qint64 warmRss = 0, warmFiles = 0, peakRss = 0, warmAt = -1;
    double warmCpu = 0;
    QStringList samples;
    QElapsedTimer clock, sampleClock;
    clock.start();
    sampleClock.start();
    const qint64 warmUp = qMin<qint64>(maxClicks / 5, 5000);
    const double startCpu = cpuSeconds();

    auto check = [&](const QString &where) {
        for (const QString &c : DashboardModel::switchable())
            if (visible(c) != model.shown(c))
                return QStringLiteral("%1: %2 is %3").arg(where, c, visible(c) ? "shown" : "hidden");
        if ((text(QStringLiteral("Text1")) == QLatin1String("On")) != model.on())
            return QStringLiteral("%1: power %2").arg(where, text(QStringLiteral("Text1")));
        return QString();
    };

    while (clicks < maxClicks && clock.elapsed() < maxSeconds * 1000) {
        QPoint at;
        do {
            if (random.bounded(100) < 60) {
                at = QPoint(random.bounded(1024), random.bounded(768));
            } else {
                const QRect r = model.windowRect(aims.at(random.bounded(int(aims.size()))));
                at = r.topLeft() + QPoint(random.bounded(r.width()), random.bounded(r.height()));
            }
            // QTest takes a null point for the window's centre: (0, 0)
            // cannot be clicked through it.
        } while (at.isNull() || exitZone.contains(at) || model.hit(at) == QLatin1String("Label2"));

        const QString target = model.hit(at);
        const bool twice = random.bounded(100) < 10;
        QElapsedTimer one;
        one.start();
        witness.last.clear();
        if (twice)
            QTest::mouseDClick(window, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(window, Qt::LeftButton, {}, at);
        worstClickUs = qMax(worstClickUs, one.nsecsElapsed() / 1000);
        for (int k = 0; k < (twice ? 2 : 1); ++k)
            model.click(target);
        clicks += twice ? 2 : 1;
        doubles += twice;
        reached[target] += twice ? 2 : 1;
        voiceBoxClicks += model.shown(QStringLiteral("Picture1"));

        const QString where = QStringLiteral("click %1 at (%2, %3) on %4").arg(clicks).arg(at.x()).arg(at.y()).arg(target);
        QVERIFY2(witness.last == target, qPrintable(where + QStringLiteral(" reached ") + witness.last));
        const QString mismatch = check(where);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

        QCoreApplication::processEvents();
        if (clicks % 8 < (twice ? 2 : 1))
            QTest::qWait(3);  // the timer and the animation get their turn
        if (clicks % 2000 == 0) {
            // The readouts follow their sources.
            QTRY_COMPARE(text(QStringLiteral("Label10"), runtime::Property::Caption), text(QStringLiteral("Text3")));
            QTRY_COMPARE(text(QStringLiteral("Label11"), runtime::Property::Caption), text(QStringLiteral("Text4")));
        }
        peakRss = qMax(peakRss, residentKiB());
        if (warmAt < 0 && clicks >= warmUp) {
            warmAt = clicks;
            warmRss = residentKiB();
            warmFiles = openFiles();
            warmCpu = cpuSeconds();
        }
        if (sampleClock.elapsed() >= 60000) {
            sampleClock.restart();
            samples << QStringLiteral("%1 s: %2 clicks, %3 KiB resident, %4 open files, %5 frames shown")
                               .arg(clock.elapsed() / 1000).arg(clicks).arg(residentKiB()).arg(openFiles())
                               .arg(view.framesShown());
        }
    }

    const qint64 seconds = qMax<qint64>(1, clock.elapsed() / 1000);
    const qint64 endRss = residentKiB(), endFiles = openFiles();
    const double cpu = cpuSeconds() - startCpu;
    QStringList figures{
        QStringLiteral("soak: %1 clicks (%2 double clicks) in %3 s, seed %4; every one matched the model")
                .arg(clicks).arg(doubles).arg(seconds).arg(seed),
        QStringLiteral("clicks with the voice box showing: %1 (%2%); animation frames shown: %3")
                .arg(voiceBoxClicks).arg(100 * voiceBoxClicks / qMax<qint64>(1, clicks)).arg(view.framesShown()),
        QStringLiteral("worst click handled in %1 ms; CPU %2 s over the run (%3% of a core, the storm included)")
                .arg(worstClickUs / 1000.0, 0, 'f', 1).arg(cpu, 0, 'f', 1).arg(100 * cpu / seconds, 0, 'f', 1),
        QStringLiteral("resident memory after the %1-click warm-up %2 KiB, at the end %3 KiB (growth %4 KiB), peak %5 KiB")
                .arg(warmAt).arg(warmRss).arg(endRss).arg(endRss - warmRss).arg(peakRss),
        QStringLiteral("open files after the warm-up %1, at the end %2").arg(warmFiles).arg(endFiles),
    };
    QStringList byControl;
    for (auto it = reached.cbegin(); it != reached.cend(); ++it)
        byControl << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    byControl.sort();
    figures << QStringLiteral("clicks by control reached: ") + byControl.join(QStringLiteral(", "));
    figures << samples;
    for (const QString &line : figures)
        qInfo("%s", qPrintable(line));
    if (const QString path = qEnvironmentVariable("SOAK_FIGURES"); !path.isEmpty()) {
        QFile out(path);
        if (out.open(QIODevice::WriteOnly | QIODevice::Text))
            out.write(figures.join('\n').toUtf8() + '\n');
    }
    (void)warmCpu;

    QVERIFY(clicks >= qMin<qint64>(maxClicks, 1000));
    QVERIFY2(view.framesShown() > 0, "the animation ran");
    QVERIFY2(endFiles <= warmFiles, "open files are flat");
    if (!Sanitized)
        QVERIFY2(endRss - warmRss < 8 * 1024, "resident memory is flat after the warm-up");
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
