// Windows 11's menu from integrate: what is run for which facts, whether a package is signed,
// and status as a script reads it.
#include <windows.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

#include "cli/cli_process.h"
#include "cli/package_registration.h"
#include "support/host_path.h"
#include "support/temp_folder.h"

namespace {

using cli::PackageStep;

const std::wstring kShell =
    L"\"C:\\Windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
    L"-NonInteractive -ExecutionPolicy Bypass -Command \"";

struct PlanCase {
    const char* name;
    bool on;
    cli::PackageFacts facts;
    PackageStep step;
    std::wstring commandLine;
    std::wstring reason;
};

void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << c.name;
}

cli::PackageFacts Facts(DWORD build, bool present, bool signedPackage, bool registered,
                        std::wstring folder = L"C:\\Apps\\Velquin", bool extension = true) {
    return {build, folder, L"C:\\Windows\\system32", extension, present, signedPackage, registered};
}

class PackagePlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PackagePlanTest, RegistersOnlyASignedPackageOnWindows11) {
    const PlanCase& c = GetParam();
    const cli::PackagePlan plan = cli::PlanPackage(c.on, c.facts);
    EXPECT_EQ(plan.step, c.step);
    EXPECT_EQ(plan.commandLine, c.commandLine);
    EXPECT_EQ(plan.reason, c.reason);
    if (c.step != PackageStep::None) {
        EXPECT_EQ(plan.program, L"C:\\Windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Facts, PackagePlanTest,
    ::testing::Values(
        PlanCase{"windows11_signed", true, Facts(22000, true, true, false), PackageStep::Register,
                 kShell + L"Add-AppxPackage -Path 'C:\\Apps\\Velquin\\velquin-shell.msix' "
                          L"-ExternalLocation 'C:\\Apps\\Velquin'\"",
                 L""},
        PlanCase{"a_quote_in_the_folder_is_written_twice", true,
                 Facts(22631, true, true, true, L"C:\\Bob's"), PackageStep::Register,
                 kShell + L"Add-AppxPackage -Path 'C:\\Bob''s\\velquin-shell.msix' "
                          L"-ExternalLocation 'C:\\Bob''s'\"",
                 L""},
        PlanCase{"windows10", true, Facts(19045, true, true, false), PackageStep::None, L"",
                 L"it needs Windows 11 (build 22000 or later); this is build 19045"},
        PlanCase{"unsigned", true, Facts(22621, true, false, false), PackageStep::None, L"",
                 L"C:\\Apps\\Velquin\\velquin-shell.msix is not signed (see the README for "
                 L"developer mode)"},
        PlanCase{"no_package", true, Facts(22621, false, false, false), PackageStep::None, L"",
                 L"there is no C:\\Apps\\Velquin\\velquin-shell.msix"},
        PlanCase{"no_extension", true, Facts(22621, true, true, false, L"C:\\V", false),
                 PackageStep::None, L"", L"there is no C:\\V\\velquin-shell.dll"},
        PlanCase{"off_registered", false, Facts(22621, true, true, true), PackageStep::Unregister,
                 kShell + L"Get-AppxPackage -Name Velquin.Shell | Remove-AppxPackage\"", L""},
        PlanCase{"off_registered_on_any_windows", false, Facts(19045, false, false, true),
                 PackageStep::Unregister,
                 kShell + L"Get-AppxPackage -Name Velquin.Shell | Remove-AppxPackage\"", L""},
        PlanCase{"off_not_registered", false, Facts(22621, true, true, false), PackageStep::None,
                 L"", L""}),
    [](const auto& info) { return std::string(info.param.name); });

// A zip of one entry, by that name, with nothing in it.
std::string ZipNaming(const std::string& name) {
    auto le = [](std::string& out, uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    std::string zip;
    le(zip, 0x04034b50, 4);
    zip.append(22, '\0');
    le(zip, static_cast<uint32_t>(name.size()), 2);
    le(zip, 0, 2);
    zip += name;
    const size_t directory = zip.size();
    le(zip, 0x02014b50, 4);
    zip.append(24, '\0');
    le(zip, static_cast<uint32_t>(name.size()), 2);
    zip.append(16, '\0');
    zip += name;
    const size_t directorySize = zip.size() - directory;
    le(zip, 0x06054b50, 4);
    le(zip, 0, 4);
    le(zip, 1, 2);
    le(zip, 1, 2);
    le(zip, static_cast<uint32_t>(directorySize), 4);
    le(zip, static_cast<uint32_t>(directory), 4);
    le(zip, 0, 2);
    return zip;
}

TEST(PackageIsSigned, FindsTheSignatureInTheCentralDirectoryOnly) {
    testsupport::TempFolder temp;
    const struct {
        std::string bytes;
        bool signedPackage;
    } cases[] = {
        {ZipNaming("AppxSignature.p7x"), true},
        {ZipNaming("AppxManifest.xml"), false},
        {ZipNaming("AppxSignature.p7x").substr(0, 60), false},
        {"AppxSignature.p7x", false},
        {"", false},
    };
    for (const auto& c : cases) {
        testsupport::WriteBytes(temp / L"x.msix", c.bytes);
        EXPECT_EQ(cli::PackageIsSigned(temp / L"x.msix"), c.signedPackage) << c.bytes.size();
    }
    EXPECT_FALSE(cli::PackageIsSigned(temp / L"none.msix"));
    EXPECT_FALSE(cli::PackageIsSigned(testsupport::HostPath(VELQUIN_SHELL_PACKAGE)));
}

// Wine is Windows 10 to the program and registers no packages: on says so and writes the
// classic entries, which status then reports.
TEST(CliProgramTest, IntegrateStatusFollowsOnAndOff) {
    using cli_test::RunCli;
    auto status = [] {
        cli_test::CliRun run = RunCli({L"integrate", L"status", L"--json"});
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        std::string text(run.out.begin(), run.out.end());
        return nlohmann::json::parse(text, nullptr, false);
    };
    cli_test::CliRun on = RunCli({L"integrate", L"on"});
    ASSERT_EQ(on.exitCode, 0u) << on.err;
    EXPECT_NE(on.out.find(L"Not added to Windows 11's own menu: it needs Windows 11 (build 22000 "
                          L"or later); this is build "),
              std::wstring::npos)
        << on.out;
    EXPECT_EQ(status(), nlohmann::json::parse(R"({"classicMenu": true, "classicMenuScope": "user",
                                                  "windows11Menu": false})"));
    EXPECT_EQ(RunCli({L"integrate", L"status"}).out,
              L"Classic menu (Show more options): added for this user\r\n"
              L"Windows 11's own menu: not registered\r\n");
    ASSERT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_EQ(status(), nlohmann::json::parse(R"({"classicMenu": false, "classicMenuScope": null,
                                                  "windows11Menu": false})"));
}

}  // namespace
