// The voice box on the page: a canvas the core's AnimationView paints
// frames on, and its note beside it. The page has no threads, so the view's
// background work runs as tasks of their own between the page's, a slice a
// task (none holds the page for more than a few milliseconds), and only
// once its file has been fetched, once (fetchedfiles.cpp): the same
// reading, bounds and notes as the other builds.
#pragma once

#include "animation/animationview.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace runtime::web {

class WebWindow;

class BrowserView final : public AnimationView::Host
{
public:
    BrowserView(WebWindow &window, int row, const ControlRow &description);
    ~BrowserView();

    void navigate(const std::string &address);
    void shown() { m_view.shown(); }

    void jobsWaiting(const std::shared_ptr<JobQueue> &jobs) override;
    void onUiThread(std::function<void()> done) override;
    void startDelay(int ms) override;
    void stopDelay() override;
    void invalidate(const Rect &area) override;
    bool visibleNow() const override;
    Rect containerArea() const override;

private:
    // Frames the page keeps converted: a hostile file's thousands of
    // frames are converted as they are shown instead.
    static constexpr size_t MaxConverted = 32;

    // work as a task of its own, dropped if the view is gone by then
    int post(int ms, std::function<void()> work);
    void runNextSlice();
    void paint();

    WebWindow &m_window;
    int m_row;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::shared_ptr<JobQueue> m_jobs;  // the view's, while it has jobs waiting
    bool m_fetched = false;
    bool m_sliceDue = false;
    bool m_paintDue = false;
    int m_delay = 0;
    // The frames the page holds converted for its canvas, by slot: kept
    // alive here while it does, so that no other frame takes their place.
    std::vector<Frame> m_converted;
    Frame m_painted;
    std::string m_paintedNote;
    AnimationView m_view;  // last: it goes first
};

} // namespace runtime::web
