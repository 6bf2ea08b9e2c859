// Keeps a copy of the icon file inside the folder, so the folder's icon survives moving the
// folder or a new drive letter: desktop.ini then names the file alone, which Windows reads
// relative to the folder.
#include <string_view>
#include <vector>

#include "customise/file_steps.h"
#include "customise/folder_tools.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace customise {
namespace {

constexpr wchar_t kCopyFailed[] = L"Could not copy the icon file into the folder.";
constexpr unsigned kMostNames = 1000;  // "name (1000).ico" and no further

// True when the file at path holds exactly the bytes of source (read from its start).
bool SameContent(HANDLE source, const std::wstring& path) {
    platform::UniqueFile other(::CreateFileW(path.c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER sourceSize{}, otherSize{};
    if (!other || !::GetFileSizeEx(source, &sourceSize) ||
        !::GetFileSizeEx(other.get(), &otherSize) || sourceSize.QuadPart != otherSize.QuadPart)
        return false;
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(source, start, nullptr, FILE_BEGIN))
        return false;
    std::vector<char> a(1 << 16), b(1 << 16);
    for (;;) {
        DWORD gotA = 0, gotB = 0;
        if (!::ReadFile(source, a.data(), static_cast<DWORD>(a.size()), &gotA, nullptr) ||
            !::ReadFile(other.get(), b.data(), gotA, &gotB, nullptr) || gotA != gotB)
            return false;
        if (!gotA)
            return true;
        if (!std::equal(a.begin(), a.begin() + gotA, b.begin()))
            return false;
    }
}

// Copies source (from its start) into the new file target; ERROR_SUCCESS when all of it
// reached the disk.
DWORD CopyContent(HANDLE source, HANDLE target) {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(source, start, nullptr, FILE_BEGIN))
        return ::GetLastError();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0, written = 0;
        if (!::ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return ::GetLastError();
        if (!got)
            return ::FlushFileBuffers(target) ? ERROR_SUCCESS : ::GetLastError();
        if (!::WriteFile(target, buffer.data(), got, &written, nullptr))
            return ::GetLastError();
    }
}

// True for names Velquin keeps for itself beside the icon copy: desktop.ini, its backups
// ("desktop.ini.bak", "desktop.ini (2).bak"...) and its working files ("desktop.ini.~vel-...").
bool IsReservedName(std::wstring_view name) {
    auto same = [](std::wstring_view a, std::wstring_view b) {
        const int size = static_cast<int>(a.size());
        return a.size() == b.size() &&
               (a.empty() ||
                ::CompareStringOrdinal(a.data(), size, b.data(), size, TRUE) == CSTR_EQUAL);
    };
    const std::wstring_view ini = kDesktopIni, backup = kBackupSuffix;
    if (name.size() < ini.size() || !same(name.substr(0, ini.size()), ini))
        return false;
    std::wstring_view rest = name.substr(ini.size());
    if (rest.empty() || same(rest, backup) || same(rest.substr(0, 6), L".~vel-"))
        return true;
    // " (n).bak"
    if (rest.size() < 8 || rest.substr(0, 2) != L" (" ||
        !same(rest.substr(rest.size() - 5), L").bak"))
        return false;
    rest = rest.substr(2, rest.size() - 7);
    return !rest.empty() && rest.find_first_not_of(L"0123456789") == rest.npos;
}

IconCopy Failed(const std::wstring& path, DWORD error) {
    IconCopy result;
    result.failure = {kCopyFailed, path, error};
    return result;
}

}  // namespace

IconCopy CopyIconIntoFolder(const std::wstring& folder, const std::wstring& iconFile) {
    std::wstring name = FileNamePart(iconFile);
    if (name.empty())
        return Failed(iconFile, ERROR_INVALID_NAME);
    // An icon named like desktop.ini or a backup would be taken for one: it gets another name.
    if (IsReservedName(name))
        name = L"icon " + name;
    // Shared for reading only while it is copied, so the copy is never half of two versions.
    platform::UniqueFile source(::CreateFileW(
        platform::ExtendedPath(iconFile).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source)
        return Failed(iconFile, ::GetLastError());

    for (unsigned n = 1; n <= kMostNames;) {
        const std::wstring candidate = platform::JoinPath(folder, NumberedName(name, n));
        const std::wstring target = platform::ExtendedPath(candidate);
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            // An identical file is reused; this is also how an icon already in the folder,
            // copied onto itself, is kept as it is. Anything else keeps its name.
            if (IsFile(attributes) && SameContent(source.get(), target)) {
                IconCopy reused;
                reused.copied = true;
                reused.name = NumberedName(name, n);
                return reused;
            }
            ++n;
            continue;
        }
        platform::UniqueFile copy(
            ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr));
        if (!copy) {
            DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;  // made by someone else just now: look at it again
            return Failed(candidate, error);
        }
        if (DWORD error = CopyContent(source.get(), copy.get())) {
            copy.reset();
            platform::DeleteMarkedFile(target);
            return Failed(candidate, error);
        }
        IconCopy made;
        made.copied = made.created = true;
        made.name = NumberedName(name, n);
        return made;
    }
    return Failed(platform::JoinPath(folder, name), ERROR_FILE_EXISTS);
}

}  // namespace customise
