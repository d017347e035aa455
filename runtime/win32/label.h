// A label: a caption drawn on its container, word-wrapped, opaque or
// transparent. A transparent label paints nothing but its caption and still
// takes clicks, which makes it the click zone laid over a painted button.
#pragma once

#include "win32control.h"

#include <string>

namespace runtime {

class Label : public Windowless
{
public:
    Label(const ControlRow &row, const Place &place);

    Status read(Property property, Value &value) const override;
    Status write(Property property, const Value &value) override;
    void onEvent(std::function<void(Event)> raise) override { m_raise = std::move(raise); }

    void paint(HDC dc) override;
    bool takesPress(POINT at) const override { return PtInRect(&m_bounds, at); }
    void click() override;

private:
    std::string m_caption;
    std::wstring m_wide;  // what is drawn
    HFONT m_font;
    COLORREF m_back, m_fore;
    UINT m_format;
    bool m_transparent;
    std::function<void(Event)> m_raise;
};

} // namespace runtime
