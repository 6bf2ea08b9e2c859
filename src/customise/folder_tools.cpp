// The writes both front ends share: the ticked measures, the defaults, and the backup put
// back. Asking and reporting are the callers' business.
#include "customise/folder_tools.h"

#include "customise/file_steps.h"
#include "customise/ini_file.h"
#include "customise/in_place.h"
#include "customise/made_icon.h"
#include "platform/core/attributes.h"
#include "platform/core/error_text.h"
#include "platform/core/path_text.h"
#include "platform/core/scope_exit.h"
#include "platform/core/unique_handle.h"

namespace customise {
namespace {

constexpr DWORD kMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_ARCHIVE;

std::wstring BackupPath(const std::wstring& folder) {
    return platform::JoinPath(folder, std::wstring(kDesktopIni) + kBackupSuffix);
}

// Copying an icon in, the write and the clean-up of made icons are one writer's turn, so that
// another writer's clean-up can't delete an icon copied in here but not yet named.
WriterTurn FolderTurn(const std::wstring& folder) {
    return WriterTurn(platform::ExtendedPath(platform::WithoutSeparator(folder)));
}

ReplaceResult TurnRefused(const std::wstring& folder, DWORD error) {
    return {ReplaceStatus::Failed,
            {L"Could not write the folder settings file.", platform::JoinPath(folder, kDesktopIni),
             error}};
}

// Removes a file this call made, clearing the marks that would keep it.
void RemoveOwnFile(const std::wstring& path) {
    platform::DeleteMarkedFile(platform::ExtendedPath(path));
}

// A copy of the icon this call made goes again unless the write that names it is kept.
auto RemovedUnlessKept(const std::wstring& folder, const IconCopy& copy) {
    return platform::ScopeExit([&folder, &copy] {
        if (copy.created)
            RemoveOwnFile(platform::JoinPath(folder, copy.name));
    });
}

}  // namespace

ReplaceResult WriteCustomisation(const std::wstring& folder, const Customisation& values,
                                 bool keepIconCopy) {
    const WriterTurn turn = FolderTurn(folder);
    if (turn.error())
        return TurnRefused(folder, turn.error());
    Customisation written = values;
    IconCopy copy;
    if (keepIconCopy && values.icon) {
        copy = CopyIconIntoFolder(folder, values.icon->file);
        if (!copy.copied)
            return {ReplaceStatus::Failed, copy.failure};
        written.icon->file = copy.name;  // Windows reads a bare name relative to the folder
    }
    auto removeCopy = RemovedUnlessKept(folder, copy);
    ReplaceResult result =
        ReplaceDesktopIni(folder, EncodeLines(DesktopIniLines(written)), {}, turn);
    if (result.status != ReplaceStatus::Failed) {
        removeCopy.release();
        DeleteStaleMadeIcons(folder);  // an earlier colour or picture nothing names now
    }
    return result;
}

ReplaceResult EditFolderWithIconCopy(const std::wstring& folder, FolderEdit edit,
                                     const std::wstring& iconFile) {
    const WriterTurn turn = FolderTurn(folder);
    if (turn.error())
        return TurnRefused(folder, turn.error());
    const IconCopy copy = CopyIconIntoFolder(folder, iconFile);
    if (!copy.copied)
        return {ReplaceStatus::Failed, copy.failure};
    SetEditIcon(edit, copy.name, L"0");  // Windows reads a bare name relative to the folder
    auto removeCopy = RemovedUnlessKept(folder, copy);
    ReplaceResult result = EditFolder(folder, edit, turn);
    if (result.status != ReplaceStatus::Failed)
        removeCopy.release();
    return result;
}

std::optional<std::wstring> RefusedTargetFolder(const std::wstring& path) {
    if (path.empty())
        return L"The target folder is empty. Choose a folder from the lists or type its full "
               L"path.";
    if (!platform::IsFullPath(path))
        return L"The target folder must be a full path, such as C:\\Work\\.\r\n\r\n" + path;
    DWORD attributes = ::GetFileAttributesW(platform::ExtendedPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return platform::FailureText(L"The target folder could not be found.", path,
                                     ::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return platform::FailureText(L"The target folder is a file, not a folder.", path,
                                     ERROR_DIRECTORY);
    return std::nullopt;
}

ReplaceResult WriteDefaults(const std::wstring& folder) {
    const WriterTurn turn = FolderTurn(folder);
    if (turn.error())
        return TurnRefused(folder, turn.error());
    ReplaceResult result = ReplaceDesktopIni(folder, EncodeLines(DefaultLines()), {}, turn);
    if (result.status != ReplaceStatus::Failed)
        DeleteStaleMadeIcons(folder);  // the defaults name no icon: one made for the folder goes
    return result;
}

bool HasBackup(const std::wstring& folder) {
    return IsFile(::GetFileAttributesW(platform::ExtendedPath(BackupPath(folder)).c_str()));
}

// The whole restore is one writer's turn: no other Velquin reads desktop.ini between the
// moment it holds the backup's bytes and the backup's deletion (it would find the backup
// identical, keep no backup of its own, and replace the only other copy). The backup is
// held open, shared for reading only, from the read until it is deleted: no other program
// can change or replace it meanwhile, and the deletion through the handle removes exactly
// the file that was put back. Older backups kept under numbered names ("desktop.ini
// (2).bak"...) stay as they are: they are the user's to look at, and the next restore again
// takes desktop.ini.bak, the newest.
ReplaceResult RestoreDesktopIni(const std::wstring& folder) {
    const std::wstring backupPath = BackupPath(folder);
    const std::wstring extended = platform::ExtendedPath(backupPath);
    const std::wstring what = L"Could not restore the folder settings file from its backup.";
    WriterTurn turn(platform::ExtendedPath(platform::WithoutSeparator(folder)));
    if (turn.error())
        return {ReplaceStatus::Failed, {what, backupPath, turn.error()}};
    platform::UniqueFile backup;
    const DWORD openError = Retried(
        [&] {
            backup.reset(::CreateFileW(extended.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
            return backup ? ERROR_SUCCESS : ::GetLastError();
        },
        true);
    if (openError)
        return {ReplaceStatus::Failed, {what, backupPath, openError}};
    std::string bytes;
    if (DWORD error = ReadAll(backup.get(), bytes))
        return {ReplaceStatus::Failed, {what, backupPath, error}};
    // The marks the file had when it was kept: a read-only file comes back read-only.
    const std::optional<DWORD> marks = KeptAttributes(backup.get());

    // A desktop.ini of another tool's lines that differs from the backup is kept aside
    // under the next free numbered name, as a backup never destroys different content.
    ReplaceResult result = ReplaceDesktopIni(folder, bytes, {Writer::Restore}, turn);
    if (result.status == ReplaceStatus::Failed)
        return result;
    // Hidden and system, which the shell's own files carry, stay.
    const std::wstring ini =
        platform::ExtendedPath(platform::JoinPath(platform::WithoutSeparator(folder), kDesktopIni));
    const DWORD marked = ::GetFileAttributesW(ini.c_str());
    if (marks && marked != INVALID_FILE_ATTRIBUTES && (*marks & ~marked))
        platform::SetAttributes(ini, (marked & kMarks) | *marks);

    // A read-only backup can't be deleted: clear its marks first.
    platform::SetAttributes(extended, 0);
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!::SetFileInformationByHandle(backup.get(), FileDispositionInfo, &dispose,
                                      sizeof(dispose)) &&
        result.status == ReplaceStatus::Replaced) {
        result = {ReplaceStatus::ReplacedUnmarked,
                  {L"The folder settings file was restored, but its backup could not be removed.",
                   backupPath, ::GetLastError()}};
    }
    DeleteStaleMadeIcons(folder);  // a made icon only the replaced file named
    return result;
}

}  // namespace customise
