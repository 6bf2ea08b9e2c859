#include "platform/owner_data_list.h"

#include <algorithm>

#include "platform/dpi_layout.h"

namespace platform {

HWND CreateOwnerDataList(HWND parent, int id, const RECT& rect, SUBCLASSPROC proc, void* owner) {
    auto ref = reinterpret_cast<UINT_PTR>(owner);
    // The parent is subclassed first: the list box asks it for the row height while it is
    // being created.
    if (!::SetWindowSubclass(parent, proc, ref, reinterpret_cast<DWORD_PTR>(owner)))
        return nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NODATA |
                  LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!list || !::SetWindowSubclass(list, proc, ref, reinterpret_cast<DWORD_PTR>(owner))) {
        if (list)
            ::DestroyWindow(list);
        ::RemoveWindowSubclass(parent, proc, ref);
        return nullptr;
    }
    // Until the parent hands over its font, the list draws with the control's own.
    FitOwnerDataRows(list);
    return list;
}

void RemoveOwnerDataSubclasses(HWND parent, HWND list, SUBCLASSPROC proc, void* owner) {
    auto ref = reinterpret_cast<UINT_PTR>(owner);
    if (parent)
        ::RemoveWindowSubclass(parent, proc, ref);
    ::RemoveWindowSubclass(list, proc, ref);
}

int OwnerDataRowHeight(HWND list) {
    UINT dpi = WindowDpi(list);
    int textHeight = ::MulDiv(16, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    if (HDC dc = ::GetDC(list)) {
        auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
        HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(dc, &metrics))
            textHeight = metrics.tmHeight;
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
    }
    // A glyph needs at least 16 pixels at 100 %, and a little air above and below.
    int glyph = ::MulDiv(16, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return std::max(textHeight, glyph) +
           ::MulDiv(2, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

void FitOwnerDataRows(HWND list) {
    ::SendMessageW(list, LB_SETITEMHEIGHT, 0, OwnerDataRowHeight(list));
    ::InvalidateRect(list, nullptr, TRUE);
}

void SetOwnerDataCount(HWND list, size_t count) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_SETCOUNT, count, 0);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void PaintRowBackground(const DRAWITEMSTRUCT& item) {
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool enabled = ::IsWindowEnabled(item.hwndItem) != FALSE;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected && enabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                           : selected ? COLOR_HIGHLIGHTTEXT
                                                      : COLOR_WINDOWTEXT));
}

void PaintRowText(const DRAWITEMSTRUCT& item, int left, const std::wstring& text) {
    RECT r = item.rcItem;
    r.left = left;
    auto font = reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? ::SelectObject(item.hDC, font) : nullptr;
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (old)
        ::SelectObject(item.hDC, old);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        ::DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace platform
