#include "platform/ui/accessible.h"

#include <mutex>
#include <unordered_map>

#include "platform/ui/ole_session.h"
#include "platform/core/unique_handle.h"

namespace platform {
namespace {

// What a control's objects share. The window may go while a screen reader still holds an
// object: then `alive` is false and the object answers that it is gone.
struct Hook {
    HWND hwnd = nullptr;
    std::wstring name;
    std::unique_ptr<AccessibleSource> source;
    bool alive = true;
};

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long child) {
    out->vt = VT_I4;
    out->lVal = child;
}

// Calls across the process edge must not throw: whatever a source throws ends here.
template <typename F>
HRESULT Guard(F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        return E_FAIL;
    }
}

class AccessibleControl final : public IAccessible {
  public:
    AccessibleControl(std::shared_ptr<Hook> hook, ComPtr<IAccessible> proxy)
        : hook_(std::move(hook)), proxy_(std::move(proxy)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (!left)
            delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible directly; no type library is offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Gone() ? CO_E_OBJNOTCONNECTED : proxy_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!Items())
                return proxy_->get_accChildCount(count);
            if (!count)
                return E_POINTER;
            *count = Items()->ItemCount();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!Items())
                return proxy_->get_accChild(child, out);
            if (!out)
                return E_POINTER;
            *out = nullptr;
            // Items are simple elements: their parent answers for them.
            return Index(child) >= 0 ? S_FALSE : E_INVALIDARG;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (IsSelf(child))
                return hook_->name.empty() ? proxy_->get_accName(child, name)
                                           : Text(hook_->name, name);
            long index = Index(child);
            return index < 0 ? proxy_->get_accName(child, name)
                             : Text(Items()->Item(index).name, name);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (Gone())
            return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) || !Items() ? proxy_->get_accValue(child, value) : Text({}, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (IsSelf(child)) {
                std::wstring own = hook_->source ? hook_->source->Description() : std::wstring();
                return own.empty() ? proxy_->get_accDescription(child, text) : Text(own, text);
            }
            long index = Index(child);
            return index < 0 ? proxy_->get_accDescription(child, text)
                             : Text(Items()->Item(index).description, text);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!role)
                return E_POINTER;
            if (IsSelf(child)) {
                long own = hook_->source ? hook_->source->Role() : 0;
                if (!own)
                    return proxy_->get_accRole(child, role);
                SetChild(role, own);
                return S_OK;
            }
            long index = Index(child);
            if (index < 0)
                return proxy_->get_accRole(child, role);
            SetChild(role, Items()->Item(index).role);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            long index = Index(child);
            if (index < 0)
                return proxy_->get_accState(child, state);
            if (!state)
                return E_POINTER;
            long bits = Items()->Item(index).state | STATE_SYSTEM_FOCUSABLE;
            if (::GetFocus() == hook_->hwnd && Items()->FocusedItem() == index)
                bits |= STATE_SYSTEM_FOCUSED;
            if (RECT r; !Items()->ItemRect(index, r))
                bits |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
            SetChild(state, bits);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (Gone())
            return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) || !Items() ? proxy_->get_accHelp(child, help) : Text({}, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return Gone() ? CO_E_OBJNOTCONNECTED : proxy_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        if (Gone())
            return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) || !Items() ? proxy_->get_accKeyboardShortcut(child, keys)
                                         : Text({}, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!Items())
                return proxy_->get_accFocus(focus);
            if (!focus)
                return E_POINTER;
            ::VariantInit(focus);
            if (::GetFocus() != hook_->hwnd)
                return S_FALSE;
            long index = Items()->FocusedItem();
            SetChild(focus, index >= 0 ? index + 1 : CHILDID_SELF);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!Items())
                return proxy_->get_accSelection(selection);
            if (!selection)
                return E_POINTER;
            ::VariantInit(selection);
            long index = Items()->SelectedItem();
            if (index < 0)
                return S_FALSE;
            SetChild(selection, index + 1);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            long index = Index(child);
            return index < 0 ? proxy_->get_accDefaultAction(child, action)
                             : Text(Items()->Item(index).defaultAction, action);
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            long index = Index(child);
            if (index < 0)
                return proxy_->accSelect(flags, child);
            if (flags & SELFLAG_TAKEFOCUS)
                ::SetFocus(hook_->hwnd);
            if (flags & SELFLAG_TAKESELECTION)
                Items()->SelectItem(index);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            long index = Index(child);
            if (index < 0)
                return proxy_->accLocation(left, top, width, height, child);
            if (!left || !top || !width || !height)
                return E_POINTER;
            RECT r{};
            if (!Items()->ItemRect(index, r))
                return S_FALSE;
            ::MapWindowPoints(hook_->hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            if (!Items())
                return proxy_->accNavigate(direction, start, end);
            if (!end)
                return E_POINTER;
            ::VariantInit(end);
            long count = Items()->ItemCount();
            long target = -1;
            if (IsSelf(start)) {
                if (direction == NAVDIR_FIRSTCHILD)
                    target = 0;
                else if (direction == NAVDIR_LASTCHILD)
                    target = count - 1;
                else
                    return proxy_->accNavigate(direction, start, end);
            } else {
                long index = Index(start);
                if (index < 0)
                    return E_INVALIDARG;
                if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN ||
                    direction == NAVDIR_RIGHT)
                    target = index + 1;
                else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP ||
                         direction == NAVDIR_LEFT)
                    target = index - 1;
            }
            if (target < 0 || target >= count)
                return S_FALSE;
            SetChild(end, target + 1);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            HRESULT hr = proxy_->accHitTest(x, y, hit);
            if (!Items() || hr != S_OK || hit->vt != VT_I4 || hit->lVal != CHILDID_SELF)
                return hr;
            POINT p{x, y};
            ::ScreenToClient(hook_->hwnd, &p);
            long index = Items()->ItemAt(p);
            if (index >= 0)
                SetChild(hit, index + 1);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Guard([&]() -> HRESULT {
            if (Gone())
                return CO_E_OBJNOTCONNECTED;
            long index = Index(child);
            if (index < 0)
                return proxy_->accDoDefaultAction(child);
            if (Items()->Item(index).defaultAction.empty())
                return DISP_E_MEMBERNOTFOUND;
            Items()->DoDefaultAction(index);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Gone() ? CO_E_OBJNOTCONNECTED : proxy_->put_accValue(child, value);
    }

  private:
    ~AccessibleControl() = default;

    bool Gone() const { return !hook_->alive || !proxy_; }
    AccessibleSource* Items() const {
        return hook_->source && hook_->source->HasItems() ? hook_->source.get() : nullptr;
    }
    static bool IsSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }
    // The item a child id names, -1 for the control itself or an id out of range.
    long Index(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal <= 0 || !Items())
            return -1;
        return child.lVal <= Items()->ItemCount() ? child.lVal - 1 : -1;
    }

    ULONG refs_ = 1;
    std::shared_ptr<Hook> hook_;
    ComPtr<IAccessible> proxy_;
};

LRESULT ClientObject(const std::shared_ptr<Hook>& hook, WPARAM wParam) {
    ComPtr<IAccessible> proxy;
    if (FAILED(::CreateStdAccessibleObject(hook->hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                           proxy.put_void())))
        return 0;
    // The object is handed out through COM's marshalling, which needs COM on this thread.
    if (FAILED(StartOle()))
        return 0;
    const ComPtr<IAccessible> object(new AccessibleControl(hook, std::move(proxy)));
    return ::LresultFromObject(__uuidof(IAccessible), wParam, object.get());
}

// The hooked controls, each with the procedure it had. A window procedure of our own in
// front of the control's keeps the look-up in the process: a comctl32 subclass looks its
// hooks up as a window property on every message, a wineserver round trip under Wine, and
// the named controls take many messages while a window first shows.
struct Hooked {
    WNDPROC previous = nullptr;
    std::shared_ptr<Hook> hook;
};
std::mutex g_hooksLock;
std::unordered_map<HWND, Hooked>& Hooks() {
    static std::unordered_map<HWND, Hooked> hooks;
    return hooks;
}

LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    Hooked hooked;
    {
        std::lock_guard lock(g_hooksLock);
        auto found = Hooks().find(hwnd);
        if (found == Hooks().end())
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        hooked = found->second;
        // The control goes: its own procedure still takes this last message below.
        if (msg == WM_NCDESTROY)
            Hooks().erase(found);
    }
    try {
        if (msg == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT &&
            hooked.hook->alive) {
            if (LRESULT result = ClientObject(hooked.hook, wParam))
                return result;
        }
    } catch (...) {
        // No object then: the system's proxy answers instead.
    }
    if (msg == WM_NCDESTROY) {
        hooked.hook->alive = false;
        hooked.hook->source.reset();
    }
    return ::CallWindowProcW(hooked.previous, hwnd, msg, wParam, lParam);
}

Hook* FoundHook(HWND control) {
    std::lock_guard lock(g_hooksLock);
    auto found = Hooks().find(control);
    return found == Hooks().end() ? nullptr : found->second.hook.get();
}

Hook* HookOf(HWND control) {
    if (Hook* found = FoundHook(control))
        return found;
    // Only the control's own thread may replace its procedure, and nothing runs on it
    // between the replacement and the entry that serves it.
    DWORD process = 0;
    if (::GetWindowThreadProcessId(control, &process) != ::GetCurrentThreadId())
        return nullptr;
    auto hook = std::make_shared<Hook>();
    hook->hwnd = control;
    std::lock_guard lock(g_hooksLock);
    Hooked& entry = Hooks()[control];
    entry.hook = hook;
    entry.previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc)));
    if (!entry.previous) {
        Hooks().erase(control);
        return nullptr;
    }
    return hook.get();
}

void Notify(DWORD event, HWND control, long index) {
    ::NotifyWinEvent(event, control, OBJID_CLIENT, index < 0 ? CHILDID_SELF : index + 1);
}

}  // namespace

AccessibleItem AccessibleSource::Item(long) const {
    return {};
}
bool AccessibleSource::ItemRect(long, RECT&) const {
    return false;
}
long AccessibleSource::ItemAt(POINT point) const {
    for (long i = 0, count = ItemCount(); i < count; ++i)
        if (RECT r; ItemRect(i, r) && ::PtInRect(&r, point))
            return i;
    return -1;
}

void SetAccessibleName(HWND control, const std::wstring& name) {
    if (!control)
        return;
    if (Hook* hook = HookOf(control); hook && hook->name != name) {
        bool renamed = !hook->name.empty();
        hook->name = name;
        if (renamed)
            Notify(EVENT_OBJECT_NAMECHANGE, control, -1);
    }
    // An editable combo box's focus is in its edit field: that field says the same.
    COMBOBOXINFO combo{sizeof combo};
    if (::GetComboBoxInfo(control, &combo) && combo.hwndItem && combo.hwndItem != control)
        SetAccessibleName(combo.hwndItem, name);
}

void SetAccessibleSource(HWND control, std::unique_ptr<AccessibleSource> source) {
    if (Hook* hook = control ? HookOf(control) : nullptr)
        hook->source = std::move(source);
}

std::wstring AccessibleNameOf(HWND control) {
    Hook* hook = FoundHook(control);
    return hook ? hook->name : std::wstring();
}

void NotifyAccessibleFocus(HWND control, long index) {
    Notify(EVENT_OBJECT_FOCUS, control, index);
}
void NotifyAccessibleSelection(HWND control, long index) {
    Notify(EVENT_OBJECT_SELECTION, control, index);
}
void NotifyAccessibleNameChange(HWND control, long index) {
    Notify(EVENT_OBJECT_NAMECHANGE, control, index);
}
void NotifyAccessibleDescriptionChange(HWND control, long index) {
    Notify(EVENT_OBJECT_DESCRIPTIONCHANGE, control, index);
}
void NotifyAccessibleStateChange(HWND control, long index) {
    Notify(EVENT_OBJECT_STATECHANGE, control, index);
}

}  // namespace platform
