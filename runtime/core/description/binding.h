// Handlers are bound by name, "<control>_<event>" or "Form_<event>", with
// names compared exactly as written. A name that matches no control, or an
// event the control does not raise, is an error: a handler that would
// silently never run is a fault in the description.
#pragma once

#include "description/description.h"
#include "description/kinds.h"

#include <array>
#include <string>
#include <vector>

namespace runtime {

struct Bindings
{
    using Events = std::array<HandlerFn, EventCount>;
    std::vector<Events> controls;  // by the control's row in the description
    Events form = {};

    HandlerFn handler(int control, Event event) const
    {
        return control < 0 ? form[size_t(event)] : controls[size_t(control)][size_t(event)];
    }
};

// The row of the control with exactly this name, or -1.
int rowNamed(const FormDescription &description, std::string_view name);

// Binds every handler of the description; each one that cannot be bound
// adds a line to errors (when given) and is left out.
Bindings bind(const FormDescription &description, std::vector<std::string> *errors = nullptr);

} // namespace runtime
