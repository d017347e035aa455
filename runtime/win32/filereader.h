// Reads a whole file for the browser view, safely: only a regular disk
// file (not a folder, a pipe, a device or a console) of at most maxBytes,
// its type and size taken from the open handle itself so that nothing can
// be swapped in between. Gives up at once when stop is set.
#pragma once

#include "framedecoder.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runtime::win32 {

// Nothing for anything else; then problem says which.
std::optional<std::vector<unsigned char>> readRegularFile(const std::wstring &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem);

} // namespace runtime::win32
