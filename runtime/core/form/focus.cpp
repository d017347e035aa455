#include "form/focus.h"
#include "accessibility/accessibletree.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "form/form.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

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
        std::stable_sort(items.begin(), items.end(), [&](int a, int b) {
            return place(a).y != place(b).y ? place(a).y < place(b).y : place(a).x < place(b).x;
        });
        for (size_t start = 0; start < items.size();) {
            size_t end = start + 1;
            while (end < items.size() && std::any_of(items.begin() + long(start), items.begin() + long(end),
                                                     [&](int r) { return sideBySide(place(r), place(items[end])); }))
                ++end;
            std::stable_sort(items.begin() + long(start), items.begin() + long(end),
                             [&](int a, int b) { return place(a).x < place(b).x; });
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

bool takes(const Form &form, int row)
{
    const std::vector<int> &rows = form.focusOrder();
    return std::find(rows.begin(), rows.end(), row) != rows.end() && !accessibility::invisible(form, row);
}

bool ringed(const Form &form, int row)
{
    return form.description().controls[size_t(row)].kind == Kind::Label || accessibility::readOnly(form, row);
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

int first(const Form &form)
{
    for (int r : tabOrder(form.description()))
        if (takes(form, r))
            return r;
    return -1;
}

int step(const Form &form, int from, int by)
{
    const std::vector<int> &rows = form.focusOrder();
    const long n = long(rows.size());
    long at = std::find(rows.begin(), rows.end(), from) - rows.begin();
    if (at == n)
        at = by > 0 ? -1 : n;
    for (long i = 1; i <= n; ++i) {
        const int r = rows[size_t(((at + by * i) % n + n) % n)];
        if (takes(form, r))
            return r;
    }
    return -1;
}

int toward(const Form &form, int from, Key arrow)
{
    if (from < 0)
        return -1;
    // Centres doubled, so that they stay whole.
    const auto centre = [&form](int r, int &x, int &y) {
        const Rect p = windowRect(form.description(), r);
        x = 2 * p.x + p.width;
        y = 2 * p.y + p.height;
    };
    int fx, fy;
    centre(from, fx, fy);
    int best = -1;
    long bestScore = LONG_MAX;
    for (int r : form.focusOrder()) {
        if (r == from || !takes(form, r))
            continue;
        int x, y;
        centre(r, x, y);
        const int dx = x - fx, dy = y - fy;
        const bool level = arrow == Key::Left || arrow == Key::Right;
        const int ahead = arrow == Key::Right ? dx : arrow == Key::Left ? -dx : arrow == Key::Down ? dy : -dy;
        const int aside = std::abs(level ? dy : dx);
        // What lies straight ahead is nearer than what lies as far aside.
        const long score = long(ahead) + 2L * aside;
        if (ahead > 0 && score < bestScore) {
            best = r;
            bestScore = score;
        }
    }
    return best;
}

} // namespace runtime::focus
