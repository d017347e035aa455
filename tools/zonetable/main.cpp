// Writes where every control of the program's windows lies, from the
// windows' own tables, for the scripts that click on them and look at
// them (to the file named, or to standard output): one line per control,
//     FORM NAME KIND LEFT TOP WIDTH HEIGHT shown|hidden [WHAT IT IS]
// in pixels of its window's client area (a control inside a picture box
// is placed from that box's client area, inside its border). A line's
// rectangle is its bounding box, both end points included. Timers have no
// place and are left out. WHAT IT IS, the rest of the line, is the name a
// screen reader gives the control ("Power", "Left console lamp 3, left
// button"), when it has one: the zone picture labels the zones by it.
// Then the order the keyboard's focus goes round each window, a line per
// stop,
//     focus FORM NAME shown|hidden|clipped LEFT TOP WIDTH HEIGHT
// (clipped: its box's client area leaves none of it, so it never takes
// the focus) with the outer edge of the focus ring around it, in the
// same pixels; no control's line has "focus" in its first field.
// A second file named gets one line per window,
//     FORM ROWS TIMER,TIMER,... (or "-") CAPTION
// how many rows its table has, which of them are timers, and its title:
// the hostile test (tests/hostile.sh) sends rows just past the end, and
// ticks for timers that were never set.
#include "description/binding.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "description/focusorder.h"
#include "velkprogram.h"

#include <cstdio>
#include <string>
#include <string_view>

using namespace runtime;

int main(int argc, char *argv[])
{
    std::FILE *out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::FILE *rows = argc > 2 ? std::fopen(argv[2], "w") : nullptr;
    if (argc > 2 && !rows) {
        std::perror(argv[2]);
        return 1;
    }
    for (const FormDescription *form : velkProgram().forms) {
        std::string timers;
        for (size_t i = 0; i < form->controls.size(); ++i)
            if (form->controls[i].kind == Kind::Timer)
                timers += (timers.empty() ? "" : ",") + std::to_string(i);
        if (rows)
            std::fprintf(rows, "%s %zu %s %s\n", form->window.name, form->controls.size(),
                         timers.empty() ? "-" : timers.c_str(), form->window.caption);
        for (size_t i = 0; i < form->controls.size(); ++i) {
            const ControlRow &row = form->controls[i];
            const KindInfo *kind = kindInfo(row.kind);
            if (!kind->visual)
                continue;
            const Rect r = windowRect(*form, int(i));
            const std::string_view name = kind->name;
            const char *what = row.settings.accessible.name;
            std::fprintf(out, "%s %s %s %d %d %d %d %s%s%s\n", form->window.name, row.name,
                         std::string(name.substr(0, name.find(' '))).c_str(), r.x, r.y, r.width, r.height,
                         row.settings.hidden ? "hidden" : "shown", what ? " " : "", what ? what : "");
        }
        for (int r : focus::order(*form, bind(*form))) {
            const ControlRow &row = form->controls[size_t(r)];
            const Rect ring = focus::ringInWindow(*form, r);
            std::fprintf(out, "focus %s %s %s %d %d %d %d\n", form->window.name, row.name,
                         reach(*form, r).isEmpty() ? "clipped" : row.settings.hidden ? "hidden" : "shown",
                         ring.x, ring.y, ring.width, ring.height);
        }
    }
    const bool rowsWritten = !rows || std::fclose(rows) == 0;
    return std::fclose(out) == 0 && rowsWritten ? 0 : 1;
}
