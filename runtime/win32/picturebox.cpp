#include "picturebox.h"
#include "drawing.h"

#include <algorithm>

namespace runtime::win32 {

static const wchar_t ClassName[] = L"VelkPictureBox";

PictureBox::PictureBox(const ControlRow &row, const Place &place)
    : m_back(colourRef(row.settings.back, ButtonFace)),
      m_border(row.settings.border),
      m_scale(place.scale),
      m_borderWidth(borderPixels(row.settings.border) * place.scale)
{
    static const bool registered = (registerWindowClass(ClassName, procedure), true);
    (void)registered;
    if (row.settings.picture)
        m_picture = &picture(row.settings.picture);
    const RECT r = deviceRect(row.left, row.top, row.width, row.height, place.scale);
    // A box holding a text box lets the dialog keys reach into it.
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (row.settings.hidden ? 0 : WS_VISIBLE);
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, L"", style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, place.parent, reinterpret_cast<HMENU>(INT_PTR(childId(place.row))),
                               nullptr, this);
    m_surface.setWindow(m_window);
}

LRESULT CALLBACK PictureBox::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<PictureBox *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Win32Control *>(self)));
    }
    auto *control = reinterpret_cast<Win32Control *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    return static_cast<PictureBox *>(control)->handle(message, wParam, lParam);
}

LRESULT PictureBox::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_surface.handle(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_NCCALCSIZE:
    {
        // The border is the frame of the window: the client area, where the
        // picture and the held controls are placed, begins inside it. The
        // rectangle comes first in either form of the message (the one at
        // creation included).
        RECT &client = *reinterpret_cast<RECT *>(lParam);
        InflateRect(&client, -m_borderWidth, -m_borderWidth);
        client.right = std::max(client.right, client.left);
        client.bottom = std::max(client.bottom, client.top);
        return 0;
    }
    case WM_NCPAINT:
        paintBorder();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paintBuffered(m_window, [this](HDC dc, const RECT &dirty) {
            RECT client;
            GetClientRect(m_window, &client);
            // The back colour where the picture does not reach.
            HRGN rest = CreateRectRgnIndirect(&dirty);
            if (m_picture && m_picture->bitmap) {
                HRGN covered = CreateRectRgn(0, 0, m_picture->width * m_scale, m_picture->height * m_scale);
                CombineRgn(rest, rest, covered, RGN_DIFF);
                DeleteObject(covered);
                drawPicture(dc, *m_picture, 0, 0, m_scale);
            }
            FillRgn(dc, rest, sharedBrush(m_back));
            DeleteObject(rest);
            m_surface.paint(dc, dirty);
        });
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void PictureBox::paintBorder() const
{
    HDC dc = GetWindowDC(m_window);
    RECT r;
    GetWindowRect(m_window, &r);
    OffsetRect(&r, -r.left, -r.top);
    const int s = m_scale;
    // Fills the ring between box and box inset by depth: top and left in
    // one colour, bottom and right in the other.
    auto ring = [dc](RECT box, int depth, COLORREF topLeft, COLORREF bottomRight) {
        const RECT top{box.left, box.top, box.right - depth, box.top + depth};
        const RECT left{box.left, box.top, box.left + depth, box.bottom - depth};
        const RECT bottom{box.left, box.bottom - depth, box.right, box.bottom};
        const RECT right{box.right - depth, box.top, box.right, box.bottom};
        FillRect(dc, &top, sharedBrush(topLeft));
        FillRect(dc, &left, sharedBrush(topLeft));
        FillRect(dc, &bottom, sharedBrush(bottomRight));
        FillRect(dc, &right, sharedBrush(bottomRight));
    };
    if (m_border == Border::Flat) {
        ring(r, s, RGB(0, 0, 0), RGB(0, 0, 0));
    } else {
        // The classic sunken edge: shadow above and left, light below and right.
        ring(r, s, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        InflateRect(&r, -s, -s);
        ring(r, s, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
    ReleaseDC(m_window, dc);
}

} // namespace runtime::win32
