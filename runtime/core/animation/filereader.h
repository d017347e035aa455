// Reads the whole of a file the program is pointed at, safely: only a
// regular file of at most maxBytes, opened so that a pipe, a device or a
// console can neither block nor be read, its type and size taken from the
// open file itself so that nothing can be swapped in between. One half per
// system (filereader_posix.cpp, filereader_win32.cpp), chosen by the build.
#pragma once

#include "animation/framedecoder.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace runtime {

// The bytes, or nothing for anything else (missing, a folder, a pipe, a
// device, too large, growing past maxBytes while read, unreadable) or when
// stop is set; then problem says which, with the system's reason when it
// gave one. path is UTF-8.
std::optional<std::vector<unsigned char>> readRegularFile(const std::string &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem);

// What the system said, in the words of a line on the error stream
// ("permission denied"): an errno value, or on Windows a GetLastError code
// or an HRESULT. The likely ones are said as a user says them, the rest as
// the system does. Each half has its own.
std::string systemReason(long error);

// The halves' common end: reads an open file to its end in chunks through
// readSome (the bytes got, 0 at the end, -1 on an error), never past
// maxBytes, whatever size the file claimed (sizeHint).
std::optional<std::vector<unsigned char>> readToEnd(std::int64_t sizeHint, std::int64_t maxBytes,
                                                    const std::atomic<bool> *stop, FileProblem &problem,
                                                    const std::function<std::int64_t(unsigned char *, std::size_t)> &readSome);

} // namespace runtime
