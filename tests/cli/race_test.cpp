// velquin-cli processes racing each other over one folder: whatever the order, another
// tool's desktop.ini survives in desktop.ini or in a backup.
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

// True when the bytes are desktop.ini's or any backup's in folder.
bool KeptIn(const std::wstring& folder, const std::string& bytes) {
    for (const std::wstring& name : testsupport::FolderEntries(folder)) {
        const bool backup = name.size() > 4 && name.substr(name.size() - 4) == L".bak";
        if ((name == L"desktop.ini" || backup) &&
            testsupport::ReadBytes(folder + L"\\" + name) == bytes)
            return true;
    }
    return false;
}

struct Race {
    const char* name;
    std::vector<std::wstring> rival;  // the command run at the same moment as restore
};

void PrintTo(const Race& race, std::ostream* os) {
    *os << race.name;
}

class RestoreRace : public ::testing::TestWithParam<Race> {};

// Another tool's file, applied over (so it is the backup), then restore and a rival at once.
TEST_P(RestoreRace, KeepsAnotherToolsFile) {
    constexpr int kRounds = 70;
    testsupport::TempFolder temp;
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring folder = temp / std::to_wstring(round);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        testsupport::WriteBytes(folder + L"\\desktop.ini", kForeign);
        ASSERT_EQ(RunCli({L"apply", L"--tip", L"a", folder}).exitCode, 0u);

        std::vector<std::wstring> rival = GetParam().rival;
        rival.push_back(folder);
        std::thread restore([&] { RunCli({L"restore", folder}); });
        RunCli(rival);
        restore.join();
        lost += KeptIn(folder, kForeign) ? 0 : 1;
    }
    std::cout << "restore against " << GetParam().name << ": the other tool's file lost in " << lost
              << " of " << kRounds << " rounds\n";
    EXPECT_EQ(lost, 0);
}

INSTANTIATE_TEST_SUITE_P(Rivals, RestoreRace,
                         ::testing::Values(Race{"apply", {L"apply", L"--tip", L"b"}},
                                           Race{"remove", {L"remove"}},
                                           Race{"restore", {L"restore"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
