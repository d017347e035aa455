#include "browserview.h"

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
    m_decoder->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_decoder, &QObject::deleteLater);
    connect(m_decoder, &FrameDecoder::decoded, this, &BrowserView::onDecoded);
    m_delay.setSingleShot(true);
    // While hidden, a delay that runs out only marks the next frame due.
    connect(&m_delay, &QTimer::timeout, this, [this] {
        if (isVisible())
            advance();
        else
            m_due = true;
    });
    m_thread->start(QThread::LowPriority);
}

BrowserView::~BrowserView()
{
    *m_stop = true;
    m_thread->quit();
    // Reading and decoding give up at once once m_stop is set; if the
    // thread still hangs (a file system that never answers a read), leave
    // it behind rather than hold up the end of the program.
    if (m_thread->wait(1000))
        delete m_thread;
}

// The part of the picture that can ever be seen: what of it lies inside
// the view, right of and below the picture's origin (233 x 321 pixels in
// the dashboard, of which the clip box shows 167 x 191); in the picture's
// own coordinates. The containers are not asked: a hidden box's client
// area is sized only when first shown, after the file has been asked for.
QRect BrowserView::seenPart() const
{
    return (rect() & QRect(PictureOrigin, QSize(65536, 65536))).translated(-PictureOrigin);
}

Status BrowserView::navigate(const QString &path)
{
    ++m_generation;
    m_address = path;
    m_animation = Animation();
    m_frame = QImage();
    m_frames = 0;
    const QRect crop = seenPart();
    m_frameAt = PictureOrigin + crop.topLeft();
    m_delay.stop();
    m_due = false;
    m_loading = true;
    update();
    QMetaObject::invokeMethod(m_decoder, [d = m_decoder, path, crop, g = m_generation] { d->open(path, crop, g); });
    emit navigated(path);
    return Status::Ok;
}

void BrowserView::onDecoded(const Animation &animation, int generation)
{
    if (generation != m_generation)
        return;
    m_loading = false;
    m_animation = animation;
    m_played = 0;
    if (!m_animation.isEmpty())
        showFrame(0);
    emit loaded(int(m_animation.frames.size()));
}

void BrowserView::showFrame(int index)
{
    m_index = index;
    const QImage &next = m_animation.frames.at(index);
    // A frame that looks as the last did shares its image: no repaint.
    if (next.cacheKey() != m_frame.cacheKey()) {
        const QRect before(m_frameAt, m_frame.size());
        m_frame = next;
        update(before | QRect(m_frameAt, m_frame.size()));
    }
    emit frameShown(++m_frames);
    if (m_animation.frames.size() > 1)
        m_delay.start(m_animation.delaysMs.at(index));
}

void BrowserView::advance()
{
    m_due = false;
    int next = m_index + 1;
    if (next == m_animation.frames.size()) {
        ++m_played;
        if (m_animation.plays != 0 && m_played >= m_animation.plays)
            return;  // the last frame stays
        next = 0;
    }
    showFrame(next);
}

void BrowserView::showEvent(QShowEvent *)
{
    if (m_due)
        advance();
}

void BrowserView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    if (!m_frame.isNull())
        p.drawImage(m_frameAt, m_frame);
}

} // namespace runtime
