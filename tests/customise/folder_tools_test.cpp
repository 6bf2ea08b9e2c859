// The writes both front ends share: the same bytes as the window, the icon copy kept in the
// folder, and the backup put back.
#include "customise/folder_tools.h"

#include "customise_fixture.h"

using namespace customise_test;
using customise::ReplaceStatus;
using main_window::Outcome;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

TEST(FolderTools, WritesTheWindowsBytes) {
    FakeForm unicode = FakeForm::AllTicked(L"");
    unicode.iTip = L"\u65e5\u672c";
    for (const FakeForm& values : {FakeForm{}, FakeForm::AllTicked(L""), unicode}) {
        TempFolder byWindow, byTool;
        FakeForm form = values;
        form.path = byWindow.path() + L"\\";
        ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
        // Without a trailing separator too.
        ASSERT_EQ(customise::WriteCustomisation(byTool.path(), FieldsOf(values), false).status,
                  ReplaceStatus::Replaced);
        EXPECT_EQ(ReadBytes(byTool / L"desktop.ini"), ReadBytes(byWindow / L"desktop.ini"));
        EXPECT_EQ(KeptAttributes(byTool / L"desktop.ini"),
                  DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    }
    TempFolder folder;
    ASSERT_EQ(customise::WriteDefaults(folder.path() + L"\\").status, ReplaceStatus::Replaced);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), kDefaultContent);
}

// The copy is hidden and system, the file names it alone, another file of its name is never
// overwritten, an identical one is reused, and an icon already in the folder stays itself.
TEST(FolderTools, KeepsACopyOfTheIcon) {
    TempFolder icons, folder;
    testsupport::WriteBytes(icons / L"app.ico", "icon bytes");
    FakeForm form = FakeForm::In(folder.path());
    form.checks[1] = true;
    form.dirIco = icons / L"app.ico";
    form.icoIndex = L"0";
    form.keepIcon = true;
    const std::wstring ini = folder / L"desktop.ini";

    // Another file of that name is there: the copy takes "(2)", then reuses it.
    testsupport::WriteBytes(folder / L"app.ico", "someone else's icon");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
        EXPECT_EQ(ReadBytes(folder / L"app.ico"), "someone else's icon");
        EXPECT_EQ(KeptAttributes(folder / L"app.ico"), 0u);
        EXPECT_EQ(ReadBytes(folder / L"app (2).ico"), "icon bytes");
        EXPECT_EQ(KeptAttributes(folder / L"app (2).ico"),
                  DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
        EXPECT_EQ(ProfileString(ini, L".ShellClassInfo", L"IconFile"), L"app (2).ico");
        EXPECT_EQ(SortedEntries(folder.path()),
                  (std::vector<std::wstring>{L"app (2).ico", L"app.ico", L"desktop.ini"}));
    }
    EXPECT_NE(ReadBytes(ini).find("\r\nIconFile=app (2).ico\r\nIconIndex =0\r\n"),
              std::string::npos);

    // Copied onto itself: the file in the folder is used as it is.
    form.dirIco = folder / L"app.ico";
    ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    EXPECT_EQ(ProfileString(ini, L".ShellClassInfo", L"IconFile"), L"app.ico");
    EXPECT_EQ(SortedEntries(folder.path()),
              (std::vector<std::wstring>{L"app (2).ico", L"app.ico", L"desktop.ini"}));
}

TEST(FolderTools, AFailedWriteLeavesNoIconCopy) {
    TempFolder icons, folder;
    testsupport::WriteBytes(icons / L"app.ico", "icon bytes");
    customise::Customisation fields;
    fields.icon = customise::IconChoice{icons / L"gone.ico", L"0"};
    customise::ReplaceResult result = customise::WriteCustomisation(folder.path(), fields, true);
    EXPECT_EQ(result.status, ReplaceStatus::Failed);
    EXPECT_EQ(result.failure.what, L"Could not copy the icon file into the folder.");
    EXPECT_EQ(result.failure.path, icons / L"gone.ico");
    EXPECT_EQ(result.failure.error, DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_TRUE(testsupport::FolderEntries(folder.path()).empty());

    // The copy is made, then desktop.ini can't be written: the copy goes again.
    ::CreateDirectoryW((folder / L"desktop.ini").c_str(), nullptr);
    fields.icon->file = icons / L"app.ico";
    EXPECT_EQ(customise::WriteCustomisation(folder.path(), fields, true).status,
              ReplaceStatus::Failed);
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
}

TEST(FolderTools, SummarySaysTheIconIsKept) {
    TempFolder folder;
    FakeForm form = FakeForm::AllTicked(folder.path());
    form.keepIcon = true;
    std::vector<testsupport::SeenBox> seen;
    EXPECT_EQ(Click(main_window::ConfirmAndApply, form, IDNO, &seen), Outcome::Declined);
    EXPECT_EQ(seen.at(0).text,
              L"Applied Vel Measures are:\r\n"
              L"Applies Background Image: C:\\Pictures\\sky.jpg\r\n"
              L"Applies Icon: C:\\Icons\\app.ico\r\n"
              L"Applies Icon Text Color: Pink\r\n"
              L"Applies Folder InfoTip: Holiday photos\r\n"
              L"Keeps a Copy of the Icon in the Folder");
    form.checks[1] = false;  // no icon, nothing to keep
    Click(main_window::ConfirmAndApply, form, IDNO, &seen);
    EXPECT_EQ(seen.at(0).text.find(L"Keeps"), std::wstring::npos);
    EXPECT_TRUE(testsupport::FolderEntries(folder.path()).empty());
}

TEST(FolderTools, RestorePutsTheBackupBack) {
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    testsupport::WriteBytes(ini, kForeignContent);
    EXPECT_FALSE(customise::HasBackup(folder.path()));
    ASSERT_EQ(Click(main_window::ConfirmAndApply, FakeForm::AllTicked(folder.path())),
              Outcome::Written);
    EXPECT_TRUE(customise::HasBackup(folder.path()));

    EXPECT_EQ(customise::RestoreDesktopIni(folder.path()).status, ReplaceStatus::Replaced);
    EXPECT_EQ(ReadBytes(ini), kForeignContent);
    EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_TRUE(::GetFileAttributesW(folder.path().c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_FALSE(customise::HasBackup(folder.path()));
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});

    // Another tool's file that differs from the backup is kept aside when it is put back.
    ASSERT_EQ(Click(main_window::ConfirmAndRemove, FakeForm::In(folder.path())), Outcome::Written);
    testsupport::WriteBytes(ini, "[Other]\r\nTool=1\r\n");
    EXPECT_EQ(customise::RestoreDesktopIni(folder.path()).status, ReplaceStatus::Replaced);
    EXPECT_EQ(ReadBytes(ini), kForeignContent);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini (2).bak"), "[Other]\r\nTool=1\r\n");
    ::DeleteFileW((folder / L"desktop.ini (2).bak").c_str());

    // No backup now: refused, nothing changed.
    customise::ReplaceResult again = customise::RestoreDesktopIni(folder.path() + L"\\");
    EXPECT_EQ(again.status, ReplaceStatus::Failed);
    EXPECT_EQ(again.failure.error, DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(again.failure.path, ini + L".bak");
    EXPECT_EQ(ReadBytes(ini), kForeignContent);
    EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
}

}  // namespace
