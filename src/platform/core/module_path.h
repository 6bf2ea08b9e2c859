// The program's module and the paths of loaded modules: kernel calls only, for the
// command line as much as for the windows.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

HINSTANCE ModuleInstance();
// The full path of a loaded module (null: the program), any length; empty on failure.
std::wstring ModuleFileName(HMODULE module = nullptr);

}  // namespace platform
