// Measures what the dashboard costs while it runs, side by side with a
// bare Qt yardstick doing the same job, and prints the ratios:
//   readouts  - the 1 ms timer copying two unchanged texts into two labels,
//               against a QTimer setting two QLabels to their own text;
//   voice box - the animation playing in its clip box (the readouts'
//               timer running too), against a QMovie playing the same
//               file in a QLabel beside the yardstick's own 1 ms timer.
// Each pair runs in turns, several rounds; medians are printed. Run it
// with QT_QPA_PLATFORM=offscreen, from the build folder.
#include "dashboardform.h"
#include "form.h"
#include "forms.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMovie>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

struct Sample
{
    double cpuPerSecond;  // CPU seconds per wall second
    double ticks;         // timer events per wall second
};

// Counts timer events delivered to QTimers, and paints.
struct Counter : QObject
{
    int ticks = 0, paints = 0;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        ticks += e->type() == QEvent::Timer && qobject_cast<QTimer *>(o);
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

// Runs the event loop itself: QTest::qWait sleeps between its rounds and
// would starve a 1 ms timer.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Sample measure(const std::function<void()> &start, const std::function<void()> &stop, int *paints)
{
    start();
    spin(300);  // settle: first frames, first ticks
    Counter counter;
    qApp->installEventFilter(&counter);
    const double cpu = cpuSeconds();
    const int wallMs = 2000;
    spin(wallMs);
    const Sample s{(cpuSeconds() - cpu) / (wallMs / 1000.0), counter.ticks / (wallMs / 1000.0)};
    qApp->removeEventFilter(&counter);
    if (paints)
        *paints = counter.paints;
    stop();
    return s;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char *what, const std::function<Sample(int *)> &ours, const std::function<Sample(int *)> &bare)
{
    std::vector<double> oursCpu, bareCpu, ratios, oursTicks, bareTicks;
    int paints = 0, barePaints = 0;
    for (int round = 0; round < 5; ++round) {
        const Sample a = ours(&paints), b = bare(&barePaints);
        oursCpu.push_back(a.cpuPerSecond);
        bareCpu.push_back(b.cpuPerSecond);
        oursTicks.push_back(a.ticks);
        bareTicks.push_back(b.ticks);
        ratios.push_back(a.cpuPerSecond / b.cpuPerSecond);
    }
    std::printf("%-10s CPU %5.1f%% (yardstick %5.1f%%)  ratio %.2f  timer events/s %6.0f (yardstick %6.0f)  "
                "paints in last run %d (yardstick %d)\n",
                what, 100 * median(oursCpu), 100 * median(bareCpu), median(ratios), median(oursTicks),
                median(bareTicks), paints, barePaints);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    runtime::Forms::add(dashboardForm());

    auto dashboard = [](bool voiceBox) {
        return [voiceBox](int *paints) {
            return measure(
                    [voiceBox] {
                        runtime::Forms::reset();
                        runtime::Forms::show(QStringLiteral("Form1"));
                        QWindow *w = runtime::Forms::loaded(QStringLiteral("Form1"))->window()->windowHandle();
                        QTest::mouseClick(w, Qt::LeftButton, {}, {841, 421});  // power on
                        if (voiceBox)
                            QTest::mouseClick(w, Qt::LeftButton, {}, {965, 341});
                    },
                    [] { runtime::Forms::reset(); }, paints);
        };
    };

    QWidget bare;
    bare.resize(1024, 768);
    auto *left = new QLabel(QStringLiteral("000"), &bare);
    auto *right = new QLabel(QStringLiteral("000"), &bare);
    right->move(600, 0);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        left->setText(left->text());
        right->setText(right->text());
    });
    auto bareReadouts = [&](int *paints) {
        return measure([&] { bare.show(); timer.start(); }, [&] { timer.stop(); bare.hide(); }, paints);
    };

    QLabel movieLabel;
    movieLabel.resize(249, 345);
    QMovie movie(QCoreApplication::applicationDirPath() + QStringLiteral("/velk voicebox.gif"));
    movieLabel.setMovie(&movie);
    auto bareMovie = [&](int *paints) {
        return measure([&] { movieLabel.show(); movie.start(); timer.start(); },
                       [&] { timer.stop(); movie.stop(); movieLabel.hide(); }, paints);
    };

    report("readouts", dashboard(false), bareReadouts);
    report("voice box", dashboard(true), bareMovie);
    return 0;
}
