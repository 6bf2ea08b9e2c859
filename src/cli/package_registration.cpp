#include "cli/package_registration.h"

#include <vector>

#include "customise/file_steps.h"
#include "cli/report.h"
#include "platform/core/file_bytes.h"
#include "platform/core/module_path.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace cli {
namespace {

// Where Windows keeps the packages registered for the user, one key per package's full name
// (name_version_architecture__publisher id).
constexpr wchar_t kUserPackages[] =
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\"
    L"Repository\\Packages";

// A text in PowerShell's single quotes, where a quote is written twice.
std::wstring PowerShellText(const std::wstring& text) {
    std::wstring quoted = L"'";
    for (wchar_t c : text)
        quoted += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
    return quoted + L"'";
}

DWORD WindowsBuild() {
    // GetVersionExW answers what the program's manifest claims; the kernel says what it is.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW version{sizeof(version)};
    return rtlGetVersion && rtlGetVersion(&version) == 0 ? version.dwBuildNumber : 0;
}

uint32_t Le(const std::vector<std::byte>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::to_integer<uint32_t>(bytes[at + i]);
    return value;
}

}  // namespace

PackagePlan PlanPackage(bool on, const PackageFacts& facts) {
    PackagePlan plan;
    plan.program =
        platform::JoinPath(facts.systemFolder, L"WindowsPowerShell\\v1.0\\powershell.exe");
    const std::wstring start =
        L"\"" + plan.program + L"\" -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command \"";
    if (!on) {
        if (facts.registered) {
            plan.step = PackageStep::Unregister;
            plan.commandLine =
                start + L"Get-AppxPackage -Name " + kShellPackageName + L" | Remove-AppxPackage\"";
        }
        return plan;
    }
    const std::wstring package = platform::JoinPath(facts.programFolder, kShellPackageFile);
    if (facts.windowsBuild < kWindows11Build)
        plan.reason = L"it needs Windows 11 (build " + std::to_wstring(kWindows11Build) +
                      L" or later); this is build " + std::to_wstring(facts.windowsBuild);
    else if (!facts.packagePresent)
        plan.reason = L"there is no " + package;
    else if (!facts.extensionPresent)
        plan.reason =
            L"there is no " + platform::JoinPath(facts.programFolder, kShellExtensionFile);
    else if (!facts.packageSigned)
        plan.reason = package + L" is not signed (see the README for developer mode)";
    if (!plan.reason.empty())
        return plan;
    plan.step = PackageStep::Register;
    plan.commandLine = start + L"Add-AppxPackage -Path " + PowerShellText(package) +
                       L" -ExternalLocation " + PowerShellText(facts.programFolder) + L"\"";
    return plan;
}

bool PackageIsSigned(const std::wstring& path) {
    std::vector<std::byte> bytes;
    if (platform::ReadFileBytes(path, 64 * 1024 * 1024, bytes) != ERROR_SUCCESS ||
        bytes.size() < 22)
        return false;
    // The end record, then each name of the central directory.
    size_t end = bytes.size() - 22;
    while (end > 0 && Le(bytes, end, 4) != 0x06054b50)
        --end;
    if (Le(bytes, end, 4) != 0x06054b50)
        return false;
    for (size_t at = Le(bytes, end + 16, 4); at + 46 <= end && Le(bytes, at, 4) == 0x02014b50;) {
        const size_t name = Le(bytes, at + 28, 2);
        if (at + 46 + name > end)
            return false;
        const auto* text = reinterpret_cast<const char*>(bytes.data() + at + 46);
        if (std::string_view(text, name) == "AppxSignature.p7x")
            return true;
        at += 46 + name + Le(bytes, at + 30, 2) + Le(bytes, at + 32, 2);
    }
    return false;
}

bool ShellPackageRegistered() {
    platform::UniqueRegKey packages;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kUserPackages, 0, KEY_READ, packages.put()) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring prefix = std::wstring(kShellPackageName) + L"_";
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(std::size(name));
        if (::RegEnumKeyExW(packages.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return false;
        if (std::wstring_view(name, size).starts_with(prefix))
            return true;
    }
}

std::wstring ThisProgramFolder() {
    const std::wstring path = platform::ModuleFileName();
    const size_t slash = path.find_last_of(L"\\/");
    return slash == path.npos ? std::wstring() : path.substr(0, slash);
}

PackageFacts ReadPackageFacts(const std::wstring& programFolder) {
    PackageFacts facts;
    facts.windowsBuild = WindowsBuild();
    facts.programFolder = programFolder;
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    facts.systemFolder = system;
    const std::wstring package = platform::JoinPath(programFolder, kShellPackageFile);
    facts.packagePresent = customise::IsFile(package);
    facts.extensionPresent =
        customise::IsFile(platform::JoinPath(programFolder, kShellExtensionFile));
    facts.packageSigned = facts.packagePresent && PackageIsSigned(package);
    facts.registered = ShellPackageRegistered();
    return facts;
}

DWORD RunPackageStep(const PackagePlan& plan, DWORD& exitCode) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring line = plan.commandLine;
    if (!::CreateProcessW(plan.program.c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return ::GetLastError();
    platform::UniqueFile process(info.hProcess), thread(info.hThread);
    if (::WaitForSingleObject(process.get(), 2 * 60 * 1000) != WAIT_OBJECT_0)
        return ERROR_TIMEOUT;
    return ::GetExitCodeProcess(process.get(), &exitCode) ? 0 : ::GetLastError();
}

int ApplyPackagePlan(bool on, const std::wstring& programFolder, ConsoleOut& out, ConsoleOut& err) {
    const PackageFacts facts = ReadPackageFacts(programFolder);
    const PackagePlan plan = PlanPackage(on, facts);
    const std::wstring package = platform::JoinPath(programFolder, kShellPackageFile);
    if (plan.step == PackageStep::None) {
        if (!plan.reason.empty())
            out.Line(L"Not added to Windows 11's own menu: " + plan.reason + L".");
        return 0;
    }
    const std::wstring what = on ? L"Could not register the package for Windows 11's menu"
                                 : L"Could not remove the package for Windows 11's menu";
    DWORD exitCode = 0;
    if (const DWORD error = RunPackageStep(plan, exitCode)) {
        ReportFailure(err, plan.program, what, error);
        return 1;
    }
    if (exitCode) {  // PowerShell has said why on its own error output
        err.Line(L"velquin-cli: " + package + L": " + what + L": PowerShell ended with exit code " +
                 std::to_wstring(exitCode));
        return 1;
    }
    out.Line((on ? L"Registered: " : L"Removed: ") + package);
    return 0;
}

}  // namespace cli
