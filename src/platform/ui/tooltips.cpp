#include "platform/ui/tooltips.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/ui/dpi_layout.h"

namespace platform {
namespace {

constexpr UINT_PTR kTipSubclass = 0x7117;
constexpr UINT_PTR kOwnerSubclass = 0x7118;
constexpr int kMaxTipWidth = 360;  // pixels at 96 DPI: long sentences wrap
constexpr int kGap = 2;            // pixels at 96 DPI between control and tip

UniqueFont TipFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return UniqueFont(::CreateFontIndirectW(&metrics.lfStatusFont));
    return CreateDefaultFont(dpi);
}

}  // namespace

Tooltips::~Tooltips() {
    if (owner_) {
        HWND tip = tip_;
        Detach();
        if (tip)
            ::DestroyWindow(tip);
    }
}

bool Tooltips::Attach(HWND window, std::span<const TooltipText> texts, TipsMade made) {
    owner_ = window;
    texts_ = texts;
    ::SetWindowSubclass(owner_, OwnerProc, kOwnerSubclass, reinterpret_cast<DWORD_PTR>(this));
    return made == TipsMade::OnFirstHover || Make();
}

HWND Tooltips::hwnd() const {
    if (!tip_ && owner_)
        const_cast<Tooltips*>(this)->Make();
    return tip_;
}

bool Tooltips::Make() {
    HWND window = owner_;
    tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
    if (!tip_)
        return false;
    ::SetWindowSubclass(tip_, TipProc, kTipSubclass, reinterpret_cast<DWORD_PTR>(this));
    for (const auto& entry : texts_) {
        HWND control = ::GetDlgItem(window, entry.id);
        if (!control)
            continue;
        AddTool(control, entry.text);
        // An editable combo box's field is a window of its own that gets the mouse.
        wchar_t cls[16] = {};
        ::GetClassNameW(control, cls, 16);
        if (::CompareStringOrdinal(cls, -1, WC_COMBOBOXW, -1, TRUE) == CSTR_EQUAL)
            if (HWND field = ::FindWindowExW(control, nullptr, WC_EDITW, nullptr))
                AddTool(field, entry.text);
    }
    ApplyDpi(WindowDpi(window));
    return true;
}

void Tooltips::AddTool(HWND control, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::ApplyDpi(UINT dpi) {
    // The new font goes in before the old one is freed.
    UniqueFont font = TipFont(dpi);
    ::SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);
    ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kMaxTipWidth * 15, dpi));
}

POINT Tooltips::Placement(const RECT& control, SIZE tip, const RECT& work, UINT dpi) {
    int gap = TwipsToPixels(kGap * 15, dpi);
    POINT p{control.left, control.bottom + gap};
    if (p.y + tip.cy > work.bottom)
        p.y = control.top - gap - tip.cy;
    if (p.y < work.top)  // taller than the room above and below: keep it on screen
        p.y = work.top;
    p.x = std::max<LONG>(work.left, std::min<LONG>(p.x, work.right - tip.cx));
    return p;
}

void Tooltips::KeepOffTool(WINDOWPOS& pos) const {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    if (!::SendMessageW(tip_, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
        return;
    HWND control = reinterpret_cast<HWND>(tool.uId);
    // The field of a combo box stands for the whole box.
    if (HWND parent = ::GetParent(control); parent && parent != owner_)
        control = parent;
    RECT r;
    if (!::GetWindowRect(control, &r))
        return;
    SIZE size{pos.cx, pos.cy};
    if (pos.flags & SWP_NOSIZE) {
        RECT now;
        ::GetWindowRect(tip_, &now);
        size = SIZE{now.right - now.left, now.bottom - now.top};
    }
    MONITORINFO info{sizeof(info)};
    RECT work{r.left, r.top, r.left + 1024, r.top + 768};
    if (::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;
    POINT p = Placement(r, size, work, WindowDpi(owner_));
    pos.x = p.x;
    pos.y = p.y;
}

void Tooltips::Detach() {
    if (tip_)
        ::RemoveWindowSubclass(tip_, TipProc, kTipSubclass);
    ::RemoveWindowSubclass(owner_, OwnerProc, kOwnerSubclass);
    tip_ = nullptr;
    owner_ = nullptr;
}

LRESULT CALLBACK Tooltips::TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<Tooltips*>(data);
    switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            // Wherever the tooltip control would put itself, it goes beside the control.
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOMOVE))
                self->KeepOffTool(*pos);
            break;
        }
        case WM_NCDESTROY:
            self->Detach();
            break;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Tooltips::OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<Tooltips*>(data);
    // The mouse over the window or any of its controls: the tips are wanted from now on.
    if (msg == WM_SETCURSOR && !self->tip_)
        self->Make();
    LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_DPICHANGED && self->tip_)
        self->ApplyDpi(HIWORD(wParam));
    else if (msg == WM_NCDESTROY)
        self->Detach();
    return result;
}

}  // namespace platform
