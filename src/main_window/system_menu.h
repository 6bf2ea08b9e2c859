// The main window's own commands in its window menu (Alt+Space), below a separator, each
// with its accelerator key shown in the menu and working from anywhere in the window.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "platform/ui/accelerators.h"
#include "platform/core/unique_handle.h"

namespace main_window {

// Window menu command ids: multiples of 16, below the system's own (0xF000 and up), since
// WM_SYSCOMMAND keeps its low four bits for itself.
enum WindowMenuCommand : UINT {
    kChooseIcon = 0x1010,
    kShowSettings = 0x1020,
    kRestoreSettings = 0x1030,
    kOpenInExplorer = 0x1040,
    kKeepIconCopy = 0x1050,
    kFolderColour = 0x1060,
};

struct WindowMenuItem {
    UINT command;
    const wchar_t* text;
    WORD key;  // virtual key pressed with Ctrl
};
// In menu order.
std::span<const WindowMenuItem> WindowMenuItems();
// The item of `command`, nullptr when it is none of the window menu's.
const WindowMenuItem* FindWindowMenuItem(UINT command);
// The item's text with its accelerator after a tab, as the menu shows it.
std::wstring WindowMenuText(const WindowMenuItem& item);

class WindowMenu {
  public:
    WindowMenu() = default;
    ~WindowMenu();
    WindowMenu(const WindowMenu&) = delete;
    WindowMenu& operator=(const WindowMenu&) = delete;

    // Adds the items to window's menu and registers their accelerators.
    void Install(HWND window);
    // The command a WM_SYSCOMMAND or WM_COMMAND wParam names, or 0 when it is none of ours.
    static UINT CommandOf(UINT msg, WPARAM wParam);

    // Greys "Restore Previous Settings..." when there is nothing to restore.
    void SetRestoreEnabled(bool enabled) const;
    bool KeepIconCopy() const;
    void ToggleKeepIconCopy() const;

  private:
    HWND window_ = nullptr;
    platform::UniqueAccel accelerators_;
};

}  // namespace main_window
