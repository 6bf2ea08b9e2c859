#include "platform/file_list.h"

#include "platform/dpi_layout.h"
#include "platform/folder_entries.h"
#include "platform/owner_data_list.h"

namespace platform {

FileList::~FileList() {
    // Destroying the control removes the subclasses that point at this object.
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

bool FileList::Create(HWND parent, int id, const RECT& rect) {
    parent_ = parent;
    id_ = id;
    hwnd_ = CreateOwnerDataList(parent, id, rect, SubclassProc, this);
    if (!hwnd_)
        return false;
    DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring current(size, L'\0');
    current.resize(::GetCurrentDirectoryW(size, current.data()));
    List(current, pattern_);
    return true;
}

DWORD FileList::SetPath(const std::wstring& folder) {
    return List(folder, pattern_);
}

DWORD FileList::SetPattern(const std::wstring& pattern) {
    // The pattern is the picker's mode, so it is kept even when the folder can't be read;
    // the list is then emptied rather than left showing files of the old pattern.
    pattern_ = pattern;
    if (path_.empty())
        return 0;
    DWORD error = List(path_, pattern_);
    if (error) {
        names_.clear();
        if (hwnd_)
            SetOwnerDataCount(hwnd_, 0);
    }
    return error;
}

DWORD FileList::List(const std::wstring& folder, const std::wstring& pattern) {
    std::wstring full = NormaliseFolderPath(folder);
    if (full.empty())
        return ERROR_INVALID_NAME;
    std::vector<std::wstring> names;
    if (DWORD error = ListFiles(full, pattern, names))
        return error;
    path_ = std::move(full);
    names_.swap(names);
    if (hwnd_)
        SetOwnerDataCount(hwnd_, names_.size());
    return 0;
}

std::wstring FileList::FileName() const {
    if (!hwnd_)
        return {};
    LRESULT sel = ::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR || static_cast<size_t>(sel) >= names_.size())
        return {};
    return names_[static_cast<size_t>(sel)];
}

void FileList::Click(size_t index) {
    if (!hwnd_ || index >= names_.size())
        return;
    ::SendMessageW(hwnd_, LB_SETCURSEL, index, 0);
    ::SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(id_, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(hwnd_));
}

void FileList::Place(const RECT& rect) {
    if (!hwnd_)
        return;
    ::SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitOwnerDataRows(hwnd_);
}

void FileList::DrawRow(const DRAWITEMSTRUCT& item) const {
    PaintRowBackground(item);
    if (item.itemID >= names_.size())
        return;
    int dpi = static_cast<int>(WindowDpi(item.hwndItem));
    PaintRowText(item, item.rcItem.left + ::MulDiv(3, dpi, USER_DEFAULT_SCREEN_DPI),
                 names_[item.itemID]);
}

LRESULT CALLBACK FileList::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR ref) {
    auto* self = reinterpret_cast<FileList*>(ref);
    if (hwnd == self->hwnd_) {
        switch (msg) {
            case WM_SETFONT: {
                LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
                FitOwnerDataRows(hwnd);
                return result;
            }
            case WM_NCDESTROY:
                RemoveOwnerDataSubclasses(self->parent_, hwnd, SubclassProc, self);
                self->hwnd_ = nullptr;
                break;
        }
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    // The parent: owner-drawn messages for this list only.
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure->CtlType == ODT_LISTBOX && static_cast<int>(measure->CtlID) == self->id_) {
                measure->itemHeight =
                    static_cast<UINT>(OwnerDataRowHeight(self->hwnd_ ? self->hwnd_ : hwnd));
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (self->hwnd_ && draw->hwndItem == self->hwnd_) {
                self->DrawRow(*draw);
                return TRUE;
            }
            break;
        }
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace platform
