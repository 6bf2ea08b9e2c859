#include "platform/ui/control_table.h"

#include <uxtheme.h>

#include "platform/ui/accessible.h"

namespace platform {

bool CreateTableControls(HWND parent, std::span<const ControlSpec> table, UINT dpi,
                         OwnControls& own, CheckBoxLook checkBoxes) {
    const wchar_t* className = nullptr;
    DWORD style = 0, exStyle = 0;
    for (const ControlSpec* control : CreationOrder(table)) {
        if (!StandardControlClass(control->kind, className, style, exStyle)) {
            if (!own.CreateOwnControl(parent, *control, ControlRect(table, *control, dpi), dpi))
                return false;
        } else {
            HWND child = CreateStandardControl(parent, table, *control, dpi);
            if (!child)
                return false;
            // Classic drawing honours the parent's colours; themed parts don't.
            if (control->kind == ControlKind::CheckBox && checkBoxes == CheckBoxLook::Classic)
                ::SetWindowTheme(child, L"", L"");
        }
        if (control->accessibleName)
            SetAccessibleName(::GetDlgItem(parent, control->id), control->accessibleName);
    }
    return true;
}

void ApplyTableFonts(HWND parent, std::span<const ControlSpec> table, TableFonts fresh,
                     TableFonts& held) {
    for (const auto& control : table) {
        HFONT font = control.kind == ControlKind::Frame && fresh.frame ? fresh.frame.get()
                                                                       : fresh.text.get();
        ::SendMessageW(::GetDlgItem(parent, control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                       FALSE);
    }
    // The controls hold the new fonts now: only then may the old ones go.
    held = std::move(fresh);
}

namespace {

// True when `child` already covers `r` in its parent: moving it would only cost messages.
bool PlacedAt(HWND child, const RECT& r) {
    RECT now;
    if (!::GetWindowRect(child, &now))
        return false;
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&now), 2);
    return ::EqualRect(&now, &r) != FALSE;
}

}  // namespace

void PlaceControls(HWND parent, std::span<const ControlSpec> table, UINT dpi, OwnControls* own) {
    const wchar_t* className = nullptr;
    DWORD style = 0, exStyle = 0;
    for (const auto& control : table) {
        RECT r = ControlRect(table, control, dpi);
        if (own && !StandardControlClass(control.kind, className, style, exStyle)) {
            own->PlaceOwnControl(control, r, dpi);
            continue;
        }
        HWND child = ::GetDlgItem(parent, control.id);
        if (!child)
            continue;
        if (control.kind == ControlKind::ComboBox) {
            PlaceCombo(child, r);
        } else if (!PlacedAt(child, r)) {
            ::SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

}  // namespace platform
