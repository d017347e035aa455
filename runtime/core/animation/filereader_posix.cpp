// The POSIX half of readRegularFile (filereader.h).
#include "animation/filereader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace runtime {

std::optional<std::vector<unsigned char>> readRegularFile(const std::string &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem)
{
    problem = FileProblem::None;
    // Non-blocking, so that opening a pipe or a device returns at once; no
    // controlling terminal; then the type and size are taken from the
    // descriptor itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == ENOENT || errno == ENOTDIR ? FileProblem::Missing
                : errno == ELOOP                      ? FileProblem::NotRegular
                                                      : FileProblem::Unreadable;
        return std::nullopt;
    }
    struct Closer { int fd; ~Closer() { ::close(fd); } } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        problem = FileProblem::Unreadable;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        problem = S_ISREG(st.st_mode) ? FileProblem::TooLarge : FileProblem::NotRegular;
        return std::nullopt;
    }
    // The size may be stale (a /proc file claims none).
    return readToEnd(st.st_size, maxBytes, stop, problem, [fd](unsigned char *into, std::size_t want) {
        for (;;) {
            const ssize_t n = ::read(fd, into, want);
            if (n >= 0 || errno != EINTR)
                return std::int64_t(n);  // EAGAIN an error: a "regular" file that would block
        }
    });
}

} // namespace runtime
