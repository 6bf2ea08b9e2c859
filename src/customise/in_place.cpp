#include "customise/in_place.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "customise/folder_tools.h"
#include "customise/ini_edit.h"
#include "customise/made_icon.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"

namespace customise {
namespace {

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
        platform::SetAttributes(extended,
                                attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
}

}  // namespace

void SetEditIcon(FolderEdit& edit, std::wstring file, std::wstring index) {
    edit.icon = IconChoice{std::move(file), std::move(index)};
}

std::optional<std::wstring> RefusedEdit(const FolderEdit& edit) {
    if (auto refused = RefusedValue(edit))
        return refused;
    if (edit.icon && edit.icon->file.empty())
        return L"The icon file path must not be empty.";
    for (const auto& row : Measures())
        if (auto refused = row.refused(edit))
            return refused;
    return std::nullopt;
}

EditedBytes EditBytes(const std::string& old, const FolderEdit& edit) {
    IniEditor file(old);
    bool changed = false;
    for (const auto& row : Measures()) {
        const std::optional<std::wstring> value = WrittenValue(row, edit);
        if (!value)
            continue;
        // Windows' Customize tab writes Mode and Vid, empty, when it makes [ViewState].
        if (row.key.section == kViewState && !file.HasSection(kViewState)) {
            const std::wstring mode = std::wstring(kModeKey.key) + L"=";
            const std::wstring vid = std::wstring(kVidKey.key) + L"=";
            const std::wstring_view lines[] = {mode, vid};
            file.AddSection(kViewState, lines);
        }
        changed |= SetValue(file, row.key, *value);
        if (row.id == MeasureId::Icon) {  // lines of an older writer follow the new icon
            changed |= ReplaceValue(file, kIconFileKey, edit.icon->file);
            changed |= ReplaceValue(file, kIconIndexKey, edit.icon->index);
        }
    }

    bool viewStateUnset = false;
    for (const auto& row : Measures()) {
        if (!(edit.unset & MeasureBit(row.id)))
            continue;
        changed |= file.Remove(row.key);
        if (row.id == MeasureId::Icon) {
            changed |= file.Remove(kIconFileKey);
            changed |= file.Remove(kIconIndexKey);
        }
        viewStateUnset |= row.key.section == kViewState;
    }
    // [ViewState] left with nothing but the empty Mode and Vid it was made with goes whole.
    const std::wstring_view madeWith[] = {kModeKey.key, kVidKey.key};
    if (viewStateUnset && file.HoldsOnlyEmpty(kViewState, madeWith)) {
        file.Remove(kModeKey);
        file.Remove(kVidKey);
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
    bool setsValues = false;
    for (const auto& row : Measures())
        setsValues |= IsGiven(row, edit);
    if ((!hasFile && !edited.hasKeys) || (hasFile && !setsValues && edited.bytes == old))
        return {ReplaceStatus::Replaced, {}};

    // What of the old file is kept, DecideOldFile answers from the file, its mark and this.
    const WriteKind kind{Writer::Edit, edited.changesValues, EditKeys()};
    if (!edited.hasKeys) {
        ReplaceResult result = DeleteDesktopIni(shownFolder, kind, turn);
        if (result.status != ReplaceStatus::Failed && OnlyVelquinLines(old, EditKeys()) &&
            !platform::IsRoot(shownFolder) && !HasBackup(shownFolder))
            UnmarkFolder(shownFolder);
        if (result.status != ReplaceStatus::Failed && (edit.unset & MeasureBit(MeasureId::Icon)))
            DeleteStaleMadeIcons(shownFolder);
        return result;
    }
    ReplaceResult result = ReplaceDesktopIni(shownFolder, edited.bytes, kind, turn);
    if (result.status != ReplaceStatus::Failed &&
        (edit.icon || (edit.unset & MeasureBit(MeasureId::Icon))))
        DeleteStaleMadeIcons(shownFolder);  // an earlier colour or picture nothing names now
    return result;
}

}  // namespace customise
