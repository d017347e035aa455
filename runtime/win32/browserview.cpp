#include "browserview.h"
#include "drawing.h"
#include "text.h"

#include <process.h>

namespace runtime::win32 {

namespace {

// Says only "look at m_done", where a worker left a result: any process
// may post it, so it carries nothing and what it carries is never read.
// A result is due once it is there; a post from elsewhere finds none, or
// runs one a moment before the worker's own post would.
constexpr UINT Done = WM_APP + 1;

} // namespace

// What the worker thread holds: the view's jobs, and the event that says
// there are some, or that the view is going. Nothing polls.
struct BrowserView::Worker
{
    std::shared_ptr<JobQueue> jobs;
    HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~Worker() { CloseHandle(wake); }

    static unsigned __stdcall serve(void *given)
    {
        const std::unique_ptr<std::shared_ptr<Worker>> held(static_cast<std::shared_ptr<Worker> *>(given));
        Worker &worker = **held;
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        while (WaitForSingleObject(worker.wake, INFINITE) == WAIT_OBJECT_0 && !worker.jobs->closed())
            while (worker.jobs->runSlice()) {
            }
        return 0;
    }
};

BrowserView::BrowserView(const ControlRow &row, const Place &place)
    : m_scale(place.scale),
      m_view(row, *this)
{
    create(nullptr, row, place, 0);
}

BrowserView::~BrowserView()
{
    m_view.close();
    if (!m_thread)
        return;
    SetEvent(m_worker->wake);
    // Reading and decoding give up at once once closed, at the latest at
    // the end of the slice at work; if the thread still hangs (a file
    // system that never answers a read), leave it behind rather than hold
    // up the end of the program.
    WaitForSingleObject(m_thread, 1000);
    CloseHandle(m_thread);
}

LRESULT BrowserView::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paintBuffered(m_window, [this](HDC dc, const RECT &dirty) { paint(dc, dirty); });
        // Painting means the view is seen (again).
        m_view.shown();
        return 0;
    case WM_TIMER:
        if (wParam == DelayTimer && m_delaying) {
            stopDelay();
            m_view.delayOver();
        }
        return 0;
    case Done: {
        // Taken all at once; what they post runs at the next message.
        std::deque<std::function<void()>> done;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            done.swap(m_done);
        }
        for (auto &work : done)
            work();
        return 0;
    }
    default:
        return Win32Control::handle(message, wParam, lParam);
    }
}

void BrowserView::apply(Property, const Value &value)
{
    m_view.navigate(std::get<std::string>(value));
}

void BrowserView::jobsWaiting(const std::shared_ptr<JobQueue> &jobs)
{
    if (!m_worker) {
        m_worker = std::make_shared<Worker>();
        m_worker->jobs = jobs;
        auto *given = new std::shared_ptr<Worker>(m_worker);
        m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Worker::serve, given, 0, nullptr));
        // Without a thread (a system out of them) the view stays black:
        // the rest of the window goes on.
        if (!m_thread)
            delete given;
    }
    SetEvent(m_worker->wake);
}

void BrowserView::onUiThread(std::function<void()> done)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_done.push_back(std::move(done));
    PostMessageW(m_window, Done, 0, 0);
}

void BrowserView::invalidate(const Rect &area)
{
    const RECT r = device(area, m_scale);
    InvalidateRect(m_window, &r, FALSE);
}

Rect BrowserView::containerArea() const
{
    RECT client;
    GetClientRect(GetParent(m_window), &client);
    return {0, 0, int(client.right) / m_scale, int(client.bottom) / m_scale};
}

void BrowserView::paint(HDC dc, const RECT &dirty) const
{
    FillRect(dc, &dirty, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const Frame &frame = m_view.frame();
    if (frame)
        drawImage(dc, *frame, device(m_view.frameRect(), m_scale));
    if (!m_view.note().empty()) {
        RECT box = device(m_view.noteRect(), m_scale);
        const std::wstring text = toWide(m_view.note());
        const HGDIOBJ before = SelectObject(dc, sharedFont(DefaultFont, m_scale));
        SetTextColor(dc, colourRef(AnimationView::NoteColour, {}));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        SelectObject(dc, before);
    }
}

} // namespace runtime::win32
