#include "browserview.h"
#include "framedecoder.h"

#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

namespace runtime {

BrowserView::BrowserView(QWidget *parent)
    : QWidget(parent),
      m_thread(new QThread),
      m_decoder(new FrameDecoder(m_stop))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    QImageReader::setAllocationLimit(FrameDecoder::MaxDecodeMegabytes);
    m_decoder->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_decoder, &QObject::deleteLater);
    connect(m_decoder, &FrameDecoder::frameReady, this, &BrowserView::onFrame);
    connect(m_decoder, &FrameDecoder::finished, this, [this](int generation) {
        if (generation == m_generation)
            m_running = false;
    });
    m_delay.setSingleShot(true);
    // While hidden, a delay that runs out only marks the next frame due.
    connect(&m_delay, &QTimer::timeout, this, [this] {
        if (isVisible())
            requestNext();
        else
            m_due = true;
    });
    m_thread->start();
}

BrowserView::~BrowserView()
{
    *m_stop = true;
    m_thread->quit();
    // A read in progress fails at once once m_stop is set; if the thread
    // still hangs (a file system that never answers), leave it behind
    // rather than block the end of the program.
    if (m_thread->wait(2000))
        delete m_thread;
}

Status BrowserView::navigate(const QString &path)
{
    ++m_generation;
    m_address = path;
    m_frames = 0;
    m_frame = QImage();
    m_delay.stop();
    m_due = false;
    m_running = true;
    update();
    // Nothing beyond the view's far edges is ever seen: keep no more.
    const QSize keep = (QRect(QPoint(), size()) & QRect(PictureOrigin, QSize(1 << 16, 1 << 16))).size();
    QMetaObject::invokeMethod(m_decoder, [d = m_decoder, path, keep, g = m_generation] { d->open(path, keep, g); });
    emit navigated(path);
    return Status::Ok;
}

void BrowserView::onFrame(const QImage &frame, int delayMs, int generation)
{
    if (generation != m_generation)
        return;
    m_frame = frame;
    update();
    emit frameShown(++m_frames);
    m_delay.start(delayMs);
}

void BrowserView::requestNext()
{
    m_due = false;
    if (m_running)
        QMetaObject::invokeMethod(m_decoder, [d = m_decoder, g = m_generation] { d->decodeNext(g); });
}

void BrowserView::showEvent(QShowEvent *)
{
    if (m_due)
        requestNext();
}

void BrowserView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    if (!m_frame.isNull())
        p.drawImage(PictureOrigin, m_frame);
}

} // namespace runtime
