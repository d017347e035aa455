// What a loaded form asks of the program that loaded it: the platform,
// the other windows by name, the end, the command line's options and the
// error line. The application implements it; a form knows nothing more of
// the program around it.
#pragma once

#include "description/status.h"

#include <string>

namespace runtime {

class Backend;
class Door;
class Form;

class FormHost
{
public:
    virtual Backend &backend() = 0;
    virtual Door &door() = 0;
    virtual Form *loaded(const std::string &name) const = 0;  // nullptr when not loaded
    virtual bool hasEnded() const = 0;
    virtual Status show(const std::string &name) = 0;
    virtual Status hide(const std::string &name) = 0;
    virtual Status unload(const std::string &name) = 0;
    virtual void end() = 0;
    virtual std::string option(const std::string &name) const = 0;  // empty when not given
    // A row of the form was shown or hidden: what has the focus may have
    // gone from under it.
    virtual void shownOrHidden(Form &form) = 0;
    // A run-time error a handler raised; each distinct one is told once.
    virtual void reportError(const std::string &handler, const RunTimeError &error) = 0;

protected:
    ~FormHost() = default;
};

} // namespace runtime
