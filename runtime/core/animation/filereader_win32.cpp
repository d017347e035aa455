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

std::string systemReason(long error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:     return "permission denied";
    case ERROR_SHARING_VIOLATION: return "in use by another program";
    case ERROR_LOCK_VIOLATION:    return "locked by another program";
    }
    // In one line; a Windows error's own words end in a full stop.
    wchar_t *text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                           | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, DWORD(error), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string words(size_t(WideCharToMultiByte(CP_UTF8, 0, text, int(n), nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(n), words.data(), int(words.size()), nullptr, nullptr);
    LocalFree(text);
    while (!words.empty() && (words.back() == ' ' || words.back() == '.'))
        words.pop_back();
    if (words.empty())
        return "system error " + std::to_string(error);
    if (words[0] >= 'A' && words[0] <= 'Z')
        words[0] = char(words[0] - 'A' + 'a');
    return words;
}

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
                    ? FileProblem(FileProblem::NotRegular, "is a directory")
                    : FileProblem(FileProblem::Unreadable, systemReason(error));
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
    DWORD readError = 0;
    auto bytes = readToEnd(size, maxBytes, stop, problem, [file, &readError](unsigned char *into, std::size_t want) {
        DWORD got = 0;
        if (ReadFile(file, into, DWORD(want), &got, nullptr))
            return std::int64_t(got);
        readError = GetLastError();
        return std::int64_t(-1);
    });
    if (problem == FileProblem::Unreadable && readError)
        problem.reason = systemReason(readError);
    return bytes;
}

} // namespace runtime
