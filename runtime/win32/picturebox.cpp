#include "picturebox.h"
#include "drawing.h"

#include <algorithm>

namespace runtime::win32 {

PictureBox::PictureBox(const ControlRow &row, const Place &place)
    : m_surface(colourRef(backOf(row), {}), row.settings.picture ? &picture(row.settings.picture) : nullptr,
                place.scale),
      m_border(row.settings.border),
      m_scale(place.scale),
      m_borderWidth(borderPixels(row.settings.border) * place.scale)
{
    // A box holding a text box lets the dialog keys reach into it.
    create(nullptr, row, place, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    m_surface.setWindow(m_window);
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
    default:
        return Win32Control::handle(message, wParam, lParam);
    }
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
        const RECT sides[] = {{box.left, box.top, box.right - depth, box.top + depth},        // top
                              {box.left, box.top, box.left + depth, box.bottom - depth},      // left
                              {box.left, box.bottom - depth, box.right, box.bottom},          // bottom
                              {box.right - depth, box.top, box.right, box.bottom}};           // right
        for (int i = 0; i < 4; ++i)
            FillRect(dc, &sides[i], sharedBrush(i < 2 ? topLeft : bottomRight));
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
