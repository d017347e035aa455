// A picture box: a child window with a flat one-pixel black border or the
// two-pixel sunken one, showing its picture unscaled from the client
// origin, clipped, with the back colour filling the rest. It holds other
// controls: child windows clipped to its client area, and labels and lines
// drawn on it by its surface.
#pragma once

#include "pictures.h"
#include "surface.h"
#include "win32control.h"

namespace runtime::win32 {

class PictureBox : public Win32Control
{
public:
    PictureBox(const ControlRow &row, const Place &place);

    Surface *surface() override { return &m_surface; }

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintBorder() const;

    Surface m_surface;
    Border m_border;
    int m_scale;
    int m_borderWidth;
};

} // namespace runtime::win32
