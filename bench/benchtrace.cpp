// The bench's eyes inside a process. Linked only into the two bench
// executables (velk-simulator-bench, the program's own main.cpp with this
// file beside it, and the yardstick), never into velk-simulator. It does
// nothing unless VELK_BENCH_TRACE names a file; then an application event
// filter appends one line per event of interest to that file:
//
//   qapp US                 QApplication constructed
//   paint WxH US            a top-level window of that size finished its
//                           first paint (painted and flushed)
//   click US                a mouse button was released over a widget
//   clickpaint US           the first paint after a click finished
//   tick MS                 the first tick: the interval the readouts'
//                           timer runs at, as delivered
//   readout US TICKS        the first paint of a readout (Label10 or
//                           Label11) after a click finished, TICKS ticks
//                           after the click
//   stat US TICKS PAINTS FRAMES
//                           once a second: timer ticks, paint events and
//                           the voice box's paints (its frames shown: a
//                           widget named WebBrowser1 in both programs)
//                           delivered in the second before
//   ticks TOTAL             at the end: every tick delivered
//
// A tick is a timeout of a repeating QTimer under a second: the readouts'
// timer, which asks for 1 ms in both programs; the program's runtime
// delivers it more slowly (runtime/core/timing.h). The animations' timers
// are single-shot, one frame's delay each, and are not ticks.
//
// Under callgrind a click also zeroes the counts and a window's first paint
// dumps them: the first dump holds exec to the disclaimer's first paint,
// the second "I Agree" to the dashboard's.
//
// US is microseconds since VELK_BENCH_T0 (bash's $EPOCHREALTIME just
// before exec), so "paint 324x270" is the start-up figure itself.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QSet>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_DUMP_STATS_AT(what)
#define CALLGRIND_ZERO_STATS
#endif

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class Trace : public QObject
{
public:
    Trace(std::FILE *out, double t0) : m_out(out), m_t0(t0)
    {
        line("qapp %lld\n", now());
        m_second = startTimer(1000);  // a plain timer: not counted as a tick
    }

    ~Trace() override
    {
        line("ticks %lld\n", m_total);
        std::fclose(m_out);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Timer:
            if (auto *t = qobject_cast<QTimer *>(o); t && !t->isSingleShot() && t->interval() < 1000) {
                if (m_total++ == 0)
                    line("tick %d\n", t->interval());
                ++m_ticks;
                ++m_ticksSinceClick;
            }
            break;
        case QEvent::Paint:
            ++m_paints;
            m_frames += o->objectName() == QLatin1String("WebBrowser1");
            if (o->isWidgetType()) {
                if (m_readoutPending && isReadout(o)) {
                    m_readoutPending = false;
                    const int ticks = m_ticksSinceClick;
                    QMetaObject::invokeMethod(this, [this, ticks] {
                        line("readout %lld %d\n", now(), ticks);
                    }, Qt::QueuedConnection);
                }
                painted(static_cast<QWidget *>(o)->window());
            }
            break;
        case QEvent::MouseButtonRelease:
            // The release travels from the window to the widget and up its
            // parents: take it once, where it first reaches a widget.
            if (o->isWidgetType() && static_cast<QMouseEvent *>(e)->timestamp() != m_lastRelease) {
                m_lastRelease = static_cast<QMouseEvent *>(e)->timestamp();
                m_clickPending = m_readoutPending = true;
                m_ticksSinceClick = 0;
                line("click %lld\n", now());
                CALLGRIND_ZERO_STATS;
            }
            break;
        default:
            break;
        }
        return false;
    }

    void timerEvent(QTimerEvent *e) override
    {
        if (e->timerId() == m_second) {
            line("stat %lld %d %d %d\n", now(), m_ticks, m_paints, m_frames);
            m_ticks = m_paints = m_frames = 0;
        }
    }

private:
    // A paint event arrives while the window's backing store is being
    // painted; the flush follows in the same call. A queued call runs
    // once that is done, so its time is the time the pixels went out.
    void painted(QWidget *window)
    {
        bool first = false;
        if (!m_painted.contains(window)) {
            m_painted.insert(window);
            first = true;
        }
        const bool click = m_clickPending;
        m_clickPending = false;
        if (!first && !click)
            return;
        const QSize size = window->size();
        QMetaObject::invokeMethod(this, [this, first, click, size] {
            const long long t = now();
            if (first) {
                line("paint %dx%d %lld\n", size.width(), size.height(), t);
                CALLGRIND_DUMP_STATS_AT("to a window's first paint");
            }
            if (click)
                line("clickpaint %lld\n", t);
        }, Qt::QueuedConnection);
    }

    // The two readouts carry the same names in the yardstick.
    static bool isReadout(const QObject *o)
    {
        return o->objectName() == QLatin1String("Label10") || o->objectName() == QLatin1String("Label11");
    }

    long long now() const
    {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        return (long long)((ts.tv_sec - m_t0) * 1e6 + ts.tv_nsec / 1e3);
    }

    template<typename... Args>
    void line(const char *format, Args... args)
    {
        std::fprintf(m_out, format, args...);
        std::fflush(m_out);
    }

    std::FILE *m_out;
    double m_t0;
    int m_second = 0;
    int m_ticks = 0;
    int m_paints = 0;
    int m_frames = 0;
    int m_ticksSinceClick = 0;
    long long m_total = 0;
    ulong m_lastRelease = 0;
    bool m_clickPending = false;
    bool m_readoutPending = false;
    QSet<const QWidget *> m_painted;
};

void installTrace()
{
    const char *path = std::getenv("VELK_BENCH_TRACE");
    if (!path || !*path)
        return;
    std::FILE *out = std::fopen(path, "a");
    if (!out)
        return;
    const char *t0 = std::getenv("VELK_BENCH_T0");
    auto *trace = new Trace(out, t0 ? std::atof(t0) : 0.0);
    QCoreApplication::instance()->installEventFilter(trace);
    // Deleted with the application object, after the event loop.
    trace->setParent(QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installTrace)
