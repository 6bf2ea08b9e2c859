#include "app/command_runner.h"

#include <windows.h>

#include "cli/arguments.h"
#include "cli/console_out.h"
#include "cli/run_command.h"
#include "platform/ui/message_box.h"

namespace app {

bool RunConsoleCommand(const std::vector<std::wstring>& args, int& exitCode) {
    if (args.empty() || !cli::IsCommandName(args[0]))
        return false;
    std::wstring output, errors;
    cli::ConsoleOut out(output), err(errors);
    exitCode = cli::RunCommand(args, out, err);
    if (exitCode != 0) {
        // The usage summary after a usage error is for a console; the box keeps the reason.
        if (size_t usage = errors.find(L"\r\nusage:"); usage != errors.npos)
            errors.resize(usage);
        platform::ShowError(nullptr, errors.empty() ? L"The command failed." : errors);
    }
    return true;
}

}  // namespace app
