#include "customise/own_file.h"

#include <atomic>

#include "customise/desktop_ini.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"

namespace customise {
namespace {

constexpr wchar_t kTempPrefix[] = L"desktop.ini.~vel-";
constexpr wchar_t kTempPattern[] = L"desktop.ini.~vel-*.tmp";

bool IsDigits(std::wstring_view text) {
    return !text.empty() && text.find_first_not_of(L"0123456789") == text.npos;
}

// Exactly the name OwnFile gives: "desktop.ini.~vel-<process>-<n>.tmp", numbers alone.
bool IsTemporaryName(std::wstring_view name) {
    const std::wstring_view prefix = kTempPrefix, suffix = L".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const size_t dash = name.find(L'-');
    return dash != name.npos && IsDigits(name.substr(0, dash)) && IsDigits(name.substr(dash + 1));
}

// Deletes the file the handle has open. Used only on files still under the name they were
// created with: Wine deletes through a handle only under that name.
DWORD DeleteThroughHandle(HANDLE file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return LastErrorUnless(
        ::SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof(dispose)));
}

// True when path names the file the handle has open. Both lie in the one folder, so the file
// index alone tells (Wine reports no volume for a handle whose file was renamed).
bool IsSameFile(HANDLE file, const std::wstring& path) {
    platform::UniqueFile other(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION a, b;
    return other && ::GetFileInformationByHandle(file, &a) &&
           ::GetFileInformationByHandle(other.get(), &b) && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// An empty file unmarked this long ago is no live writer's: the file system may have made
// a file and set its hidden mark in two steps, and a program ended between them.
constexpr ULONGLONG kUnmarkedAge = 10 * kTicksASecond;

bool EmptyAndOld(const WIN32_FIND_DATAW& found) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER at{{now.dwLowDateTime, now.dwHighDateTime}};
    const ULARGE_INTEGER written{
        {found.ftLastWriteTime.dwLowDateTime, found.ftLastWriteTime.dwHighDateTime}};
    return found.nFileSizeLow == 0 && found.nFileSizeHigh == 0 &&
           at.QuadPart > written.QuadPart + kUnmarkedAge;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    platform::UniqueFind find(
        ::FindFirstFileW(platform::JoinPath(folder, kTempPattern).c_str(), &found));
    if (!find)
        return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) ||
            !((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || EmptyAndOld(found)) ||
            !IsTemporaryName(found.cFileName))
            continue;
        platform::UniqueFile stale(::CreateFileW(
            platform::JoinPath(folder, found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (::FindNextFileW(find.get(), &found));
}

void RestoreAttributes(const std::wstring& path, DWORD attributes) {
    platform::SetAttributes(path, attributes & kSettableAttributes);
}

// Deletes a file this call made, clearing the marks that would keep it.
void DeleteOwnFile(const std::wstring& path) {
    platform::DeleteMarkedFile(path);
}

DWORD LastErrorUnless(BOOL ok) {
    return ok ? ERROR_SUCCESS : ::GetLastError();
}

OwnFile::~OwnFile() {
    if (file_ && !moved_)
        DeleteThroughHandle(file_.get());
}

DWORD OwnFile::Create(const std::wstring& folder) {
    static std::atomic<unsigned> counter{0};
    const std::wstring process = std::to_wstring(::GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = platform::JoinPath(
            folder, kTempPrefix + process + L"-" + std::to_wstring(++counter) + L".tmp");
        file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (file_)
            return ERROR_SUCCESS;
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return error;
    }
    return ERROR_FILE_EXISTS;
}

void OwnFile::Stamp(ULONGLONG ticks) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart += ticks - time.QuadPart % kTicksASecond;
    const FILETIME stamp{time.LowPart, time.HighPart};
    // Set through the handle, the time is no longer kept up to date by it: closing keeps it.
    ::SetFileTime(file_.get(), nullptr, nullptr, &stamp);
}

DWORD OwnFile::MoveTo(const std::wstring& destination, bool replace) {
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    DWORD error = LastErrorUnless(::MoveFileExW(path_.c_str(), destination.c_str(), flags));
    if (!error) {
        moved_ = true;
        path_ = destination;
    }
    return error;
}

void OwnFile::Unplace() {
    if (file_ && moved_ && IsSameFile(file_.get(), path_))
        ::DeleteFileW(path_.c_str());
    file_.reset();
}

}  // namespace customise
