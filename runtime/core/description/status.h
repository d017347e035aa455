// Property access through the runtime returns a Status; handlers go through
// the raising wrappers of Form, where a failing status becomes a
// RunTimeError that stops the handler at that step.
#pragma once

#include <exception>
#include <string>
#include <variant>

namespace runtime {

enum class Status { Ok, NoSuchForm, NoSuchControl, NoSuchProperty, Failed };

enum class Property { Visible, Text, Caption, Navigate, Show, Hide, Unload, AppFolder };

// What a property holds: Visible a flag, the others text (UTF-8).
using Value = std::variant<bool, std::string>;

const char *describe(Status status);
const char *describe(Property property);

class RunTimeError : public std::exception
{
public:
    RunTimeError(Status status, std::string object, Property property)
        : m_status(status), m_object(std::move(object)), m_property(property) {}

    Status status() const { return m_status; }
    const std::string &object() const { return m_object; }  // a control's or a form's name
    Property property() const { return m_property; }
    const char *what() const noexcept override { return "run-time error"; }

private:
    Status m_status;
    std::string m_object;
    Property m_property;
};

} // namespace runtime
