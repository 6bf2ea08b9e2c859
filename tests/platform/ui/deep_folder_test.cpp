// The lists in folders whose paths are longer than MAX_PATH characters.
#include <gtest/gtest.h>

#include "list_host.h"
#include "platform/ui/file_list.h"
#include "platform/core/folder_entries.h"
#include "platform/ui/folder_list.h"
#include "platform/core/path_text.h"

namespace {

TEST(DeepFolder, ListsWorkAt300And1000Characters) {
    for (size_t length : {300u, 1000u}) {
        SCOPED_TRACE(length);
        testsupport::TempFolder temp;
        std::wstring deep = testsupport::MakeDeepFolder(temp.path(), length);
        ASSERT_EQ(deep.size(), length);
        ASSERT_TRUE(::CreateDirectoryW(platform::ExtendedPath(deep + L"\\inner").c_str(), nullptr));
        testsupport::WriteBytes(deep + L"\\a.ico", "x");
        testsupport::WriteBytes(deep + L"\\b.txt", "x");
        ASSERT_TRUE(testsupport::Exists(deep + L"\\a.ico"));

        std::vector<std::wstring> names;
        ASSERT_EQ(platform::ListSubfolders(deep, names), 0u);
        EXPECT_EQ(names, std::vector<std::wstring>{L"inner"});
        ASSERT_EQ(platform::ListFiles(deep, L"*.*", names), 0u);
        EXPECT_EQ(names, (std::vector<std::wstring>{L"a.ico", L"b.txt"}));

        listtest::ListHost host;
        platform::FolderList folders;
        platform::FileList files;
        ASSERT_TRUE(folders.Create(host.hwnd(), 1, listtest::kListRect));
        ASSERT_TRUE(files.Create(host.hwnd(), 2, listtest::kListRect));
        ASSERT_EQ(folders.SetPath(deep + L"\\"), 0u);
        EXPECT_EQ(folders.Path(), deep);
        ASSERT_GT(folders.RowCount(), 1u);
        EXPECT_EQ(folders.RowText(folders.RowCount() - 1), L"inner");
        // Into the subfolder and back up through its ancestor row.
        ASSERT_EQ(folders.SetPath(deep + L"\\inner"), 0u);
        EXPECT_EQ(folders.Path(), deep + L"\\inner");
        ASSERT_EQ(folders.SetPath(deep), 0u);

        ASSERT_EQ(files.SetPattern(L"*.ico;*.dll;*.exe"), 0u);
        ASSERT_EQ(files.SetPath(deep), 0u);
        EXPECT_EQ(files.Path(), deep);
        ASSERT_EQ(files.Count(), 1u);
        EXPECT_EQ(files.Name(0), L"a.ico");
    }
}

}  // namespace
