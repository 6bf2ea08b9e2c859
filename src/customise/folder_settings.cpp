// Reads back what the shell will read from a folder's desktop.ini, and says it in words.
#include <windows.h>

#include <utility>

#include "customise/folder_tools.h"
#include "platform/path_text.h"
#include "platform/unique_handle.h"

namespace customise {
namespace {

constexpr wchar_t kShellClassInfo[] = L".ShellClassInfo";
constexpr wchar_t kViewSection[] = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";

// The file functions take paths past MAX_PATH only in their "\\?\" form.
std::wstring LongPath(const std::wstring& path) {
    return path.size() >= MAX_PATH - 12 ? platform::ExtendedPath(path) : path;
}

// The value as the system's profile reader gives it (trimmed, quotes removed, any encoding),
// empty when the key is missing. The buffer grows until the value fits: the reader returns
// size - 1 when it had to cut the value short.
std::wstring ProfileValue(const wchar_t* section, const wchar_t* key, const std::wstring& file) {
    std::wstring value(256, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(value.size());
        DWORD length =
            ::GetPrivateProfileStringW(section, key, L"", value.data(), size, file.c_str());
        if (length + 1 < size || size >= 1u << 20) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 2);
    }
}

// "file,index" as IconResource holds it; the index is the text after the last comma.
void SplitIconResource(const std::wstring& resource, FolderSettings& settings) {
    size_t comma = resource.rfind(L',');
    if (comma == resource.npos) {
        settings.iconFile = resource;
        return;
    }
    auto trimmed = [](std::wstring text) {
        while (!text.empty() && text.back() == L' ')
            text.pop_back();
        while (!text.empty() && text.front() == L' ')
            text.erase(text.begin());
        return text;
    };
    settings.iconFile = trimmed(resource.substr(0, comma));
    settings.iconIndex = trimmed(resource.substr(comma + 1));
}

SettingsRead Failure(std::wstring what, std::wstring path, DWORD error) {
    SettingsRead read;
    read.failure = {std::move(what), std::move(path), error};
    return read;
}

}  // namespace

SettingsRead ReadFolderSettings(const std::wstring& folder) {
    const std::wstring folderName = platform::WithoutSeparator(folder);
    const DWORD folderAttributes = ::GetFileAttributesW(LongPath(folderName).c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES)
        return Failure(L"Could not read the folder.", folderName, ::GetLastError());
    if (!(folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure(L"Not a folder.", folderName, ERROR_DIRECTORY);

    SettingsRead read;
    read.ok = true;
    FolderSettings& settings = read.settings;
    settings.folderMarked =
        (folderAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0;
    settings.hasBackup = HasBackup(folder);

    const std::wstring iniPath = LongPath(platform::JoinPath(folder, kDesktopIni));
    const DWORD attributes = ::GetFileAttributesW(iniPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return read;

    // The profile reader says nothing when it can't open the file: open it once to know.
    platform::UniqueFile probe(::CreateFileW(
        iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe)
        return Failure(L"Could not read the folder settings file.",
                       platform::JoinPath(folder, kDesktopIni), ::GetLastError());
    probe.reset();

    settings.hasFile = true;
    settings.fileMarked =
        (attributes & FILE_ATTRIBUTE_HIDDEN) && (attributes & FILE_ATTRIBUTE_SYSTEM);
    const std::wstring resource = ProfileValue(kShellClassInfo, L"IconResource", iniPath);
    settings.iconResource = resource;
    settings.folderType = ProfileValue(L"ViewState", L"FolderType", iniPath);
    settings.folderPicture = ProfileValue(L"ViewState", L"Logo", iniPath);
    settings.displayName = ProfileValue(kShellClassInfo, L"LocalizedResourceName", iniPath);
    if (!resource.empty()) {
        SplitIconResource(resource, settings);
    } else {
        settings.iconFile = ProfileValue(kShellClassInfo, L"IconFile", iniPath);
        settings.iconIndex = ProfileValue(kShellClassInfo, L"IconIndex", iniPath);
    }
    // The shell takes the first icon of a file named without an index.
    if (!settings.iconFile.empty() && settings.iconIndex.empty())
        settings.iconIndex = L"0";
    settings.infoTip = ProfileValue(kShellClassInfo, L"InfoTip", iniPath);
    settings.backgroundImage = ProfileValue(kViewSection, L"IconArea_Image", iniPath);
    settings.textColour = ProfileValue(kViewSection, L"IconArea_Text", iniPath);
    return read;
}

std::wstring SettingsText(const FolderSettings& settings) {
    if (!settings.hasFile)
        return L"No folder settings file here";
    auto value = [](const std::wstring& text) { return text.empty() ? L"(none)" : text; };
    auto yesNo = [](bool flag) { return std::wstring(flag ? L"yes" : L"no"); };
    std::wstring text;
    text += L"Icon file: " + value(settings.iconFile) + L"\r\n";
    text += L"Icon index: " + value(settings.iconIndex) + L"\r\n";
    text += L"Info tip: " + value(settings.infoTip) + L"\r\n";
    text += L"Background image: " + value(settings.backgroundImage) + L"\r\n";
    text += L"Icon text colour: " + value(settings.textColour) + L"\r\n";
    // IconResource is already told by the two icon lines above, which are read from it.
    const std::pair<const wchar_t*, const std::wstring*> windows[] = {
        {L"Folder type: ", &settings.folderType},
        {L"Folder picture: ", &settings.folderPicture},
        {L"Display name: ", &settings.displayName}};
    for (const auto& [label, shown] : windows)
        if (!shown->empty())
            text += label + *shown + L"\r\n";
    text += L"File hidden and system: " + yesNo(settings.fileMarked) + L"\r\n";
    text += L"Folder marked for the shell: " + yesNo(settings.folderMarked) + L"\r\n";
    text += L"Backup (desktop.ini.bak): " + yesNo(settings.hasBackup);
    return text;
}

}  // namespace customise
