#include <gtest/gtest.h>

#include "list_host.h"
#include "platform/core/folder_entries.h"

using platform::JoinPath;
using platform::ListFiles;
using platform::ListSubfolders;
using platform::NormaliseFolderPath;
using Names = std::vector<std::wstring>;

TEST(FolderEntries, SubfoldersOnlySortedIgnoringCaseByCodeOrder) {
    testsupport::TempFolder temp;
    for (auto name : {L"beta", L"Alpha", L"_under", L"gamma", L"Zeta"})
        listtest::MakeFolder(temp / name);
    listtest::MakeFile(temp / L"afile.txt");
    Names names{L"stale"};
    ASSERT_EQ(ListSubfolders(temp.path(), names), 0u);
    // Ordinal: "_" (0x5F) sorts after the upper-cased letters.
    EXPECT_EQ(names, (Names{L"Alpha", L"beta", L"gamma", L"Zeta", L"_under"}));
}

TEST(FolderEntries, FilesMatchAnyMaskIgnoringCase) {
    testsupport::TempFolder temp;
    for (auto name : {L"a.ICO", L"a.icon", L"b.dll", L"C.Exe", L"d.txt", L"noext", L"x.ico.txt"})
        listtest::MakeFile(temp / name);
    listtest::MakeFolder(temp / L"folder.ico");
    Names names;
    ASSERT_EQ(ListFiles(temp.path(), L"*.ico;*.dll;*.exe", names), 0u);
    EXPECT_EQ(names, (Names{L"a.ICO", L"b.dll", L"C.Exe"}));
    ASSERT_EQ(ListFiles(temp.path(), L"*.*", names), 0u);
    EXPECT_EQ(names,
              (Names{L"a.ICO", L"a.icon", L"b.dll", L"C.Exe", L"d.txt", L"noext", L"x.ico.txt"}));
    ASSERT_EQ(ListFiles(temp.path(), L"*.jpg;*.bmp;*.gif", names), 0u);
    EXPECT_TRUE(names.empty());
}

TEST(FolderEntries, FailureLeavesNamesAlone) {
    testsupport::TempFolder temp;
    listtest::MakeFile(temp / L"file.txt");
    Names names{L"kept"};
    EXPECT_NE(ListSubfolders(temp / L"missing", names), 0u);
    EXPECT_NE(ListFiles(temp / L"file.txt", L"*.*", names), 0u);
    EXPECT_EQ(names, Names{L"kept"});
    // An empty folder is no failure.
    EXPECT_EQ(ListSubfolders(temp.path(), names), 0u);
    EXPECT_TRUE(names.empty());
}

TEST(FolderEntries, NormaliseKeepsRootsAndDropsTrailingSeparators) {
    EXPECT_EQ(NormaliseFolderPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(NormaliseFolderPath(L"c:\\"), L"C:\\");
    EXPECT_EQ(NormaliseFolderPath(L"C:\\windows\\\\"), L"C:\\windows");
    EXPECT_EQ(NormaliseFolderPath(L"c:/windows/system32/"), L"C:\\windows\\system32");
    EXPECT_EQ(NormaliseFolderPath(L"C:\\windows\\..\\"), L"C:\\");
    EXPECT_EQ(NormaliseFolderPath(L"\\\\server\\share\\"), L"\\\\server\\share");
    EXPECT_EQ(NormaliseFolderPath(L"\\\\server\\share\\dir\\"), L"\\\\server\\share\\dir");
    EXPECT_EQ(NormaliseFolderPath(L""), L"");

    testsupport::TempFolder temp;
    std::wstring relative;
    {
        testsupport::CurrentFolderScope here(temp.path());
        ASSERT_TRUE(here.changed());
        relative = NormaliseFolderPath(L"sub\\");
    }
    EXPECT_EQ(relative, NormaliseFolderPath(temp / L"sub"));
}

TEST(FolderEntries, JoinPutsExactlyOneBackslash) {
    EXPECT_EQ(JoinPath(L"C:\\", L"a.ico"), L"C:\\a.ico");
    EXPECT_EQ(JoinPath(L"C:\\Icons", L"a.ico"), L"C:\\Icons\\a.ico");
    EXPECT_EQ(JoinPath(L"\\\\server\\share", L"a"), L"\\\\server\\share\\a");
}
