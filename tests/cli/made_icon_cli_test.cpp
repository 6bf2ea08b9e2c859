// Made icons from the command line and from Explorer's "Folder Colour" cascade: the real
// velquin-cli and velquin.exe processes, real folders, the current user's registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "icon_maker/colour_table.h"
#include "cli_process.h"
#include "icon_maker/ico_file.h"
#include "icon_maker/icon_maker.h"
#include "support/start_process.h"
#include "support/temp_folder.h"

using cli_test::CliRun;
using cli_test::RegText;
using cli_test::RunAsExplorer;
using cli_test::RunCli;
using testsupport::Exists;
using testsupport::ReadBytes;

namespace {

constexpr wchar_t kCascade[] = L"Software\\Classes\\Directory\\shell\\VelquinColour";

std::wstring Profile(const std::wstring& folder, const wchar_t* key) {
    wchar_t value[1024] = {};
    ::GetPrivateProfileStringW(L".ShellClassInfo", key, L"<missing>", value, 1024,
                               (folder + L"\\desktop.ini").c_str());
    return value;
}

std::wstring MadeIconIn(const std::wstring& folder) {
    for (const auto& name : testsupport::FolderEntries(folder))
        if (icon_maker::IsContentName(name))
            return name;
    return L"";
}

using MadeIconCliTest = cli_test::FolderTest;

TEST_F(MadeIconCliTest, MakeIconWritesTheIconAlone) {
    const std::wstring out = temp / L"blue.ico";
    CliRun run = RunCli({L"make-icon", L"--colour", L"#2040C0", out});
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, L"Made: " + out + L"\r\n");
    const std::string bytes = ReadBytes(out);
    EXPECT_EQ(icontest::ParseIco(bytes).size(), std::size(icon_maker::kIconSizes));
    run = RunCli({L"make-icon", L"--from-image", out, temp / L"again.ico"});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(icontest::ParseIco(ReadBytes(temp / L"again.ico")).size(), 8u);
    // A read-only or hidden file of that name is another's: refused, not replaced.
    const std::wstring mine = temp / L"mine.ico";
    testsupport::WriteBytes(mine, "precious");
    ::SetFileAttributesW(mine.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(RunCli({L"make-icon", L"--colour", L"red", mine}).exitCode, 1u);
    ::SetFileAttributesW(mine.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(mine), "precious");
}

// Usage errors and a bad picture write nothing anywhere.
TEST_F(MadeIconCliTest, RefusalsWriteNothing) {
    const std::wstring folder = Folder(L"f");
    testsupport::WriteBytes(temp / L"bad.png", "no picture");
    struct Case {
        std::vector<std::wstring> args;
        DWORD exitCode;
        const wchar_t* says;
    };
    const Case cases[] = {
        {{L"apply", L"--icon-colour", L"teal", folder}, 2, L"Light Blue, Dark Blue"},
        {{L"apply", L"--icon-colour", L"#12345", folder}, 2, L"#RRGGBB"},
        {{L"apply", L"--icon-colour", L"red", L"--icon", L"a.ico", folder}, 2, L"give one"},
        {{L"apply", L"--icon-colour", L"red", L"--icon-from-image", L"a.png", folder},
         2,
         L"give one"},
        {{L"make-icon", L"--colour", L"red"}, 2, L"OUT.ico"},
        {{L"make-icon", L"--colour", L"red", L"--from-image", L"a.png", L"x.ico"}, 2, L"one of"},
        {{L"apply", L"--icon-from-image", temp / L"bad.png", folder}, 1, L"bad.png"},
        {{L"make-icon", L"--from-image", temp / L"bad.png", temp / L"x.ico"},
         1,
         L"Could not read the picture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2]);
        CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.says), std::wstring::npos) << run.err;
    }
    EXPECT_TRUE(testsupport::FolderEntries(folder).empty());
    EXPECT_FALSE(Exists(temp / L"x.ico"));
}

// velquin.exe runs the command with no window and ends with its status.
TEST_F(MadeIconCliTest, VelquinExeRunsACommandWindowless) {
    const std::wstring folder = Folder(L"Work Folder");
    std::wstring program = cli_test::ProgramPath(VELQUIN_CLI_EXE);
    program = program.substr(0, program.rfind(L'\\')) + L"\\velquin.exe";
    EXPECT_EQ(RunAsExplorer(L"\"" + program + L"\" apply --icon-colour pink --tip \"Keep me\" \"" +
                            folder + L"\""),
              0u);
    const std::wstring icon = MadeIconIn(folder);
    ASSERT_FALSE(icon.empty());
    EXPECT_EQ(Profile(folder, L"IconFile"), icon);
    EXPECT_EQ(Profile(folder, L"InfoTip"), L"Keep me");
}

// integrate on writes the cascade; each colour's command, run as Explorer runs it, colours
// the folder in place (its tip stays) and the last one leaves only its own icon there.
TEST_F(MadeIconCliTest, FolderColourCascade) {
    CliRun on = RunCli({L"integrate", L"on"});
    ASSERT_EQ(on.exitCode, 0u) << on.err;
    EXPECT_EQ(RegText(kCascade, L"MUIVerb"), L"Folder Colour");
    EXPECT_EQ(RegText(kCascade, L"SubCommands"), L"");
    EXPECT_EQ(RegText(kCascade, L"MultiSelectModel"), L"Player");
    std::vector<std::wstring> texts, commands;
    HKEY shell = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kCascade) + L"\\shell").c_str(), 0,
                              KEY_READ, &shell),
              ERROR_SUCCESS);
    wchar_t name[64];
    for (DWORD i = 0, size = 64; ::RegEnumKeyExW(shell, i, name, &size, nullptr, nullptr, nullptr,
                                                 nullptr) == ERROR_SUCCESS;
         ++i, size = 64) {
        const std::wstring key = std::wstring(kCascade) + L"\\shell\\" + name;
        texts.push_back(RegText(key, L"MUIVerb"));
        commands.push_back(RegText(key + L"\\command"));
    }
    ::RegCloseKey(shell);
    ASSERT_EQ(texts.size(), 12u);
    for (size_t i = 0; i < std::size(icon_maker::kColours); ++i)
        EXPECT_EQ(texts[i], icon_maker::kColours[i].name);  // the colour list, in its order
    EXPECT_EQ(texts.back(), L"Default Folder Icon");
    EXPECT_NE(commands[7].find(L"velquin.exe\" set --icon-colour \"Red\" \"%V\""),
              std::wstring::npos)
        << commands[7];
    EXPECT_NE(commands.back().find(L"unset --icon \"%V\""), std::wstring::npos);

    if (!cli::IsCommandName(L"set") || !cli::IsCommandName(L"unset")) {
        RunCli({L"integrate", L"off"});
        GTEST_SKIP() << "set and unset are not in this build";
    }
    const std::wstring folder = Folder(L"Coloured");
    ASSERT_EQ(RunCli({L"apply", L"--tip", L"My tip", folder}).exitCode, 0u);
    std::wstring first;
    for (size_t i = 0; i + 1 < commands.size(); ++i) {
        SCOPED_TRACE(texts[i]);
        std::wstring line = commands[i];
        line.replace(line.find(L"%V"), 2, folder);
        EXPECT_EQ(RunAsExplorer(line), 0u);
        const std::wstring icon = MadeIconIn(folder);
        EXPECT_NE(Profile(folder, L"IconResource").find(icon), std::wstring::npos);
        EXPECT_EQ(Profile(folder, L"InfoTip"), L"My tip");
        if (i == 0)
            first = icon;
    }
    EXPECT_FALSE(Exists(folder + L"\\" + first));  // White's icon went when the next came

    std::wstring line = commands.back();
    line.replace(line.find(L"%V"), 2, folder);
    EXPECT_EQ(RunAsExplorer(line), 0u);
    EXPECT_EQ(Profile(folder, L"IconResource"), L"<missing>");
    EXPECT_EQ(Profile(folder, L"InfoTip"), L"My tip");

    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_EQ(RegText(kCascade, L"MUIVerb"), L"<missing>");
}

}  // namespace
