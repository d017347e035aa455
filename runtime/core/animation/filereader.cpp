// What both halves of readRegularFile share: the reading itself.
#include "animation/filereader.h"

#include <algorithm>

namespace runtime {

std::optional<std::vector<unsigned char>> readToEnd(std::int64_t sizeHint, std::int64_t maxBytes,
                                                    const std::atomic<bool> *stop, FileProblem &problem,
                                                    const std::function<std::int64_t(unsigned char *, std::size_t)> &readSome)
{
    constexpr std::int64_t Chunk = 64 * 1024;
    std::vector<unsigned char> bytes;
    bytes.reserve(size_t(std::clamp<std::int64_t>(sizeHint, 0, maxBytes)));
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const size_t at = bytes.size();
        // One byte past the bound tells a file that grew past it.
        const std::int64_t want = std::min(Chunk, maxBytes + 1 - std::int64_t(at));
        bytes.resize(at + size_t(want));
        const std::int64_t got = readSome(bytes.data() + at, size_t(want));
        if (got < 0) {
            problem = FileProblem::Unreadable;
            return std::nullopt;
        }
        bytes.resize(at + size_t(got));
        if (got == 0)
            break;
        if (std::int64_t(bytes.size()) > maxBytes) {
            problem = FileProblem::TooLarge;
            return std::nullopt;
        }
    }
    bytes.shrink_to_fit();
    return bytes;
}

} // namespace runtime
