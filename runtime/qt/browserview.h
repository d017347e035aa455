// The browser view: shows a GIF picture file, animated or still, and
// nothing else. navigate() returns at once; the file is read once, on a
// worker thread, and decoded there once (see FrameDecoder for the bounds)
// when the view is first seen: the first frame is shown as soon as it is
// decoded, and the rest follow while it shows. The view paints its frames
// at (16, 24) within itself, on black, one after the other. While the view
// is not visible nothing is decoded and no frame is advanced; showing it
// resumes where it stopped, without opening the file again. What cannot be
// shown leaves the view black, and one line on the error stream says why.
#pragma once

#include "framedecoder.h"
#include "playback.h"
#include "qtcontrol.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class QThread;

namespace runtime::qt {

class DecodeWorker;

// A frame as Qt paints it, sharing the frame's pixels.
QImage toQImage(const Frame &frame);

class BrowserView : public QWidget, public QtControl
{
    Q_OBJECT

public:
    static constexpr QPoint PictureOrigin{16, 24};

    BrowserView(const ControlRow &row, QWidget *parent);
    ~BrowserView() override;

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    QAccessibleInterface *accessible() override;

    Status navigate(const QString &path);
    QString address() const { return m_address; }
    QImage currentFrame() const { return m_image; }
    bool isLoading() const { return m_playback.loading(); }
    qint64 decodedBytes() const { return m_playback.animation().bytes; }
    int frameCount() const { return int(m_playback.animation().frames.size()); }

signals:
    void navigated(const QString &path);  // the file was asked for
    void loaded(int frames);              // decoding is over; 0: nothing to show
    void frameShown(int frame);           // frames shown since navigating

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;

private:
    void onRead(const std::shared_ptr<QByteArray> &bytes, int generation, const char *why);
    void onDecoded(const std::shared_ptr<Animation> &animation, int generation, bool whole);
    void decodeWhenSeen();
    void tell(const char *why) const;
    void showFrame();
    void advance();
    QRect seenPart() const;

    // Shared: a decoder left behind at the end must not outlive its flag.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    QThread *m_thread;
    DecodeWorker *m_decoder;
    QTimer m_delay;
    std::shared_ptr<QByteArray> m_bytes;  // read, not yet decoded
    Rect m_crop;
    Playback m_playback;
    Frame m_frame;                        // the one painted,
    QImage m_image;                       // and the same pixels as Qt paints them
    QPoint m_frameAt = PictureOrigin;
    QString m_address;
    int m_generation = 0;
    int m_frames = 0;        // frames shown since navigating
    bool m_due = false;      // the delay ran out while the view was hidden
};

} // namespace runtime::qt
