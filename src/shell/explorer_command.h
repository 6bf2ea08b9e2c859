// The commands Explorer's Windows 11 menu asks for: one object per row of the command table,
// and the list of a submenu's rows. Every method answers with an HRESULT and lets nothing
// escape into Explorer.
#pragma once

#include <shobjidl.h>

#include "shell/command_table.h"

namespace shell {

// A new command for the row, with one reference; nullptr when memory ran out. It keeps the
// site it is given (its parent's, for a sub-command) until Explorer sets another.
IExplorerCommand* NewExplorerCommand(const CommandRow& row, IUnknown* site = nullptr);

// Counts the objects alive and the locks taken, for DllCanUnloadNow.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

// The extension's own file, whose folder holds velquin.exe; set when the DLL is loaded.
void SetModule(HMODULE module);

}  // namespace shell
