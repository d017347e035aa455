#include "surface.h"
#include "accessibility/accessibletree.h"
#include "description/kinds.h"
#include "drawing.h"
#include "form/form.h"
#include "description/layout.h"
#include "win32control.h"

#include <windowsx.h>

namespace runtime::win32 {

Windowless::Windowless(const ControlRow &row, const Place &place)
    : m_bounds(device(placeOf(row), place.scale)), m_shown(!row.settings.hidden), m_row(place.row),
      m_surface(*place.surface)
{
    // Labels and lines are built as listed, which is their stacking order
    // (layout.h): each goes behind those already on the surface.
    m_surface.add(this);
}

// Only a change comes here (backend.h).
void Windowless::setVisible(bool show)
{
    m_shown = show;
    repaint();
}

void Windowless::repaint() const
{
    InvalidateRect(m_surface.window(), &m_bounds, FALSE);
}

void Surface::paint(HDC dc, const RECT &dirty) const
{
    // The back colour shows where the picture does not reach.
    FillRect(dc, &dirty, sharedBrush(m_back));
    if (m_picture)
        drawImage(dc, *m_picture, device({0, 0, m_picture->width, m_picture->height}, m_scale));
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        RECT overlap;
        if ((*it)->visible() && IntersectRect(&overlap, &(*it)->bounds(), &dirty))
            (*it)->paint(dc);
    }
}

// What the core's hit test finds at the point, from the container's
// client area in the window's layout pixels, if it is a label drawn here:
// lines and hidden labels let the click through to what lies behind.
Windowless *Surface::pressable(POINT at) const
{
    if (!m_form)
        return nullptr;
    Rect client{0, 0, 0, 0};
    if (m_row >= 0) {
        const ControlRow &box = m_form->description().controls[size_t(m_row)];
        client = windowRect(m_form->description(), m_row);
        client.x += borderPixels(box.settings.border);
        client.y += borderPixels(box.settings.border);
    }
    const int row = accessibility::hit(*m_form, m_row, client.x + int(at.x) / m_scale, client.y + int(at.y) / m_scale);
    for (Windowless *c : m_controls)
        if (c->row() == row && m_form->description().controls[size_t(row)].kind == Kind::Label)
            return c;
    return nullptr;
}

// The control a notification names. Any process may send one naming any
// window, even the form's own: only a child window of this surface is one
// of its controls.
Win32Control *Surface::child(LPARAM lParam) const
{
    const HWND named = reinterpret_cast<HWND>(lParam);
    return named && GetAncestor(named, GA_PARENT) == m_window ? controlOf(named) : nullptr;
}

bool Surface::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)
{
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        paintBuffered(m_window, [this](HDC dc, const RECT &dirty) { paint(dc, dirty); });
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        m_pressed = pressable({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (m_pressed)
            SetCapture(m_window);
        result = 0;
        return true;
    case WM_LBUTTONUP: {
        // A click is a left press and release both inside the same label.
        Windowless *pressed = m_pressed;
        m_pressed = nullptr;
        if (GetCapture() == m_window)
            ReleaseCapture();
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (pressed && pressed == pressable(at))
            pressed->click();
        result = 0;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_window)
            m_pressed = nullptr;
        return false;
    case WM_COMMAND:
        if (Win32Control *c = child(lParam)) {
            c->command(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Win32Control *c = child(lParam))
            if (HBRUSH brush = c->colours(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        return false;
    default:
        return false;
    }
}

} // namespace runtime::win32
