#include "customise/in_place.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "customise/folder_tools.h"
#include "customise/ini_edit.h"
#include "customise/made_icon.h"
#include "platform/path_text.h"

namespace customise {
namespace {

constexpr wchar_t kShellClassInfo[] = L".ShellClassInfo";
constexpr wchar_t kViewSection[] = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";
constexpr wchar_t kViewState[] = L"ViewState";

constexpr IniKey kIconResource{kShellClassInfo, L"IconResource"};
constexpr IniKey kIconFile{kShellClassInfo, L"IconFile"};
constexpr IniKey kIconIndex{kShellClassInfo, L"IconIndex"};
constexpr IniKey kInfoTip{kShellClassInfo, L"InfoTip"};
constexpr IniKey kImage{kViewSection, L"IconArea_Image"};
constexpr IniKey kTextColour{kViewSection, L"IconArea_Text"};
constexpr IniKey kFolderType{kViewState, L"FolderType"};
constexpr IniKey kLogo{kViewState, L"Logo"};
constexpr IniKey kMode{kViewState, L"Mode"};
constexpr IniKey kVid{kViewState, L"Vid"};

// Every key an edit writes, and the two the shell's Customize tab adds with [ViewState]:
// a file that differs from its backup only in these differs only by edits.
constexpr IniKey kEditKeys[] = {kIconResource, kIconFile,   kIconIndex, kInfoTip, kImage,
                                kTextColour,   kFolderType, kLogo,      kMode,    kVid};

bool HasLineBreak(std::wstring_view text) {
    return text.find_first_of(L"\r\n") != text.npos;
}

// Replaces the key's line unless the profile reader already reads value from it ("same",
// quoted or followed by a NUL): then its bytes stay. True when a line the file held changed.
bool ReplaceValue(IniEditor& file, IniKey key, const std::wstring& value) {
    return file.Value(key) != value && file.Replace(key, value);
}

// Sets the key (a missing one gets a new line) and says whether a line the file held changed.
bool SetValue(IniEditor& file, IniKey key, const std::wstring& value) {
    if (file.Value(key) == value)
        return false;
    if (file.Replace(key, value))
        return true;
    file.Set(key, value);
    return false;
}

// Takes away the folder's mark for the shell (read-only or system), as the shell does when
// a folder's customisation is cleared.
void UnmarkFolder(const std::wstring& shown) {
    const std::wstring extended = platform::ExtendedPath(shown);
    if (platform::PlainFormIsExact(shown)) {
        ::PathUnmakeSystemFolderW(shown.c_str());
        ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, shown.c_str(), nullptr);
        return;
    }
    const DWORD attributes = ::GetFileAttributesW(extended.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(extended.c_str(),
                             attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
}

}  // namespace

void SetEditIcon(FolderEdit& edit, std::wstring file, std::wstring index) {
    edit.icon = IconChoice{std::move(file), std::move(index)};
}

const wchar_t* FolderTypeValue(std::wstring_view name) {
    for (const wchar_t* type : kFolderTypes) {
        const std::wstring_view value = type;
        if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), value.data(),
                                   static_cast<int>(value.size()), TRUE) == CSTR_EQUAL)
            return type;
    }
    return nullptr;
}

std::optional<std::wstring> RefusedEdit(const FolderEdit& edit) {
    if (auto refused = RefusedValue(edit))
        return refused;
    if (edit.icon && edit.icon->file.empty())
        return L"The icon file path must not be empty.";
    if (edit.folderType && !FolderTypeValue(*edit.folderType))
        return L"The folder type must be one of generic, documents, pictures, music, videos.";
    if (edit.folderPicture && HasLineBreak(*edit.folderPicture))
        return L"The folder picture path must be a single line, without line breaks.";
    return std::nullopt;
}

EditedBytes EditBytes(const std::string& old, const FolderEdit& edit) {
    IniEditor file(old);
    bool changed = false;
    if (edit.icon) {
        const std::wstring& index = edit.icon->index;
        changed |= SetValue(file, kIconResource, edit.icon->file + L"," + index);
        changed |= ReplaceValue(file, kIconFile, edit.icon->file);
        changed |= ReplaceValue(file, kIconIndex, index);
    }
    if (edit.tip)
        changed |= SetValue(file, kInfoTip, *edit.tip);
    if (edit.image)
        changed |= SetValue(file, kImage, *edit.image);
    if (edit.textColour)
        changed |= SetValue(file, kTextColour, edit.textColour->code);
    // Windows' Customize tab writes Mode and Vid, empty, when it makes [ViewState].
    if ((edit.folderType || edit.folderPicture) && !file.HasSection(kViewState)) {
        const std::wstring_view lines[] = {L"Mode=", L"Vid="};
        file.AddSection(kViewState, lines);
    }
    if (edit.folderType)
        changed |= SetValue(file, kFolderType, FolderTypeValue(*edit.folderType));
    if (edit.folderPicture)
        changed |= SetValue(file, kLogo, *edit.folderPicture);

    if (edit.unset & kEditIcon) {
        changed |= file.Remove(kIconResource);
        changed |= file.Remove(kIconFile);
        changed |= file.Remove(kIconIndex);
    }
    const std::pair<EditMeasure, IniKey> single[] = {{kEditTip, kInfoTip},
                                                     {kEditImage, kImage},
                                                     {kEditTextColour, kTextColour},
                                                     {kEditFolderType, kFolderType},
                                                     {kEditFolderPicture, kLogo}};
    for (const auto& [measure, key] : single)
        if (edit.unset & measure)
            changed |= file.Remove(key);
    // [ViewState] left with nothing but the empty Mode and Vid it was made with goes whole.
    const std::wstring_view madeWith[] = {kMode.key, kVid.key};
    if ((edit.unset & (kEditFolderType | kEditFolderPicture)) &&
        file.HoldsOnlyEmpty(kViewState, madeWith)) {
        file.Remove(kMode);
        file.Remove(kVid);
        file.RemoveSectionIfEmpty(kViewState);
    }
    return {file.Bytes(), file.HasKeys(), changed || file.LostBytes()};
}

ReplaceResult EditFolder(const std::wstring& folder, const FolderEdit& edit) {
    // The read and the write are one writer's turn, as Apply's and restore's are: a restore
    // racing the edit can't slip between them.
    const WriterTurn turn(platform::ExtendedPath(platform::WithoutSeparator(folder)));
    if (turn.error())
        return {
            ReplaceStatus::Failed,
            {L"Could not edit the folder settings file.",
             platform::JoinPath(platform::WithoutSeparator(folder), kDesktopIni), turn.error()}};
    return EditFolder(folder, edit, turn);
}

ReplaceResult EditFolder(const std::wstring& folder, const FolderEdit& edit,
                         const WriterTurn& turn) {
    const std::wstring shownFolder = platform::WithoutSeparator(folder);
    const std::wstring shownIni = platform::JoinPath(shownFolder, kDesktopIni);
    const std::wstring ini = platform::ExtendedPath(shownIni);
    const DWORD attributes = ::GetFileAttributesW(platform::ExtendedPath(shownFolder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {ReplaceStatus::Failed,
                {L"Could not open the folder.", shownFolder, ::GetLastError()}};
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {ReplaceStatus::Failed, {L"Not a folder.", shownFolder, ERROR_DIRECTORY}};

    std::string old;
    DWORD lookError = ERROR_SUCCESS;
    const bool hasFile = IsFile(AttributesOf(ini, lookError));
    if (lookError)
        return {ReplaceStatus::Failed,
                {L"Could not read the existing folder settings file.", shownIni, lookError}};
    if (hasFile) {
        if (DWORD error = Retried([&] { return ReadWhole(ini, old); }, true))
            return {ReplaceStatus::Failed,
                    {L"Could not read the existing folder settings file.", shownIni, error}};
    }
    const EditedBytes edited = EditBytes(old, edit);
    // Nothing to take away: the file and its marks are left as they are.
    const bool setsValues = edit.icon || edit.tip || edit.image || edit.textColour ||
                            edit.folderType || edit.folderPicture;
    if ((!hasFile && !edited.hasKeys) || (hasFile && !setsValues && edited.bytes == old))
        return {ReplaceStatus::Replaced, {}};

    // What of the old file is kept, DecideOldFile answers from the file, its mark and this.
    const WriteKind kind{Writer::Edit, edited.changesValues, kEditKeys};
    if (!edited.hasKeys) {
        ReplaceResult result = DeleteDesktopIni(shownFolder, kind, turn);
        if (result.status != ReplaceStatus::Failed && OnlyVelquinLines(old, kEditKeys) &&
            !platform::IsRoot(shownFolder) && !HasBackup(shownFolder))
            UnmarkFolder(shownFolder);
        if (result.status != ReplaceStatus::Failed && (edit.unset & kEditIcon))
            DeleteStaleMadeIcons(shownFolder);
        return result;
    }
    ReplaceResult result = ReplaceDesktopIni(shownFolder, edited.bytes, kind, turn);
    if (result.status != ReplaceStatus::Failed && (edit.icon || (edit.unset & kEditIcon)))
        DeleteStaleMadeIcons(shownFolder);  // an earlier colour or picture nothing names now
    return result;
}

}  // namespace customise
