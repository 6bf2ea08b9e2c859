// A plain top-level window to hold the lists under test; it records the WM_COMMAND
// notifications its children send, as a form's handlers would receive them.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace listtest {

class ListHost {
  public:
    ListHost() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelquinListTestHost";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500,
                                  nullptr, nullptr, wc.hInstance, this);
    }
    ~ListHost() {
        if (::IsWindow(hwnd_))
            ::DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }
    void Destroy() { ::DestroyWindow(hwnd_); }

    // (control id, notification code) in arrival order.
    std::vector<std::pair<int, int>> commands;
    int Count(int id, int code) const {
        int n = 0;
        for (const auto& c : commands)
            n += c.first == id && c.second == code;
        return n;
    }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(
                                    reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ListHost*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && lParam)
            self->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

inline void MakeFolder(const std::wstring& path) {
    ::CreateDirectoryW(path.c_str(), nullptr);
}
inline void MakeFile(const std::wstring& path) {
    testsupport::WriteBytes(path, "x");
}

// Runs the thread's pending messages.
inline void Pump() {
    testsupport::PumpMessages();
}

inline const RECT kListRect{10, 10, 250, 300};

}  // namespace listtest
