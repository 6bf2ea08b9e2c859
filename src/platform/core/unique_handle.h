// Owning wrappers for Win32 handles and COM interfaces: every handle the program
// creates is released by exactly one destructor. The owners of a window's DC and of a
// paint are the window layer's (platform/ui/dc.h).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace platform {

// Traits supply the handle type, its "none" value and how to close it.
template <typename Traits>
class UniqueHandle {
  public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type h) noexcept : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Valid(h_); }
    Type release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    // For functions that hand out a new handle through an out-parameter.
    Type* put() noexcept {
        reset();
        return &h_;
    }
    void reset(Type h = Traits::Invalid()) noexcept {
        if (Valid(h_))
            Traits::Close(h_);
        h_ = h;
    }

  private:
    // Traits whose handles have two "none" values (files) say which handles are real.
    static bool Valid(Type h) noexcept {
        if constexpr (requires(Type x) { Traits::Valid(x); })
            return Traits::Valid(h);
        else
            return h != Traits::Invalid();
    }

    Type h_ = Traits::Invalid();
};

// CreateFileW fails with INVALID_HANDLE_VALUE, most other kernel calls with null.
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) noexcept { return h && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
template <typename T>
struct GdiTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::GlobalFree(h); }
};
struct HookTraits {
    using Type = HHOOK;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::UnhookWindowsHookEx(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};
struct AccelTraits {
    using Type = HACCEL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyAcceleratorTable(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyMenu(h); }
};
// A memory DC (CreateCompatibleDC): GDI alone, no window. A window's DC is the window
// layer's (platform/ui/dc.h).
struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};
// Memory the system allocated for us (FormatMessageW, CommandLineToArgvW).
struct LocalTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::LocalFree(h); }
};

using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueFont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiTraits<HPEN>>;
using UniqueRegion = UniqueHandle<GdiTraits<HRGN>>;
using UniqueBitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueGlobal = UniqueHandle<GlobalTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueAccel = UniqueHandle<AccelTraits>;
using UniqueLocal = UniqueHandle<LocalTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
// A string COM's allocator gave us (SHGetKnownFolderPath, IShellItem::GetDisplayName).
struct CoTaskStringTraits {
    using Type = wchar_t*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { ::CoTaskMemFree(p); }
};

using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueCoTaskString = UniqueHandle<CoTaskStringTraits>;

// A COM interface pointer that releases its reference.
template <typename I>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller holds (a new object's first).
    explicit ComPtr(I* owned) noexcept : p_(owned) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For functions that hand out a new reference through an out-parameter.
    I** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset(I* p = nullptr) noexcept {
        if (p_)
            p_->Release();
        p_ = p;
    }

  private:
    I* p_ = nullptr;
};

}  // namespace platform
