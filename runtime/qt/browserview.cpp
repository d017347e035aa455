#include "browserview.h"
#include "filereader.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <cstdio>

namespace runtime::qt {

// Reads and decodes on the view's worker thread.
class DecodeWorker : public QObject
{
    Q_OBJECT

public:
    explicit DecodeWorker(std::shared_ptr<std::atomic<bool>> stop) : m_stop(std::move(stop)) {}

    void read(const QString &path, int generation)
    {
        FileProblem problem;
        std::optional<QByteArray> bytes = readRegularFile(path, FrameDecoder::MaxFileBytes, m_stop.get(), &problem);
        if (!m_stop->load())
            emit fileRead(bytes ? std::make_shared<QByteArray>(std::move(*bytes)) : nullptr, generation,
                          describe(problem));
    }

    // The first frame goes out as soon as it is decoded, the whole
    // animation once the rest are.
    void decode(const std::shared_ptr<QByteArray> &bytes, Rect crop, int generation)
    {
        FrameDecoder decoder(bytes->constData(), size_t(bytes->size()), crop, m_stop.get());
        if (decoder.next() && !m_stop->load())
            emit decoded(std::make_shared<Animation>(decoder.animation()), generation, false);
        while (decoder.next()) {
        }
        if (!m_stop->load())
            emit decoded(std::make_shared<Animation>(decoder.animation()), generation, true);
    }

signals:
    void fileRead(const std::shared_ptr<QByteArray> &bytes, int generation, const char *why);
    void decoded(const std::shared_ptr<runtime::Animation> &animation, int generation, bool whole);

private:
    std::shared_ptr<std::atomic<bool>> m_stop;
};

QImage toQImage(const Frame &frame)
{
    if (!frame || frame->pixels.empty())
        return {};
    // The image holds a reference to the frame for as long as it lives.
    auto *held = new Frame(frame);
    return QImage(reinterpret_cast<const uchar *>(frame->pixels.data()), frame->width, frame->height,
                  frame->width * 4, QImage::Format_RGB32, [](void *f) { delete static_cast<Frame *>(f); }, held);
}

BrowserView::BrowserView(const ControlRow &, QWidget *parent)
    : QWidget(parent),
      m_thread(new QThread),
      m_decoder(new DecodeWorker(m_stop))
{
    qRegisterMetaType<std::shared_ptr<runtime::Animation>>();
    qRegisterMetaType<std::shared_ptr<QByteArray>>();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    m_decoder->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_decoder, &QObject::deleteLater);
    connect(m_decoder, &DecodeWorker::fileRead, this, &BrowserView::onRead);
    connect(m_decoder, &DecodeWorker::decoded, this, &BrowserView::onDecoded);
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

void BrowserView::apply(Property, const Value &value)
{
    navigate(QString::fromStdString(std::get<std::string>(value)));
}

QAccessibleInterface *BrowserView::accessible()
{
    return new QAccessibleWidget(this, QAccessible::Animation);
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
    m_bytes.reset();
    m_playback.restart();
    m_frame.reset();
    m_image = QImage();
    m_frames = 0;
    const QRect crop = seenPart();
    m_crop = Rect{crop.x(), crop.y(), crop.width(), crop.height()};
    m_frameAt = PictureOrigin + crop.topLeft();
    m_delay.stop();
    m_due = false;
    update();
    QMetaObject::invokeMethod(m_decoder, [d = m_decoder, path, g = m_generation] { d->read(path, g); });
    emit navigated(path);
    return Status::Ok;
}

void BrowserView::tell(const char *why) const
{
    // What cannot be shown whole is said once, on the error stream: a
    // dialog over the dashboard would be worse than a black voice box.
    if (why)
        std::fprintf(stderr, "%s: %s: %s\n", qPrintable(QCoreApplication::applicationFilePath().section(u'/', -1)),
                     qPrintable(m_address), why);
}

void BrowserView::onRead(const std::shared_ptr<QByteArray> &bytes, int generation, const char *why)
{
    if (generation != m_generation)
        return;
    if (!bytes) {
        tell(why);
        m_playback.take(Animation(), true);
        emit loaded(0);
        return;
    }
    m_bytes = bytes;
    decodeWhenSeen();
}

// Nothing is decoded for a view no one sees: the dashboard's first paint
// does not wait for the voice box, which most users never open.
void BrowserView::decodeWhenSeen()
{
    if (!m_bytes || !isVisible())
        return;
    QMetaObject::invokeMethod(m_decoder, [d = m_decoder, bytes = std::move(m_bytes), crop = m_crop, g = m_generation] {
        d->decode(bytes, crop, g);
    });
    m_bytes.reset();
}

void BrowserView::onDecoded(const std::shared_ptr<Animation> &animation, int generation, bool whole)
{
    if (generation != m_generation)
        return;
    if (m_playback.take(std::move(*animation), whole))
        showFrame();
    if (!whole)
        return;
    tell(describe(m_playback.animation()));
    emit loaded(frameCount());
}

void BrowserView::showFrame()
{
    const Frame next = m_playback.frame();
    // A frame that looks as the last did shares its image: no repaint.
    if (next != m_frame) {
        const QRect before = m_frame ? QRect(m_frameAt, QSize(m_frame->width, m_frame->height)) : QRect();
        m_frame = next;
        m_image = toQImage(next);
        update(before | QRect(m_frameAt, QSize(m_frame->width, m_frame->height)));
    }
    emit frameShown(++m_frames);
    if (const int delay = m_playback.delayMs())
        m_delay.start(delay);
}

void BrowserView::advance()
{
    m_due = false;
    if (m_playback.advance())
        showFrame();
}

void BrowserView::showEvent(QShowEvent *)
{
    decodeWhenSeen();
    if (m_due)
        advance();
}

void BrowserView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    if (!m_image.isNull())
        p.drawImage(m_frameAt, m_image);
}

} // namespace runtime::qt

#include "browserview.moc"
