#include "form/form.h"
#include "description/kinds.h"
#include "description/focusorder.h"
#include "description/timing.h"

#include <map>
#include <utility>

namespace runtime {

Form::Form(const FormDescription &d, FormHost &host)
    : m_description(d), m_name(d.window.name), m_host(host), m_backend(host.backend()), m_bindings(bind(d))
{
    // Each row's container found once here, by a table of the names, not
    // by each backend going down the rows for every control it makes.
    std::map<std::string_view, int> rows;  // ordered: no hash tables in the page's download
    for (size_t r = 0; r < d.controls.size(); ++r)
        if (d.controls[r].name)
            rows.emplace(d.controls[r].name, int(r));
    m_values.reserve(d.controls.size());
    for (const ControlRow &row : d.controls) {
        const Settings &s = row.settings;
        const char *text = kindInfo(row.kind)->has(Property::Text) ? s.text : s.caption;
        m_values.push_back({!s.hidden, std::string(text ? text : "")});
        const auto holder = row.container && *row.container ? rows.find(row.container) : rows.end();
        m_containers.push_back(holder == rows.end() ? -1 : holder->second);
    }
    m_focusOrder = focus::order(d, m_bindings);
    m_window = m_backend.build(*this);
    for (size_t r = 0; r < d.controls.size(); ++r) {
        const ControlRow &row = d.controls[r];
        if (row.kind == Kind::Timer && row.settings.interval > 0 && handles(int(r), Event::Timer)) {
            m_timers.push_back({int(r), timerDeliveryMs(row.settings.interval, m_backend.refreshHz())});
            m_window->runTimer(int(r), m_timers.back().ms);
        }
    }
}

Form::~Form() = default;

bool Form::handlesAny(int at) const
{
    for (int e = 0; e < EventCount; ++e)
        if (handles(at, Event(e)))
            return true;
    return false;
}

bool Form::ticking(int at) const
{
    for (const TimerState &t : m_timers)
        if (t.row == at)
            return !t.asleep;
    return false;
}

int Form::row(std::string_view control) const
{
    return rowNamed(m_description, control);
}

// A control found in another window's table is none of this one's.
int Form::rowOf(Control control) const
{
    const auto &rows = m_description.controls;
    return control.row >= 0 && size_t(control.row) < rows.size() && rows[size_t(control.row)].name == control.name
            ? control.row : -1;
}

Value *Form::stored(int row, Property property)
{
    Values &v = m_values[size_t(row)];
    switch (property) {
    case Property::Visible: return &v.visible;
    case Property::Text:
    case Property::Caption: return &v.text;
    default:                return nullptr;  // an action, such as a navigation: nothing kept
    }
}

Status Form::read(int at, Property property, Value &value) const
{
    if (at < 0)
        return Status::NoSuchControl;
    if (!kindInfo(m_description.controls[size_t(at)].kind)->has(property))
        return Status::NoSuchProperty;
    const Value *v = const_cast<Form *>(this)->stored(at, property);
    if (!v)
        return Status::NoSuchProperty;  // an action has no value to read
    value = *v;
    return Status::Ok;
}

// The form holds the new value while the window is told, so that what the
// window asks of the form then (assistive technology's words) is already
// the new state; a write the window fails puts the old value back.
Status Form::write(int at, Property property, const Value &value)
{
    if (at < 0)
        return Status::NoSuchControl;
    if (!kindInfo(m_description.controls[size_t(at)].kind)->has(property))
        return Status::NoSuchProperty;
    Value *v = stored(at, property);
    if (!v) {  // an action: nothing held
        m_window->apply(at, property, value);
        return Status::Ok;
    }
    if (*v == value)
        return Status::Ok;  // the window already shows it
    Value previous = std::exchange(*v, value);
    try {
        m_window->apply(at, property, value);
    } catch (...) {
        *v = std::move(previous);
        throw;
    }
    changed();
    if (property == Property::Visible)
        m_host.shownOrHidden(*this);
    return Status::Ok;
}

void Form::setShown(bool shown)
{
    m_shown = shown;
    if (shown)
        m_window->show();
    else
        m_window->hide();
}

void Form::setFocus(int row, bool ring, bool shown)
{
    if (row == m_focus && ring == m_ring)
        return;
    m_focus = row;
    m_ring = ring;
    m_window->focus(row, shown);
}

void Form::userChanged(int at, Property property, Value value)
{
    if (Value *v = stored(at, property); v && *v != value) {
        *v = std::move(value);
        changed();
    }
}

void Form::changed()
{
    ++m_changes;
    for (TimerState &t : m_timers)
        if (t.asleep) {
            t.asleep = false;
            m_window->runTimer(t.row, t.ms);
            // What the change asks of the sleeping timer is done as soon as
            // the handler that made it returns, not a whole interval later.
            m_backend.later([this, alive = std::weak_ptr<bool>(m_alive), row = t.row] {
                if (alive.lock() && m_host.loaded(m_name) == this)
                    fire(row, Event::Timer);
            });
        }
}

void Form::fire(int at, Event event)
{
    const HandlerFn fn = m_bindings.handler(at, event);
    if (!fn || m_host.hasEnded())
        return;
    const unsigned long before = m_changes;
    try {
        fn(*this);
    } catch (const RunTimeError &error) {
        const std::string object = at < 0 ? "Form" : m_description.controls[size_t(at)].name;
        m_host.reportError(object + "_" + describe(event), error);
    }
    if (event != Event::Timer || m_changes != before || m_description.controls[size_t(at)].settings.readsClock)
        return;
    // The handler may have unloaded the form; then the window is gone.
    if (m_host.loaded(m_name) != this)
        return;
    for (TimerState &t : m_timers)
        if (t.row == at && !t.asleep) {
            t.asleep = true;
            m_window->runTimer(at, 0);
        }
}

// --- the raising forms that handlers use ---

Value Form::get(Control control, Property property) const
{
    Value value;
    const Status s = read(rowOf(control), property, value);
    if (s != Status::Ok)
        throw RunTimeError(s, control.name, property);
    return value;
}

void Form::put(Control control, Property property, Value value)
{
    const Status s = write(rowOf(control), property, value);
    if (s != Status::Ok)
        throw RunTimeError(s, control.name, property);
}

bool Form::visible(Control control) const { return std::get<bool>(get(control, Property::Visible)); }
void Form::setVisible(Control control, bool visible) { put(control, Property::Visible, visible); }
std::string Form::text(Control control) const { return std::get<std::string>(get(control, Property::Text)); }
void Form::setText(Control control, std::string_view text) { put(control, Property::Text, std::string(text)); }
void Form::setCaption(Control control, std::string_view caption) { put(control, Property::Caption, std::string(caption)); }
void Form::navigate(Control control, std::string_view address) { put(control, Property::Navigate, std::string(address)); }

std::string Form::appFolder() const
{
    std::string folder = m_backend.appFolder();
    if (folder.empty())
        throw RunTimeError(Status::Failed, "App", Property::AppFolder);
    return folder;
}

std::string Form::option(const char *name) const
{
    return m_host.option(name);
}

static void check(Status status, const char *form, Property property)
{
    if (status != Status::Ok)
        throw RunTimeError(status, form, property);
}

void Form::showForm(const char *form) { check(m_host.show(form), form, Property::Show); }
void Form::hideForm(const char *form) { check(m_host.hide(form), form, Property::Hide); }
void Form::unloadForm(const char *form) { check(m_host.unload(form), form, Property::Unload); }
void Form::end() { m_host.end(); }

} // namespace runtime
