// The folder list's right-click menu, also opened by Shift+F10 and the context-menu key: the
// window menu's folder commands for the folder under the pointer (or the highlighted row),
// with the window menu's ids and texts, so both menus come from the same tables.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "platform/core/unique_handle.h"

namespace main_window {

// The menu's commands in order; kFolderTypeFirst stands for the "Optimise Folder For" submenu.
std::span<const UINT> FolderListMenuCommands();

// The menu for `folder`: Restore greyed when it has nothing to restore, the submenu greyed
// when it is no folder and else its current type checked.
platform::UniqueMenu BuildFolderListMenu(const std::wstring& folder);

// The row a WM_CONTEXTMENU from `list` is about, and the screen point to open the menu at:
// the row under the pointer for a click (-1 off the rows), the highlighted row for the keys
// (whose message carries no point).
struct MenuPlace {
    long row;
    POINT at;
};
MenuPlace FolderListMenuPlace(HWND list, LPARAM point);

}  // namespace main_window
