#include "label.h"
#include "drawing.h"
#include "surface.h"
#include "text.h"

namespace runtime::win32 {

// By Align: left, centre, right.
static const UINT Alignment[] = {DT_LEFT, DT_CENTER, DT_RIGHT};

Label::Label(const ControlRow &row, const Place &place)
    : Windowless(row, place),
      m_caption(toWide(row.settings.caption ? row.settings.caption : "")),
      m_font(place.font),
      m_back(colourRef(backOf(row), {})),
      m_fore(colourRef(foreOf(row), {})),
      // Captions are shown as written: an ampersand is not a mnemonic.
      m_format(Alignment[int(row.settings.align)] | DT_TOP | DT_WORDBREAK | DT_NOPREFIX),
      m_transparent(row.settings.transparent)
{
}

void Label::apply(Property, const Value &value)
{
    m_caption = toWide(std::get<std::string>(value));
    if (m_shown)
        repaint();
}

void Label::paint(HDC dc)
{
    if (!m_transparent)
        FillRect(dc, &m_bounds, sharedBrush(m_back));
    if (m_caption.empty())
        return;
    RECT box = m_bounds;
    HGDIOBJ old = SelectObject(dc, m_font);
    SetTextColor(dc, m_fore);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, m_caption.c_str(), int(m_caption.size()), &box, m_format);
    SelectObject(dc, old);
}

} // namespace runtime::win32
