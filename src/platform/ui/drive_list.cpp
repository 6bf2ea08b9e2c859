#include "platform/ui/drive_list.h"

#include <cwctype>

#include "platform/ui/dpi_layout.h"
#include "platform/core/folder_entries.h"

namespace platform {

std::wstring VolumeLabel(const std::wstring& root) {
    // A label is at most 32 characters; the call documents 261 as the largest buffer.
    std::wstring label(261, L'\0');
    if (!::GetVolumeInformationW(root.c_str(), label.data(), static_cast<DWORD>(label.size()),
                                 nullptr, nullptr, nullptr, nullptr, 0))
        return {};
    label.resize(wcslen(label.c_str()));
    return label;
}

namespace {

std::vector<std::wstring> LogicalDrives() {
    std::vector<std::wstring> roots;
    DWORD size = ::GetLogicalDriveStringsW(0, nullptr);
    if (!size)
        return roots;
    std::wstring buffer(size, L'\0');
    DWORD length = ::GetLogicalDriveStringsW(size, buffer.data());
    for (size_t start = 0; start < length && buffer[start];) {
        size_t end = buffer.find(L'\0', start);
        roots.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return roots;
}

// "c: [System]" for a fixed drive with a label, "d:" otherwise. Only fixed drives are
// asked for their label: a floppy or optical drive without a medium would stall.
std::wstring DriveEntry(const std::wstring& root) {
    std::wstring entry{static_cast<wchar_t>(std::towlower(root[0])), L':'};
    if (::GetDriveTypeW(root.c_str()) == DRIVE_FIXED) {
        std::wstring label = VolumeLabel(root);
        if (!label.empty())
            entry += L" [" + label + L"]";
    }
    return entry;
}

}  // namespace

bool DriveList::Create(HWND parent, int id, const RECT& rect) {
    if (!CreateEmpty(parent, id, rect))
        return false;
    Fill();
    return true;
}

bool DriveList::CreateEmpty(HWND parent, int id, const RECT& rect) {
    int height = rect.bottom - rect.top;
    // The window's height sets the drop-down's; the closed height is fitted below.
    hwnd_ = ::CreateWindowExW(
        0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
        rect.left, rect.top, rect.right - rect.left, height * 10, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    FitComboHeight(hwnd_, height);
    return true;
}

void DriveList::Fill() {
    if (!hwnd_)
        return;
    ::SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    roots_ = LogicalDrives();
    for (const auto& root : roots_)
        ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DriveEntry(root).c_str()));
    SetDrive(CurrentFolder());
}

std::wstring DriveList::Drive() const {
    LRESULT sel = hwnd_ ? ::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (sel == CB_ERR || static_cast<size_t>(sel) >= roots_.size())
        return {};
    return roots_[static_cast<size_t>(sel)];
}

void DriveList::SetDrive(const std::wstring& path) {
    if (!hwnd_ || path.size() < 2 || path[1] != L':')
        return;
    for (size_t i = 0; i < roots_.size(); ++i) {
        if (std::towupper(roots_[i][0]) == std::towupper(path[0])) {
            // CB_SETCURSEL sends no CBN_SELCHANGE: the parent hears only the user's picks.
            ::SendMessageW(hwnd_, CB_SETCURSEL, i, 0);
            return;
        }
    }
}

void DriveList::Place(const RECT& rect) {
    if (hwnd_)
        PlaceCombo(hwnd_, rect);
}

}  // namespace platform
