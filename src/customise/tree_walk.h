// Walks a folder tree one folder at a time, for the commands' --recursive.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace customise {

struct TreeVisitor {
    // Called for the root and then every folder below it, each before its own sub-folders,
    // with the full path as the root was given (not the "\\?\" form).
    std::function<void(const std::wstring& folder)> folder;
    // Called for a folder whose sub-folders can't be listed, with the system's error: its
    // sub-folders are skipped.
    std::function<void(const std::wstring& folder, DWORD error)> unlisted;
    // Called for a junction or symbolic link below the root, which is neither visited nor
    // entered (optional).
    std::function<void(const std::wstring& link)> linked;
};

// Visits root and every folder below it, depth first. Junctions and symbolic links
// (reparse points) below the root are left alone, so no folder is reached twice and no walk
// leaves the tree. The walk streams: it holds one open listing
// per level, never a list of the tree, so its memory does not grow with the number of
// folders. Paths past MAX_PATH work.
void WalkTree(const std::wstring& root, const TreeVisitor& visitor);

namespace detail {
// How a folder's listing is opened: FindFirstFileExW, or a test's stand-in that fails as a
// folder without list permission does for a user without administrator rights.
extern HANDLE(WINAPI* openListing)(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                                   FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags);
}  // namespace detail

}  // namespace customise
