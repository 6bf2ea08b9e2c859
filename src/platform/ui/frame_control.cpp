#include "platform/ui/frame_control.h"

#include <string>

#include "platform/ui/dc.h"
#include "platform/ui/unexpected.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window.h"

namespace platform {
namespace {

constexpr int kFontSlot = 0;  // window extra bytes hold the font set by WM_SETFONT

void Paint(HWND hwnd, HDC dc) {
    HWND parent = ::GetParent(hwnd);
    HFONT font = reinterpret_cast<HFONT>(::GetWindowLongPtrW(hwnd, kFontSlot));
    SelectedObject fontIn(dc, font);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    if (!brush)
        brush = ::GetSysColorBrush(COLOR_BTNFACE);

    RECT client;
    ::GetClientRect(hwnd, &client);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    RECT border = client;
    border.top += tm.tmHeight / 2;
    ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

    std::wstring caption = WindowText(hwnd);
    if (!caption.empty()) {
        UINT dpi = ::GetDpiForWindow(hwnd);
        int indent = ::MulDiv(8, dpi ? static_cast<int>(dpi) : 96, 96);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT label{indent, 0, indent + size.cx + 2, tm.tmHeight};
        ::FillRect(dc, &label, brush);
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label,
                    DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
    }
}

LRESULT FrameMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_SETFONT:
            ::SetWindowLongPtrW(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam))
                ::InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return ::GetWindowLongPtrW(hwnd, kFontSlot);
        case WM_SETTEXT: {
            LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;  // the caption's own brush is all that is painted
        case WM_PAINT: {
            PaintDc dc(hwnd);
            if (dc)
                Paint(hwnd, dc.get());
            return 0;
        }
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return FrameMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException(::GetAncestor(hwnd, GA_ROOT));
        return UnexpectedResult(hwnd, msg);
    }
}

}  // namespace

void RegisterFrameClass() {
    WNDCLASSEXW wc{sizeof(wc)};
    if (::GetClassInfoExW(ModuleInstance(), kFrameClass, &wc))
        return;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FrameProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = ModuleInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassExW(&wc);
}

}  // namespace platform
