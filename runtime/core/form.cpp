#include "form.h"
#include "kinds.h"
#include "registry.h"

namespace runtime {

Form::Form(const FormDescription &d, Backend &backend)
    : m_description(d), m_name(d.window.name), m_bindings(bind(d))
{
    m_window = backend.build(*this);
}

Form::~Form() = default;

int Form::row(std::string_view control) const
{
    return rowNamed(m_description, control);
}

// Handlers name their controls with string literals, many times a second
// on the timer's path: where a name once led is remembered by the address
// of its text, so it is not searched for again. The text is compared as
// well, for a caller that reuses a buffer for another name.
int Form::rowOfLiteral(const char *control) const
{
    auto it = m_byLiteral.find(control);
    if (it != m_byLiteral.end() && it->second.name == control)
        return it->second.row;
    const int at = row(control);
    if (at >= 0)
        m_byLiteral[control] = {control, at};
    return at;
}

Status Form::access(int at, std::string_view control, Property property, Access how, Value &value) const
{
    if (at < 0)
        return Status::NoSuchControl;
    const KindInfo *kind = kindInfo(m_description.controls[size_t(at)].kind);
    if (!kind->has(property))
        return Status::NoSuchProperty;
    if (m_faults.failing(control, property, how))
        return Status::Failed;
    return how == Access::Read ? m_window->read(at, property, value) : m_window->write(at, property, value);
}

Status Form::property(std::string_view control, Property property, Value &value) const
{
    return access(row(control), control, property, Access::Read, value);
}

Status Form::setProperty(std::string_view control, Property property, const Value &value)
{
    Value v = value;
    return access(row(control), control, property, Access::Write, v);
}

void Form::raise(int at, Event event)
{
    const HandlerFn fn = m_bindings.handler(at, event);
    if (!fn || FormRegistry::hasEnded())
        return;
    try {
        fn(*this);
    } catch (const RunTimeError &error) {
        const std::string object = at < 0 ? "Form" : m_description.controls[size_t(at)].name;
        FormRegistry::reportError(object + "_" + describe(event), error);
    }
}

bool Form::runHandler(std::string_view handlerName)
{
    const size_t cut = handlerName.rfind('_');
    Event event;
    if (cut == std::string_view::npos || !eventNamed(handlerName.substr(cut + 1), event))
        return false;
    const std::string_view object = handlerName.substr(0, cut);
    const int at = object == "Form" ? -1 : row(object);
    if ((at < 0 && object != "Form") || !handles(at, event))
        return false;
    raise(at, event);
    return true;
}

// --- the raising forms that handlers use ---

Value Form::get(const char *control, Property property) const
{
    Value value;
    const Status s = access(rowOfLiteral(control), control, property, Access::Read, value);
    if (s != Status::Ok)
        throw RunTimeError(s, control, property);
    return value;
}

void Form::put(const char *control, Property property, Value value)
{
    const Status s = access(rowOfLiteral(control), control, property, Access::Write, value);
    if (s != Status::Ok)
        throw RunTimeError(s, control, property);
}

bool Form::visible(const char *control) const { return std::get<bool>(get(control, Property::Visible)); }
void Form::setVisible(const char *control, bool visible) { put(control, Property::Visible, visible); }
std::string Form::text(const char *control) const { return std::get<std::string>(get(control, Property::Text)); }
void Form::setText(const char *control, std::string_view text) { put(control, Property::Text, std::string(text)); }
void Form::setCaption(const char *control, std::string_view caption) { put(control, Property::Caption, std::string(caption)); }
void Form::navigate(const char *control, std::string_view address) { put(control, Property::Navigate, std::string(address)); }

std::string Form::appFolder() const
{
    std::string folder = FormRegistry::backend().appFolder();
    if (folder.empty())
        throw RunTimeError(Status::Failed, "App", Property::AppFolder);
    return folder;
}

std::string Form::option(const char *name) const
{
    return FormRegistry::option(name);
}

static void check(Status status, const char *form, Property property)
{
    if (status != Status::Ok)
        throw RunTimeError(status, form, property);
}

void Form::showForm(const char *form) { check(FormRegistry::show(form), form, Property::Show); }
void Form::hideForm(const char *form) { check(FormRegistry::hide(form), form, Property::Hide); }
void Form::unloadForm(const char *form) { check(FormRegistry::unload(form), form, Property::Unload); }
void Form::end() { FormRegistry::end(); }

} // namespace runtime
