// The browser view on Qt: the core's AnimationView (what is read, decoded,
// shown and said, and when) on a worker QThread and a QTimer, painted by
// QPainter. The signals and accessors are for those who watch the view.
#pragma once

#include "animationview.h"
#include "qtcontrol.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QThread;

namespace runtime::qt {

// A frame as Qt paints it, sharing the frame's pixels.
QImage toQImage(const Frame &frame);

class BrowserView : public QWidget, public QtControl, private AnimationView::Host
{
    Q_OBJECT

public:
    BrowserView(const ControlRow &row, QWidget *parent);
    ~BrowserView() override;

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    QAccessibleInterface *accessible() override;

    Status navigate(const QString &path);
    QString address() const { return QString::fromStdString(m_view.address()); }
    QImage currentFrame() const { return toQImage(m_view.frame()); }
    QString note() const { return QString::fromStdString(m_view.note()); }
    bool isLoading() const { return m_view.playback().loading(); }
    qint64 decodedBytes() const { return m_view.playback().animation().bytes; }
    int frameCount() const { return int(m_view.playback().animation().frames.size()); }

signals:
    void navigated(const QString &path);  // the file was asked for
    void loaded(int frames);              // decoding is over; 0: nothing to show
    void frameShown(int count);           // frames shown since navigating

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;

private:
    void inBackground(std::function<void()> job) override;
    void onUiThread(std::function<void()> done) override;
    void startDelay(int ms) override { m_delay.start(ms); }
    void stopDelay() override { m_delay.stop(); }
    void invalidate(const Rect &area) override { update(area.x, area.y, area.width, area.height); }
    bool visibleNow() const override { return isVisible(); }
    Rect containerArea() const override;
    void finishedLoading(int frames) override { emit loaded(frames); }
    void showedFrame(int count) override { emit frameShown(count); }

    QThread *m_thread;
    QObject *m_worker;  // lives on m_thread: what is posted to it runs there
    QTimer m_delay;
    Frame m_painted;    // the frame last painted,
    QImage m_image;     // and the same pixels as Qt paints them
    AnimationView m_view;  // last: gone first, before what its host uses
};

} // namespace runtime::qt
