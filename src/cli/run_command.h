// One command of the command line, run to its exit status: shared by velquin-cli and by
// velquin.exe, which runs the same commands without a console for Explorer's menu entries.
#pragma once

#include <string>
#include <vector>

#include "cli/console_out.h"

namespace cli {

inline constexpr int kUsageError = 2;

// args: the words after the program's name. Returns 0, 1 (a folder failed) or kUsageError.
int RunCommand(const std::vector<std::wstring>& args, ConsoleOut& out, ConsoleOut& err);

}  // namespace cli
