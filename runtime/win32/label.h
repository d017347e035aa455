// A label: a caption drawn on its container, word-wrapped, opaque or
// transparent. A transparent label paints nothing but its caption and still
// takes clicks, which makes it the click zone laid over a painted button.
#pragma once

#include "win32control.h"

#include <string>

namespace runtime::win32 {

class Label : public Windowless
{
public:
    Label(const ControlRow &row, const Place &place);

    void apply(Property property, const Value &value) override;

    void paint(HDC dc) override;

private:
    std::wstring m_caption;
    HFONT m_font;
    COLORREF m_back, m_fore;
    UINT m_format;
    bool m_transparent;
};

} // namespace runtime::win32
