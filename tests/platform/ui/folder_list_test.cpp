#include <gtest/gtest.h>

#include <algorithm>

#include "list_host.h"
#include "platform/ui/dpi_layout.h"
#include "platform/ui/folder_list.h"
#include "platform/core/folder_entries.h"
#include "support/dialog_answerer.h"

using listtest::ListHost;
using platform::FolderList;
using platform::kFolderListChange;

namespace {

constexpr int kId = 101;

std::vector<std::wstring> Rows(const FolderList& list) {
    std::vector<std::wstring> rows;
    for (size_t i = 0; i < list.RowCount(); ++i)
        rows.push_back(list.RowText(i));
    return rows;
}

// The temp folder's own path split into rows: root, then each level.
std::vector<std::wstring> AncestorRows(const std::wstring& path) {
    std::vector<std::wstring> rows{path.substr(0, 3)};
    for (size_t start = 3; start < path.size();) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        rows.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return rows;
}

LRESULT ListCount(const FolderList& list) {
    return ::SendMessageW(list.hwnd(), LB_GETCOUNT, 0, 0);
}
LRESULT Selected(const FolderList& list) {
    return ::SendMessageW(list.hwnd(), LB_GETCURSEL, 0, 0);
}

class FolderListTest : public testing::Test {
  protected:
    void SetUp() override {
        for (auto name : {L"beta", L"Alpha", L"gamma"})
            listtest::MakeFolder(temp / name);
        listtest::MakeFile(temp / L"file.txt");
        ASSERT_TRUE(list.Create(host.hwnd(), kId, listtest::kListRect));
    }
    testsupport::TempFolder temp;
    ListHost host;
    FolderList list;
};

}  // namespace

TEST_F(FolderListTest, StartsAtTheCurrentFolderWithoutChange) {
    FolderList other;
    {
        testsupport::CurrentFolderScope here(temp.path() + L"\\");
        ASSERT_TRUE(here.changed());
        ASSERT_TRUE(other.Create(host.hwnd(), kId + 1, listtest::kListRect));
    }
    EXPECT_EQ(other.Path(), temp.path());
    EXPECT_EQ(host.Count(kId + 1, kFolderListChange), 0);
}

// Made empty, the list opens nothing (no rows, no path) until its first SetPath, which is a
// change like any other; from then on it draws the rows its parent is asked to draw.
TEST_F(FolderListTest, MadeEmptyOpensNothingUntilSetPath) {
    FolderList empty;
    {
        testsupport::CurrentFolderScope here(temp.path());
        ASSERT_TRUE(empty.CreateEmpty(host.hwnd(), kId + 1, listtest::kListRect));
    }
    EXPECT_TRUE(empty.Path().empty());
    EXPECT_EQ(empty.RowCount(), 0u);
    EXPECT_EQ(ListCount(empty), 0);
    ASSERT_EQ(empty.SetPath(temp.path()), 0u);
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    EXPECT_EQ(Rows(empty), Rows(list));
    EXPECT_EQ(host.Count(kId + 1, kFolderListChange), 1);
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    DRAWITEMSTRUCT draw{ODT_LISTBOX,         kId + 1, 0, ODA_DRAWENTIRE, 0, empty.hwnd(), dc.get(),
                        RECT{0, 0, 100, 20}, 0};
    EXPECT_TRUE(::SendMessageW(host.hwnd(), WM_DRAWITEM, kId + 1, reinterpret_cast<LPARAM>(&draw)));
}

TEST_F(FolderListTest, RowsShowAncestorsOpenFolderThenSortedSubfolders) {
    ASSERT_EQ(list.SetPath(temp.path() + L"\\"), 0u);
    EXPECT_EQ(list.Path(), temp.path());
    auto expected = AncestorRows(temp.path());
    size_t openRow = expected.size() - 1;
    for (auto name : {L"Alpha", L"beta", L"gamma"})
        expected.push_back(name);
    EXPECT_EQ(Rows(list), expected);
    EXPECT_EQ(ListCount(list), static_cast<LRESULT>(expected.size()));
    EXPECT_EQ(Selected(list), static_cast<LRESULT>(openRow));

    // At a drive root the root row is the open folder and its subfolders follow it.
    ASSERT_EQ(list.SetPath(L"C:\\"), 0u);
    EXPECT_EQ(list.Path(), L"C:\\");
    ASSERT_GE(list.RowCount(), 2u);
    EXPECT_EQ(list.RowText(0), L"C:\\");
    EXPECT_EQ(Selected(list), 0);
    std::vector<std::wstring> rootFolders;
    ASSERT_EQ(platform::ListSubfolders(L"C:\\", rootFolders), 0u);
    EXPECT_EQ(list.RowCount(), rootFolders.size() + 1);
}

TEST_F(FolderListTest, ChangeOnlyWhenTheOpenFolderMoves) {
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    EXPECT_EQ(host.Count(kId, kFolderListChange), 1);
    // Same folder again, with a trailing backslash or in other letter case: no Change,
    // and Path keeps the text the owner was told.
    std::wstring upper = temp.path();
    ::CharUpperW(upper.data());
    ASSERT_EQ(list.SetPath(temp.path() + L"\\"), 0u);
    ASSERT_EQ(list.SetPath(upper), 0u);
    EXPECT_EQ(host.Count(kId, kFolderListChange), 1);
    EXPECT_EQ(list.Path(), temp.path());

    // A folder made meanwhile shows on the refresh.
    listtest::MakeFolder(temp / L"delta");
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    EXPECT_EQ(list.RowText(list.RowCount() - 2), L"delta");

    ASSERT_EQ(list.SetPath(temp / L"beta"), 0u);
    EXPECT_EQ(host.Count(kId, kFolderListChange), 2);
    EXPECT_EQ(list.Path(), temp / L"beta");
}

TEST_F(FolderListTest, FailedSetPathChangesNothing) {
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    auto rows = Rows(list);
    host.commands.clear();
    for (const std::wstring& bad :
         {temp / L"missing", temp / L"file.txt", std::wstring(L"C:\\a<b"), std::wstring()}) {
        EXPECT_NE(list.SetPath(bad), 0u) << bad;
        EXPECT_EQ(list.Path(), temp.path());
        EXPECT_EQ(Rows(list), rows);
        EXPECT_EQ(ListCount(list), static_cast<LRESULT>(rows.size()));
    }
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(FolderListTest, OpenRowMovesIntoSubfolderOrUpToAncestor) {
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    size_t alpha = AncestorRows(temp.path()).size();
    list.OpenRow(alpha);
    EXPECT_EQ(list.Path(), temp / L"Alpha");
    list.OpenRow(alpha - 1);  // back up to the temp folder, an ancestor row now
    EXPECT_EQ(list.Path(), temp.path());
    list.OpenRow(0);
    EXPECT_EQ(list.Path(), temp.path().substr(0, 3));
    EXPECT_EQ(host.Count(kId, kFolderListChange), 4);
}

TEST_F(FolderListTest, DoubleClickAndEnterOpenTheHighlightedRow) {
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    size_t beta = AncestorRows(temp.path()).size() + 1;
    RECT item{};
    ::SendMessageW(list.hwnd(), LB_GETITEMRECT, beta, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    ::SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, at);
    ::SendMessageW(list.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, at);
    listtest::Pump();
    EXPECT_EQ(list.Path(), temp / L"beta");

    // Enter, through the dialog key handling the program's windows use.
    ::SendMessageW(list.hwnd(), LB_SETCURSEL, 0, 0);
    MSG key{list.hwnd(), WM_KEYDOWN, VK_RETURN, 1};
    EXPECT_TRUE(::IsDialogMessageW(host.hwnd(), &key));
    listtest::Pump();
    EXPECT_EQ(list.Path(), temp.path().substr(0, 3));
    EXPECT_EQ(host.Count(kId, kFolderListChange), 3);
}

TEST_F(FolderListTest, FailedOpenByUserShowsWhyAndStays) {
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    auto rows = Rows(list);
    size_t gamma = AncestorRows(temp.path()).size() + 2;
    ::RemoveDirectoryW((temp / L"gamma").c_str());
    host.commands.clear();
    testsupport::DialogAnswerer answerer;
    list.OpenRow(gamma);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    const auto& box = answerer.Seen()[0];
    EXPECT_EQ(box.title, L"Velquin");
    EXPECT_EQ(box.text.rfind(L"Could not open the folder.\r\n\r\n" + (temp / L"gamma"), 0), 0u)
        << box.text;
    EXPECT_EQ(list.Path(), temp.path());
    EXPECT_EQ(Rows(list), rows);
    EXPECT_EQ(Selected(list), static_cast<LRESULT>(gamma - 3));
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(FolderListTest, RowHeightFollowsTheFont) {
    // Shown, so the rows are really drawn.
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    ::ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.hwnd());
    LRESULT before = ::SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0);
    platform::UniqueFont big = platform::CreatePointFont(L"Tahoma", 2400, FW_NORMAL, 96);
    ::SendMessageW(list.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), TRUE);
    LRESULT after = ::SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0);
    EXPECT_GT(after, before);
    EXPECT_GE(after, 32);
    ::SendMessageW(list.hwnd(), WM_SETFONT, 0, FALSE);
}

TEST(FolderListLife, EitherSideMayGoFirst) {
    testsupport::TempFolder temp;
    {
        ListHost host;
        {
            FolderList list;
            ASSERT_TRUE(list.Create(host.hwnd(), kId, listtest::kListRect));
        }
        // The parent keeps working once the list and its subclass are gone.
        EXPECT_FALSE(::GetDlgItem(host.hwnd(), kId));
        ::UpdateWindow(host.hwnd());
        ::SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(kId, LBN_DBLCLK), 1);
    }
    FolderList list;
    {
        ListHost host;
        ASSERT_TRUE(list.Create(host.hwnd(), kId, listtest::kListRect));
    }
    EXPECT_EQ(list.hwnd(), nullptr);
    // Without its control the list still answers for its data.
    EXPECT_EQ(list.SetPath(temp.path()), 0u);
}

TEST_F(FolderListTest, NamesInAnyScriptAreListedWithAFontForEveryScript) {
    const std::wstring names[] = {L"\u041f\u0430\u043f\u043a\u0430",              // Cyrillic
                                  L"\u03a6\u03ac\u03ba\u03b5\u03bb\u03bf\u03c2",  // Greek
                                  L"\u6587\u4ef6\u5939"};                         // CJK
    for (const auto& name : names)
        listtest::MakeFolder(temp / name);
    ASSERT_EQ(list.SetPath(temp.path()), 0u);
    std::vector<std::wstring> rows = Rows(list);
    for (const auto& name : names)
        EXPECT_NE(std::find(rows.begin(), rows.end(), name), rows.end());
    // The program's fonts ask for no one character set, so the font mapper may pick a
    // face that has the script.
    for (UINT dpi : {96u, 144u}) {
        platform::UniqueFont font = platform::CreatePointFont(L"MS Sans Serif", 825, FW_BOLD, dpi);
        LOGFONTW lf{};
        ASSERT_EQ(::GetObjectW(font.get(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    }
}
