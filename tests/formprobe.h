// The form as only the tests reach it: any property by the control's name,
// and a handler run by its name as if its event had come. The program
// itself names this struct only as a friend of the form, and never
// defines it.
#pragma once

#include "description/kinds.h"
#include "form/form.h"

#include <string_view>

struct runtime::FormProbe
{
    static Status get(const Form &form, std::string_view control, Property property, Value &value)
    {
        return form.read(form.row(control), property, value);
    }
    static Status set(Form &form, std::string_view control, Property property, const Value &value)
    {
        try {
            return form.write(form.row(control), property, value);
        } catch (const RunTimeError &error) {
            return error.status();
        }
    }
    // "<control>_<event>"; false when no handler of that name is bound.
    static bool run(Form &form, std::string_view handlerName)
    {
        const size_t cut = handlerName.rfind('_');
        Event event;
        if (cut == std::string_view::npos || !eventNamed(handlerName.substr(cut + 1), event))
            return false;
        const std::string_view object = handlerName.substr(0, cut);
        const int at = object == "Form" ? -1 : form.row(object);
        if ((at < 0 && object != "Form") || !form.handles(at, event))
            return false;
        form.fire(at, event);
        return true;
    }
};

