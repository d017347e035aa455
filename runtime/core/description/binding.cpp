#include "description/binding.h"

namespace runtime {

int rowNamed(const FormDescription &d, std::string_view name)
{
    for (size_t i = 0; i < d.controls.size(); ++i)
        if (d.controls[i].name && name == d.controls[i].name)
            return int(i);
    return -1;
}

Bindings bind(const FormDescription &d, std::vector<std::string> *errors)
{
    Bindings b;
    b.controls.resize(d.controls.size());
    auto fail = [errors](const std::string &handler, const std::string &why) {
        if (errors)
            errors->push_back("handler " + handler + ": " + why);
    };
    for (const Handler &h : d.handlers) {
        const std::string name = h.name ? h.name : "";
        const size_t cut = name.rfind('_');
        if (cut == std::string::npos || cut == 0 || !h.fn) {
            fail(name, "not of the form Control_Event");
            continue;
        }
        const std::string object = name.substr(0, cut), eventName = name.substr(cut + 1);
        const int row = object == "Form" ? -1 : rowNamed(d, object);
        if (object != "Form" && row < 0) {
            fail(name, "no control named " + object);
            continue;
        }
        Event event;
        bool raised = eventNamed(eventName, event);
        if (raised && row < 0) {
            raised = false;
            for (Event e : FormEvents)
                raised |= e == event;
        } else if (raised) {
            const KindInfo *kind = kindInfo(d.controls[size_t(row)].kind);
            raised = kind && kind->raises(event);
        }
        if (!raised) {
            fail(name, object + " has no event " + eventName);
            continue;
        }
        HandlerFn &slot = row < 0 ? b.form[size_t(event)] : b.controls[size_t(row)][size_t(event)];
        if (slot)
            fail(name, "bound twice");
        slot = h.fn;
    }
    return b;
}

} // namespace runtime
