#include "platform/picturefiles.h"

#include <cctype>

namespace runtime {

namespace {

bool namedBy(const std::string &file, std::string_view name)
{
    if (name.empty() || file.size() <= name.size() || file[name.size()] != '.')
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(file[i])) != std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

} // namespace

std::string pictureFile(const std::vector<std::string> &files, std::string_view name)
{
    std::string found;
    for (const std::string &file : files) {
        if (!namedBy(file, name))
            continue;
        if (!found.empty())
            return {};  // ambiguous
        found = file;
    }
    return found;
}

} // namespace runtime
