// How a picture's name, as a form's row gives it ("leftpanel"), finds its
// file among those a platform has ("leftpanel.jpg"): the same on every
// platform whose pictures are files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// The one file named name.* (any case; "a.b.jpg" answers to "a" and to
// "a.b"); empty when there is none, or more than one to choose from.
std::string pictureFile(const std::vector<std::string> &files, std::string_view name);

} // namespace runtime
