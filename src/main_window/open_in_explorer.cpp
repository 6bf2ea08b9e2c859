#include "main_window/folder_commands.h"

#include <shellapi.h>

#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"
#include "platform/ui/ole_session.h"

namespace main_window {

void OpenInExplorer(HWND owner, const std::wstring& folder) {
    constexpr wchar_t kFailed[] = L"Could not open the folder in Explorer.";
    // The shell's own failure box would name no reason: check the folder first.
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_DIRECTORY;
        platform::ShowError(owner, platform::FailureText(kFailed, folder, error));
        return;
    }
    // Shell extensions that handle the verb may need COM on this thread; a failure to start it
    // is left to the shell call to report.
    platform::StartOle();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"explore";
    info.lpFile = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info))
        return;
    // A shell without the "explore" verb on folders still opens them.
    info.lpVerb = L"open";
    if (!::ShellExecuteExW(&info))
        platform::ShowError(owner, platform::FailureText(kFailed, folder, ::GetLastError()));
}

}  // namespace main_window
