// velquin-cli: the console companion of velquin.exe. It does to folders what the window's
// Apply and Remove do, with the same code, for scripts and for many folders at once.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/console_out.h"
#include "cli/run_command.h"
#include "platform/core/late_imports.h"

int wmain() {
    // The picture and hash libraries load at their first call; a failed load is a failure
    // reported for the folder, not the end of the program.
    platform::InstallLateImportFallbacks();
    // Errors about files are reported per folder; the system must not stop to ask about a
    // drive without a disk.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    cli::ConsoleOut out(STD_OUTPUT_HANDLE);
    cli::ConsoleOut err(STD_ERROR_HANDLE);
    try {
        // The command line is read as velquin.exe reads it, not as argv has it: a quoted
        // folder ending in a backslash ("C:\my photos\") stays one folder.
        return cli::RunCommand(cli::CommandLineWords(::GetCommandLineW()), out, err);
    } catch (const std::bad_alloc&) {
        err.Line(L"velquin-cli: out of memory");
        return 1;
    }
}
