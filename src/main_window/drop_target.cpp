#include "main_window/drop_target.h"

#include <shlwapi.h>

#include "picker/my_form.h"

namespace main_window {

DroppedItems SortDroppedItems(const std::vector<std::wstring>& paths) {
    DroppedItems items;
    for (const auto& path : paths) {
        DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;  // gone since the drop began
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (items.folder.empty())
                items.folder = path;
            continue;
        }
        // The picker's own patterns decide what is an icon source and what a picture.
        const wchar_t* name = ::PathFindFileNameW(path.c_str());
        if (items.icon.empty() &&
            ::PathMatchSpecExW(name, picker::kIconPattern, PMSF_MULTIPLE) == S_OK)
            items.icon = path;
        else if (items.image.empty() &&
                 ::PathMatchSpecExW(name, picker::kImagePattern, PMSF_MULTIPLE) == S_OK)
            items.image = path;
    }
    return items;
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

void AcceptDrops(HWND window) {
    ::DragAcceptFiles(window, TRUE);
    // An elevated window drops messages from lower integrity levels unless it lets them in:
    // WM_DROPFILES itself, and WM_COPYGLOBALDATA (0x0049) that carries the drop's data.
    constexpr UINT kCopyGlobalData = 0x0049;
    for (UINT msg :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ::ChangeWindowMessageFilterEx(window, msg, MSGFLT_ALLOW, nullptr);
}

}  // namespace main_window
