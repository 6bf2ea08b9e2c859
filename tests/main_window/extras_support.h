// Helpers for the tests of the main window's extras: sample file paths, real drops, and the
// window menu's commands.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "main_window/system_menu.h"
#include "support/host_path.h"

namespace testsupport {

// A drop as Explorer makes it: a movable global block with DROPFILES and a double-null list.
inline HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& p : paths)
        chars += p.size() + 1;
    HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        p.copy(text, p.size());
        text += p.size() + 1;
    }
    ::GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

inline void Command(HWND form, main_window::WindowMenuCommand command) {
    ::SendMessageW(form, WM_SYSCOMMAND, command, 0);
}

}  // namespace testsupport
