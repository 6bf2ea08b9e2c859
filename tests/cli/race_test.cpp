// velquin-cli processes racing each other over one folder: whatever the order, another
// tool's desktop.ini survives in desktop.ini or in a backup, and every made icon that
// desktop.ini or a backup names is there.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.h"
#include "support/temp_folder.h"

using cli_test::RunCli;

namespace {

const std::string kForeign = "[.ShellClassInfo]\r\nIconResource=C:\\a.ico,1\r\n[Other]\r\nk=1\r\n";

// desktop.ini and its backups in folder, by name.
std::vector<std::pair<std::wstring, std::string>> SettingsFiles(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, std::string>> files;
    for (const std::wstring& name : testsupport::FolderEntries(folder)) {
        const bool backup = name.size() > 4 && name.substr(name.size() - 4) == L".bak";
        if (name == L"desktop.ini" || backup)
            files.emplace_back(name, testsupport::ReadBytes(folder + L"\\" + name));
    }
    return files;
}

// A made icon ("velquin-" + 12 hex digits + ".ico") that a settings file names but that is
// not in the folder; empty when there is none.
std::wstring MissingMadeIcon(const std::wstring& folder) {
    for (const auto& [name, bytes] : SettingsFiles(folder)) {
        for (size_t at = bytes.find("velquin-"); at != bytes.npos;
             at = bytes.find("velquin-", at + 1)) {
            const std::string icon = bytes.substr(at, 24);
            if (icon.size() == 24 && icon.substr(20) == ".ico" &&
                !testsupport::Exists(folder + L"\\" + std::wstring(icon.begin(), icon.end())))
                return std::wstring(icon.begin(), icon.end()) + L" named in " + name;
        }
    }
    return {};
}

struct Race {
    const char* name;
    std::vector<std::wstring> rival;  // the command run at the same moment as the first
    std::vector<std::wstring> first = {L"restore"};
    int rounds = 70;
};

void PrintTo(const Race& race, std::ostream* os) {
    *os << race.name;
}

class RestoreRace : public ::testing::TestWithParam<Race> {};

// Another tool's file, applied over (so it is the backup), then restore and a rival at once.
TEST_P(RestoreRace, KeepsAnotherToolsFile) {
    const int kRounds = GetParam().rounds;
    testsupport::TempFolder temp;
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring folder = temp / std::to_wstring(round);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        testsupport::WriteBytes(folder + L"\\desktop.ini", kForeign);
        ASSERT_EQ(RunCli({L"apply", L"--tip", L"a", folder}).exitCode, 0u);

        std::vector<std::wstring> first = GetParam().first, rival = GetParam().rival;
        first.push_back(folder);
        rival.push_back(folder);
        std::thread one([&] { RunCli(first); });
        RunCli(rival);
        one.join();
        bool kept = false;
        for (const auto& [name, bytes] : SettingsFiles(folder))
            kept = kept || bytes == kForeign;
        lost += kept ? 0 : 1;
        EXPECT_EQ(MissingMadeIcon(folder), L"") << "round " << round;
    }
    std::cout << GetParam().name << ": the other tool's file lost in " << lost << " of " << kRounds
              << " rounds\n";
    EXPECT_EQ(lost, 0);
}

INSTANTIATE_TEST_SUITE_P(Rivals, RestoreRace,
                         ::testing::Values(Race{"apply", {L"apply", L"--tip", L"b"}},
                                           Race{"remove", {L"remove"}},
                                           Race{"restore", {L"restore"}},
                                           Race{"two_colours",
                                                {L"set", L"--icon-colour", L"Red"},
                                                {L"set", L"--icon-colour", L"Dark Blue"},
                                                25},
                                           Race{"one_colour",
                                                {L"set", L"--icon-colour", L"Orange"},
                                                {L"set", L"--icon-colour", L"Orange"},
                                                25}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
