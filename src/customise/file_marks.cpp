#include "customise/file_marks.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "customise/own_file.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"

namespace customise {

namespace detail {
DWORD(WINAPI* readFolderAttributes)(LPCWSTR) = ::GetFileAttributesW;
}  // namespace detail

namespace {

// A backup keeps the marks its old file had in the same part of its time: this base plus
// the marks' bits, so that a restore can give them back.
constexpr DWORD kKeptMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr ULONGLONG kBackupMarkBase = kTicksASecond - 100;

}  // namespace

// Velquin's mark on a desktop.ini it wrote: the part of its last-write time below the second
// (in 100 ns ticks) is a hash of its bytes. A write by any other program sets the time anew.
ULONGLONG MarkTicks(const std::string& bytes) {
    ULONGLONG hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash % kTicksASecond;
}

ULONGLONG BackupMarkTicks(DWORD oldAttributes) {
    return kBackupMarkBase + (oldAttributes & kKeptMarks);
}

std::optional<DWORD> KeptAttributes(HANDLE backup) {
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(backup, FileBasicInfo, &info, sizeof(info)))
        return std::nullopt;
    const ULONGLONG below = static_cast<ULONGLONG>(info.LastWriteTime.QuadPart) % kTicksASecond;
    if (below < kBackupMarkBase || ((below - kBackupMarkBase) & ~ULONGLONG{kKeptMarks}))
        return std::nullopt;
    return static_cast<DWORD>(below - kBackupMarkBase);
}

bool WrittenByVelquin(const std::wstring& ini, const std::string& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ini.c_str(), GetFileExInfoStandard, &data))
        return false;
    const ULARGE_INTEGER time{
        {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    return time.QuadPart % kTicksASecond == MarkTicks(bytes);
}

// The shell reads desktop.ini only in a folder marked read-only or system. PathMakeSystemFolderW
// picks the mark the system's policy asks for, but clears hidden, system and read-only first:
// so it runs only on an unmarked folder, and a hidden folder is hidden again afterwards. It
// does not take the "\\?\" form: past MAX_PATH, or for a name ending in a dot or a space,
// the folder gets read-only, its default mark, through the "\\?\" form.
// folder is the "\\?\" form, shown the path as the user gave it.
std::optional<FileFailure> MarkFolder(const std::wstring& folder, const std::wstring& shown) {
    const DWORD before = detail::readFolderAttributes(folder.c_str());
    if (before == INVALID_FILE_ATTRIBUTES)
        return FileFailure{
            L"The folder settings file was written, but the folder could not be "
            L"marked for the shell to read it.",
            shown, ::GetLastError()};
    if (before & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM))
        return std::nullopt;
    const bool shortForm = platform::PlainFormIsExact(shown);
    if (!(shortForm
              ? ::PathMakeSystemFolderW(shown.c_str())
              : platform::SetAttributes(folder, (before & kSettableAttributes) |
                                                    FILE_ATTRIBUTE_READONLY) == ERROR_SUCCESS))
        return FileFailure{
            L"The folder settings file was written, but the folder could not be "
            L"marked for the shell to read it.",
            shown, ::GetLastError()};
    if (before & FILE_ATTRIBUTE_HIDDEN) {
        const DWORD after = detail::readFolderAttributes(folder.c_str());
        if (after == INVALID_FILE_ATTRIBUTES ||
            platform::SetAttributes(
                folder, (after & kSettableAttributes) | FILE_ATTRIBUTE_HIDDEN) != ERROR_SUCCESS)
            return FileFailure{
                L"The folder settings file was written and the folder marked, "
                L"but the folder could not be hidden again.",
                shown, ::GetLastError()};
    }
    return std::nullopt;
}

}  // namespace customise
