#include "description/layout.h"
#include "description/binding.h"
#include "description/kinds.h"
#include "description/twips.h"

#include <algorithm>
#include <cstdlib>

namespace runtime {

Rect Rect::intersected(const Rect &o) const
{
    const int left = std::max(x, o.x), top = std::max(y, o.y);
    const int right = std::min(x + width, o.x + o.width), bottom = std::min(y + height, o.y + o.height);
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}

Rect placeOf(const ControlRow &row)
{
    if (row.kind != Kind::Line)
        return {pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height)};
    const int x1 = pixels(row.left), y1 = pixels(row.top), x2 = pixels(row.width), y2 = pixels(row.height);
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
}

std::vector<int> buildOrder(const FormDescription &form)
{
    std::vector<int> rows;
    for (bool container : {true, false})
        for (size_t r = 0; r < form.controls.size(); ++r)
            if (const KindInfo *kind = kindInfo(form.controls[r].kind); bool(kind && kind->container) == container)
                rows.push_back(int(r));
    return rows;
}

std::vector<int> stackingOrder(const FormDescription &form)
{
    std::vector<int> rows;
    for (bool windowed : {true, false})
        for (size_t r = 0; r < form.controls.size(); ++r)
            if (const KindInfo *kind = kindInfo(form.controls[r].kind); kind->visual && kind->windowed == windowed)
                rows.push_back(int(r));
    return rows;
}

void sortRows(std::vector<int> &rows, const std::function<bool(int, int)> &before, size_t from, size_t to)
{
    to = std::min(to, rows.size());
    for (size_t i = from + 1; i < to; ++i)
        for (size_t j = i; j > from && before(rows[j], rows[j - 1]); --j)
            std::swap(rows[j], rows[j - 1]);
}

int containerOf(const FormDescription &form, int row)
{
    const char *container = form.controls[size_t(row)].container;
    return container && *container ? rowNamed(form, container) : -1;
}

Rect windowRect(const FormDescription &form, int row)
{
    Rect r = placeOf(form.controls[size_t(row)]);
    for (int at = containerOf(form, row); at >= 0; at = containerOf(form, at)) {
        const ControlRow &box = form.controls[size_t(at)];
        r.x += pixels(box.left) + borderPixels(box.settings.border);
        r.y += pixels(box.top) + borderPixels(box.settings.border);
    }
    return r;
}

Rect clientArea(const FormDescription &form, int box)
{
    if (box < 0)
        return {0, 0, pixels(form.window.clientWidth), pixels(form.window.clientHeight)};
    const ControlRow &row = form.controls[size_t(box)];
    const int border = borderPixels(row.settings.border);
    const Rect outer = placeOf(row);
    return {0, 0, outer.width - 2 * border, outer.height - 2 * border};
}

Rect reach(const FormDescription &form, int row)
{
    Rect r = windowRect(form, row);
    for (int box = containerOf(form, row); box >= 0; box = containerOf(form, box)) {
        const Rect client = clientArea(form, box), at = windowRect(form, box);
        const int border = borderPixels(form.controls[size_t(box)].settings.border);
        r = r.intersected({at.x + border, at.y + border, client.width, client.height});
    }
    return r;
}

Rect startPlace(const Rect &screen, int clientWidth, int clientHeight, const Rect &frame)
{
    return {std::max(screen.x, screen.x + (screen.width - clientWidth) / 2 + frame.x),
            std::max(screen.y, screen.y + (screen.height - clientHeight) / 2 + frame.y), frame.width, frame.height};
}

} // namespace runtime
