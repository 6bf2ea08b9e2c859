// Reads back what the shell will read from a folder's desktop.ini, and says it in words.
#include <windows.h>

#include "customise/file_steps.h"
#include "customise/folder_tools.h"
#include "customise/ini_document.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace customise {
namespace {

// A desktop.ini is a few hundred bytes; one past this size is refused whole rather than
// read in part.
constexpr LONGLONG kMaxFileBytes = 16 << 20;

// The file functions take paths past MAX_PATH only in their "\\?\" form.
std::wstring LongPath(const std::wstring& path) {
    return path.size() >= MAX_PATH - 12 ? platform::ExtendedPath(path) : path;
}

// "file,index" as IconResource holds it; the index is the text after the last comma. The
// shell takes the file part without the quotes a path with spaces may be given in.
void SplitIconResource(const std::wstring& resource, FolderSettings& settings) {
    auto trimmed = [](std::wstring text) {
        while (!text.empty() && text.back() == L' ')
            text.pop_back();
        while (!text.empty() && text.front() == L' ')
            text.erase(text.begin());
        return text;
    };
    size_t comma = resource.rfind(L',');
    if (comma == resource.npos) {
        settings.iconFile = WithoutQuotes(trimmed(resource));
        return;
    }
    settings.iconFile = WithoutQuotes(trimmed(resource.substr(0, comma)));
    settings.iconIndex = trimmed(resource.substr(comma + 1));
}

// Reads the whole file, or says why not (a file past kMaxFileBytes is not read at all).
DWORD ReadSettingsFile(const std::wstring& path, std::string& bytes) {
    platform::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size))
        return ::GetLastError();
    if (size.QuadPart > kMaxFileBytes)
        return ERROR_FILE_TOO_LARGE;
    return ReadAll(file.get(), bytes);
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
    DWORD lookError = ERROR_SUCCESS;
    const DWORD attributes = AttributesOf(iniPath, lookError);
    if (lookError)
        return Failure(L"Could not read the folder settings file.",
                       platform::JoinPath(folder, kDesktopIni), lookError);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return read;

    // Read with Velquin's own reader, as the profile reader would read it, at any length.
    std::string bytes;
    if (DWORD error = ReadSettingsFile(iniPath, bytes))
        return Failure(L"Could not read the folder settings file.",
                       platform::JoinPath(folder, kDesktopIni), error);
    const IniDocument document = ParseIni(bytes);
    auto value = [&](IniKey key) { return IniValue(document, key.section, key.key).value_or(L""); };

    settings.hasFile = true;
    settings.fileMarked =
        (attributes & FILE_ATTRIBUTE_HIDDEN) && (attributes & FILE_ATTRIBUTE_SYSTEM);
    for (const auto& row : Measures())
        settings.values[static_cast<size_t>(row.id)] = value(row.key);
    const std::wstring& resource = settings.Value(MeasureId::Icon);
    if (!resource.empty()) {
        SplitIconResource(resource, settings);
    } else {
        settings.iconFile = value(kIconFileKey);
        settings.iconIndex = value(kIconIndexKey);
    }
    // The shell takes the first icon of a file named without an index.
    if (!settings.iconFile.empty() && settings.iconIndex.empty())
        settings.iconIndex = L"0";
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
    // The icon's row (IconResource) is told by the two lines above, which are read from it.
    for (const auto& row : Measures()) {
        const std::wstring& shown = settings.Value(row.id);
        if (row.label && (row.shownEmpty || !shown.empty()))
            text += std::wstring(row.label) + L": " + value(shown) + L"\r\n";
    }
    text += L"File hidden and system: " + yesNo(settings.fileMarked) + L"\r\n";
    text += L"Folder marked for the shell: " + yesNo(settings.folderMarked) + L"\r\n";
    text += L"Backup (desktop.ini.bak): " + yesNo(settings.hasBackup);
    return text;
}

}  // namespace customise
