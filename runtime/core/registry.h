// The registry of the program's windows: known by name from their
// descriptions, each loaded at most once, on first use. Showing loads
// first; unloading the last loaded window, or end(), ends the program with
// exit status 0. Run-time errors that handlers raise are reported here,
// each distinct one once a run.
#pragma once

#include "backend.h"
#include "description.h"
#include "status.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace runtime {

class Form;
namespace testing { void resetRegistry(); }

class FormRegistry
{
public:
    // The platform the windows are built on, handed to the core before
    // anything loads.
    static void setBackend(Backend &backend);
    static Backend &backend();

    static void add(const FormDescription &description);
    static Status load(const std::string &name);
    static Status show(const std::string &name);
    static Status hide(const std::string &name);
    static Status unload(const std::string &name);
    static void end();

    static Form *loaded(const std::string &name);  // nullptr when not loaded
    static bool hasEnded();

    // Shows the start-up window and runs the event loop; the exit status.
    static int run(const std::string &startForm);

    static void reportError(const std::string &handler, const RunTimeError &error);

    // The values of the command line's options, by name; set by the
    // backend before the start-up window loads.
    static void setOptions(std::map<std::string, std::string> options);
    static std::string option(const std::string &name);  // empty when not given

private:
    friend void testing::resetRegistry();
    static FormRegistry &instance();
    void bury(std::unique_ptr<Form> form);

    Backend *m_backend = nullptr;
    std::map<std::string, FormDescription> m_descriptions;
    std::map<std::string, std::unique_ptr<Form>> m_loaded;
    std::set<std::string> m_unloading;  // their Unload handler is running
    std::vector<std::unique_ptr<Form>> m_unloaded;  // destroyed once their handler has returned
    bool m_ended = false;
    // A handler that fails at every tick of a timer must not write a line
    // at each of them.
    std::set<std::string> m_reported;
    std::map<std::string, std::string> m_options;
};

} // namespace runtime
