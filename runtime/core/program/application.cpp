#include "program/application.h"
#include "accessibility/accessibletree.h"
#include "description/validation.h"
#include "accessibility/focus.h"
#include "form/form.h"
#include "program/program.h"

namespace runtime {

Application::Application(Backend &backend, std::map<std::string, std::string> options)
    : m_backend(backend), m_options(std::move(options))
{
}

// The windows go before the rest of what the application holds: their
// handlers may still ask it for things as they go.
Application::~Application()
{
    m_loaded.clear();
    m_unloaded.clear();
}

void Application::add(const FormDescription &description)
{
    m_descriptions.insert_or_assign(description.window.name, description);
}

Form *Application::loaded(const std::string &name) const
{
    auto it = m_loaded.find(name);
    return it == m_loaded.end() ? nullptr : it->second.get();
}

Status Application::load(const std::string &name)
{
    if (m_ended)
        return Status::Failed;
    if (m_loaded.count(name))
        return Status::Ok;
    auto it = m_descriptions.find(name);
    if (it == m_descriptions.end())
        return Status::NoSuchForm;
    const std::vector<std::string> errors =
            validate(it->second, [this](std::string_view picture) { return m_backend.hasPicture(picture); });
    if (!errors.empty()) {
        std::string message = name + " cannot be loaded:";
        for (const std::string &e : errors)
            message += "\n" + e;
        if (m_reported.insert(message).second)
            m_backend.report(message);
        return Status::Failed;
    }
    Form *form = (m_loaded[name] = std::make_unique<Form>(it->second, *this)).get();
    form->fire(-1, Event::Load);
    return Status::Ok;
}

Status Application::show(const std::string &name)
{
    if (const Status s = load(name); s != Status::Ok)
        return s;
    Form *form = loaded(name);
    if (!form)  // the load handler unloaded it, or ended the program
        return Status::Failed;
    form->setShown(true);
    // The first showing gives the focus its first place; later ones find
    // it where it was left.
    if (form->focused() < 0)
        moveFocus(*form, focus::first(*form), false);
    return Status::Ok;
}

Status Application::hide(const std::string &name)
{
    Form *form = loaded(name);
    if (!form)
        return m_descriptions.count(name) ? Status::Ok : Status::NoSuchForm;
    form->setShown(false);
    return Status::Ok;
}

Status Application::unload(const std::string &name)
{
    Form *form = loaded(name);
    if (!form)
        return m_descriptions.count(name) ? Status::Ok : Status::NoSuchForm;
    // An Unload handler that unloads its own form asks for what is
    // already under way.
    if (!m_unloading.insert(name).second)
        return Status::Ok;
    form->fire(-1, Event::Unload);
    m_unloading.erase(name);
    if (loaded(name) != form)  // the handler ended the program
        return Status::Ok;
    auto node = m_loaded.extract(name);
    node.mapped()->setShown(false);
    destroyLater(std::move(node.mapped()));
    if (m_loaded.empty())
        end();
    return Status::Ok;
}

// We may be inside one of the form's handlers: it goes once that returns.
void Application::destroyLater(std::unique_ptr<Form> form)
{
    m_unloaded.push_back(std::move(form));
    if (m_unloaded.size() == 1)
        m_backend.later([this, alive = std::weak_ptr<bool>(m_alive)] {
            if (alive.lock())
                m_unloaded.clear();
        });
}

void Application::end()
{
    if (m_ended)
        return;
    m_ended = true;
    for (auto &[name, form] : m_loaded) {
        form->setShown(false);
        destroyLater(std::move(form));
    }
    m_loaded.clear();
    m_backend.quit(0);
}

int Application::run(const std::string &startForm)
{
    const Status s = show(startForm);
    if (s != Status::Ok) {
        m_backend.report(startForm + " cannot be shown: " + describe(s), true);
        return 1;
    }
    return m_backend.exec();
}

void Application::reportError(const std::string &handler, const RunTimeError &error)
{
    const std::string message = "Run-time error in " + handler + ": " + error.object() + "."
            + describe(error.property()) + ": " + describe(error.status());
    if (m_reported.insert(message).second)
        m_backend.report(message);
}

std::string Application::option(const std::string &name) const
{
    auto it = m_options.find(name);
    return it == m_options.end() ? std::string() : it->second;
}

// --- the door ---

// A form that has been unloaded may still have a window for a moment, and
// its platform may still speak of it: only a loaded form hears anything.
// It is known by its address alone, since one already destroyed may be
// named here.
bool Application::isLoaded(const Form &form) const
{
    if (m_ended)
        return false;
    for (const auto &[name, loaded] : m_loaded)
        if (loaded.get() == &form)
            return true;
    return false;
}

// Only a window the program shows takes the user's input: one hidden, or
// not yet shown, may still be in a platform's accessibility tree or be
// named in a message from another program.
bool Application::takesInput(const Form &form) const
{
    return isLoaded(form) && form.isShown();
}

bool Application::hasRow(const Form &form, int row) const
{
    return isLoaded(form) && row >= 0 && size_t(row) < form.description().controls.size();
}

bool Application::accepts(const Form &form, int row, Event event) const
{
    if (!hasRow(form, row))
        return false;
    // A timer ticks whether its window shows or not; the rest is input.
    if (event != Event::Timer && !form.isShown())
        return false;
    if (int(event) < 0 || int(event) >= EventCount)
        return false;
    if (!kindInfo(form.description().controls[size_t(row)].kind)->raises(event))
        return false;
    // A tick from a timer the form does not run now (never started, or
    // asleep) is a stale or a made-up one.
    if (event == Event::Timer && !form.ticking(row))
        return false;
    // Hidden means unclickable, whatever the platform believes it hit.
    return event != Event::Click || accessibility::clickable(form, row);
}

// The ring shows on a row that shows no focus of its own.
void Application::moveFocus(Form &form, int row, bool ring)
{
    form.setFocus(row, ring, ring && row >= 0 && focus::ringed(form, row));
}

// A focused row that can no longer have the focus passes it on to the
// next that can.
void Application::shownOrHidden(Form &form)
{
    if (form.focused() >= 0 && !focus::takes(form, form.focused()))
        moveFocus(form, focus::step(form, form.focused(), 1), form.ringShown());
}

void Application::event(Form &form, int row, Event event)
{
    if (!accepts(form, row, event))
        return;
    // The mouse has been used: the ring goes, and the focus is where the
    // click was, so that Tab goes on from there.
    if (event == Event::Click)
        moveFocus(form, focus::takes(form, row) ? row : form.focused(), false);
    form.fire(row, event);
}

// Whatever a platform's editor ends its lines with (Qt and the page a
// bare LF, an old Mac file a bare CR), the program sees CR LF between
// the lines of a multi-line text box, as its handlers were written for.
static std::string withCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void Application::typed(Form &form, int row, std::string text)
{
    if (!hasRow(form, row) || !form.isShown()
            || !kindInfo(form.description().controls[size_t(row)].kind)->has(Property::Text)
            || accessibility::readOnly(form, row))
        return;
    if (form.description().controls[size_t(row)].settings.multiLine)
        text = withCrLf(text);
    form.userChanged(row, Property::Text, std::move(text));
}

void Application::close(Form &form)
{
    if (takesInput(form))
        unload(std::string(form.name()));
}

bool Application::press(Form &form, int row)
{
    if (!accepts(form, row, Event::Click) || !accessibility::pressable(form, row))
        return false;
    form.fire(row, Event::Click);
    return true;
}

bool Application::key(Form &form, Key key)
{
    if (!takesInput(form))
        return false;
    const int at = form.focused() >= 0 ? form.focused() : focus::first(form);
    int to = -1;
    switch (key) {
    case Key::Tab:
    case Key::BackTab:
        to = focus::step(form, at, key == Key::Tab ? 1 : -1);
        break;
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
        to = focus::toward(form, at, key);
        break;
    case Key::Enter:
    case Key::Space:
        // A zone's press is its click, through its handler, which decides
        // what it does now. A control with keys of its own keeps them.
        if (at < 0 || form.description().controls[size_t(at)].kind != Kind::Label || !focus::takes(form, at)
                || !accepts(form, at, Event::Click))
            return false;
        form.fire(at, Event::Click);
        return true;
    }
    if (to < 0)
        return false;
    moveFocus(form, to, true);
    return true;
}

void Application::focused(Form &form, int row)
{
    if (takesInput(form) && hasRow(form, row) && row != form.focused() && focus::takes(form, row))
        moveFocus(form, row, false);
}

void Application::pointed(Form &form)
{
    if (takesInput(form) && form.ringShown())
        moveFocus(form, form.focused(), false);
}

int runProgram(Backend &backend, const Program &program, std::map<std::string, std::string> options)
{
    auto application = std::make_unique<Application>(backend, std::move(options));
    for (const FormDescription *form : program.forms)
        application->add(*form);
    const int status = application->run(program.startForm);
    // A page's event loop is the browser's, which goes on after exec() has
    // returned: there the windows live as long as the page.
    if (backend.loopOutlivesExec())
        (void)application.release();
    return status;
}

} // namespace runtime
