#include "registry.h"
#include "form.h"
#include "program.h"
#include "validation.h"

#include <cstdio>
#include <cstdlib>

namespace runtime {

FormRegistry &FormRegistry::instance()
{
    static FormRegistry *registry = new FormRegistry;  // lives as long as the process
    return *registry;
}

void FormRegistry::setBackend(Backend &backend) { instance().m_backend = &backend; }
Backend &FormRegistry::backend()
{
    FormRegistry &self = instance();
    if (!self.m_backend) {
        std::fputs("the forms runtime was given no backend\n", stderr);
        std::abort();
    }
    return *self.m_backend;
}

void FormRegistry::add(const FormDescription &description)
{
    instance().m_descriptions.insert_or_assign(description.window.name, description);
}

Form *FormRegistry::loaded(const std::string &name)
{
    auto &loaded = instance().m_loaded;
    auto it = loaded.find(name);
    return it == loaded.end() ? nullptr : it->second.get();
}

bool FormRegistry::hasEnded() { return instance().m_ended; }

Status FormRegistry::load(const std::string &name)
{
    FormRegistry &self = instance();
    if (self.m_ended)
        return Status::Failed;
    if (self.m_loaded.count(name))
        return Status::Ok;
    auto it = self.m_descriptions.find(name);
    if (it == self.m_descriptions.end())
        return Status::NoSuchForm;
    Backend &platform = backend();
    const std::vector<std::string> errors =
            validate(it->second, [&platform](std::string_view picture) { return platform.hasPicture(picture); });
    if (!errors.empty()) {
        std::string message = name + " cannot be loaded:";
        for (const std::string &e : errors)
            message += "\n" + e;
        if (self.m_reported.insert(message).second)
            platform.report(message);
        return Status::Failed;
    }
    Form *form = (self.m_loaded[name] = std::make_unique<Form>(it->second, platform)).get();
    form->fire(-1, Event::Load);
    return Status::Ok;
}

Status FormRegistry::show(const std::string &name)
{
    if (const Status s = load(name); s != Status::Ok)
        return s;
    Form *form = loaded(name);
    if (!form)  // the load handler unloaded it, or ended the program
        return Status::Failed;
    form->window().show();
    return Status::Ok;
}

Status FormRegistry::hide(const std::string &name)
{
    Form *form = loaded(name);
    if (!form)
        return instance().m_descriptions.count(name) ? Status::Ok : Status::NoSuchForm;
    form->window().hide();
    return Status::Ok;
}

Status FormRegistry::unload(const std::string &name)
{
    FormRegistry &self = instance();
    Form *form = loaded(name);
    if (!form)
        return self.m_descriptions.count(name) ? Status::Ok : Status::NoSuchForm;
    // An Unload handler that unloads its own form asks for what is
    // already under way.
    if (!self.m_unloading.insert(name).second)
        return Status::Ok;
    form->fire(-1, Event::Unload);
    self.m_unloading.erase(name);
    if (loaded(name) != form)  // the handler ended the program
        return Status::Ok;
    auto node = self.m_loaded.extract(name);
    node.mapped()->window().hide();
    self.bury(std::move(node.mapped()));
    if (self.m_loaded.empty())
        end();
    return Status::Ok;
}

// We may be inside one of the form's handlers: it goes once that returns.
void FormRegistry::bury(std::unique_ptr<Form> form)
{
    m_unloaded.push_back(std::move(form));
    if (m_unloaded.size() == 1)
        backend().later([] { instance().m_unloaded.clear(); });
}

void FormRegistry::end()
{
    FormRegistry &self = instance();
    if (self.m_ended)
        return;
    self.m_ended = true;
    for (auto &[name, form] : self.m_loaded) {
        form->window().hide();
        self.bury(std::move(form));
    }
    self.m_loaded.clear();
    backend().quit(0);
}

int FormRegistry::run(const std::string &startForm)
{
    const Status s = show(startForm);
    if (s != Status::Ok) {
        backend().report(startForm + " cannot be shown: " + describe(s), true);
        return 1;
    }
    return backend().exec();
}

void FormRegistry::reportError(const std::string &handler, const RunTimeError &error)
{
    const std::string message = "Run-time error in " + handler + ": " + error.object() + "."
            + describe(error.property()) + ": " + describe(error.status());
    if (!instance().m_reported.insert(message).second)
        return;
    backend().report(message);
}

void FormRegistry::setOptions(std::map<std::string, std::string> options)
{
    instance().m_options = std::move(options);
}

std::string FormRegistry::option(const std::string &name)
{
    const auto &options = instance().m_options;
    auto it = options.find(name);
    return it == options.end() ? std::string() : it->second;
}

void testing::resetRegistry()
{
    FormRegistry &self = FormRegistry::instance();
    self.m_loaded.clear();
    self.m_unloaded.clear();
    self.m_unloading.clear();
    self.m_ended = false;
    self.m_reported.clear();
}

} // namespace runtime

namespace runtime {

int runProgram(Backend &backend, const Program &program, std::map<std::string, std::string> options)
{
    FormRegistry::setBackend(backend);
    FormRegistry::setOptions(std::move(options));
    for (const FormDescription *form : program.forms)
        FormRegistry::add(*form);
    return FormRegistry::run(program.startForm);
}

} // namespace runtime
