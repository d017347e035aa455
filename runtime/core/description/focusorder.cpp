#include "description/focusorder.h"
#include "description/kinds.h"
#include "description/layout.h"

#include <algorithm>

namespace runtime::focus {

namespace {

// Side by side: their heights overlap by at least half the lower one's.
// Merely touching is not enough: the console's rows of buttons overlap
// their neighbours above and below by a pixel, and a status field meets
// the panel above it by a few.
bool sideBySide(const Rect &a, const Rect &b)
{
    const int overlap = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return overlap > 0 && 2 * overlap >= std::min(a.height, b.height);
}

struct Reading
{
    const FormDescription &form;
    std::vector<bool> takes;  // by row: in the order itself
    std::vector<bool> holds;  // by row: a box with such a row somewhere inside
    std::vector<int> order;

    // What the box (-1: the window) holds, a line at a time.
    void read(int box)
    {
        std::vector<int> items;
        for (int r = 0; r < int(form.controls.size()); ++r)
            if ((takes[size_t(r)] || holds[size_t(r)]) && containerOf(form, r) == box)
                items.push_back(r);
        const auto place = [this](int r) { return placeOf(form.controls[size_t(r)]); };
        sortRows(items, [&](int a, int b) {
            return place(a).y != place(b).y ? place(a).y < place(b).y : place(a).x < place(b).x;
        });
        for (size_t start = 0; start < items.size();) {
            size_t end = start + 1;
            while (end < items.size() && std::any_of(items.begin() + long(start), items.begin() + long(end),
                                                     [&](int r) { return sideBySide(place(r), place(items[end])); }))
                ++end;
            sortRows(items, [&](int a, int b) { return place(a).x < place(b).x; }, start, end);
            for (size_t i = start; i < end; ++i) {
                if (takes[size_t(items[i])])
                    order.push_back(items[i]);
                if (holds[size_t(items[i])])
                    read(items[i]);
            }
            start = end;
        }
    }
};

} // namespace

std::vector<int> order(const FormDescription &form, const Bindings &bindings)
{
    const size_t rows = form.controls.size();
    Reading reading{form, std::vector<bool>(rows), std::vector<bool>(rows), {}};
    for (size_t r = 0; r < rows; ++r) {
        const Kind kind = form.controls[r].kind;
        const bool zone = kind == Kind::Label && bindings.handler(int(r), Event::Click);
        if (!zone && !kindInfo(kind)->focusable)
            continue;
        reading.takes[r] = true;
        for (int box = containerOf(form, int(r)); box >= 0; box = containerOf(form, box))
            reading.holds[size_t(box)] = true;
    }
    reading.read(-1);
    return reading.order;
}

Rect ring(const FormDescription &form, int row)
{
    const Rect place = placeOf(form.controls[size_t(row)]);
    const Rect client = clientArea(form, containerOf(form, row));
    const int left = std::max(place.x - RingWidth, client.x), top = std::max(place.y - RingWidth, client.y);
    const int right = std::min(place.x + place.width + RingWidth, client.x + client.width);
    const int bottom = std::min(place.y + place.height + RingWidth, client.y + client.height);
    return {left, top, right - left, bottom - top};
}

Rect ringInWindow(const FormDescription &form, int row)
{
    const Rect r = ring(form, row), at = windowRect(form, row), place = placeOf(form.controls[size_t(row)]);
    return {r.x + at.x - place.x, r.y + at.y - place.y, r.width, r.height};
}

} // namespace runtime::focus
