// The commands Explorer's Windows 11 menu asks for: one object per row of the command table,
// and the list of a submenu's rows. Every method answers with an HRESULT and lets nothing
// escape into Explorer.
#pragma once

#include <shobjidl.h>

#include "shell/command_table.h"

namespace shell {

// A new command for the row, with one reference; nullptr when memory ran out.
IExplorerCommand* NewExplorerCommand(const CommandRow& row);

// Counts the objects alive and the locks taken, for DllCanUnloadNow.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

// The folder of the extension's own file, and its path, set when the DLL is loaded.
void SetModule(HMODULE module);
HMODULE Module();

}  // namespace shell
