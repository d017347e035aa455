// Text crosses into Win32 as UTF-16 and comes back as UTF-8: the runtime
// and the program hold UTF-8 throughout, and convert only at each call.
#pragma once

#include <string>
#include <string_view>

namespace runtime::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The running executable's name without its folder and extension, as a
// line on the error stream begins.
std::string executableName();

} // namespace runtime::win32
