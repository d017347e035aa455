#include "filereader.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace runtime::qt {

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, const std::atomic<bool> *stop,
                                          FileProblem *problem)
{
    FileProblem ignored;
    FileProblem &why = problem ? *problem : ignored;
    why = FileProblem::None;
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray bytes;
#ifdef Q_OS_UNIX
    // Non-blocking, so that opening a pipe or a device returns at once; no
    // controlling terminal; then the type and size are taken from the
    // descriptor itself, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENOENT || errno == ENOTDIR ? FileProblem::Missing
            : errno == ELOOP                      ? FileProblem::NotRegular
                                                  : FileProblem::Unreadable;
        return std::nullopt;
    }
    struct Closer { int fd; ~Closer() { ::close(fd); } } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        why = FileProblem::Unreadable;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        why = S_ISREG(st.st_mode) ? FileProblem::TooLarge : FileProblem::NotRegular;
        return std::nullopt;
    }
    // The size may be stale (a file still growing, a /proc file claiming
    // none): read to the end, but never past maxBytes.
    bytes.reserve(qsizetype(st.st_size));
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const qsizetype at = bytes.size();
        const qint64 want = qMin(Chunk, maxBytes + 1 - at);
        bytes.resize(at + qsizetype(want));
        const ssize_t n = ::read(fd, bytes.data() + at, size_t(want));
        if (n < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (n < 0) {  // EAGAIN included: a "regular" file that would block
            why = FileProblem::Unreadable;
            return std::nullopt;
        }
        bytes.resize(at + n);
        if (n == 0)
            break;
        if (bytes.size() > maxBytes) {
            why = FileProblem::TooLarge;
            return std::nullopt;
        }
    }
#else
    // Windows: a path of this name cannot name a pipe or a device, and the
    // open handle tells a disk file from anything else.
    const QFileInfo info(path);
    if (!info.isFile()) {
        why = info.exists() ? FileProblem::NotRegular : FileProblem::Missing;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.isSequential() || file.size() > maxBytes)
        return std::nullopt;
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const QByteArray chunk = file.read(qMin(Chunk, maxBytes + 1 - bytes.size()));
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                return std::nullopt;
            break;
        }
        bytes += chunk;
        if (bytes.size() > maxBytes)
            return std::nullopt;
    }
#endif
    bytes.squeeze();
    return bytes;
}

} // namespace runtime::qt
