// The POSIX half of readRegularFile (filereader.h).
#include "animation/filereader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace runtime {

std::string systemReason(long error)
{
    switch (error) {
    case EACCES:
    case EPERM:  return "permission denied";
    case EISDIR: return "is a directory";
    case EAGAIN: return "reading it would block";
    }
    std::string words = std::generic_category().message(int(error));
    if (!words.empty() && words[0] >= 'A' && words[0] <= 'Z')
        words[0] = char(words[0] - 'A' + 'a');
    return words;
}

std::optional<std::vector<unsigned char>> readRegularFile(const std::string &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem)
{
    problem = FileProblem::None;
    // Non-blocking, so that opening a pipe or a device returns at once; no
    // controlling terminal; then the type and size are taken from the
    // descriptor itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        problem = error == ENOENT || error == ENOTDIR ? FileProblem::Missing
                : error == ELOOP                      ? FileProblem(FileProblem::NotRegular, systemReason(error))
                                                      : FileProblem(FileProblem::Unreadable, systemReason(error));
        return std::nullopt;
    }
    struct Closer { int fd; ~Closer() { ::close(fd); } } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        problem = {FileProblem::Unreadable, systemReason(errno)};
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        problem = S_ISREG(st.st_mode) ? FileProblem::TooLarge
                : S_ISDIR(st.st_mode) ? FileProblem(FileProblem::NotRegular, systemReason(EISDIR))
                                      : FileProblem::NotRegular;
        return std::nullopt;
    }
    // The size may be stale (a /proc file claims none).
    int readError = 0;
    auto bytes = readToEnd(st.st_size, maxBytes, stop, problem, [fd, &readError](unsigned char *into, std::size_t want) {
        for (;;) {
            const ssize_t n = ::read(fd, into, want);
            if (n >= 0 || errno != EINTR) {
                readError = n < 0 ? errno : 0;  // EAGAIN an error: a "regular" file that would block
                return std::int64_t(n);
            }
        }
    });
    if (problem == FileProblem::Unreadable && readError)
        problem.reason = systemReason(readError);
    return bytes;
}

} // namespace runtime
