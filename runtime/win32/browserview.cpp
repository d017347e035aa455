#include "browserview.h"
#include "drawing.h"
#include "filereader.h"
#include "text.h"
#include "twips.h"

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <mutex>
#include <thread>

namespace runtime::win32 {

namespace {

const wchar_t ClassName[] = L"VelkBrowserView";
constexpr UINT Decoded = WM_APP + 1;   // wParam: the generation decoded, in part or whole
constexpr UINT Read = WM_APP + 3;      // wParam: the generation whose file was read
constexpr UINT Resume = WM_APP + 2;    // a frame fell due while the view was hidden
constexpr UINT_PTR DelayTimer = 1;

} // namespace

// Shared by the view and its workers: a worker that finishes after the
// view is gone finds no window and drops its result.
struct BrowserView::Mailbox
{
    std::mutex lock;
    HWND window = nullptr;
    int generation = 0;
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    std::unique_ptr<Animation> animation;
    bool whole = false;  // the animation is all there is
    std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
};

BrowserView::BrowserView(const ControlRow &row, const Place &place)
    : m_scale(place.scale),
      m_size{pixels(row.width), pixels(row.height)},
      m_mailbox(std::make_shared<Mailbox>())
{
    static const bool registered = (registerWindowClass(ClassName, procedure), true);
    (void)registered;
    const RECT r = deviceRect(row.left, row.top, row.width, row.height, place.scale);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (row.settings.hidden ? 0 : WS_VISIBLE);
    CreateWindowExW(0, ClassName, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, place.parent,
                    reinterpret_cast<HMENU>(INT_PTR(childId(place.row))), nullptr, this);
    m_mailbox->window = m_window;
}

BrowserView::~BrowserView()
{
    // A worker still reading or decoding gives up at once; its result, if
    // it gets that far, goes nowhere.
    std::lock_guard<std::mutex> hold(m_mailbox->lock);
    m_mailbox->window = nullptr;
    *m_mailbox->stop = true;
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
        decodeWhenSeen();
        // Painting means the view is seen again: a frame that fell due
        // while it was hidden is shown now.
        if (m_due)
            PostMessageW(m_window, Resume, 0, 0);
        return 0;
    case WM_TIMER:
        if (wParam == DelayTimer) {
            KillTimer(m_window, DelayTimer);
            if (IsWindowVisible(m_window))
                advance();
            else
                m_due = true;
        }
        return 0;
    case Resume:
        if (m_due && IsWindowVisible(m_window))
            advance();
        return 0;
    case Read:
        read(int(wParam));
        return 0;
    case Decoded:
        decoded(int(wParam));
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void BrowserView::apply(Property, const Value &value)
{
    navigate(std::get<std::string>(value));
}

void BrowserView::navigate(const std::string &path)
{
    KillTimer(m_window, DelayTimer);
    m_address = path;
    m_playback.restart();
    m_bytes.reset();
    m_frame.reset();
    m_due = false;
    InvalidateRect(m_window, nullptr, FALSE);
    // The part of the picture that can ever be seen: what of it lies inside
    // the view, right of and below the picture's origin, in the picture's
    // own coordinates.
    m_crop = Rect{0, 0, int(std::max(0L, m_size.cx - PictureOrigin.x)), int(std::max(0L, m_size.cy - PictureOrigin.y))};
    std::shared_ptr<std::atomic<bool>> stop;
    int generation;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        *m_mailbox->stop = true;  // an earlier file still being read is no longer wanted
        m_mailbox->stop = stop = std::make_shared<std::atomic<bool>>(false);
        m_mailbox->bytes.reset();
        m_mailbox->animation.reset();
        generation = m_mailbox->generation = ++m_generation;
    }
    std::thread([mailbox = m_mailbox, stop, wide = toWide(path), generation] {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        FileProblem problem;
        auto bytes = readRegularFile(wide, FrameDecoder::MaxFileBytes, stop.get(), problem);
        std::lock_guard<std::mutex> hold(mailbox->lock);
        if (stop->load() || !mailbox->window || mailbox->generation != generation)
            return;
        if (bytes) {
            mailbox->bytes = std::make_shared<const std::vector<unsigned char>>(std::move(*bytes));
            PostMessageW(mailbox->window, Read, WPARAM(generation), 0);
            return;
        }
        // What cannot be shown whole is said once on the error stream (a
        // console's, when the program was started from one), never in a
        // dialog over the dashboard.
        std::fprintf(stderr, "%s: %s: %s\n", executableName().c_str(), toUtf8(wide).c_str(), describe(problem));
        mailbox->animation = std::make_unique<Animation>();
        mailbox->whole = true;
        PostMessageW(mailbox->window, Decoded, WPARAM(generation), 0);
    }).detach();
}

void BrowserView::read(int generation)
{
    std::lock_guard<std::mutex> hold(m_mailbox->lock);
    if (generation != m_generation || !m_mailbox->bytes)
        return;
    m_bytes = std::move(m_mailbox->bytes);
    if (IsWindowVisible(m_window))
        InvalidateRect(m_window, nullptr, FALSE);  // painted, it asks for its frames
}

// Nothing is decoded for a view no one sees: the dashboard's first paint
// does not wait for the voice box, which most users never open.
void BrowserView::decodeWhenSeen()
{
    if (!m_bytes)
        return;
    std::shared_ptr<std::atomic<bool>> stop;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        stop = m_mailbox->stop;
    }
    std::thread([mailbox = m_mailbox, stop, bytes = std::move(m_bytes), crop = m_crop, generation = m_generation,
                 address = m_address] {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        FrameDecoder decoder(bytes->data(), bytes->size(), crop, stop.get());
        // The first frame goes to the window as soon as it is decoded, the
        // whole animation once the rest are.
        for (bool first = true;; first = false) {
            const bool more = decoder.next();
            if (!more || first) {
                std::lock_guard<std::mutex> hold(mailbox->lock);
                if (stop->load() || !mailbox->window || mailbox->generation != generation)
                    return;
                const char *why = more ? nullptr : describe(decoder.animation());
                if (why)
                    std::fprintf(stderr, "%s: %s: %s\n", executableName().c_str(), address.c_str(), why);
                mailbox->animation = std::make_unique<Animation>(decoder.animation());
                mailbox->whole = !more;
                PostMessageW(mailbox->window, Decoded, WPARAM(generation), 0);
            }
            if (!more)
                return;
        }
    }).detach();
    m_bytes.reset();
}

void BrowserView::decoded(int generation)
{
    std::unique_ptr<Animation> animation;
    bool whole;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        if (generation != m_generation || !m_mailbox->animation)
            return;
        animation = std::move(m_mailbox->animation);
        whole = m_mailbox->whole;
    }
    if (m_playback.take(std::move(*animation), whole))
        showFrame();
}

RECT BrowserView::frameRect(const Frame &frame) const
{
    const int x = PictureOrigin.x * m_scale, y = PictureOrigin.y * m_scale;
    return {x, y, x + frame->width * m_scale, y + frame->height * m_scale};
}

void BrowserView::showFrame()
{
    const Frame next = m_playback.frame();
    // A frame that looks as the last did shares its image: no repaint.
    if (next != m_frame) {
        if (m_frame) {
            const RECT before = frameRect(m_frame);
            InvalidateRect(m_window, &before, FALSE);
        }
        m_frame = next;
        const RECT after = frameRect(m_frame);
        InvalidateRect(m_window, &after, FALSE);
    }
    if (const int delay = m_playback.delayMs())
        SetTimer(m_window, DelayTimer, UINT(delay), nullptr);
}

void BrowserView::advance()
{
    m_due = false;
    if (m_playback.advance())
        showFrame();
}

void BrowserView::paint(HDC dc, const RECT &dirty) const
{
    FillRect(dc, &dirty, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!m_frame || m_frame->pixels.empty())
        return;
    // The frame's pixels are 0xAARRGGBB words: a top-down 32-bit DIB as is.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_frame->width;
    info.bmiHeader.biHeight = -m_frame->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const RECT at = frameRect(m_frame);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0, m_frame->width,
                  m_frame->height, m_frame->pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace runtime::win32
