// The running program: the windows it knows by name from their
// descriptions, each loaded at most once, on first use, and the door
// through which the platform's input reaches them. Showing loads first;
// unloading the last loaded window, or end(), ends the program with exit
// status 0. Run-time errors that handlers raise are reported here, each
// distinct one once a run.
//
// runProgram() makes the one application of a run; a test makes its own
// for each case, on whatever backend it needs.
#pragma once

#include "description/description.h"
#include "description/status.h"
#include "form/formhost.h"
#include "platform/backend.h"
#include "platform/door.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace runtime {

class Form;

class Application final : public FormHost, public Door
{
public:
    // The options are the command line's values, by name.
    explicit Application(Backend &backend, std::map<std::string, std::string> options = {});
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    void add(const FormDescription &description);
    Status load(const std::string &name);
    // Shows the start-up window and runs the event loop; the exit status.
    int run(const std::string &startForm);

    // --- what forms ask of their program ---
    Backend &backend() override { return m_backend; }
    Door &door() override { return *this; }
    Form *loaded(const std::string &name) const override;
    bool hasEnded() const override { return m_ended; }
    Status show(const std::string &name) override;
    Status hide(const std::string &name) override;
    Status unload(const std::string &name) override;
    void end() override;
    std::string option(const std::string &name) const override;
    void reportError(const std::string &handler, const RunTimeError &error) override;
    void shownOrHidden(Form &form) override;

    // --- the door ---
    void event(Form &form, int row, Event event) override;
    void typed(Form &form, int row, std::string text) override;
    void close(Form &form) override;
    bool press(Form &form, int row) override;
    bool key(Form &form, Key key) override;
    void focused(Form &form, int row) override;
    void pointed(Form &form) override;

private:
    bool isLoaded(const Form &form) const;
    bool takesInput(const Form &form) const;
    void moveFocus(Form &form, int row, bool ring);
    bool hasRow(const Form &form, int row) const;
    bool accepts(const Form &form, int row, Event event) const;
    void destroyLater(std::unique_ptr<Form> form);

    Backend &m_backend;
    std::map<std::string, std::string> m_options;
    std::map<std::string, FormDescription> m_descriptions;
    std::map<std::string, std::unique_ptr<Form>> m_loaded;
    std::set<std::string> m_unloading;  // their Unload handler is running
    std::vector<std::unique_ptr<Form>> m_unloaded;  // destroyed once their handler has returned
    bool m_ended = false;
    // What the backend runs later holds this, not the application, which
    // a test may have let go by then.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // A handler that fails at every tick of a timer must not write a line
    // at each of them.
    std::set<std::string> m_reported;
};

} // namespace runtime
