#include "customise/file_steps.h"

#include <algorithm>
#include <iterator>

#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace customise {

namespace detail {
DWORD(WINAPI* readFileAttributes)(LPCWSTR) = ::GetFileAttributesW;
}  // namespace detail

DWORD ReadAll(HANDLE file, std::string& bytes) {
    char buffer[4096];
    DWORD got = 0;
    bytes.clear();
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) {
        if (!got)
            return ERROR_SUCCESS;
        bytes.append(buffer, got);
    }
    return ::GetLastError();
}

DWORD ReadWhole(const std::wstring& path, std::string& bytes) {
    platform::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return ::GetLastError();
    return ReadAll(file.get(), bytes);
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return ::GetLastError();
        done += written;
    }
    return ::FlushFileBuffers(file) ? ERROR_SUCCESS : ::GetLastError();
}

std::wstring NumberedName(const std::wstring& name, unsigned n) {
    if (n <= 1)
        return name;
    const std::wstring number = L" (" + std::to_wstring(n) + L")";
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0)
        return name + number;
    return name.substr(0, dot) + number + name.substr(dot);
}

std::wstring FileNamePart(const std::wstring& path) {
    size_t start = path.size();
    while (start > 0 && !platform::IsSeparator(path[start - 1]) && path[start - 1] != L':')
        --start;
    return path.substr(start);
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
    return IsFile(::GetFileAttributesW(path.c_str()));
}

DWORD AttributesOf(const std::wstring& path, DWORD& error) {
    const DWORD attributes = detail::readFileAttributes(path.c_str());
    error = ERROR_SUCCESS;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD why = ::GetLastError();
        // A file being deleted is as good as gone.
        if (why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND &&
            why != ERROR_DELETE_PENDING)
            error = why;
    }
    return attributes;
}

bool IsTransient(DWORD error, bool accessDenied) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_DELETE_PENDING || (accessDenied && error == ERROR_ACCESS_DENIED);
}

DWORD RetryPause(unsigned attempt) {
    // 1 + 2 + 4 + ... + 64 + 4 * 100 ms: 527 ms at most before the refusal is reported.
    constexpr DWORD kPauses[] = {1, 2, 4, 8, 16, 32, 64, 100, 100, 100, 100};
    return attempt < std::size(kPauses) ? kPauses[attempt] : 0;
}

}  // namespace customise
