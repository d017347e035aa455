#include "accessibility/focus.h"
#include "accessibility/accessibletree.h"
#include "description/focusorder.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "form/form.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace runtime::focus {

bool takes(const Form &form, int row)
{
    const std::vector<int> &rows = form.focusOrder();
    return std::find(rows.begin(), rows.end(), row) != rows.end() && !accessibility::invisible(form, row);
}

bool ringed(const Form &form, int row)
{
    return form.description().controls[size_t(row)].kind == Kind::Label || accessibility::readOnly(form, row);
}

int first(const Form &form)
{
    // A zone's tab index has it read in its place, but only a control
    // that takes the focus on its own (a text box, a button) starts with it.
    const auto &rows = form.description().controls;
    int best = -1;
    for (int r : form.focusOrder()) {
        const int index = rows[size_t(r)].settings.tabIndex;
        if (index >= 0 && kindInfo(rows[size_t(r)].kind)->focusable && takes(form, r)
                && (best < 0 || index < rows[size_t(best)].settings.tabIndex))
            best = r;
    }
    return best;
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
