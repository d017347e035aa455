// Faults injected into the writes of a window, as a device error would fail
// them, so that a test can stop a handler part-way at any step: a
// decorator around the backend the core is handed, whose windows wrap the
// backend's own. A failing write throws the run-time error the core
// reports; what the handler did before it stays done.
#pragma once

#include "platform/backend.h"
#include "form/form.h"

#include <set>
#include <string>
#include <utility>

class FaultInjection : public runtime::Backend
{
public:
    explicit FaultInjection(runtime::Backend &inner) : m_inner(inner) {}

    void inject(const std::string &control, runtime::Property property) { m_faults.emplace(control, property); }
    void clear() { m_faults.clear(); }

    // The backend's own window behind a decorated one.
    static const runtime::Window &inner(const runtime::Window &window)
    {
        const auto *faulty = dynamic_cast<const Window *>(&window);
        return faulty ? *faulty->m_inner : window;
    }

    std::unique_ptr<runtime::Window> build(runtime::Form &form) override
    {
        return std::make_unique<Window>(*this, form, m_inner.build(form));
    }
    bool hasPicture(std::string_view name) const override { return m_inner.hasPicture(name); }
    std::string appFolder() const override { return m_inner.appFolder(); }
    double refreshHz() const override { return m_inner.refreshHz(); }
    void report(const std::string &message, bool fatal) override { m_inner.report(message, fatal); }
    void later(std::function<void()> work) override { m_inner.later(std::move(work)); }
    int exec() override { return m_inner.exec(); }
    void quit(int status) override { m_inner.quit(status); }

private:
    struct Window : runtime::Window
    {
        Window(FaultInjection &faults, runtime::Form &form, std::unique_ptr<runtime::Window> inner)
            : m_faults(faults), m_form(form), m_inner(std::move(inner)) {}
        void show() override { m_inner->show(); }
        void hide() override { m_inner->hide(); }
        void runTimer(int row, int ms) override { m_inner->runTimer(row, ms); }
        void focus(int row, bool ring) override { m_inner->focus(row, ring); }
        void apply(int row, runtime::Property property, const runtime::Value &value) override
        {
            const char *name = m_form.description().controls[size_t(row)].name;
            if (m_faults.m_faults.count({name, property}))
                throw runtime::RunTimeError(runtime::Status::Failed, name, property);
            m_inner->apply(row, property, value);
        }
        FaultInjection &m_faults;
        runtime::Form &m_form;
        std::unique_ptr<runtime::Window> m_inner;
    };

    runtime::Backend &m_inner;
    std::set<std::pair<std::string, runtime::Property>> m_faults;
};
