// The commands that edit in place or only tell the shell: set, unset and refresh.
#pragma once

#include "cli/arguments.h"
#include "cli/console_out.h"

namespace cli {

// Each returns the exit status: 0 when every folder succeeded, 1 when any failed.
int Set(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);
int Unset(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);
int Refresh(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);

}  // namespace cli
