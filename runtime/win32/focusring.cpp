#include "focusring.h"
#include "description/focusorder.h"
#include "drawing.h"

namespace runtime::win32 {

static_assert(focus::RingWidth == 2, "the ring paints a line of each colour");

FocusRing::~FocusRing()
{
    if (m_window)
        DestroyWindow(m_window);
}

void FocusRing::place(HWND container, const RECT &outer)
{
    static const ATOM atom = registerWindowClass(L"VelkFocusRing");
    // Made anew in each container it goes round, rather than moved
    // between parents.
    if (m_window && GetParent(m_window) != container) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    // Hidden first, so that what it leaves is painted again wherever it
    // was: a new shape alone does not say what it uncovered.
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
    else
        CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, container, nullptr, nullptr,
                        static_cast<OwnWindow *>(this));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // The two lines and nothing inside them.
    const int lines = focus::RingWidth * m_scale;
    HRGN shape = CreateRectRgn(0, 0, width, height), inside = CreateRectRgn(lines, lines, width - lines, height - lines);
    CombineRgn(shape, shape, inside, RGN_DIFF);
    DeleteObject(inside);
    SetWindowRgn(m_window, shape, FALSE);  // the window owns it from here
    SetWindowPos(m_window, HWND_TOP, outer.left, outer.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(m_window, nullptr, FALSE);
}

void FocusRing::hide()
{
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
}

LRESULT FocusRing::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_NCDESTROY: {
        // Gone with its container: nothing left to destroy.
        const HWND window = m_window;
        m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        RECT line;
        GetClientRect(m_window, &line);
        // The outer colour, then the inner one a line further in; the
        // region leaves only the two lines of it on the screen.
        for (const Colour colour : {focus::RingOuter, focus::RingInner}) {
            FillRect(dc, &line, sharedBrush(colourRef(colour, {})));
            InflateRect(&line, -m_scale, -m_scale);
        }
        EndPaint(m_window, &ps);
        return 0;
    }
    default:
        return OwnWindow::handle(message, wParam, lParam);
    }
}

} // namespace runtime::win32
