// integrate status: which of Velquin's two context menus are registered.
#pragma once

#include "cli/console_out.h"

namespace cli {

// One line for each menu, or with json one object. Returns the exit status (always 0: what
// can't be read counts as not registered).
int IntegrateStatus(bool json, ConsoleOut& out);

}  // namespace cli
