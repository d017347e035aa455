#include "framedecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace runtime {

namespace {

// Reads fail as soon as the view is being torn down, so that a decode in
// progress returns at once instead of holding up the end of the program.
class StoppableFile : public QFile
{
public:
    StoppableFile(const QString &path, std::atomic<bool> *stop) : QFile(path), m_stop(stop) {}

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        return m_stop->load() ? -1 : QFile::readData(data, maxSize);
    }

private:
    std::atomic<bool> *m_stop;
};

// Only still and animated picture formats; nothing that is a document.
const QList<QByteArray> Formats = {"gif", "png", "jpeg", "bmp"};

} // namespace

FrameDecoder::FrameDecoder(std::shared_ptr<std::atomic<bool>> stop)
    : m_stop(std::move(stop))
{
}

FrameDecoder::~FrameDecoder() = default;

void FrameDecoder::open(const QString &path, QSize keep, int generation)
{
    m_keep = keep;
    m_reader.reset();
    m_file.reset();
    // Only regular files: a pipe or a device in the file's place would
    // block or never end.
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        emit finished(generation);
        return;
    }
    m_file = std::make_unique<StoppableFile>(path, m_stop.get());
    if (!m_file->open(QIODevice::ReadOnly) || !restart()) {
        m_reader.reset();
        m_file.reset();
        emit finished(generation);
        return;
    }
    m_loopsLeft = m_reader->loopCount();
    decodeNext(generation);
}

bool FrameDecoder::restart()
{
    if (!m_file->seek(0))
        return false;
    m_reader = std::make_unique<QImageReader>(m_file.get());
    m_reader->setDecideFormatFromContent(true);
    m_framesInLoop = 0;
    return Formats.contains(m_reader->format());
}

void FrameDecoder::decodeNext(int generation)
{
    if (!m_reader || m_stop->load())
        return;
    QImage frame;
    if (!m_reader->read(&frame)) {
        // The end of the frames, or a frame that cannot be read: loop when
        // the file asks for it and something was shown in this round.
        const bool again = m_framesInLoop > 0 && m_loopsLeft != 0 && restart() && m_reader->read(&frame);
        if (!again) {
            m_reader.reset();
            emit finished(generation);
            return;
        }
        if (m_loopsLeft > 0)
            --m_loopsLeft;
    }
    ++m_framesInLoop;
    int delay = m_reader->nextImageDelay();
    if (delay < MinDelayMs)
        delay = DefaultDelayMs;
    if (frame.width() > m_keep.width() || frame.height() > m_keep.height())
        frame = frame.copy(0, 0, qMin(frame.width(), m_keep.width()), qMin(frame.height(), m_keep.height()));
    emit frameReady(frame, delay, generation);
}

} // namespace runtime
