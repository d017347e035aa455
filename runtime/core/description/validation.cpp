#include "description/validation.h"
#include "description/binding.h"
#include "description/kinds.h"
#include "description/twips.h"

#include <set>

namespace runtime {

std::vector<std::string> validate(const FormDescription &d, const PictureExists &pictureExists)
{
    std::vector<std::string> errors;
    auto str = [](const char *s) { return std::string(s ? s : ""); };
    auto twips = [&errors, &str](const char *what, const char *name, std::initializer_list<int> values) {
        for (int v : values)
            if (v % TwipsPerPixel)
                errors.push_back(std::string(what) + " " + str(name) + ": " + std::to_string(v)
                                 + " twips is not a whole number of pixels");
    };
    if (!d.window.name || !*d.window.name)
        errors.push_back("the window has no name");
    twips("window", d.window.name, {d.window.clientWidth, d.window.clientHeight});
    if (d.window.icon && !pictureExists(d.window.icon))
        errors.push_back("window icon: no such picture: " + str(d.window.icon));

    // Names are compared exactly, as handlers are bound and controls found.
    std::set<std::string> names;
    for (const ControlRow &row : d.controls) {
        const std::string name = str(row.name);
        if (name.empty())
            errors.push_back("a control has no name");
        else if (names.count(name) || name == "Form")
            errors.push_back(name + ": duplicate name");
        if (!kindInfo(row.kind))
            errors.push_back(name + ": unknown kind " + std::to_string(int(row.kind)));
        names.insert(name);
        twips("control", row.name, {row.left, row.top, row.width, row.height});
        if (row.settings.picture && !pictureExists(row.settings.picture))
            errors.push_back(name + ": no such picture: " + row.settings.picture);
    }
    for (const ControlRow &row : d.controls) {
        const std::string container = str(row.container);
        if (container.empty())
            continue;
        const int at = rowNamed(d, container);
        const KindInfo *kind = at < 0 ? nullptr : kindInfo(d.controls[size_t(at)].kind);
        if (!kind || !kind->container)
            errors.push_back(str(row.name) + ": unknown container " + container);
    }
    bind(d, &errors);
    return errors;
}

} // namespace runtime
