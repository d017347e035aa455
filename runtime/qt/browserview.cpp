#include "browserview.h"
#include "colours.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>

namespace runtime::qt {

namespace {
constexpr int SliceRows = 64;
}

QImage toQImage(const Frame &frame)
{
    if (!frame || frame->pixels.empty())
        return {};
    // The image holds a reference to the frame for as long as it lives.
    auto *held = new Frame(frame);
    return QImage(reinterpret_cast<const uchar *>(frame->pixels.data()), frame->width, frame->height,
                  frame->width * 4, QImage::Format_RGB32, [](void *f) { delete static_cast<Frame *>(f); }, held);
}

BrowserView::BrowserView(const ControlRow &row, QWidget *parent)
    : QWidget(parent),
      m_thread(new QThread),
      m_worker(new QObject),
      m_view(row, *this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, [this] { m_view.delayOver(); });
    m_thread->start(QThread::LowPriority);
}

BrowserView::~BrowserView()
{
    m_view.close();
    m_thread->quit();
    // Reading and decoding give up at once once closed, at the latest at
    // the end of the slice at work; if the thread still
    // hangs (a file system that never answers a read), leave it behind
    // rather than hold up the end of the program.
    if (m_thread->wait(1000))
        delete m_thread;
}

void BrowserView::apply(Property, const Value &value)
{
    m_view.navigate(std::get<std::string>(value));
}

QAccessibleInterface *BrowserView::accessible()
{
    return new QAccessibleWidget(this, QAccessible::Animation);
}

void BrowserView::jobsWaiting(const std::shared_ptr<JobQueue> &jobs)
{
    // Posted to the worker: run there after any run posted before.
    QMetaObject::invokeMethod(m_worker, [jobs] {
        while (jobs->runSlice()) {
        }
    });
}

void BrowserView::onUiThread(std::function<void()> done)
{
    // Posted to the view: dropped with it.
    QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
}

Rect BrowserView::containerArea() const
{
    const QWidget *container = parentWidget();
    return container ? Rect{0, 0, container->width(), container->height()} : Rect{0, 0, width(), height()};
}

void BrowserView::showEvent(QShowEvent *)
{
    m_view.shown();
}

void BrowserView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // Wrapped for Qt once per frame shown, not at every paint.
    if (m_painted != m_view.frame()) {
        m_painted = m_view.frame();
        m_image = toQImage(m_painted);
    }
    // Black only around the frame: what the frame covers is drawn once.
    const Rect at = m_view.frameRect();
    const QRect frame(at.x, at.y, m_image.width(), m_image.height());
    for (const QRect &r : event->region() - frame)
        p.fillRect(r, Qt::black);
    // Only the parts that changed, each in slices of at most SliceRows
    // rows: Qt's raster engine hands a draw clipped to more rows than that
    // to its thread pool, which wakes two more threads for each frame to
    // copy a few thousand pixels.
    for (const QRect &r : event->region() & frame)
        for (int y = r.top(); y <= r.bottom(); y += SliceRows)
            p.drawImage(QPoint(r.left(), y), m_image,
                        QRect(r.left() - frame.left(), y - frame.top(), r.width(), std::min(SliceRows, r.bottom() + 1 - y)));
    if (!m_view.note().empty()) {
        const Rect r = m_view.noteRect();
        const QRect box(r.x, r.y, r.width, r.height);
        p.setClipRect(box);
        p.setPen(toQColor(AnimationView::NoteColour, {}));
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QString::fromStdString(m_view.note()));
    }
}

} // namespace runtime::qt
