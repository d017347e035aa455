#include "browserview.h"
#include "filereader.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <cstdio>

namespace runtime {

// Reads and decodes on the view's worker thread.
class DecodeWorker : public QObject
{
    Q_OBJECT

public:
    explicit DecodeWorker(std::shared_ptr<std::atomic<bool>> stop) : m_stop(std::move(stop)) {}

    void open(const QString &path, Rect crop, int generation)
    {
        auto animation = std::make_shared<Animation>();
        FileProblem problem;
        const char *why = nullptr;
        if (const auto bytes = readRegularFile(path, FrameDecoder::MaxFileBytes, m_stop.get(), &problem)) {
            *animation = FrameDecoder::decode(bytes->constData(), size_t(bytes->size()), crop, m_stop.get());
            why = describe(*animation);
        } else {
            why = describe(problem);
        }
        if (!m_stop->load())
            emit decoded(animation, generation, why);
    }

signals:
    void decoded(const std::shared_ptr<runtime::Animation> &animation, int generation, const char *why);

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
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    m_decoder->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_decoder, &QObject::deleteLater);
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

Status BrowserView::write(Property property, const Value &value)
{
    if (property != Property::Navigate)
        return Status::NoSuchProperty;
    return navigate(QString::fromStdString(std::get<std::string>(value)));
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
    m_animation = Animation();
    m_frame.reset();
    m_frames = 0;
    const QRect crop = seenPart();
    m_frameAt = PictureOrigin + crop.topLeft();
    m_delay.stop();
    m_due = false;
    m_loading = true;
    update();
    const Rect seen{crop.x(), crop.y(), crop.width(), crop.height()};
    QMetaObject::invokeMethod(m_decoder, [d = m_decoder, path, seen, g = m_generation] { d->open(path, seen, g); });
    emit navigated(path);
    return Status::Ok;
}

void BrowserView::onDecoded(const std::shared_ptr<Animation> &animation, int generation, const char *why)
{
    if (generation != m_generation)
        return;
    // What cannot be shown whole is said once, on the error stream: a
    // dialog over the dashboard would be worse than a black voice box.
    if (why)
        std::fprintf(stderr, "%s: %s: %s\n", qPrintable(QCoreApplication::applicationFilePath().section(u'/', -1)),
                     qPrintable(m_address), why);
    m_loading = false;
    m_animation = std::move(*animation);
    m_played = 0;
    if (!m_animation.isEmpty())
        showFrame(0);
    emit loaded(int(m_animation.frames.size()));
}

void BrowserView::showFrame(int index)
{
    m_index = index;
    const Frame &next = m_animation.frames.at(size_t(index));
    // A frame that looks as the last did shares its image: no repaint.
    if (next != m_frame) {
        const QRect before = m_frame ? QRect(m_frameAt, QSize(m_frame->width, m_frame->height)) : QRect();
        m_frame = next;
        update(before | QRect(m_frameAt, QSize(m_frame->width, m_frame->height)));
    }
    emit frameShown(++m_frames);
    if (m_animation.frames.size() > 1)
        m_delay.start(m_animation.delaysMs.at(size_t(index)));
}

void BrowserView::advance()
{
    m_due = false;
    int next = m_index + 1;
    if (next == int(m_animation.frames.size())) {
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
    if (m_frame)
        p.drawImage(m_frameAt, toQImage(m_frame));
}

} // namespace runtime

#include "browserview.moc"
