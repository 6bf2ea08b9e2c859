// Base for the program's own window classes: the static window procedure finds the
// C++ object through GWLP_USERDATA and forwards every message to its members. What every
// top-level window does alike lives here once: creation centred at the right DPI, the move
// to a new DPI, and keeping the focused control across deactivation.
#pragma once

#include <windows.h>

#include <string>

#include "platform/core/module_path.h"

namespace platform {

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // The DPI the window is laid out for: its own since creation, the new one after a change.
    UINT Dpi() const { return dpi_; }

  protected:
    // Registers the class once per process; the procedure is this base's.
    static void RegisterOnce(const wchar_t* className, HBRUSH background, HICON icon,
                             UINT classStyle = 0);
    // Creates the window and binds it to this object; returns nullptr on failure.
    HWND CreateBound(const wchar_t* className, const std::wstring& title, DWORD style,
                     DWORD exStyle, int x, int y, int width, int height, HWND parent);
    // Creates a top-level window with a client area of `clientTwips`, centred on the work
    // area of the owner's monitor (the primary one without an owner). Should it land on a
    // monitor of another DPI than it was sized for, it is sized and centred again for that
    // one. Returns nullptr on failure, GetLastError saying why.
    HWND CreateCentred(const wchar_t* className, const std::wstring& title, DWORD style,
                       DWORD exStyle, SIZE clientTwips, HWND owner);

    // The default keeps the focused control across deactivation (WM_ACTIVATE), as a
    // dialog does, moves the window to the rectangle Windows suggests for a new DPI
    // (WM_DPICHANGED) and then calls OnDpiChanged, and passes everything else to
    // DefWindowProcW.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Lays the window out again for Dpi() after a DPI change: fonts, places, icons.
    virtual void OnDpiChanged() {}
    // The control that gets the focus when the window is next activated.
    void SetFocusOnActivate(HWND control) { focus_ = control; }
    // Called after WM_NCDESTROY; hwnd() is null by then.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

// The text of any window.
std::wstring WindowText(HWND hwnd);

}  // namespace platform
