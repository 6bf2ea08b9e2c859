// Reads windows as a screen reader does: through AccessibleObjectFromWindow and IAccessible,
// which send the controls WM_GETOBJECT. Also records the events a screen reader hears.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/core/unique_handle.h"

namespace testsupport {

inline platform::ComPtr<IAccessible> ClientObject(HWND hwnd) {
    platform::ComPtr<IAccessible> object;
    ::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 object.put_void());
    return object;
}

inline VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text property of the object (child 0) or of its item `child`; empty when it has none.
template <typename Getter>
std::wstring ReadText(IAccessible* object, long child, Getter getter) {
    BSTR text = nullptr;
    if (!object || FAILED((object->*getter)(Child(child), &text)) || !text)
        return {};
    std::wstring result(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return result;
}
inline std::wstring NameOf(IAccessible* o, long child = CHILDID_SELF) {
    return ReadText(o, child, &IAccessible::get_accName);
}
inline std::wstring DescriptionOf(IAccessible* o, long child = CHILDID_SELF) {
    return ReadText(o, child, &IAccessible::get_accDescription);
}
inline std::wstring DefaultActionOf(IAccessible* o, long child = CHILDID_SELF) {
    return ReadText(o, child, &IAccessible::get_accDefaultAction);
}
inline long IntOf(IAccessible* o, long child,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, VARIANT*)) {
    VARIANT v;
    ::VariantInit(&v);
    if (!o || FAILED((o->*getter)(Child(child), &v)) || v.vt != VT_I4)
        return -1;
    return v.lVal;
}
inline long RoleOf(IAccessible* o, long child = CHILDID_SELF) {
    return IntOf(o, child, &IAccessible::get_accRole);
}
inline long StateOf(IAccessible* o, long child = CHILDID_SELF) {
    return IntOf(o, child, &IAccessible::get_accState);
}
inline long ChildCountOf(IAccessible* o) {
    long count = -1;
    if (o)
        o->get_accChildCount(&count);
    return count;
}
inline std::wstring NameOf(HWND hwnd) {
    return NameOf(ClientObject(hwnd).get());
}

// The controls of a window that Tab reaches (visible, tab stops), in z-order.
inline std::vector<HWND> FocusableControls(HWND window) {
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongW(child, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE)) ==
            (WS_TABSTOP | WS_VISIBLE))
            controls.push_back(child);
    return controls;
}

// Records the focus, selection, name and description events of one window's controls, as a
// screen reader's in-process hook hears them (delivered while messages are pumped).
class WinEvents {
  public:
    WinEvents() {
        current_ = this;
        hook_ = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, Proc,
                                  ::GetCurrentProcessId(), ::GetCurrentThreadId(),
                                  WINEVENT_OUTOFCONTEXT);
    }
    ~WinEvents() {
        if (hook_)
            ::UnhookWinEvent(hook_);
        current_ = nullptr;
    }
    WinEvents(const WinEvents&) = delete;
    WinEvents& operator=(const WinEvents&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // (event, window, child id) in arrival order.
    std::vector<std::tuple<DWORD, HWND, long>> seen;
    bool Saw(DWORD event, HWND hwnd, long child) const {
        for (const auto& [e, h, c] : seen)
            if (e == event && h == hwnd && c == child)
                return true;
        return false;
    }

  private:
    static void CALLBACK Proc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD) {
        if (current_ && object == OBJID_CLIENT)
            current_->seen.emplace_back(event, hwnd, child);
    }
    static inline WinEvents* current_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace testsupport
