// What a drop onto the main window brings: the first folder, the first icon source and the
// first picture among the dropped items; anything else is left out.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace main_window {

struct DroppedItems {
    std::wstring folder;  // becomes the target folder
    std::wstring icon;    // .ico, .dll or .exe: the folder icon's file
    std::wstring image;   // .jpg, .bmp or .gif: the background image
};

// Sorts dropped paths by kind, looking at the disk only to tell folders from files.
DroppedItems SortDroppedItems(const std::vector<std::wstring>& paths);

// The paths a drop carries. The drop handle stays the caller's.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// Lets drops reach `window` even from a program of another integrity level.
void AcceptDrops(HWND window);

}  // namespace main_window
