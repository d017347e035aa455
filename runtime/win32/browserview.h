// The browser view on Win32: the core's AnimationView (what is read,
// decoded, shown and said, and when), its jobs run on the core's worker
// thread, a window timer, and painted through GDI at the layout's scale.
#pragma once

#include "animation/animationview.h"
#include "animation/jobworker.h"
#include "win32control.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace runtime::win32 {

class BrowserView : public Win32Control, private AnimationView::Host
{
public:
    BrowserView(const ControlRow &row, const Place &place);
    ~BrowserView() override;

    void apply(Property property, const Value &value) override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT &dirty) const;

    void jobsWaiting(const std::shared_ptr<JobQueue> &jobs) override;
    void onUiThread(std::function<void()> done) override;
    void startDelay(int ms) override
    {
        m_delaying = true;
        SetTimer(m_window, DelayTimer, UINT(ms), nullptr);
    }
    void stopDelay() override
    {
        m_delaying = false;
        KillTimer(m_window, DelayTimer);
    }
    void invalidate(const Rect &area) override;
    bool visibleNow() const override { return IsWindowVisible(m_window); }
    Rect containerArea() const override;

    static constexpr UINT_PTR DelayTimer = 1;
    bool m_delaying = false;  // a tick of the delay timer while none runs is none of ours
    int m_scale;
    JobWorker m_worker;  // let go once the view has closed its queue
    std::mutex m_lock;                      // guards m_done, filled by the workers
    std::deque<std::function<void()>> m_done;
    AnimationView m_view;  // last: gone first, before what its host uses
};

} // namespace runtime::win32
