// The browser view: shows a picture file, animated or still, and nothing
// else. navigate() returns at once; decoding runs on a worker thread and
// the view paints each frame at (16, 24) within itself, on black. While the
// view is not visible no frame is decoded; showing it resumes from where
// it stopped without opening the file again.
#pragma once

#include "status.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class QThread;

namespace runtime {

class FrameDecoder;

class BrowserView : public QWidget
{
    Q_OBJECT

public:
    static constexpr QPoint PictureOrigin{16, 24};

    explicit BrowserView(QWidget *parent);
    ~BrowserView() override;

    Status navigate(const QString &path);
    QString address() const { return m_address; }
    QImage currentFrame() const { return m_frame; }

signals:
    void navigated(const QString &path);  // the file was asked for
    void frameShown(int frame);           // frames shown since navigating

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;

private:
    void onFrame(const QImage &frame, int delayMs, int generation);
    void requestNext();

    // Shared: a decoder left behind at the end must not outlive its flag.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    QThread *m_thread;
    FrameDecoder *m_decoder;
    QTimer m_delay;
    QImage m_frame;
    QString m_address;
    int m_generation = 0;
    int m_frames = 0;
    bool m_due = false;      // the delay ran out while the view was hidden
    bool m_running = false;  // the decoder has more frames
};

} // namespace runtime
