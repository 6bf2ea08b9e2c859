// Reading a folder's entries for the folder and file lists: one enumeration, sorted in
// memory. Free of window code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/core/path_text.h"

namespace platform {

// The subfolders of `folder` ("." and ".." left out), sorted as Explorer's name column
// sorts (case-insensitive ordinal). Returns the Win32 error, 0 on success.
DWORD ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names);

// The files of `folder` whose names match any mask of `pattern` ("*.ico;*.dll;*.exe"),
// matched as Windows matches names, sorted likewise. Returns the Win32 error, 0 on success.
DWORD ListFiles(const std::wstring& folder, const std::wstring& pattern,
                std::vector<std::wstring>& names);

// True when `name` matches any mask of `pattern` ("*.ico;*.dll;*.exe"), as Windows
// matches names: case-insensitive, "*.*" matching every name.
bool MatchesPattern(const wchar_t* name, const std::wstring& pattern);

// A folder path in the lists' form: full, no trailing backslash except a drive root
// ("C:\"). Empty when the text is no valid path.
std::wstring NormaliseFolderPath(const std::wstring& path);

// The path made full from the current folder (GetFullPathNameW), any length; empty when it
// can't be, with the system's reason in GetLastError.
std::wstring FullPathName(const std::wstring& path);

// The process's current folder, any length; empty if it cannot be read.
std::wstring CurrentFolder();

}  // namespace platform
