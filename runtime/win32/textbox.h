// A text box: the system's EDIT control, one line or many (wrapped, no
// scroll bars), read-only where the table says, in the table's colours
// and font. Its text reads back exactly as written, CR LF included.
#pragma once

#include "win32control.h"

#include <string>

namespace runtime {

class TextBox : public Win32Control
{
public:
    TextBox(const ControlRow &row, const Place &place);

    HWND window() const override { return m_window; }
    Status read(Property property, Value &value) const override;
    Status write(Property property, const Value &value) override;
    HBRUSH colours(HDC dc) override;
    void command(WORD notification) override;

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);

    HWND m_window;
    WNDPROC m_edit = nullptr;  // the EDIT class's own procedure
    // The text as last written or typed, so that reading it (a thousand
    // times a second from the dashboard's timer) asks nothing of the control.
    std::string m_text;
    COLORREF m_back, m_fore;
    bool m_readOnly;
};

} // namespace runtime
