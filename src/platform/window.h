// Base for the program's own window classes: the static window procedure finds the
// C++ object through GWLP_USERDATA and forwards every message to its members.
#pragma once

#include <windows.h>

#include <string>

#include "platform/module_path.h"

namespace platform {

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

  protected:
    // Registers the class once per process; the procedure is this base's.
    static void RegisterOnce(const wchar_t* className, HBRUSH background, HICON icon,
                             UINT classStyle = 0);
    // Creates the window and binds it to this object; returns nullptr on failure.
    HWND CreateBound(const wchar_t* className, const std::wstring& title, DWORD style,
                     DWORD exStyle, int x, int y, int width, int height, HWND parent);

    // The default keeps the focused control across deactivation (WM_ACTIVATE), as a
    // dialog does, and passes everything else to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The control that gets the focus when the window is next activated.
    void SetFocusOnActivate(HWND control) { focus_ = control; }
    // Called after WM_NCDESTROY; hwnd() is null by then.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;
};

// The text of any window.
std::wstring WindowText(HWND hwnd);

}  // namespace platform
