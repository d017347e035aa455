#include "testing.h"
#include "form.h"
#include "kinds.h"

namespace runtime::testing {

bool runHandler(Form &form, std::string_view handlerName)
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

} // namespace runtime::testing
