// A text box: the system's EDIT control, one line or many (wrapped, no
// scroll bars), read-only where the table says, in the table's colours
// and font. What the user types goes back to the form.
#pragma once

#include "win32control.h"

#include <string>

namespace runtime::win32 {

class TextBox : public Win32Control
{
public:
    TextBox(const ControlRow &row, const Place &place);

    void apply(Property property, const Value &value) override;
    void onUserChange(std::function<void(Property, Value)> tell) override { m_tell = std::move(tell); }
    HBRUSH colours(HDC dc) override;
    void command(WORD notification) override;

private:
    static LRESULT CALLBACK editProcedure(HWND, UINT, WPARAM, LPARAM);

    WNDPROC m_edit = nullptr;  // the EDIT class's own procedure
    std::function<void(Property, Value)> m_tell;
    bool m_applying = false;  // the change is the program's, not the user's
    COLORREF m_back, m_fore;
    bool m_readOnly;
};

} // namespace runtime::win32
