// Faults an adversarial user found, each as it was found: the real velquin-cli on real
// folders and registry keys, or (where Wine, running tests as administrator, can't refuse a
// read) the commands' own code with the system's refusal stood in.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/console_out.h"
#include "cli/folder_run.h"
#include "cli_process.h"
#include "customise/in_place.h"
#include "customise/tree_walk.h"
#include "support/temp_folder.h"

using cli_test::CliRun;
using cli_test::RunCli;
using testsupport::Exists;
using testsupport::ReadBytes;

namespace {

class FaultsCliTest : public cli_test::FolderTest {};

// A value the profile reader already reads as the one set leaves the line's bytes alone; a
// line Velquin did not write that changes is kept first, so restore gives it back.
TEST_F(FaultsCliTest, AnotherToolsLineIsLeftOrKeptNeverRewrittenUnkept) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string line;
        std::vector<std::wstring> set;
        bool changes;
    } cases[] = {
        {"quoted", "InfoTip=\"same\"", {L"--tip", L"same"}, false},
        {"tail", "InfoTip=same\0tail"s, {L"--tip", L"same"}, false},
        {"bare tip", "InfoTip", {L"--tip", L"same"}, true},
        {"bare icon", "IconResource", {L"--icon", L"C:\\x.ico,0"}, true},
    };
    for (const auto& c : cases) {
        const std::string ini = "[.ShellClassInfo]\r\n" + c.line + "\r\n";
        const std::wstring folder = Folder(std::wstring(c.name, c.name + strlen(c.name)), ini);
        std::vector<std::wstring> args{L"set"};
        args.insert(args.end(), c.set.begin(), c.set.end());
        args.push_back(folder);
        CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0u) << c.name << run.err;
        EXPECT_EQ(Exists(folder + L"\\desktop.ini.bak"), c.changes) << c.name;
        if (!c.changes) {
            EXPECT_EQ(Ini(folder), ini) << c.name;
            // Still another's file: a change is kept first.
            EXPECT_EQ(RunCli({L"set", L"--tip", L"other", folder}).exitCode, 0u) << c.name;
            EXPECT_EQ(ReadBytes(folder + L"\\desktop.ini.bak"), ini) << c.name;
            continue;
        }
        EXPECT_NE(Ini(folder), ini) << c.name;
        EXPECT_EQ(RunCli({L"restore", folder}).exitCode, 0u) << c.name;
        EXPECT_EQ(Ini(folder), ini) << c.name;
    }
}

// Folders named as DOS devices are written and marked through the "\\?\" form, never through
// the plain form, which names the device. (The mark itself, read-only, Wine keeps on no
// folder: that the plain form is not used is PathText's table.)
TEST_F(FaultsCliTest, DeviceNamedFoldersInATreeAreWrittenAndMarked) {
    const std::wstring root = Folder(L"tree");
    const std::wstring names[] = {L"nul.txt", L"CON", L"com1.x"};
    for (const auto& name : names)
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + root + L"\\" + name).c_str(), nullptr));
    CliRun run = RunCli({L"set", L"--tip", L"T", L"--recursive", root});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.out.find(L"done: 4, failed: 0, skipped: 0"), std::wstring::npos) << run.out;
    for (const auto& name : names) {
        const std::wstring folder = L"\\\\?\\" + root + L"\\" + name;
        EXPECT_EQ(ReadBytes(folder + L"\\desktop.ini"), "[.ShellClassInfo]\r\nInfoTip=T\r\n")
            << name;
        testsupport::RemoveTree(folder);
    }
}

// restore gives back the file's attributes with its bytes: read-only too.
TEST_F(FaultsCliTest, RestoreBringsBackTheReadOnlyMark) {
    const std::string ini = "[.ShellClassInfo]\r\nInfoTip=theirs\r\n[Tool]\r\nx=1\r\n";
    const std::wstring folder = Folder(L"marked", ini);
    const std::wstring file = folder + L"\\desktop.ini";
    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), marks));
    EXPECT_EQ(RunCli({L"set", L"--tip", L"mine", folder}).exitCode, 0u);
    EXPECT_EQ(RunCli({L"restore", folder}).exitCode, 0u);
    EXPECT_EQ(Ini(folder), ini);
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & marks, marks);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A folder whose sub-folders can't be listed counts once in the summary (Wine lists every
// folder for an administrator: the refusal is stood in).
TEST_F(FaultsCliTest, AnUnlistedFolderCountsOnce) {
    const std::wstring root = Folder(L"walk");
    for (const wchar_t* name : {L"\\locked", L"\\locked\\inner", L"\\open"})
        ASSERT_TRUE(::CreateDirectoryW((root + name).c_str(), nullptr));
    const auto real = customise::detail::openListing;
    customise::detail::openListing = [](LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                                        FINDEX_SEARCH_OPS search, LPVOID filter,
                                        DWORD flags) -> HANDLE {
        if (std::wstring_view(pattern).find(L"\\locked\\") != std::wstring_view::npos) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return ::FindFirstFileExW(pattern, level, data, search, filter, flags);
    };
    cli::Arguments arguments;
    arguments.recursive = true;
    arguments.folders = {root};
    arguments.edit.tip = L"T";
    std::wstring outText, errText;
    cli::ConsoleOut out(outText), err(errText);
    const int status = cli::RunOnFolders(
        arguments, L"Set: ",
        [&](const std::wstring& folder) { return customise::EditFolder(folder, arguments.edit); },
        out, err);
    customise::detail::openListing = real;
    EXPECT_EQ(status, 0);
    EXPECT_NE(outText.find(L"Folders done: 3, failed: 0, skipped: 0"), std::wstring::npos)
        << outText;
    EXPECT_NE(errText.find(L"Could not list the folder"), std::wstring::npos) << errText;
    EXPECT_FALSE(Exists(root + L"\\locked\\inner\\desktop.ini"));
}

// integrate off takes away only what on added: the installer's very values stay, and with
// them the entry's command.
TEST(FaultsIntegrateTest, OffLeavesTheInstallersEntryWhole) {
    const std::wstring entry = L"Software\\Classes\\Directory\\shell\\Velquin";
    auto text = [](const std::wstring& path, const wchar_t* name) {
        wchar_t value[512] = L"<missing>";
        DWORD size = sizeof(value);
        ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size);
        return std::wstring(value);
    };
    // The installer's entries: on's values without on's record.
    ASSERT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Velquin"), ERROR_SUCCESS);
    const std::wstring label = text(entry, nullptr), command = text(entry + L"\\command", nullptr);
    ASSERT_NE(command, L"<missing>");
    const wchar_t mine[] = L"kept";
    ASSERT_EQ(
        ::RegSetKeyValueW(HKEY_CURRENT_USER, entry.c_str(), L"Mine", REG_SZ, mine, sizeof(mine)),
        ERROR_SUCCESS);
    EXPECT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_EQ(text(entry, nullptr), label);
    EXPECT_EQ(text(entry + L"\\command", nullptr), command);
    EXPECT_EQ(text(entry, L"Mine"), mine);
    for (const wchar_t* made :
         {L"Directory\\shell\\Velquin", L"Drive\\shell\\Velquin",
          L"Directory\\Background\\shell\\Velquin", L"Directory\\shell\\VelquinColour",
          L"Directory\\shell\\VelquinMark"}) {
        const std::wstring key = std::wstring(L"Software\\Classes\\") + made;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
}

// An earlier version's on over the installer's entry kept nothing of it: off then leaves
// the entry whole rather than without its command.
TEST(FaultsIntegrateTest, OffAfterAnEarlierOnKeepsTheCommand) {
    const std::wstring entry = L"Software\\Classes\\Directory\\shell\\Velquin\\command";
    ASSERT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Velquin"), ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Velquin\\Explorer menu",
                                L"Directory\\shell\\Velquin", REG_MULTI_SZ, L"\0", 4),
              ERROR_SUCCESS);
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, entry.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                             nullptr, nullptr),
              ERROR_SUCCESS);
    // The cascades lost their record too: their MUIVerb, the table's, tells they are ours.
    for (const wchar_t* cascade : {L"VelquinColour", L"VelquinMark"}) {
        const std::wstring key = std::wstring(L"Software\\Classes\\Directory\\shell\\") + cascade;
        EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"MUIVerb", RRF_RT_ANY, nullptr,
                                 nullptr, nullptr),
                  ERROR_SUCCESS)
            << cascade;
    }
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);  // the entry alone: taken away
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, entry.c_str(), nullptr, RRF_RT_ANY, nullptr,
                             nullptr, nullptr),
              ERROR_SUCCESS);
}

// on keeps the value it writes over each time: off puts back the user's latest.
TEST(FaultsIntegrateTest, OffPutsBackTheUsersLatestText) {
    const std::wstring entry = L"Software\\Classes\\Directory\\shell\\Velquin";
    auto setText = [&](const std::wstring& value) {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, entry.c_str(), nullptr, REG_SZ, value.c_str(),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    ASSERT_EQ(setText(L"First"), ERROR_SUCCESS);
    EXPECT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    ASSERT_EQ(setText(L"Second"), ERROR_SUCCESS);
    EXPECT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    wchar_t value[64] = L"<missing>";
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, entry.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_STREQ(value, L"Second");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, entry.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, entry.c_str());
}

}  // namespace
