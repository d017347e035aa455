// The browser view on Win32: the core's AnimationView (what is read,
// decoded, shown and said, and when) on worker threads of its own and a
// window timer, painted through GDI at the layout's scale.
#pragma once

#include "animationview.h"
#include "win32control.h"

#include <deque>
#include <functional>
#include <mutex>

namespace runtime::win32 {

class BrowserView : public Win32Control, private AnimationView::Host
{
public:
    BrowserView(const ControlRow &row, const Place &place);
    ~BrowserView() override;

    HWND window() const override { return m_window; }
    void apply(Property property, const Value &value) override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT &dirty) const;
    RECT device(const Rect &layout) const;

    void inBackground(std::function<void()> job) override;
    void onUiThread(std::function<void()> done) override;
    void startDelay(int ms) override;
    void stopDelay() override;
    void invalidate(const Rect &area) override;
    bool visibleNow() const override { return IsWindowVisible(m_window); }
    Rect containerArea() const override;

    HWND m_window = nullptr;
    int m_scale;
    std::mutex m_lock;                      // guards m_done, filled by the workers
    std::deque<std::function<void()>> m_done;
    AnimationView m_view;  // last: gone first, before what its host uses
};

} // namespace runtime::win32
