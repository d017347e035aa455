// Text crosses into Win32 as UTF-16 and comes back as UTF-8: the runtime
// and the program hold UTF-8 throughout, and convert only at each call.
#pragma once

#include <string>
#include <string_view>

namespace runtime::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The running executable's full path; empty when it cannot be had.
std::wstring executablePath();

} // namespace runtime::win32
