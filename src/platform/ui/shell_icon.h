// The icon the shell shows for a file, and whether the file may be handed to the shell for
// it at all.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Why the shell must not be asked for the icon of path, or null when it may be. The shell
// decodes icon files and programs itself and trusts their headers, so they are checked as
// the icon chooser checks them. A file that can't be read goes to the shell, which gives
// what it can without reading it.
const wchar_t* ShellIconRefusal(const std::wstring& path);

// The shell's large icon for path at size pixels square (the caller owns it), or null.
HICON LoadShellIcon(const std::wstring& path, int size);

}  // namespace platform
