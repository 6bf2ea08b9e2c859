#include "platform/ui/owner_data_list.h"

#include <algorithm>

#include "platform/ui/accessible_list.h"
#include "platform/ui/dc.h"
#include "platform/ui/dpi_layout.h"
#include "platform/ui/unexpected.h"
#include "platform/core/unique_handle.h"

namespace platform {

OwnerDataList::~OwnerDataList() {
    DestroyList();
}

void OwnerDataList::DestroyList() {
    // Destroying the control removes the subclasses that point at this object.
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

bool OwnerDataList::CreateList(HWND parent, int id, const RECT& rect) {
    parent_ = parent;
    id_ = id;
    auto ref = reinterpret_cast<UINT_PTR>(this);
    // The parent is subclassed first: the list box asks it for the row height while it is
    // being created.
    if (!HookParent())
        return false;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NODATA |
                  LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!list || !::SetWindowSubclass(list, SubclassProc, ref, reinterpret_cast<DWORD_PTR>(this))) {
        // The clean-up below sets the last error again: the caller reports the first one.
        DWORD error = ::GetLastError();
        if (list)
            ::DestroyWindow(list);
        ::RemoveWindowSubclass(parent, SubclassProc, ref);
        parentHooked_ = false;
        ::SetLastError(error ? error : ERROR_CANNOT_MAKE);
        return false;
    }
    hwnd_ = list;
    // Until there are rows to draw or open, the parent's messages need no look.
    ::RemoveWindowSubclass(parent, SubclassProc, ref);
    parentHooked_ = false;
    // The rows are described while the list lives: the source goes with the window.
    SetAccessibleRows(
        list, [this](long row) { return DescribeRow(static_cast<size_t>(row)); },
        [this](long row) {
            if (OpensRows())
                OnOpenRow(static_cast<size_t>(row));
        });
    // Until the parent hands over its font, the list draws with the control's own.
    FitOwnerDataRows(list);
    return true;
}

bool OwnerDataList::HookParent() {
    if (!parentHooked_ && parent_)
        parentHooked_ = ::SetWindowSubclass(parent_, SubclassProc, reinterpret_cast<UINT_PTR>(this),
                                            reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    return parentHooked_;
}

void OwnerDataList::Place(const RECT& rect) {
    if (!hwnd_)
        return;
    ::SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitOwnerDataRows(hwnd_);
}

void OwnerDataList::OpenSelectedRow() {
    LRESULT sel = ::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (sel != LB_ERR)
        OnOpenRow(static_cast<size_t>(sel));
}

LRESULT CALLBACK OwnerDataList::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR ref) noexcept {
    auto* self = reinterpret_cast<OwnerDataList*>(ref);
    try {
        // hwnd_ is still null while the list box is being created: its messages then are the
        // parent's WM_MEASUREITEM, and the list's own creation messages go by untouched.
        if (self->hwnd_ && hwnd == self->hwnd_)
            return self->ListMessage(msg, wParam, lParam);
        if (hwnd == self->parent_)
            return self->ParentMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        ReportCurrentException(::GetAncestor(hwnd, GA_ROOT));
        if (msg == WM_NCDESTROY && hwnd == self->hwnd_) {
            // The subclasses must go with the list whatever happened above.
            auto id = reinterpret_cast<UINT_PTR>(self);
            if (self->parent_)
                ::RemoveWindowSubclass(self->parent_, SubclassProc, id);
            ::RemoveWindowSubclass(hwnd, SubclassProc, id);
            self->hwnd_ = nullptr;
        }
        return UnexpectedResult(hwnd, msg);
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT OwnerDataList::ListMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND list = hwnd_;
    switch (msg) {
        case WM_GETDLGCODE:
            if (OpensRows()) {
                // Enter opens the row even in a window that runs IsDialogMessage.
                LRESULT code = ::DefSubclassProc(list, msg, wParam, lParam);
                auto* key = reinterpret_cast<const MSG*>(lParam);
                if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
                    code |= DLGC_WANTMESSAGE;
                return code;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && OpensRows()) {
                OpenSelectedRow();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r' && OpensRows())
                return 0;
            break;
        case LB_SETCOUNT:
            if (wParam > 0)
                HookParent();
            break;
        case WM_SETFONT: {
            LRESULT result = ::DefSubclassProc(list, msg, wParam, lParam);
            FitOwnerDataRows(list);
            return result;
        }
        case WM_NCDESTROY: {
            auto ref = reinterpret_cast<UINT_PTR>(this);
            if (parent_)
                ::RemoveWindowSubclass(parent_, SubclassProc, ref);
            parentHooked_ = false;
            ::RemoveWindowSubclass(list, SubclassProc, ref);
            hwnd_ = nullptr;
            break;
        }
    }
    return ::DefSubclassProc(list, msg, wParam, lParam);
}

// The parent: owner-drawn messages and the double-click, for this list only.
LRESULT OwnerDataList::ParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure->CtlType == ODT_LISTBOX && static_cast<int>(measure->CtlID) == id_) {
                measure->itemHeight = static_cast<UINT>(OwnerDataRowHeight(hwnd_ ? hwnd_ : parent));
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (hwnd_ && draw->hwndItem == hwnd_) {
                DrawRow(*draw);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            if (hwnd_ && OpensRows() && reinterpret_cast<HWND>(lParam) == hwnd_ &&
                HIWORD(wParam) == LBN_DBLCLK) {
                OpenSelectedRow();
                return 0;
            }
            break;
    }
    return ::DefSubclassProc(parent, msg, wParam, lParam);
}

int OwnerDataRowHeight(HWND list) {
    UINT dpi = WindowDpi(list);
    int textHeight = ::MulDiv(16, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    if (WindowDc dc(list); dc) {
        auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
        SelectedObject fontIn(dc.get(), font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(dc.get(), &metrics))
            textHeight = metrics.tmHeight;
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
    {
        SelectedObject fontIn(item.hDC, font);
        ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        ::DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace platform
