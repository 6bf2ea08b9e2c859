// How the command line reports a failure: one line on standard error that names the program,
// the path, what failed and the system's reason.
#pragma once

#include <windows.h>

#include <string>

#include "cli/console_out.h"
#include "customise/ini_file.h"

namespace cli {

// "velquin-cli: PATH: what failed: the system's reason"
void ReportFailure(ConsoleOut& err, const std::wstring& path, const std::wstring& what,
                   DWORD error);
void ReportFailure(ConsoleOut& err, const customise::FileFailure& failure);

}  // namespace cli
