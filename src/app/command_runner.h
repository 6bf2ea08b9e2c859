// velquin.exe as the runner of velquin-cli's commands: Explorer's menu entries start the
// windowed program, so no console window flashes, and it runs the command without opening
// its own window.
#pragma once

#include <string>
#include <vector>

namespace app {

// When args[0] is one of the commands: runs it, shows one message box with what went wrong
// only when it failed, sets exitCode and returns true. Otherwise returns false.
bool RunConsoleCommand(const std::vector<std::wstring>& args, int& exitCode);

}  // namespace app
