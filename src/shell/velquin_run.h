// What the extension starts: velquin.exe beside it, once for as many folders as one command
// line holds. The lines are pure text; Start is the one call that runs them.
#pragma once

#include <string>
#include <vector>

#include "shell/command_table.h"

namespace shell {

// What a menu shows a selection of: every item a file-system folder that is not a drive's
// root (a zip file, a library or Control Panel is none), and velquin.exe there to run.
struct SelectedItem {
    bool fileSystemFolder = false;
    bool driveRoot = false;
};
bool OfferedFor(const std::vector<SelectedItem>& items, bool programPresent);

// The longest command line CreateProcessW takes, its ending zero included.
inline constexpr size_t kCommandLineLimit = 32767;

// The command lines that do the row's action on the folders: the program and its words, then
// each folder in quotes, split into as few lines as keep under the limit (a folder too long
// to share a line has one of its own). OpenWindow names the first folder only.
std::vector<std::wstring> CommandLines(const std::wstring& program, const CommandRow& row,
                                       const std::vector<std::wstring>& folders,
                                       size_t limit = kCommandLineLimit);

// Starts each line without waiting for it; false when one could not be started.
bool Start(const std::wstring& program, const std::vector<std::wstring>& lines);

}  // namespace shell
