#include "win32backend.h"
#include "pictures.h"
#include "text.h"
#include "win32control.h"
#include "win32window.h"

#include <cstdio>
#include <thread>

namespace runtime::win32 {

namespace {

const wchar_t ClassName[] = L"VelkRuntime";
constexpr UINT RunLater = WM_APP;

} // namespace

Win32Backend::Win32Backend()
{
    registerWindowClass(ClassName);
    CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, static_cast<OwnWindow *>(this));
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
    m_later.push_back({++m_posted, std::move(work)});
    PostMessageW(m_window, RunLater, WPARAM(m_posted), 0);
}

LRESULT Win32Backend::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Another process may post the same message: only the work it names
    // runs, and only at its turn.
    if (message != RunLater || m_later.empty() || wParam != WPARAM(m_later.front().first))
        return OwnWindow::handle(message, wParam, lParam);
    std::function<void()> work = std::move(m_later.front().second);
    m_later.pop_front();
    work();
    return 0;
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
    // A form's keys go to the core first, then to the dialog keys (Tab
    // where the core has nowhere to go, a button's Space, Enter and Esc
    // choosing none); only keys need asking about, not the timer's stream
    // of messages.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd)
        if (Win32Window *form = Win32Window::of(GetAncestor(msg.hwnd, GA_ROOT))) {
            const HWND window = form->handle();
            if (form->key(msg) || IsDialogMessageW(window, &msg))
                return;
        }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Backend::quit(int status)
{
    PostQuitMessage(status);
}

} // namespace runtime::win32
