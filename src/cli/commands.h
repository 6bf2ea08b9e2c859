// The folder commands: each runs over its folders one by one, and a failure in one folder
// does not stop the others.
#pragma once

#include "cli/arguments.h"
#include "cli/console_out.h"

namespace cli {

// Each returns the exit status: 0 when every folder succeeded, 1 when any failed.
int Show(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);
int Apply(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);
int Remove(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);
int Restore(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);

}  // namespace cli
