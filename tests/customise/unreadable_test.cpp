// A desktop.ini that can't be looked at is a failure, never "no file"; files a killed writer
// left behind go with the next write. Wine gives an administrator every file, so the refusal
// a user without rights meets is stood in for the file's attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "customise/file_steps.h"
#include "customise/folder_tools.h"
#include "customise/in_place.h"
#include "customise/ini_file.h"
#include "support/temp_folder.h"

using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

constexpr char kTip[] = "[.ShellClassInfo]\r\nInfoTip=kept\r\n[Tool]\r\nx=1\r\n";

// GetFileAttributesW that refuses every desktop.ini as a file without read permission does.
DWORD WINAPI RefusedIni(LPCWSTR path) {
    const std::wstring_view name(path);
    if (name.size() >= 12 && name.substr(name.size() - 12) == L"\\desktop.ini") {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_FILE_ATTRIBUTES;
    }
    return ::GetFileAttributesW(path);
}

class UnreadableIniTest : public testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(ini, kTip);
        customise::detail::readFileAttributes = RefusedIni;
    }
    void TearDown() override { customise::detail::readFileAttributes = ::GetFileAttributesW; }

    testsupport::TempFolder temp;
    const std::wstring ini = temp / L"desktop.ini";
};

// Every way a folder's settings are read or written reports the refusal and changes nothing.
TEST_F(UnreadableIniTest, EveryPathReportsTheRefusalAndKeepsTheFile) {
    customise::FolderEdit unsetTip;
    unsetTip.unset = customise::MeasureBit(customise::MeasureId::Tip);
    customise::FolderEdit setTip;
    setTip.tip = L"new";
    const std::pair<const char*, std::function<customise::FileFailure()>> paths[] = {
        {"unset", [&] { return customise::EditFolder(temp.path(), unsetTip).failure; }},
        {"set", [&] { return customise::EditFolder(temp.path(), setTip).failure; }},
        {"write", [&] { return customise::ReplaceDesktopIni(temp.path(), "[x]\r\n").failure; }},
        {"delete", [&] { return customise::DeleteDesktopIni(temp.path(), {}).failure; }},
        {"show", [&] { return customise::ReadFolderSettings(temp.path()).failure; }},
    };
    for (const auto& [name, run] : paths) {
        const customise::FileFailure failure = run();
        EXPECT_EQ(failure.error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << name;
        EXPECT_EQ(failure.path, ini) << name;
        EXPECT_EQ(ReadBytes(ini), kTip) << name;
        EXPECT_FALSE(Exists(ini + L".bak")) << name;
    }
}

// Only a file that is not there is "nothing to do".
TEST_F(UnreadableIniTest, AMissingFileIsStillNothingToDo) {
    customise::detail::readFileAttributes = ::GetFileAttributesW;
    ::DeleteFileW(ini.c_str());
    customise::FolderEdit unsetTip;
    unsetTip.unset = customise::MeasureBit(customise::MeasureId::Tip);
    EXPECT_EQ(customise::EditFolder(temp.path(), unsetTip).status,
              customise::ReplaceStatus::Replaced);
    const customise::SettingsRead read = customise::ReadFolderSettings(temp.path());
    EXPECT_TRUE(read.ok);
    EXPECT_FALSE(read.settings.hasFile);
}

// A temporary file of Velquin's pattern that a killed writer left empty and unmarked goes once
// it is a few seconds old; a young one, or one with content, stays.
TEST(StaleTemporaryTest, EmptyUnmarkedLeftoversGoOnceOld) {
    testsupport::TempFolder temp;
    const struct {
        const wchar_t* name;
        const char* bytes;
        int ageSeconds;
        bool stays;
    } files[] = {
        {L"desktop.ini.~vel-4242-1.tmp", "", 60, false},
        {L"desktop.ini.~vel-4242-2.tmp", "", 0, true},          // a writer may be marking it
        {L"desktop.ini.~vel-4242-3.tmp", "[x]\r\n", 60, true},  // unmarked content: not ours
        {L"desktop.ini.~vel-x-4.tmp", "", 60, true},            // not the pattern
    };
    for (const auto& f : files) {
        const std::wstring path = temp / f.name;
        WriteBytes(path, f.bytes);
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER at{{now.dwLowDateTime, now.dwHighDateTime}};
        at.QuadPart -= static_cast<ULONGLONG>(f.ageSeconds) * 10'000'000;
        const FILETIME stamp{at.LowPart, at.HighPart};
        HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::SetFileTime(file, nullptr, nullptr, &stamp);
        ::CloseHandle(file);
    }
    ASSERT_EQ(
        customise::ReplaceDesktopIni(temp.path(), "[.ShellClassInfo]\r\nInfoTip=a\r\n").status,
        customise::ReplaceStatus::Replaced);
    for (const auto& f : files)
        EXPECT_EQ(Exists(temp / f.name), f.stays) << f.name;
}

// An older backup is kept whole through a temporary file and a move: nothing of ours is left
// beside it, and it carries the older content's marks.
TEST(StaleTemporaryTest, OlderBackupIsKeptWholeAndNothingElseStays) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp.path();
    WriteBytes(temp / L"desktop.ini", kTip);
    ASSERT_EQ(customise::ReplaceDesktopIni(folder, "[x]\r\n").status,
              customise::ReplaceStatus::Replaced);
    WriteBytes(temp / L"desktop.ini", "[Other]\r\ny=2\r\n");
    ASSERT_EQ(customise::ReplaceDesktopIni(folder, "[x]\r\n").status,
              customise::ReplaceStatus::Replaced);
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini (2).bak"), kTip);
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini.bak"), "[Other]\r\ny=2\r\n");
    for (const auto& name : testsupport::FolderEntries(folder))
        EXPECT_EQ(name.find(L".tmp"), std::wstring::npos) << name;
}

}  // namespace
