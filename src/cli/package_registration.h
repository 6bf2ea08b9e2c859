// Windows 11's own context menu: the package that gives velquin-shell.dll its place there,
// registered for the user with the program's folder as its external location. What to do is
// decided by a pure function of the facts; running it is one call.
#pragma once

#include <windows.h>

#include <string>

#include "cli/console_out.h"

namespace cli {

// The first build of Windows 11, whose menu shows a packaged command at the top level.
inline constexpr DWORD kWindows11Build = 22000;
inline constexpr wchar_t kShellPackageFile[] = L"velquin-shell.msix";
inline constexpr wchar_t kShellExtensionFile[] = L"velquin-shell.dll";
inline constexpr wchar_t kShellPackageName[] = L"Velquin.Shell";

struct PackageFacts {
    DWORD windowsBuild = 0;
    std::wstring programFolder;     // where velquin.exe and velquin-shell.dll are
    std::wstring systemFolder;      // System32, where PowerShell is
    bool extensionPresent = false;  // velquin-shell.dll, which the package names
    bool packagePresent = false;
    bool packageSigned = false;
    bool registered = false;
};

enum class PackageStep { None, Register, Unregister };

struct PackagePlan {
    PackageStep step = PackageStep::None;
    std::wstring program;      // what runs the step
    std::wstring commandLine;  // its whole command line
    std::wstring reason;       // for on without a step: why the top-level entry is not added
};

// on registers a signed package beside the program on Windows 11; off removes a registered
// one. Anything else is no step, with the reason for on.
PackagePlan PlanPackage(bool on, const PackageFacts& facts);

// The folder of the running program, where velquin-shell.msix is installed beside it.
std::wstring ThisProgramFolder();

// The facts of this machine and the program's folder.
PackageFacts ReadPackageFacts(const std::wstring& programFolder);
// True when the zip's central directory lists a signature.
bool PackageIsSigned(const std::wstring& path);
// True when the package is registered for the current user.
bool ShellPackageRegistered();

// Runs the plan's step and waits for it: a system error when it could not be started or did
// not end in two minutes, else 0 and the step's exit code.
DWORD RunPackageStep(const PackagePlan& plan, DWORD& exitCode);

// What integrate on and off add to their own: the plan run and reported. Returns the exit
// status (0, or 1 when the step failed).
int ApplyPackagePlan(bool on, const std::wstring& programFolder, ConsoleOut& out, ConsoleOut& err);

}  // namespace cli
