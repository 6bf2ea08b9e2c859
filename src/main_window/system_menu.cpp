#include "main_window/system_menu.h"

#include <vector>

namespace main_window {
namespace {

// clang-format off
constexpr WindowMenuItem kItems[] = {
    {kChooseIcon,      L"Choose Icon from File...",             'I'},
    {kShowSettings,    L"Show Current Settings...",             'D'},
    {kRestoreSettings, L"Restore Previous Settings...",         'R'},
    {kOpenInExplorer,  L"Open Folder in Explorer",              'E'},
    {kKeepIconCopy,    L"Keep a Copy of the Icon in the Folder", 'K'},
    {kFolderColour,    L"Colour the Folder Icon...",             'L'},
};
// clang-format on

}  // namespace

std::span<const WindowMenuItem> WindowMenuItems() {
    return kItems;
}

const WindowMenuItem* FindWindowMenuItem(UINT command) {
    for (const auto& item : kItems)
        if (item.command == command)
            return &item;
    return nullptr;
}

std::wstring WindowMenuText(const WindowMenuItem& item) {
    return std::wstring(item.text) + L"\tCtrl+" + static_cast<wchar_t>(item.key);
}

WindowMenu::~WindowMenu() {
    if (window_ && ::IsWindow(window_))
        platform::SetWindowAccelerators(window_, nullptr);
}

void WindowMenu::Install(HWND window) {
    window_ = window;
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    std::vector<ACCEL> keys;
    for (const auto& item : kItems) {
        ::AppendMenuW(menu, MF_STRING, item.command, WindowMenuText(item).c_str());
        keys.push_back(ACCEL{FVIRTKEY | FCONTROL, item.key, static_cast<WORD>(item.command)});
    }
    accelerators_.reset(::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
    if (accelerators_)
        platform::SetWindowAccelerators(window, accelerators_.get());
}

UINT WindowMenu::CommandOf(UINT msg, WPARAM wParam) {
    UINT id = msg == WM_SYSCOMMAND ? static_cast<UINT>(wParam & 0xFFF0) : LOWORD(wParam);
    if (msg == WM_COMMAND && HIWORD(wParam) > 1)  // a control's notification
        return 0;
    for (const auto& item : kItems)
        if (item.command == id)
            return id;
    return 0;
}

void WindowMenu::SetRestoreEnabled(bool enabled) const {
    ::EnableMenuItem(::GetSystemMenu(window_, FALSE), kRestoreSettings,
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool WindowMenu::KeepIconCopy() const {
    UINT state = ::GetMenuState(::GetSystemMenu(window_, FALSE), kKeepIconCopy, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void WindowMenu::ToggleKeepIconCopy() const {
    ::CheckMenuItem(::GetSystemMenu(window_, FALSE), kKeepIconCopy,
                    MF_BYCOMMAND | (KeepIconCopy() ? MF_UNCHECKED : MF_CHECKED));
}

}  // namespace main_window
