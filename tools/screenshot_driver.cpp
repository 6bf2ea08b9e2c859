// Drives a running Velquin into the state a README screenshot shows, then returns so the
// caller can take the picture. Usage: screenshot_driver main|newfolder|icon|image
// Usage also: screenshot_driver menu|chooser (the window menu open; the icon chooser).
// Usage also: screenshot_driver colour (the Folder Colour window with Red and the "done" mark
// chosen).
// Velquin must have been started in the folder whose files the picker should list.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND WaitForWindow(const wchar_t* cls, const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        if (HWND hwnd = ::FindWindowW(cls, title))
            return hwnd;
        ::Sleep(50);
    }
    return nullptr;
}

// Control ids of the main window and the picker.
constexpr int kDir1 = 102, kCmdCurrDir = 105, kCmdImg = 122, kCmdIco = 123;
constexpr int kFile1 = 102;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* what = argc > 1 ? argv[1] : L"main";
    HWND form = WaitForWindow(L"VelquinForm1", nullptr);
    if (!form)
        return 1;
    if (!wcscmp(what, L"main"))
        return 0;
    if (!wcscmp(what, L"menu")) {
        // Alt+Space, as the user opens the window menu.
        ::SetForegroundWindow(form);
        ::PostMessageW(form, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
        return 0;
    }
    if (!wcscmp(what, L"chooser")) {
        constexpr WPARAM kChooseIcon = 0x1010;  // "Choose Icon from File..."
        ::PostMessageW(form, WM_SYSCOMMAND, kChooseIcon, 0);
        return WaitForWindow(L"VelquinIconChooser", nullptr) ? 0 : 1;
    }
    if (!wcscmp(what, L"colour")) {
        constexpr WPARAM kFolderColour = 0x1060;  // "Colour the Folder Icon..."
        constexpr UINT kSwatchSetSelection = WM_USER + 2;
        ::PostMessageW(form, WM_SYSCOMMAND, kFolderColour, 0);
        HWND window = WaitForWindow(L"VelquinFolderColour", nullptr);
        if (!window)
            return 1;
        ::SendMessageW(::GetDlgItem(window, 1102), kSwatchSetSelection, 7, 0);  // Red
        ::SendMessageW(::GetDlgItem(window, 1107), kSwatchSetSelection, 1, 0);  // Done
        return 0;
    }
    if (!wcscmp(what, L"foldermenu")) {
        // Shift+F10 on the folder list: its menu opens at the highlighted row.
        HWND list = ::GetDlgItem(form, kDir1);
        ::SetForegroundWindow(form);
        ::PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
        return 0;
    }
    if (!wcscmp(what, L"newfolder")) {
        ::PostMessageW(::GetDlgItem(form, kCmdCurrDir), BM_CLICK, 0, 0);
        return WaitForWindow(L"VelquinInputBox", nullptr) ? 0 : 1;
    }
    bool icon = !wcscmp(what, L"icon");
    ::PostMessageW(::GetDlgItem(form, icon ? kCmdIco : kCmdImg), BM_CLICK, 0, 0);
    HWND picker = WaitForWindow(L"VelquinMyForm", nullptr);
    if (!picker)
        return 1;
    ::Sleep(500);
    HWND files = ::GetDlgItem(picker, kFile1);
    // Click the first file, as the user would.
    ::SendMessageW(files, LB_SETCURSEL, 0, 0);
    ::SendMessageW(picker, WM_COMMAND, MAKEWPARAM(kFile1, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(files));
    return 0;
}
