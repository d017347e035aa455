#include "browserview.h"
#include "page.h"
#include "webbackend.h"
#include "webwindow.h"

#include <algorithm>

namespace runtime::web {

namespace {

// The note names the file as it was asked for, whole, where the core's
// names its last part alone: a page's address is short, and its last part
// may be empty (a folder's) or name a file of another site. The page's
// own folder ("./", where the voice box lies) goes unsaid.
std::string asAsked(const std::string &note, const std::string &address)
{
    const std::string last = address.substr(address.find_last_of("/\\") + 1) + ": ";
    if (note.compare(0, last.size(), last) != 0)
        return note;
    return (address.rfind("./", 0) == 0 ? address.substr(2) : address) + note.substr(last.size() - 2);
}

} // namespace

BrowserView::BrowserView(WebWindow &window, int row, const ControlRow &description)
    : m_window(window), m_row(row), m_view(description, *this)
{
}

BrowserView::~BrowserView()
{
    m_view.close();
    stopDelay();
}

int BrowserView::post(int ms, std::function<void()> work)
{
    return WebBackend::instance().post(ms, [alive = std::weak_ptr<bool>(m_alive), work = std::move(work)] {
        if (!alive.expired())
            work();
    });
}

// A relative address is the page's.
void BrowserView::navigate(const std::string &address)
{
    m_converted.clear();
    velk_forget_frames(m_window.id(), m_row);
    m_fetched = false;
    m_view.navigate(address);
    WebBackend::instance().fetch(address, [this, alive = std::weak_ptr<bool>(m_alive), address] {
        if (alive.expired() || address != m_view.address())
            return;
        m_fetched = true;
        runNextSlice();
    });
}

void BrowserView::jobsWaiting(const std::shared_ptr<JobQueue> &jobs)
{
    m_jobs = jobs;
    runNextSlice();
}

void BrowserView::runNextSlice()
{
    if (!m_fetched || m_sliceDue || !m_jobs)
        return;
    m_sliceDue = true;
    post(0, [this] {
        m_sliceDue = false;
        if (!m_fetched)  // another file was asked for meanwhile: its jobs wait for it
            return;
        if (!m_jobs->runSlice())
            m_jobs.reset();
        runNextSlice();
    });
}

void BrowserView::onUiThread(std::function<void()> done)
{
    post(0, std::move(done));
}

void BrowserView::startDelay(int ms)
{
    stopDelay();
    m_delay = post(ms, [this] {
        m_delay = 0;
        m_view.delayOver();
    });
}

void BrowserView::stopDelay()
{
    if (m_delay)
        WebBackend::instance().cancel(m_delay);
    m_delay = 0;
}

// Painted once, at the end of the task that changed it, however many parts
// changed: no task of its own, and none at all while the page is not seen.
// Not at the page's next paint: the frame is drawn by the page's painter,
// and waiting for the page's paint would make it run its own for nothing.
void BrowserView::invalidate(const Rect &)
{
    if (m_paintDue)
        return;
    m_paintDue = true;
    post(WebBackend::AtTaskEnd, [this] {
        m_paintDue = false;
        paint();
    });
}

void BrowserView::paint()
{
    const Frame &frame = m_view.frame();
    std::string said = m_view.note().empty() ? std::string() : asAsked(m_view.note(), m_view.address());
    if (frame == m_painted && said == m_paintedNote)
        return;
    m_painted = frame;
    m_paintedNote = std::move(said);
    const Rect at = m_view.frameRect();
    const Rect note = m_view.noteRect();
    // The page converts each frame's pixels for its canvas once, the first
    // time it is shown, up to a bound: past it, every time.
    int slot = -1;
    if (frame) {
        const auto held = std::find(m_converted.begin(), m_converted.end(), frame);
        slot = int(held - m_converted.begin());
        if (held == m_converted.end() && m_converted.size() < MaxConverted)
            m_converted.push_back(frame);
        else if (held == m_converted.end())
            slot = -1;
    }
    velk_paint(m_window.id(), m_row, frame ? frame->pixels.data() : nullptr, at.width, at.height, at.x, at.y, slot,
               m_paintedNote.empty() ? nullptr : m_paintedNote.c_str(), note.x, note.y, note.width, note.height);
}

bool BrowserView::visibleNow() const
{
    return m_window.seen(m_row);
}

Rect BrowserView::containerArea() const
{
    return m_window.containerArea(m_row);
}

} // namespace runtime::web
