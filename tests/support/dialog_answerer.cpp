#include "support/dialog_answerer.h"

#include "platform/ui/window.h"

namespace testsupport {
namespace {
DialogAnswerer* g_active = nullptr;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

// Answerers stack: the innermost answers while it lives, then the one it hides takes over
// again. One hook serves them all.
DialogAnswerer::DialogAnswerer() : outer_(g_active) {
    g_active = this;
    if (!outer_)
        hook_ = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
    if (hook_)
        ::UnhookWindowsHookEx(hook_);
    for (auto& [id, action] : timers_)
        ::KillTimer(nullptr, id);
    // Answerers end in the reverse order of their start (they live on the stack).
    if (g_active == this)
        g_active = outer_;
}

void DialogAnswerer::OnActivate(const std::wstring& className, std::function<void(HWND)> action) {
    actions_.push_back({className, std::move(action)});
}

LRESULT CALLBACK DialogAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    DialogAnswerer* self = g_active;
    if (self && code == HCBT_CREATEWND && self->failNext_) {
        auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        bool dialogClass =
            HIWORD(reinterpret_cast<ULONG_PTR>(create->lpcs->lpszClass)) == 0
                ? LOWORD(reinterpret_cast<ULONG_PTR>(create->lpcs->lpszClass)) == 0x8002
                : std::wstring(create->lpcs->lpszClass) == L"#32770";
        if (dialogClass) {
            self->failNext_ = false;
            return 1;  // refuse the creation: MessageBoxW returns 0
        }
    }
    if (self && code == HCBT_ACTIVATE) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        std::wstring cls = ClassName(hwnd);
        if (cls == L"#32770") {
            self->OnBoxActivated(hwnd);
        } else if (!self->actions_.empty() && self->actions_.front().className == cls) {
            auto action = std::move(self->actions_.front().action);
            self->actions_.pop_front();
            // Run it from the window's own message loop, not inside the hook.
            UINT_PTR id = ::SetTimer(nullptr, 0, 1, RunPending);
            self->timers_.push_back({id, [hwnd, action] { action(hwnd); }});
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogAnswerer::RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    // The timer may belong to an outer answerer.
    for (DialogAnswerer* self = g_active; self; self = self->outer_) {
        for (auto it = self->timers_.begin(); it != self->timers_.end(); ++it) {
            if (it->first == id) {
                auto action = std::move(it->second);
                self->timers_.erase(it);
                action();
                return;
            }
        }
    }
}

void DialogAnswerer::OnBoxActivated(HWND box) {
    // A box may be activated again (after another window); answer it once.
    for (HWND done : answered_)
        if (done == box)
            return;
    answered_.push_back(box);
    SeenBox seen;
    seen.title = platform::WindowText(box);
    bool hasNo = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::wstring cls = ClassName(child);
        LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Button") == 0 && (style & WS_VISIBLE)) {
            seen.buttons.push_back(platform::WindowText(child));
            if (::GetDlgCtrlID(child) == IDNO)
                hasNo = true;
        } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                if ((style & WS_VISIBLE) && ::SendMessageW(child, STM_GETICON, 0, 0))
                    seen.hasIcon = true;
            } else {
                std::wstring text = platform::WindowText(child);
                if (!text.empty())
                    seen.text = text;
            }
        }
    }
    seen_.push_back(seen);
    int answer = hasNo ? IDNO : IDOK;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
}

}  // namespace testsupport
