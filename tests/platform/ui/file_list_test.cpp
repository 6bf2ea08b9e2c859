#include <gtest/gtest.h>

#include "list_host.h"
#include "platform/ui/file_list.h"

using listtest::ListHost;
using platform::FileList;

namespace {

constexpr int kId = 201;
constexpr wchar_t kIconPattern[] = L"*.ico;*.dll;*.exe";

std::vector<std::wstring> Names(const FileList& list) {
    std::vector<std::wstring> names;
    for (size_t i = 0; i < list.Count(); ++i)
        names.push_back(list.Name(i));
    return names;
}

class FileListTest : public testing::Test {
  protected:
    void SetUp() override {
        for (auto name : {L"b.dll", L"a.ICO", L"a.icon", L"C.exe", L"photo.jpg", L"noext"})
            listtest::MakeFile(temp / name);
        listtest::MakeFolder(temp / L"folder.ico");
        ASSERT_TRUE(list.Create(host.hwnd(), kId, listtest::kListRect));
        ASSERT_EQ(list.SetPath(temp.path()), 0u);
    }
    testsupport::TempFolder temp;
    ListHost host;
    FileList list;
};

}  // namespace

TEST_F(FileListTest, ListsEveryFileSortedUntilAPatternIsSet) {
    EXPECT_EQ(list.Pattern(), L"*.*");
    EXPECT_EQ(list.Path(), temp.path());
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"a.ICO", L"a.icon", L"b.dll", L"C.exe",
                                                      L"noext", L"photo.jpg"}));

    ASSERT_EQ(list.SetPattern(kIconPattern), 0u);
    EXPECT_EQ(list.Pattern(), kIconPattern);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"a.ICO", L"b.dll", L"C.exe"}));
    EXPECT_EQ(::SendMessageW(list.hwnd(), LB_GETCOUNT, 0, 0), 3);

    // The pattern stays with the list as it moves.
    testsupport::TempFolder other;
    listtest::MakeFile(other / L"x.EXE");
    listtest::MakeFile(other / L"x.txt");
    ASSERT_EQ(list.SetPath(other.path() + L"\\"), 0u);
    EXPECT_EQ(list.Path(), other.path());
    EXPECT_EQ(Names(list), std::vector<std::wstring>{L"x.EXE"});
}

TEST_F(FileListTest, ClickSelectsAndNotifiesLikeTheUser) {
    ASSERT_EQ(list.SetPattern(kIconPattern), 0u);
    EXPECT_EQ(list.FileName(), L"");
    list.Click(1);
    EXPECT_EQ(list.FileName(), L"b.dll");
    EXPECT_EQ(host.Count(kId, LBN_SELCHANGE), 1);
    list.Click(99);  // no such row: nothing happens
    EXPECT_EQ(list.FileName(), L"b.dll");
    EXPECT_EQ(host.Count(kId, LBN_SELCHANGE), 1);

    // A selection by mouse reaches the parent the same way.
    RECT item{};
    ::SendMessageW(list.hwnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    ::SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, at);
    listtest::Pump();
    EXPECT_EQ(list.FileName(), L"C.exe");
    EXPECT_EQ(host.Count(kId, LBN_SELCHANGE), 2);

    // Moving to another folder clears the selection.
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    EXPECT_EQ(list.FileName(), L"");
}

TEST_F(FileListTest, FailedSetPathChangesNothing) {
    list.Click(0);
    auto names = Names(list);
    EXPECT_NE(list.SetPath(temp / L"missing"), 0u);
    EXPECT_NE(list.SetPath(temp / L"a.ICO"), 0u);
    EXPECT_EQ(list.Path(), temp.path());
    EXPECT_EQ(Names(list), names);
    EXPECT_EQ(list.FileName(), L"a.ICO");
}
