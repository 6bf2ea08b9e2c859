// The start-up anchors the bench starts beside velquin.exe, with the program's manifest as
// their only resource and statically linked like it.
//   velquin_bare_window          the main window written the plainest way: the same size,
//                                the same 28 controls of the same classes and styles at the
//                                same places (read from the program's own table), one font,
//                                no list filled, no tooltips, no colours
//   velquin_bare_window --empty  a bare window: one class, one window, its message loop
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "main_window/form1_layout.h"
#include "platform/ui/dpi_layout.h"
#include "platform/core/unique_handle.h"

namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr wchar_t kSameTitle[] = L"Velquin same window";
constexpr wchar_t kEmptyTitle[] = L"Velquin bare window";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

int Twips(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The program's own class and styles for each standard kind; its own controls written the
// plainest way: a group box for a frame, the lists as bare list and combo boxes.
void ClassOf(ControlKind kind, const wchar_t*& name, DWORD& style, DWORD& exStyle) {
    if (kind != ControlKind::Frame && platform::StandardControlClass(kind, name, style, exStyle))
        return;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    exStyle = 0;
    switch (kind) {
        case ControlKind::Frame:
            name = L"BUTTON";
            style |= BS_GROUPBOX;
            break;
        case ControlKind::DriveList:
            name = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            break;
        default:
            name = L"LISTBOX";
            style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
            exStyle = WS_EX_CLIENTEDGE;
            break;
    }
}

void CreateSameControls(HWND hwnd, UINT dpi, HFONT font) {
    auto table = main_window::Form1Controls();
    for (const ControlSpec& control : table) {
        int left = control.left, top = control.top;
        for (const ControlSpec& frame : table)
            if (frame.id == control.container) {
                left += frame.left;
                top += frame.top;
            }
        const wchar_t* name;
        DWORD style, exStyle;
        ClassOf(control.kind, name, style, exStyle);
        HWND child = ::CreateWindowExW(
            exStyle, name, control.text ? control.text : L"", style, Twips(left, dpi),
            Twips(top, dpi), Twips(control.width, dpi), Twips(control.height, dpi), hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), nullptr, nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    platform::UniqueLocal owner(argv);
    bool empty = argv && count > 1 && ::lstrcmpW(argv[1], L"--empty") == 0;

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelquinBareWindow";
    if (!::RegisterClassW(&wc))
        return 1;
    HWND hwnd = nullptr;
    if (empty) {
        hwnd =
            ::CreateWindowExW(0, wc.lpszClassName, kEmptyTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    } else {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
        UINT dpi = ::GetDpiForSystem();
        RECT r{0, 0, Twips(main_window::kForm1WidthTwips, dpi),
               Twips(main_window::kForm1HeightTwips, dpi)};
        ::AdjustWindowRectExForDpi(&r, kStyle, FALSE, 0, dpi);
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, kSameTitle, kStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr,
                                 nullptr, instance, nullptr);
        LOGFONTW lf{};
        lf.lfHeight = -::MulDiv(825, static_cast<int>(dpi), 7200);
        lf.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
        if (hwnd)
            CreateSameControls(hwnd, dpi, ::CreateFontIndirectW(&lf));
    }
    if (!hwnd)
        return 1;
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(hwnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
