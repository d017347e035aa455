#include "accessibility/accessibletree.h"
#include "form/form.h"
#include "description/kinds.h"
#include "description/layout.h"

#include <algorithm>

namespace runtime::accessibility {

namespace {

const ControlRow &rowOf(const Form &form, int row) { return form.description().controls[size_t(row)]; }

// What the description gives assistive technology of the row.
const Accessible &settingsOf(const Form &form, int row) { return rowOf(form, row).settings.accessible; }

// A picture box given names for being shown and hidden: a picture that
// says which it is.
bool isStatePicture(const Form &form, int row)
{
    return rowOf(form, row).kind == Kind::PictureBox && (settingsOf(form, row).shown || settingsOf(form, row).hidden);
}

bool visibleFlag(const Form &form, int row)
{
    const Value *v = form.value(row, Property::Visible);
    return v && std::get<bool>(*v);
}

std::string text(const Form &form, int row)
{
    const Value *v = form.value(row, Property::Caption);
    return v ? std::get<std::string>(*v) : std::string();
}

std::string orEmpty(const char *s) { return s ? s : ""; }

bool isZone(const Form &form, int row)
{
    return rowOf(form, row).kind == Kind::Label && form.handles(row, Event::Click);
}

// Whether the box stands for its group to assistive technology: the
// front-most shown box of the group, or, with none shown, the one that
// has a name for hidden; and only while its container is shown.
bool standsForGroup(const Form &form, int row)
{
    const int box = parent(form, row);
    if (box >= 0 && !shown(form, box))
        return false;
    const std::vector<int> boxes = group(form, row);
    for (int r : boxes)
        if (visibleFlag(form, r))
            return r == row;
    for (int r : boxes)
        if (settingsOf(form, r).hidden)
            return r == row;
    return false;
}

} // namespace

int parent(const Form &form, int row)
{
    return form.containerOf(row);
}

Role role(const Form &form, int row)
{
    if (row < 0)
        return Role::Window;
    switch (rowOf(form, row).kind) {
    case Kind::PictureBox:    return isStatePicture(form, row) ? Role::Graphic : Role::Pane;
    case Kind::Label:         return isZone(form, row) ? Role::Button : Role::StaticText;
    case Kind::TextBox:       return Role::Text;
    case Kind::CommandButton: return Role::Button;
    case Kind::BrowserView:   return Role::Animation;
    case Kind::Line:
    case Kind::Timer:         break;
    }
    return Role::None;
}

std::string name(const Form &form, int row)
{
    if (row < 0) {
        const WindowSettings &w = form.description().window;
        return orEmpty(w.accessibleName ? w.accessibleName : w.caption);
    }
    if (const char *given = settingsOf(form, row).name)
        return given;
    // A caption names what shows it: a button, an unnamed text.
    const Kind kind = rowOf(form, row).kind;
    return kind == Kind::Label || kind == Kind::CommandButton ? text(form, row) : std::string();
}

std::string value(const Form &form, int row)
{
    if (row < 0)
        return {};
    if (isStatePicture(form, row))
        return orEmpty(visibleFlag(form, row) ? settingsOf(form, row).shown : settingsOf(form, row).hidden);
    switch (rowOf(form, row).kind) {
    case Kind::Label:   return isZone(form, row) ? std::string() : text(form, row);
    case Kind::TextBox: return text(form, row);
    default:            return {};
    }
}

bool shown(const Form &form, int row)
{
    for (int r = row; r >= 0; r = parent(form, r))
        if (!visibleFlag(form, r))
            return false;
    return true;
}

Rect reach(const Form &form, int row)
{
    return runtime::reach(form.description(), row);
}

bool invisible(const Form &form, int row)
{
    if (row < 0)
        return false;
    if (isStatePicture(form, row))
        return !standsForGroup(form, row);
    // A zone that lies outside its box's client area is never clicked.
    if (rowOf(form, row).kind == Kind::Label && reach(form, row).isEmpty())
        return true;
    return !shown(form, row);
}

bool clickable(const Form &form, int row)
{
    return row >= 0 && shown(form, row) && !reach(form, row).isEmpty();
}

bool pressable(const Form &form, int row)
{
    return role(form, row) == Role::Button && clickable(form, row);
}

std::vector<int> group(const Form &form, int row)
{
    const char *own = settingsOf(form, row).name;
    if (!own || !isStatePicture(form, row))
        return {row};
    std::vector<int> boxes;
    const int box = parent(form, row);
    for (int r = 0; r < int(form.description().controls.size()); ++r)
        if (isStatePicture(form, r) && parent(form, r) == box && settingsOf(form, r).name
                && std::string_view(settingsOf(form, r).name) == own)
            boxes.push_back(r);
    return boxes;
}

std::vector<int> children(const Form &form, int row)
{
    std::vector<int> held;
    for (bool windowed : {true, false})
        for (int r = 0; r < int(form.description().controls.size()); ++r)
            if (parent(form, r) == row && role(form, r) != Role::None
                    && kindInfo(rowOf(form, r).kind)->windowed == windowed)
                held.push_back(r);
    return held;
}

std::optional<int> child(const Form &form, int row, long index)
{
    const std::vector<int> held = children(form, row);
    if (index < 0 || index >= long(held.size()))
        return std::nullopt;
    return held[size_t(index)];
}

std::optional<int> sibling(const Form &form, int row, int step)
{
    if (row < 0)
        return std::nullopt;
    const std::vector<int> rows = children(form, parent(form, row));
    const long at = long(std::find(rows.begin(), rows.end(), row) - rows.begin());
    return child(form, parent(form, row), at + step);
}

bool isExposed(const Form &form, int row)
{
    return row >= 0 && row < int(form.description().controls.size()) && role(form, row) != Role::None;
}

int hit(const Form &form, int row, int x, int y)
{
    for (int r : children(form, row)) {
        const Rect place = reach(form, r);
        if (shown(form, r) && x >= place.x && y >= place.y && x <= place.right() && y <= place.bottom())
            return hit(form, r, x, y);
    }
    return row;
}

bool readOnly(const Form &form, int row)
{
    return row >= 0 && role(form, row) == Role::Text && rowOf(form, row).settings.readOnly;
}

std::vector<Announcement> announcements(const Form &form, int row, Property property)
{
    if (!isExposed(form, row))
        return {};
    std::vector<Announcement> told;
    if (property == Property::Visible) {
        told.push_back({row, shown(form, row) ? Change::Shown : Change::Hidden});
        // A box shown or hidden changes what its whole group says: the one
        // that speaks for a spot may pass the word to another.
        for (int r : group(form, row))
            for (Change c : {Change::State, Change::Value, Change::Description})
                told.push_back({r, c});
        return told;
    }
    told.push_back({row, Change::Value});
    // A caption names what shows it unless the row is named; a named text
    // tells what it shows as its description.
    const Kind kind = rowOf(form, row).kind;
    if (settingsOf(form, row).name)
        told.push_back({row, Change::Description});
    else if (kind == Kind::Label || kind == Kind::CommandButton)
        told.push_back({row, Change::Name});
    return told;
}

} // namespace runtime::accessibility
