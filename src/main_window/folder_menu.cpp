#include "main_window/folder_menu.h"

#include "customise/folder_tools.h"
#include "customise/in_place.h"
#include "customise/shell_notify.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"

namespace main_window {
namespace {

// The folder path text as the target folder's path, when it names a folder.
bool IsFolder(const std::wstring& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

UINT TypeCommand(int index) {
    return kFolderTypeFirst + 0x10 * static_cast<UINT>(index);
}

void ShowFailure(HWND owner, const customise::ReplaceResult& result) {
    if (result.status != customise::ReplaceStatus::Replaced)
        platform::ShowError(owner, platform::FailureText(result.failure.what, result.failure.path,
                                                         result.failure.error));
}

}  // namespace

HMENU FolderMenu::CreateTypesMenu() {
    HMENU types = ::CreatePopupMenu();
    for (int i = 0; types && i < kFolderTypeCount; ++i)
        ::AppendMenuW(types, MF_STRING, TypeCommand(i), customise::kFolderTypes[i]);
    return types;
}

void FolderMenu::Install(HWND window) {
    window_ = window;
    HMENU menu = ::GetSystemMenu(window, FALSE);
    types_ = CreateTypesMenu();
    if (!menu || !types_)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(types_), kFolderTypeMenuText);
    ::AppendMenuW(menu, MF_STRING, kRefreshExplorer, kRefreshMenuText);
}

UINT FolderMenu::CommandOf(UINT msg, WPARAM wParam) {
    UINT id = msg == WM_SYSCOMMAND ? static_cast<UINT>(wParam & 0xFFF0) : LOWORD(wParam);
    if (msg == WM_COMMAND && HIWORD(wParam) > 1)  // a control's notification
        return 0;
    if (id == kRefreshExplorer)
        return id;
    for (int i = 0; i < kFolderTypeCount; ++i)
        if (id == TypeCommand(i))
            return id;
    return 0;
}

void FolderMenu::Update(const std::wstring& folder) const {
    UpdateIn(::GetSystemMenu(window_, FALSE), types_, folder);
}

void FolderMenu::UpdateIn(HMENU menu, HMENU types, const std::wstring& folder) {
    if (!menu || !types)
        return;
    const bool usable = IsFolder(folder);
    // The submenu is found by its handle: its position depends on the items around it.
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i)
        if (::GetSubMenu(menu, i) == types)
            ::EnableMenuItem(menu, static_cast<UINT>(i),
                             MF_BYPOSITION | (usable ? MF_ENABLED : MF_GRAYED));
    for (int i = 0; i < kFolderTypeCount; ++i)
        ::CheckMenuItem(types, TypeCommand(i), MF_BYCOMMAND | MF_UNCHECKED);
    if (!usable)
        return;
    const customise::SettingsRead read = customise::ReadFolderSettings(folder);
    const wchar_t* current =
        read.ok ? customise::FolderTypeValue(read.settings.Value(customise::MeasureId::FolderType))
                : nullptr;
    for (int i = 0; i < kFolderTypeCount; ++i)
        if (current == customise::kFolderTypes[i])
            ::CheckMenuRadioItem(types, TypeCommand(0), TypeCommand(kFolderTypeCount - 1),
                                 TypeCommand(i), MF_BYCOMMAND);
}

void FolderMenu::Run(HWND owner, UINT command, const std::wstring& folder) {
    if (command == kRefreshExplorer) {
        ShowFailure(owner, customise::RefreshFolder(folder));
        return;
    }
    customise::FolderEdit edit;
    edit.folderType = customise::kFolderTypes[(command - kFolderTypeFirst) / 0x10];
    ShowFailure(owner, customise::EditFolder(folder, edit));
}

}  // namespace main_window
