#include "main_window/folder_commands.h"

#include "customise/folder_tools.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"

namespace main_window {
namespace {

constexpr wchar_t kRestoreTitle[] = L"Restore Previous Settings";

// The folder must be named before anything is read or restored.
bool Named(HWND owner, const std::wstring& folder) {
    if (!folder.empty())
        return true;
    platform::ShowError(owner,
                        L"The target folder is empty. Choose a folder from the lists or "
                        L"type its full path.");
    return false;
}

}  // namespace

void ShowCurrentSettings(HWND owner, const std::wstring& folder) {
    if (!Named(owner, folder))
        return;
    customise::SettingsRead read = customise::ReadFolderSettings(folder);
    if (!read.ok) {
        const customise::FileFailure& f = read.failure;
        platform::ShowError(
            owner, platform::FailureText(f.what, f.path.empty() ? folder : f.path, f.error));
        return;
    }
    platform::ShowMessage(owner, customise::SettingsText(read.settings), folder,
                          MB_OK | MB_ICONINFORMATION);
}

bool CanRestore(const std::wstring& folder) {
    return !folder.empty() && customise::HasBackup(folder);
}

void RestorePreviousSettings(HWND owner, const std::wstring& folder) {
    if (!Named(owner, folder))
        return;
    if (!customise::HasBackup(folder)) {
        platform::ShowError(
            owner, platform::FailureText(L"This folder has no previous settings to restore.",
                                         folder, ERROR_FILE_NOT_FOUND));
        return;
    }
    std::wstring question = L"Put the folder's previous settings back?\r\n\r\n" + folder +
                            L"\r\n\r\nThe saved desktop.ini.bak replaces its desktop.ini.";
    if (platform::ShowMessage(owner, question, kRestoreTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    customise::ReplaceResult result = customise::RestoreDesktopIni(folder);
    if (result.status == customise::ReplaceStatus::Replaced)
        return;
    const customise::FileFailure& f = result.failure;
    platform::ShowError(owner,
                        platform::FailureText(f.what, f.path.empty() ? folder : f.path, f.error));
}

}  // namespace main_window
