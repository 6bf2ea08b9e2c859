// The window menu's folder items for Windows 10/11: "Optimise Folder For" (the shell's
// folder types, as radio items) and "Refresh Explorer's View of the Folder". Both act on the
// target folder at once, without a question; a failure gets the usual message.
#pragma once

#include <windows.h>

#include <string>

namespace main_window {

// Command ids: multiples of 16 (WM_SYSCOMMAND keeps the low four bits), apart from the other
// window menu items'.
enum FolderMenuCommand : UINT {
    kFolderTypeFirst = 0x1100,  // + 0x10 per type, in customise::kFolderTypes order
    kRefreshExplorer = 0x1160,
};
inline constexpr int kFolderTypeCount = 5;
inline constexpr wchar_t kFolderTypeMenuText[] = L"Optimise Folder For";
inline constexpr wchar_t kRefreshMenuText[] = L"Refresh Explorer's View of the Folder";

class FolderMenu {
  public:
    // Adds a separator, the submenu and the refresh item to window's menu.
    void Install(HWND window);
    // The command a WM_SYSCOMMAND or WM_COMMAND wParam names, or 0 when it is none of these.
    static UINT CommandOf(UINT msg, WPARAM wParam);
    // Called when the menu opens: the submenu is greyed when folder (the target folder path
    // text) is not a folder, else its current type is checked (none when it has none).
    void Update(const std::wstring& folder) const;
    // The same for a menu of another window that holds `types` (made by CreateTypesMenu).
    static void UpdateIn(HMENU menu, HMENU types, const std::wstring& folder);
    // A new "Optimise Folder For" submenu: the shell's folder types as radio items.
    static HMENU CreateTypesMenu();
    // Runs the command on folder; owner shows the message of a failure.
    static void Run(HWND owner, UINT command, const std::wstring& folder);

    HMENU Types() const { return types_; }

  private:
    HWND window_ = nullptr;
    HMENU types_ = nullptr;  // owned by the window menu once inserted
};

}  // namespace main_window
