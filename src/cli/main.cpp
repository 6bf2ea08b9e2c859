// velquin-cli: the console companion of velquin.exe. It does to folders what the window's
// Apply and Remove do, with the same code, for scripts and for many folders at once.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/edit_commands.h"
#include "cli/help_text.h"
#include "cli/integrate.h"

namespace {

constexpr int kUsageError = 2;

int Run(const std::vector<std::wstring>& args, cli::ConsoleOut& out, cli::ConsoleOut& err) {
    cli::Parsed parsed = cli::ParseArguments(args);
    if (!parsed.ok) {
        err.Line(L"velquin-cli: " + parsed.error);
        err.Write(cli::UsageText());
        return kUsageError;
    }
    const cli::Arguments& a = parsed.arguments;
    switch (a.command) {
        case cli::Command::Help:
            out.Write(cli::HelpText());
            return 0;
        case cli::Command::Version:
            out.Line(cli::VersionText());
            return 0;
        case cli::Command::Show:
            return cli::Show(a, out, err);
        case cli::Command::Apply:
            return cli::Apply(a, out, err);
        case cli::Command::Remove:
            return cli::Remove(a, out, err);
        case cli::Command::Restore:
            return cli::Restore(a, out, err);
        case cli::Command::Set:
            return cli::Set(a, out, err);
        case cli::Command::Unset:
            return cli::Unset(a, out, err);
        case cli::Command::Refresh:
            return cli::Refresh(a, out, err);
        case cli::Command::Integrate:
            return cli::Integrate(a.integrateOn, out, err);
    }
    return kUsageError;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Errors about files are reported per folder; the system must not stop to ask about a
    // drive without a disk.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    cli::ConsoleOut out(STD_OUTPUT_HANDLE);
    cli::ConsoleOut err(STD_ERROR_HANDLE);
    try {
        return Run(std::vector<std::wstring>(argv + 1, argv + argc), out, err);
    } catch (const std::bad_alloc&) {
        err.Line(L"velquin-cli: out of memory");
        return 1;
    }
}
