#include "main_window/folder_list_menu.h"

#include <windowsx.h>

#include <algorithm>

#include "main_window/folder_commands.h"
#include "main_window/folder_menu.h"
#include "main_window/system_menu.h"

namespace main_window {
namespace {

constexpr UINT kCommands[] = {kFolderColour,    kFolderTypeFirst, kShowSettings,
                              kRestoreSettings, kOpenInExplorer,  kRefreshExplorer};

}  // namespace

std::span<const UINT> FolderListMenuCommands() {
    return kCommands;
}

platform::UniqueMenu BuildFolderListMenu(const std::wstring& folder) {
    platform::UniqueMenu menu(::CreatePopupMenu());
    if (!menu)
        return menu;
    for (UINT command : kCommands) {
        if (command == kFolderTypeFirst) {
            HMENU types = FolderMenu::CreateTypesMenu();
            // Once appended, the submenu is the menu's to destroy.
            if (types && !::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(types),
                                        kFolderTypeMenuText))
                ::DestroyMenu(types);
            FolderMenu::UpdateIn(menu.get(), types, folder);
            continue;
        }
        // The window menu's text without its accelerator: the keys act on the target folder.
        const WindowMenuItem* item = FindWindowMenuItem(command);
        const wchar_t* text = item ? item->text : kRefreshMenuText;
        UINT flags = MF_STRING;
        if (command == kRestoreSettings && !CanRestore(folder))
            flags |= MF_GRAYED;
        ::AppendMenuW(menu.get(), flags, command, text);
    }
    return menu;
}

MenuPlace FolderListMenuPlace(HWND list, LPARAM point) {
    MenuPlace place{-1, {GET_X_LPARAM(point), GET_Y_LPARAM(point)}};
    if (point == -1) {
        LRESULT caret = ::SendMessageW(list, LB_GETCARETINDEX, 0, 0);
        if (caret == LB_ERR)
            caret = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
        RECT client{}, row{};
        ::GetClientRect(list, &client);
        place.at = {client.left, client.top};
        if (caret != LB_ERR && ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(caret),
                                              reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
            place.row = static_cast<long>(caret);
            // Below the row's start, kept inside the list when the row is scrolled away.
            place.at = {row.left + (row.bottom - row.top),
                        std::min(std::max(row.bottom, client.top), client.bottom)};
        }
        ::ClientToScreen(list, &place.at);
        return place;
    }
    POINT inside = place.at;
    ::ScreenToClient(list, &inside);
    LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
    if (!HIWORD(hit))
        place.row = static_cast<long>(LOWORD(hit));
    return place;
}

}  // namespace main_window
