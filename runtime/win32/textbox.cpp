#include "textbox.h"
#include "drawing.h"
#include "text.h"

namespace runtime::win32 {

TextBox::TextBox(const ControlRow &row, const Place &place)
    : m_back(colourRef(backOf(row), {})),
      m_fore(colourRef(foreOf(row), {})),
      m_readOnly(row.settings.readOnly)
{
    const Settings &s = row.settings;
    static const DWORD Alignment[] = {ES_LEFT, ES_CENTER, ES_RIGHT};  // by Align
    DWORD style = Alignment[int(s.align)] | (s.tabIndex >= 0 ? WS_TABSTOP : 0) | (s.readOnly ? ES_READONLY : 0);
    style |= s.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN : ES_AUTOHSCROLL;
    const bool flat = s.border == Border::Flat;
    create(L"EDIT", row, place, style | (flat ? WS_BORDER : 0), flat ? 0 : WS_EX_CLIENTEDGE);
    // The border already sets the text off the edge; the font's own margin
    // would push short texts such as "CPU Status:" out of view.
    SendMessageW(m_window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    m_edit = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure)));
    if (s.text)
        apply(Property::Text, std::string(s.text));
}

// The EDIT control, with two changes. Tab and Esc belong to the window:
// a box of many lines would take Tab as text and, in a dialog, Esc as
// closing it. And a read-only field is a display, not a place to type: no
// blinking caret when it has the focus. (Subclassed by hand: comctl32's
// helpers would load a library that is not one of the system's known ones.)
LRESULT CALLBACK TextBox::editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = static_cast<TextBox *>(controlOf(window));
    LRESULT result = CallWindowProcW(self->m_edit, window, message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam) {
        const MSG *key = reinterpret_cast<const MSG *>(lParam);
        if (key->message == WM_KEYDOWN && (key->wParam == VK_TAB || key->wParam == VK_ESCAPE))
            result &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB);
    } else if (message == WM_SETFOCUS && self->m_readOnly) {
        HideCaret(window);
    }
    return result;
}

void TextBox::apply(Property, const Value &value)
{
    m_applying = true;
    SetWindowTextW(m_window, toWide(std::get<std::string>(value)).c_str());
    m_applying = false;
}

void TextBox::command(WORD notification)
{
    if (notification == EN_SETFOCUS)
        tookFocus();
    if (notification == EN_CHANGE && !m_applying && m_tell) {
        std::wstring text(size_t(GetWindowTextLengthW(m_window)) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(m_window, text.data(), int(text.size()))));
        m_tell(Property::Text, toUtf8(text));
    }
}

HBRUSH TextBox::colours(HDC dc)
{
    SetTextColor(dc, m_fore);
    SetBkColor(dc, m_back);
    return sharedBrush(m_back);
}

} // namespace runtime::win32
