// The Windows half of readRegularFile (filereader.h).
#include "animation/filereader.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace runtime {

namespace {
std::wstring wide(const std::string &utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}
} // namespace

std::optional<std::vector<unsigned char>> readRegularFile(const std::string &utf8Path, std::int64_t maxBytes,
                                                          const std::atomic<bool> *stop, FileProblem &problem)
{
    problem = FileProblem::None;
    const std::wstring path = wide(utf8Path);
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open at all.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        problem = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileProblem::Missing
                : error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES
                        && (attributes & FILE_ATTRIBUTE_DIRECTORY)
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
    return readToEnd(size, maxBytes, stop, problem, [file](unsigned char *into, std::size_t want) {
        DWORD got = 0;
        return ReadFile(file, into, DWORD(want), &got, nullptr) ? std::int64_t(got) : std::int64_t(-1);
    });
}

} // namespace runtime
