#include "platform/ui/window.h"

#include "platform/ui/dpi_layout.h"
#include "platform/ui/unexpected.h"

namespace platform {

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

Window::~Window() {
    if (hwnd_) {
        // The object dies first: unbind so late messages don't reach freed memory.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Window::RegisterOnce(const wchar_t* className, HBRUSH background, HICON icon,
                          UINT classStyle) {
    WNDCLASSEXW wc{};
    if (::GetClassInfoExW(ModuleInstance(), className, &wc))
        return;
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = ModuleInstance();
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
}

HWND Window::CreateBound(const wchar_t* className, const std::wstring& title, DWORD style,
                         DWORD exStyle, int x, int y, int width, int height, HWND parent) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height,
                                  parent, nullptr, ModuleInstance(), this);
    if (hwnd)
        dpi_ = WindowDpi(hwnd);
    return hwnd;
}

HWND Window::CreateCentred(const wchar_t* className, const std::wstring& title, DWORD style,
                           DWORD exStyle, SIZE clientTwips, HWND owner) {
    UINT dpi = WindowDpi(owner);
    RECT r = CentredWindowRect(clientTwips.cx, clientTwips.cy, style, exStyle, dpi, owner);
    if (!CreateBound(className, title, style, exStyle, r.left, r.top, r.right - r.left,
                     r.bottom - r.top, owner))
        return nullptr;
    if (dpi_ != dpi) {
        r = CentredWindowRect(clientTwips.cx, clientTwips.cy, style, exStyle, dpi_,
                              owner ? owner : hwnd_);
        ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return hwnd_;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ACTIVATE) {
        // A plain window forgets its focused control when deactivated; keep it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus))
                focus_ = focus;
        } else if (focus_ && ::IsChild(hwnd_, focus_)) {
            ::SetFocus(focus_);
        }
        return 0;
    }
    if (msg == WM_DPICHANGED) {
        // Windows' rectangle first, so the relayout sees the window at its new size.
        dpi_ = HIWORD(wParam);
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        OnDpiChanged();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException(hwnd);
        result = UnexpectedResult(hwnd, msg);
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->OnDestroyed();
        } catch (...) {
            ReportCurrentException(nullptr);
        }
    }
    return result;
}

}  // namespace platform
