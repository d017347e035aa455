// Checks a window description before anything of it is built: names,
// kinds, containers, the twips grid, pictures and the handler table.
#pragma once

#include "description/description.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// Whether the program carries a picture of that name; each backend has
// its own store.
using PictureExists = std::function<bool(std::string_view name)>;

// Empty when the description is sound; else one line per fault.
std::vector<std::string> validate(const FormDescription &description, const PictureExists &pictureExists);

} // namespace runtime
