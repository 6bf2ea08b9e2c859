// Two processes replacing one folder's desktop.ini at the same moment, and the backups that
// must never lose another tool's settings.
#include <atomic>
#include <functional>
#include <iostream>
#include <thread>

#include "customise/desktop_ini.h"
#include "customise/ini_file.h"
#include "customise_fixture.h"
#include "platform/core/module_path.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"
#include "support/start_process.h"

using namespace customise_test;
using main_window::Outcome;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// The racing helper program, built beside this test program.
std::wstring RaceWriter() {
    std::wstring self = platform::ModuleFileName();
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"velquin_race_writer.exe";
}

std::string ContentOf(const wchar_t* tag) {
    customise::Customisation fields;
    fields.tip = std::wstring(L"written by ") + tag;
    return customise::EncodeLines(customise::DesktopIniLines(fields));
}

// Runs two writers of count replaces each into folder at once; returns their failure counts.
std::pair<DWORD, DWORD> RunTwoWriters(const std::wstring& folder, int count) {
    platform::UniqueFile processes[2];
    const wchar_t* tags[2] = {L"A", L"B"};
    for (int i = 0; i < 2; ++i) {
        std::wstring command = L"\"" + RaceWriter() + L"\" \"" + folder + L"\" " +
                               std::to_wstring(count) + L" " + tags[i];
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION process{};
        if (!testsupport::StartProcess(nullptr, command, FALSE, 0, nullptr, startup, process)) {
            ADD_FAILURE() << "could not start the race writer, error " << ::GetLastError();
            return {~0u, ~0u};
        }
        ::CloseHandle(process.hThread);
        processes[i].reset(process.hProcess);
    }
    DWORD failures[2] = {~0u, ~0u};
    for (int i = 0; i < 2; ++i) {
        ::WaitForSingleObject(processes[i].get(), INFINITE);
        ::GetExitCodeProcess(processes[i].get(), &failures[i]);
    }
    return {failures[0], failures[1]};
}

// Both writers start from another tool's file: every replace succeeds, the file ends whole
// as one writer's content, the foreign bytes are in the backup, and nothing else is left.
TEST(TwoWriters, ThousandReplacesEachAllSucceed) {
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    testsupport::WriteBytes(ini, kForeignContent);
    auto [a, b] = RunTwoWriters(folder.path(), 1000);
    std::cout << "failed replaces: " << a << " + " << b << " of 2000\n";
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 0u);
    const std::string final = ReadBytes(ini);
    EXPECT_TRUE(final == ContentOf(L"A") || final == ContentOf(L"B")) << final;
    EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(ReadBytes(ini + L".bak"), kForeignContent);
    EXPECT_EQ(SortedEntries(folder.path()),
              (std::vector<std::wstring>{L"desktop.ini", L"desktop.ini.bak"}));
}

// A backup that is there already, whoever wrote it, is never overwritten: different content
// moves to the next free hidden name, identical content is not kept twice, and
// desktop.ini.bak always holds the newest.
TEST(TwoWriters, EarlierBackupsAreKept) {
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    const std::string first = "[Other]\r\nTool=1\r\n", second = "[Other]\r\nTool=2\r\n";
    testsupport::WriteBytes(ini + L".bak", "not written by Velquin");
    ::SetFileAttributesW((ini + L".bak").c_str(), FILE_ATTRIBUTE_READONLY);
    const FakeForm form = FakeForm::AllTicked(folder.path());
    for (const std::string* foreign : {&first, &first, &second}) {
        testsupport::WriteBytes(ini, *foreign);
        ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
        EXPECT_EQ(ReadBytes(ini + L".bak"), *foreign);
    }
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini (2).bak"), "not written by Velquin");
    EXPECT_EQ(KeptAttributes(folder / L"desktop.ini (2).bak"),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini (3).bak"), first);
    EXPECT_EQ(KeptAttributes(folder / L"desktop.ini (3).bak"), DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(SortedEntries(folder.path()),
              (std::vector<std::wstring>{L"desktop.ini", L"desktop.ini (2).bak",
                                         L"desktop.ini (3).bak", L"desktop.ini.bak"}));
}

}  // namespace

// Every writer waits for the folder's turn, deleting as writing: while another thread holds
// it, neither a write nor a deletion of desktop.ini gets between the holder's steps.
TEST(TwoWriters, DeletionAndWriteWaitForTheTurn) {
    using Step = std::function<customise::ReplaceResult(const std::wstring&)>;
    const std::pair<const char*, Step> writers[] = {
        {"delete", [](const std::wstring& f) { return customise::DeleteDesktopIni(f, {}); }},
        {"write", [](const std::wstring& f) { return customise::ReplaceDesktopIni(f, "[x]\r\n"); }},
    };
    for (const auto& [name, write] : writers) {
        TempFolder folder;
        testsupport::WriteBytes(folder / L"desktop.ini", kForeignContent);
        std::atomic<bool> holding = false, released = false;
        std::thread holder([&] {
            const customise::WriterTurn turn(platform::ExtendedPath(folder.path()));
            holding = true;
            ::Sleep(200);
            released = true;
        });
        while (!holding)
            ::Sleep(1);
        EXPECT_EQ(write(folder.path()).status, customise::ReplaceStatus::Replaced) << name;
        EXPECT_TRUE(released) << name << " did not wait for the turn";
        holder.join();
        EXPECT_EQ(ReadBytes(folder / L"desktop.ini.bak"), kForeignContent) << name;
    }
}
