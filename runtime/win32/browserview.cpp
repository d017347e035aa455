#include "browserview.h"
#include "diagnostics.h"
#include "drawing.h"
#include "text.h"

#include <thread>

namespace runtime::win32 {

namespace {

const wchar_t ClassName[] = L"VelkBrowserView";
constexpr UINT Done = WM_APP + 1;  // a worker left a result in m_done
constexpr UINT_PTR DelayTimer = 1;

} // namespace

BrowserView::BrowserView(const ControlRow &row, const Place &place)
    : m_scale(place.scale),
      m_view(row, *this)
{
    static const bool registered = (registerWindowClass(ClassName, procedure), true);
    (void)registered;
    const RECT r = deviceRect(row.left, row.top, row.width, row.height, place.scale);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (row.settings.hidden ? 0 : WS_VISIBLE);
    CreateWindowExW(0, ClassName, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, place.parent,
                    reinterpret_cast<HMENU>(INT_PTR(childId(place.row))), nullptr, this);
}

BrowserView::~BrowserView()
{
    m_view.close();
}

LRESULT CALLBACK BrowserView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<BrowserView *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Win32Control *>(self)));
    }
    auto *control = reinterpret_cast<Win32Control *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    return static_cast<BrowserView *>(control)->handle(message, wParam, lParam);
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
        if (wParam == DelayTimer) {
            KillTimer(m_window, DelayTimer);
            m_view.delayOver();
        }
        return 0;
    case Done:
        for (;;) {
            std::function<void()> done;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                if (m_done.empty())
                    break;
                done = std::move(m_done.front());
                m_done.pop_front();
            }
            done();
        }
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void BrowserView::apply(Property, const Value &value)
{
    m_view.navigate(std::get<std::string>(value));
}

void BrowserView::inBackground(std::function<void()> job)
{
    std::thread([job = std::move(job)] {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        job();
    }).detach();
}

void BrowserView::onUiThread(std::function<void()> done)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_done.push_back(std::move(done));
    PostMessageW(m_window, Done, 0, 0);
}

void BrowserView::startDelay(int ms)
{
    SetTimer(m_window, DelayTimer, UINT(ms), nullptr);
}

void BrowserView::stopDelay()
{
    KillTimer(m_window, DelayTimer);
}

RECT BrowserView::device(const Rect &r) const
{
    return {r.x * m_scale, r.y * m_scale, (r.x + r.width) * m_scale, (r.y + r.height) * m_scale};
}

void BrowserView::invalidate(const Rect &area)
{
    const RECT r = device(area);
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
    if (frame && !frame->pixels.empty()) {
        // The frame's pixels are 0xAARRGGBB words: a top-down 32-bit DIB as is.
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = frame->width;
        info.bmiHeader.biHeight = -frame->height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const RECT at = device(m_view.frameRect());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0, frame->width,
                      frame->height, frame->pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    if (!m_view.note().empty()) {
        RECT box = device(m_view.noteRect());
        const std::wstring text = toWide(m_view.note());
        const HGDIOBJ before = SelectObject(dc, defaultFont(m_scale));
        SetTextColor(dc, colourRef(AnimationView::NoteColour, {}));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        SelectObject(dc, before);
    }
}

} // namespace runtime::win32
