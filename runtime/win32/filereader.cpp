#include "filereader.h"
#include "win32.h"

#include <algorithm>

namespace runtime::win32 {

std::optional<std::vector<unsigned char>> readRegularFile(const std::wstring &path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem)
{
    problem = FileProblem::None;
    constexpr DWORD Chunk = 64 * 1024;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open at all.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        problem = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileProblem::Missing
                : error == ERROR_ACCESS_DENIED && (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
                        && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES
                    ? FileProblem::NotRegular
                    : FileProblem::Unreadable;
        return std::nullopt;
    }
    struct Closer { HANDLE h; ~Closer() { CloseHandle(h); } } closer{file};
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)
            || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        problem = FileProblem::NotRegular;
        return std::nullopt;
    }
    const std::int64_t size = (std::int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes) {
        problem = FileProblem::TooLarge;
        return std::nullopt;
    }
    // The size may be stale (a file still growing): read to the end, but
    // never past maxBytes.
    std::vector<unsigned char> bytes;
    bytes.reserve(size_t(size));
    for (;;) {
        if (stop && stop->load())
            return std::nullopt;
        const size_t at = bytes.size();
        const DWORD want = DWORD(std::min<std::int64_t>(Chunk, maxBytes + 1 - std::int64_t(at)));
        bytes.resize(at + want);
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + at, want, &got, nullptr)) {
            problem = FileProblem::Unreadable;
            return std::nullopt;
        }
        bytes.resize(at + got);
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

} // namespace runtime::win32
