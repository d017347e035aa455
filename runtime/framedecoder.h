// Decodes the browser view's picture file, one frame per request, on a
// worker thread so that no file, however large or malformed, can stall the
// window. Memory is bounded by the reader's allocation limit and by keeping
// only the one frame in hand; a stop flag aborts even a read in progress.
#pragma once

#include <QImage>
#include <QObject>

#include <atomic>
#include <memory>

class QFile;
class QImageReader;

namespace runtime {

class FrameDecoder : public QObject
{
    Q_OBJECT

public:
    explicit FrameDecoder(std::shared_ptr<std::atomic<bool>> stop);
    ~FrameDecoder() override;

    static constexpr int MaxDecodeMegabytes = 32;
    static constexpr int MinDelayMs = 20;       // a shorter delay is taken as unset
    static constexpr int DefaultDelayMs = 100;  // what browsers show unset delays at

public slots:
    // Frames are cropped to keep: nothing beyond it is ever seen.
    void open(const QString &path, QSize keep, int generation);
    void decodeNext(int generation);

signals:
    void frameReady(const QImage &frame, int delayMs, int generation);
    void finished(int generation);  // no more frames: unreadable, or the loops ran out

private:
    bool restart();

    QSize m_keep;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::unique_ptr<QFile> m_file;
    std::unique_ptr<QImageReader> m_reader;
    int m_loopsLeft = 0;     // -1: for ever
    int m_framesInLoop = 0;
};

} // namespace runtime
