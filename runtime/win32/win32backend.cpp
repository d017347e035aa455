#include "win32backend.h"
#include "pictures.h"
#include "text.h"
#include "win32control.h"
#include "win32window.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace runtime::win32 {

namespace {

const wchar_t ClassName[] = L"VelkRuntime";
// Says only "look at the queue": any process on the desktop may post any
// message to any window, so none of this program's carries work, and
// what it carries is never read.
constexpr UINT Wake = WM_APP;

} // namespace

Win32Backend::Win32Backend()
{
    registerWindowClass(ClassName);
    CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, static_cast<OwnWindow *>(this));
    Handling::s_waker = m_window;
    m_owner = CreateWindowExW(0, ClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

Win32Backend &Win32Backend::instance()
{
    static Win32Backend *backend = new Win32Backend;  // lives as long as the process
    return *backend;
}

std::unique_ptr<Window> Win32Backend::build(Form &form)
{
    return std::make_unique<Win32Window>(form, m_owner);
}

bool Win32Backend::hasPicture(std::string_view name) const
{
    return win32::hasPicture(name);
}

std::string Win32Backend::appFolder() const
{
    std::wstring path = executablePath();
    const size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos)
        return {};
    path.resize(cut);
    // A drive's root keeps its separator ("C:\"), as the system names it.
    if (path.size() == 2 && path[1] == L':')
        path += L'\\';
    return toUtf8(path);
}

// The primary display's refresh rate, or 0 where the driver tells none
// (0 and 1 stand for the hardware's default).
double Win32Backend::refreshHz() const
{
    HDC screen = GetDC(nullptr);
    const int hz = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
    return hz > 1 ? hz : 0;
}

void Win32Backend::report(const std::string &message, bool fatal)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    if (fatal) {
        MessageBoxW(nullptr, toWide(message).c_str(), toWide(m_programName).c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    // One box at a time, on a thread of its own: the program goes on, and a
    // handler that fails on every tick of a fast timer cannot stack boxes.
    if (m_reporting->exchange(true))
        return;
    std::thread([reporting = m_reporting, text = toWide(message), title = toWide(m_programName)] {
        MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        *reporting = false;
    }).detach();
}

void Win32Backend::later(std::function<void()> work)
{
    const unsigned long within = Handling::s_open.empty() ? 0 : Handling::s_open.back().id;
    m_later.push_back({++m_queued, within, std::move(work)});
    // A wake that is lost (a full queue) stalls nothing: the loop's next
    // message runs what is due (dispatch).
    PostMessageW(m_window, Wake, 0, 0);
}

LRESULT Win32Backend::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != Wake)
        return OwnWindow::handle(message, wParam, lParam);
    runDue();
    return 0;
}

// Runs every entry that is due, in the order queued: one queued from
// within a handling that has since returned, or from none. What is not
// yet due (queued by a handler whose message box's loop took the wake)
// stays, and its handling wakes the queue again when it returns. What the
// work run here queues waits for its own wake. Looked for afresh after
// each run: the work may run a loop of its own that takes a wake.
void Win32Backend::runDue()
{
    const unsigned long last = m_queued;
    for (;;) {
        auto it = std::find_if(m_later.begin(), m_later.end(), [last](const Deferred &d) {
            if (Handling::Open *open = Handling::find(d.within)) {
                open->wake = true;
                return false;
            }
            return d.number <= last;
        });
        if (it == m_later.end())
            return;
        std::function<void()> work = std::move(it->work);
        m_later.erase(it);
        Handling running;
        work();
    }
}

Win32Backend::Handling::Open *Win32Backend::Handling::find(unsigned long id)
{
    auto it = std::find_if(s_open.begin(), s_open.end(), [id](const Open &o) { return o.id == id; });
    return it == s_open.end() ? nullptr : &*it;
}

Win32Backend::Handling::~Handling()
{
    const bool wake = s_open.back().wake;
    s_open.pop_back();
    if (wake)
        PostMessageW(s_waker, Wake, 0, 0);
}

int Win32Backend::exec()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        dispatch(msg);
    return int(msg.wParam);
}

void Win32Backend::dispatch(MSG &msg)
{
    {
        Handling handling;
        // A form's keys go to the core first, then to the dialog keys (Tab
        // where the core has nowhere to go, a button's Space, Enter and Esc
        // choosing none); a press of the mouse anywhere on a form puts its
        // ring away. Only these need asking about, not the timer's stream
        // of messages.
        const bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
        const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK
                || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN;
        const HWND root = (key || press) && msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        Win32Window *form = Win32Window::of(root);
        if (form && press)
            form->pointed();
        if (!form || press || !(form->key(msg) || IsDialogMessageW(root, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    instance().runDue();
}

void Win32Backend::quit(int status)
{
    PostQuitMessage(status);
}

} // namespace runtime::win32
