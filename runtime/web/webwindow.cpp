#include "webwindow.h"
#include "accessibility/accessibletree.h"
#include "accessibility/focus.h"
#include "browserview.h"
#include "controls.h"
#include "form/form.h"
#include "description/focusorder.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "page.h"
#include "description/twips.h"
#include "webbackend.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <string>

namespace runtime::web {

namespace {

std::map<int, WebWindow *> &windows()
{
    static auto *byId = new std::map<int, WebWindow *>;
    return *byId;
}

enum Flags { Hidden = 1, ReadOnly = 2, MultiLine = 4, Transparent = 8, Clicked = 16, LineEnds = 32 };

namespace a = runtime::accessibility;

// The core's role in ARIA's words; empty where the element's own is right
// (a text box is an input, a command button a button).
const char *ariaRole(a::Role role)
{
    switch (role) {
    case a::Role::Pane:       return "none";
    case a::Role::Button:     return "button";
    case a::Role::StaticText: return "status";
    case a::Role::Graphic:
    case a::Role::Animation:  return "img";
    default:                  return "";
    }
}

} // namespace

WebWindow::WebWindow(Form &form) : m_form(form)
{
    static int last = 0;
    m_id = ++last;
    windows()[m_id] = this;
    const WindowSettings &w = form.description().window;
    const std::string icon = w.icon ? pictureFile(w.icon) : std::string();
    velk_window(m_id, w.caption, icon.empty() ? nullptr : icon.c_str(), pixels(w.clientWidth), pixels(w.clientHeight),
                !w.borderless, rgbOf(backOf(w), {}), a::name(form, -1).c_str());
    build();
}

WebWindow::~WebWindow()
{
    m_views.clear();
    windows().erase(m_id);
    if (!WebBackend::instance().ended())
        velk_drop_window(m_id);
}

WebWindow *WebWindow::byId(int id)
{
    auto it = windows().find(id);
    return it == windows().end() ? nullptr : it->second;
}

void WebWindow::build()
{
    const FormDescription &d = m_form.description();
    const int n = int(d.controls.size());
    m_container.assign(size_t(n), -1);
    for (int r : buildOrder(d)) {
        const ControlRow &row = d.controls[size_t(r)];
        const Settings &s = row.settings;
        m_container[size_t(r)] = m_form.containerOf(r);
        const char *element = elementOf(row.kind);
        if (!element)
            continue;
        const KindInfo *kind = kindInfo(row.kind);
        const bool line = row.kind == Kind::Line;
        const Rect at = line ? Rect{pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height)}
                             : placeOf(row);
        const bool bordered = row.kind == Kind::PictureBox || row.kind == Kind::TextBox;
        const int flags = (s.hidden ? Hidden : 0) | (s.readOnly ? ReadOnly : 0) | (s.multiLine ? MultiLine : 0)
                | (s.transparent ? Transparent : 0) | (m_form.handles(r, Event::Click) ? Clicked : 0)
                | (line ? LineEnds : 0);
        const Font &font = fontOf(s);
        const std::string family = familyOf(font.face);
        const std::string picture = s.picture ? pictureFile(s.picture) : std::string();
        // Front-most first within each container; windowed controls in
        // front of those drawn on the container's surface.
        const int z = (kind->windowed ? 2 * n : n) - r;
        const bool textBox = row.kind == Kind::TextBox;
        const auto stop = std::find(m_form.focusOrder().begin(), m_form.focusOrder().end(), r);
        velk_control(m_id, r, m_container[size_t(r)], element, at.x, at.y, at.width, at.height,
                     textBox ? s.text : s.caption, picture.empty() ? nullptr : picture.c_str(),
                     rgbOf(backOf(row), {}), rgbOf(foreOf(row), {}), family.c_str(), fontPixels(font.points), font.weight,
                     int(s.align), bordered ? borderPixels(s.border) : 0, flags, z,
                     stop == m_form.focusOrder().end() ? -1 : int(stop - m_form.focusOrder().begin()));
        if (row.kind == Kind::BrowserView)
            m_views.emplace(r, std::make_unique<BrowserView>(*this, r, row));
    }
    std::vector<int> rows(size_t(n), 0);
    std::iota(rows.begin(), rows.end(), 0);
    sortRows(rows, [&d](int a, int b) {
        return d.controls[size_t(a)].settings.tabIndex < d.controls[size_t(b)].settings.tabIndex;
    });
    for (int r : rows)
        velk_order(m_id, r);
    for (int r = 0; r < n; ++r) {
        place(r);
        tell(r);
    }
}

bool WebWindow::visible(int row) const
{
    const Value *v = m_form.value(row, Property::Visible);
    return !v || std::get<bool>(*v);
}

bool WebWindow::seen(int row) const
{
    if (!m_shown)
        return false;
    for (int r = row; r >= 0; r = m_container[size_t(r)])
        if (!visible(r))
            return false;
    return true;
}

Rect WebWindow::containerArea(int row) const
{
    const int c = m_container[size_t(row)];
    if (c < 0) {
        const WindowSettings &w = m_form.description().window;
        return {0, 0, pixels(w.clientWidth), pixels(w.clientHeight)};
    }
    const ControlRow &box = m_form.description().controls[size_t(c)];
    const Rect place = placeOf(box);
    const int edge = box.kind == Kind::PictureBox ? borderPixels(box.settings.border) : 0;
    return {0, 0, place.width - 2 * edge, place.height - 2 * edge};
}

// Shows or hides a row. A row hidden that still has something to tell (a
// dark lamp is still a lamp) stays on the page for the reader, unseen and
// unclickable.
void WebWindow::place(int row)
{
    velk_set_shown(m_id, row, visible(row) ? 1 : a::invisible(m_form, row) ? 0 : 2);
}

// Says what a screen reader hears of a row, as the core's accessible tree
// has it.
void WebWindow::tell(int row)
{
    const bool found = !a::invisible(m_form, row);
    const a::Role role = a::role(m_form, row);
    if (role == a::Role::None)
        return;
    const std::string name = a::name(m_form, row), value = a::value(m_form, row);
    // A text unnamed but by its own caption is read as the page's text.
    const bool plainText = role == a::Role::StaticText && name == value;
    const bool ownValue = role == a::Role::Text;  // an input's value is its own
    velk_tell(m_id, row, plainText ? "" : ariaRole(role), plainText ? "" : name.c_str(),
              plainText || ownValue ? "" : value.c_str(), !found);
}

void WebWindow::show()
{
    m_shown = true;
    // The core's first focus, placed as the page lays the window out (the
    // core tells it too, at once, once the window shows).
    velk_show(m_id, 1, m_focusPlaced ? -1 : runtime::focus::first(m_form));
    m_focusPlaced = true;
    viewsMayBeSeen();
}

void WebWindow::hide()
{
    m_shown = false;
    velk_show(m_id, 0, -1);
}

void WebWindow::viewsMayBeSeen()
{
    for (auto &[row, view] : m_views)
        if (seen(row))
            view->shown();
}

// The form already holds the new value: what the core says changes with
// it is told row by row.
void WebWindow::apply(int row, Property property, const Value &value)
{
    if (auto view = m_views.find(row); property == Property::Navigate && view != m_views.end()) {
        view->second->navigate(std::get<std::string>(value));
        return;
    }
    if (property != Property::Visible)
        velk_set_text(m_id, row, std::get<std::string>(value).c_str());
    std::vector<int> told{row};
    for (const a::Announcement &change : a::announcements(m_form, row, property))
        if (std::find(told.begin(), told.end(), change.row) == told.end())
            told.push_back(change.row);
    // What shows on the page changes only with a row shown or hidden (its
    // own, or one of its group's); a new text changes only what is heard.
    for (int r : told) {
        if (property == Property::Visible)
            place(r);
        tell(r);
    }
    if (property == Property::Visible)
        viewsMayBeSeen();
}

void WebWindow::runTimer(int row, int ms)
{
    velk_timer(m_id, row, ms);
}

// The row's element takes the page's focus, which a screen reader
// follows; the ring is laid where the core says, in the row's container.
void WebWindow::focus(int row, bool ring)
{
    static_assert(runtime::focus::RingWidth == 2, "the page draws a line of each colour");
    const Rect at = ring ? runtime::focus::ring(m_form.description(), row) : Rect{};
    velk_focus(m_id, row, row < 0 ? -1 : m_container[size_t(row)], at.x, at.y, at.width, at.height,
               rgbOf(runtime::focus::RingOuter), rgbOf(runtime::focus::RingInner));
}

} // namespace runtime::web
