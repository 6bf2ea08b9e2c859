#include "platform/ui/file_list.h"

#include "platform/ui/dpi_layout.h"
#include "platform/core/folder_entries.h"
#include "platform/ui/owner_data_list.h"

namespace platform {

FileList::~FileList() {
    DestroyList();
}

bool FileList::Create(HWND parent, int id, const RECT& rect) {
    if (!CreateList(parent, id, rect))
        return false;
    List(CurrentFolder(), pattern_);
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

AccessibleItem FileList::DescribeRow(size_t row) const {
    AccessibleItem item;
    if (row < names_.size())
        item.name = names_[row];
    return item;
}

void FileList::DrawRow(const DRAWITEMSTRUCT& item) const {
    PaintRowBackground(item);
    if (item.itemID >= names_.size())
        return;
    int dpi = static_cast<int>(WindowDpi(item.hwndItem));
    PaintRowText(item, item.rcItem.left + ::MulDiv(3, dpi, USER_DEFAULT_SCREEN_DPI),
                 names_[item.itemID]);
}

}  // namespace platform
