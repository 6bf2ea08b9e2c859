// integrate on|off: the "Customise with Velquin" entry in Explorer's context menu of
// folders, drives and a folder's background, for the current user only.
#pragma once

#include "cli/console_out.h"

namespace cli {

// Adds the entries (on) or removes exactly those (off). Returns the exit status.
int Integrate(bool on, ConsoleOut& out, ConsoleOut& err);

}  // namespace cli
