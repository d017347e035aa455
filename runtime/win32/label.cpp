#include "label.h"
#include "drawing.h"
#include "surface.h"
#include "text.h"

namespace runtime {

static UINT alignment(Align align)
{
    switch (align) {
    case Align::Center: return DT_CENTER;
    case Align::Right:  return DT_RIGHT;
    case Align::Left:   break;
    }
    return DT_LEFT;
}

Label::Label(const ControlRow &row, const Place &place)
    : Windowless(deviceRect(row.left, row.top, row.width, row.height, place.scale), !row.settings.hidden, *place.surface),
      m_caption(row.settings.caption ? row.settings.caption : ""),
      m_wide(toWide(m_caption)),
      m_font(place.font),
      m_back(colourRef(row.settings.back, ButtonFace)),
      m_fore(colourRef(row.settings.fore, ButtonText)),
      // Captions are shown as written: an ampersand is not a mnemonic.
      m_format(alignment(row.settings.align) | DT_TOP | DT_WORDBREAK | DT_NOPREFIX),
      m_transparent(row.settings.transparent)
{
}

Status Label::read(Property property, Value &value) const
{
    if (property != Property::Caption)
        return Status::NoSuchProperty;
    value = m_caption;
    return Status::Ok;
}

Status Label::write(Property property, const Value &value)
{
    if (property != Property::Caption)
        return Status::NoSuchProperty;
    // The dashboard's timer writes captions at every tick, nearly always
    // with the text already shown: only a change repaints.
    const std::string &caption = std::get<std::string>(value);
    if (caption != m_caption) {
        m_caption = caption;
        m_wide = toWide(caption);
        if (m_shown)
            repaint();
    }
    return Status::Ok;
}

void Label::click()
{
    if (m_raise)
        m_raise(Event::Click);
}

void Label::paint(HDC dc)
{
    if (!m_transparent)
        FillRect(dc, &m_bounds, sharedBrush(m_back));
    if (m_wide.empty())
        return;
    RECT box = m_bounds;
    HGDIOBJ old = SelectObject(dc, m_font);
    SetTextColor(dc, m_fore);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, m_wide.c_str(), int(m_wide.size()), &box, m_format);
    SelectObject(dc, old);
}

} // namespace runtime
