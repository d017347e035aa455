// Faults injected into property access, as a device error would fail it:
// lets the tests stop a handler part-way at any step. A form consults its
// faults only while there are any.
#pragma once

#include "status.h"

#include <set>
#include <string>
#include <string_view>
#include <tuple>

namespace runtime {

enum class Access { Read, Write };

class Faults
{
public:
    void inject(std::string_view control, Property property, Access access)
    {
        m_faults.emplace(std::string(control), property, access);
    }
    bool empty() const { return m_faults.empty(); }
    bool failing(std::string_view control, Property property, Access access) const
    {
        return !m_faults.empty() && m_faults.count({std::string(control), property, access});
    }

private:
    std::set<std::tuple<std::string, Property, Access>> m_faults;
};

} // namespace runtime
