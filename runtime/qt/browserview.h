// The browser view on Qt: the core's AnimationView (what is read, decoded,
// shown and said, and when), its jobs run on the core's worker, a QTimer,
// and painted by QPainter. Tests watch the core's view itself (animation()).
#pragma once

#include "animation/animationview.h"
#include "animation/jobworker.h"
#include "qtcontrol.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace runtime::qt {

// A frame as Qt paints it, sharing the frame's pixels.
QImage toQImage(const Frame &frame);

class BrowserView : public QWidget, public QtControl, private AnimationView::Host
{
public:
    BrowserView(const ControlRow &row, QWidget *parent);
    ~BrowserView() override;

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    QAccessibleInterface *accessible() override;
    // What was asked for, is decoded and is shown, as the core's view has it.
    const AnimationView &animation() const { return m_view; }

protected:
    void paintEvent(QPaintEvent *) override;
    void showEvent(QShowEvent *) override;

private:
    void jobsWaiting(const std::shared_ptr<JobQueue> &jobs) override;
    void onUiThread(std::function<void()> done) override;
    void startDelay(int ms) override { m_delay.start(ms); }
    void stopDelay() override { m_delay.stop(); }
    void invalidate(const Rect &area) override { update(area.x, area.y, area.width, area.height); }
    bool visibleNow() const override { return isVisible(); }
    Rect containerArea() const override;

    QTimer m_delay;
    Frame m_painted;    // the frame last painted,
    QImage m_image;     // and the same pixels as Qt paints them
    JobWorker m_worker;    // let go once the view has closed its queue
    AnimationView m_view;  // last: gone first, before what its host uses
};

} // namespace runtime::qt
