// The keyboard's focus ring on Win32: one small child window of the
// focused row's container, laid where the core says (focus::ring) and put
// above the container's child windows, shaped by its region to the ring's
// two lines alone, so that the zone's picture shows through untouched and
// a neighbouring text box cannot cover a side of it. Transparent to the
// mouse, whose clicks go to whatever lies beneath.
#pragma once

#include "win32control.h"

namespace runtime::win32 {

class FocusRing : private OwnWindow
{
public:
    explicit FocusRing(int scale) : m_scale(scale) {}
    ~FocusRing() override;
    FocusRing(const FocusRing &) = delete;
    FocusRing &operator=(const FocusRing &) = delete;

    // Around the place (device pixels, in container's client area).
    void place(HWND container, const RECT &outer);
    void hide();

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_scale;
};

} // namespace runtime::win32
