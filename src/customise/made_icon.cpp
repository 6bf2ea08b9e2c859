#include "customise/made_icon.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "customise/ini_codec.h"
#include "icon_maker/icon_maker.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace customise {
namespace {

constexpr wchar_t kSaveFailed[] = L"Could not save the made icon.";

// Every file name in folder matching pattern.
std::vector<std::wstring> NamesMatching(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    platform::UniqueFind find(
        ::FindFirstFileExW(platform::ExtendedPath(platform::JoinPath(folder, pattern)).c_str(),
                           FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(find.get(), &found));
    return names;
}

// True when text holds name in any letter case, as the file system compares names.
bool Mentions(const std::wstring& text, const std::wstring& name) {
    return ::FindStringOrdinal(FIND_FROMSTART, text.data(), static_cast<int>(text.size()),
                               name.data(), static_cast<int>(name.size()), TRUE) >= 0;
}

}  // namespace

std::wstring UserIconFolder() {
    platform::UniqueCoTaskString local;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, local.put())))
        return {};
    return platform::JoinPath(platform::JoinPath(local.get(), L"Velquin"), L"Icons");
}

SavedIcon SaveMadeIcon(const std::string& bytes, const std::wstring& folder) {
    SavedIcon saved;
    const std::wstring path = platform::JoinPath(folder, icon_maker::ContentName(bytes));
    if (folder.empty()) {
        saved.failure = {kSaveFailed, L"%LOCALAPPDATA%", ERROR_PATH_NOT_FOUND};
        return saved;
    }
    const int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS) {
        saved.failure = {kSaveFailed, folder, static_cast<DWORD>(made)};
        return saved;
    }
    const std::wstring extended = platform::ExtendedPath(path);
    std::string present;
    if (ReadWhole(extended, present) == ERROR_SUCCESS && present == bytes) {
        saved.ok = true;
        saved.path = path;
        return saved;
    }
    // Written beside, under a name of this thread's own, and moved into place, so the name
    // never holds half an icon and another Velquin saving the same icon meanwhile is no bother.
    const std::wstring temporary = extended + L"." + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(::GetCurrentThreadId()) + L".part";
    DWORD error = ERROR_SUCCESS;
    {
        platform::UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? WriteAll(file.get(), bytes) : ::GetLastError();
    }
    if (!error && !::MoveFileExW(temporary.c_str(), extended.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        // Held open by another Velquin that saved the very same icon: that file is this one.
        if (ReadWhole(extended, present) == ERROR_SUCCESS && present == bytes)
            error = ERROR_SUCCESS;
    }
    if (error) {
        ::DeleteFileW(temporary.c_str());
        saved.failure = {kSaveFailed, path, error};
        return saved;
    }
    saved.ok = true;
    saved.path = path;
    return saved;
}

void DeleteStaleMadeIcons(const std::wstring& folder) {
    // Most folders hold no made icon: one listing tells, before any settings file is read.
    std::vector<std::wstring> made;
    for (std::wstring& name : NamesMatching(folder, L"velquin-*.ico"))
        if (icon_maker::IsContentName(name))
            made.push_back(std::move(name));
    if (made.empty())
        return;
    // What still names an icon: desktop.ini and its backups ("desktop.ini.bak",
    // "desktop.ini (2).bak"...).
    std::wstring named;
    for (const std::wstring& name : NamesMatching(folder, L"desktop.ini*")) {
        // Only settings files: not the writers' own temporary and turn files beside them.
        if (::PathMatchSpecExW(name.c_str(), L"desktop.ini;*.bak", PMSF_MULTIPLE) != S_OK)
            continue;
        std::string bytes;
        if (ReadWhole(platform::ExtendedPath(platform::JoinPath(folder, name)), bytes) !=
            ERROR_SUCCESS)
            return;  // a settings file that can't be read might name any of them
        named += DecodeIniFile(bytes) + L"\n";
    }
    for (const std::wstring& name : made) {
        if (Mentions(named, name))
            continue;
        const std::wstring extended = platform::ExtendedPath(platform::JoinPath(folder, name));
        std::string bytes;
        // Only Velquin's own: a user's file may have a name of that form, but not its content.
        if (ReadWhole(extended, bytes) != ERROR_SUCCESS || icon_maker::ContentName(bytes) != name)
            continue;
        platform::DeleteMarkedFile(extended);
    }
}

}  // namespace customise
