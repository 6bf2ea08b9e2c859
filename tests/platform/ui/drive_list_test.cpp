#include <gtest/gtest.h>

#include <cwctype>

#include "list_host.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/window.h"

using listtest::ListHost;
using platform::DriveList;

namespace {
constexpr int kId = 301;

std::wstring EntryText(HWND combo, int i) {
    std::wstring text(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    return text;
}
}  // namespace

TEST(DriveList, OneEntryPerDriveLabelledOnlyWhenFixed) {
    ListHost host;
    DriveList drives;
    ASSERT_TRUE(drives.Create(host.hwnd(), kId, RECT{10, 10, 200, 31}));
    DWORD mask = ::GetLogicalDrives();
    std::vector<wchar_t> letters;
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i))
            letters.push_back(static_cast<wchar_t>(L'a' + i));
    ASSERT_EQ(::SendMessageW(drives.hwnd(), CB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(letters.size()));
    for (size_t i = 0; i < letters.size(); ++i) {
        std::wstring root{static_cast<wchar_t>(std::towupper(letters[i])), L':', L'\\'};
        std::wstring expected{letters[i], L':'};
        std::wstring label = platform::VolumeLabel(root);
        if (::GetDriveTypeW(root.c_str()) == DRIVE_FIXED && !label.empty())
            expected += L" [" + label + L"]";
        EXPECT_EQ(EntryText(drives.hwnd(), static_cast<int>(i)), expected);
    }
    // The closed combo box keeps the height it was given.
    RECT r;
    ::GetWindowRect(drives.hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, 21);
}

TEST(DriveList, StartsOnTheCurrentDriveAndMovesSilently) {
    ListHost host;
    DriveList drives;
    {
        testsupport::CurrentFolderScope here(L"C:\\");
        ASSERT_TRUE(drives.Create(host.hwnd(), kId, RECT{10, 10, 200, 31}));
    }
    EXPECT_EQ(drives.Drive(), L"C:\\");

    wchar_t other = 0;
    DWORD mask = ::GetLogicalDrives();
    for (int i = 25; i >= 0 && !other; --i)
        if ((mask & (1u << i)) && i != 2)
            other = static_cast<wchar_t>(L'A' + i);
    ASSERT_TRUE(other) << "needs a second drive";
    std::wstring path{other, L':', L'\\', L'x'};
    drives.SetDrive(path);
    EXPECT_EQ(drives.Drive(), path.substr(0, 3));
    drives.SetDrive(L"c:\\windows");
    EXPECT_EQ(drives.Drive(), L"C:\\");
    drives.SetDrive(L"\\\\server\\share");  // no drive letter: stays
    EXPECT_EQ(drives.Drive(), L"C:\\");
    EXPECT_TRUE(host.commands.empty());
}

// Made empty for a window that fills it after its first paint; filled as Create fills it,
// and filled again without doubling.
TEST(DriveList, MadeEmptyFillsLaterAsCreateWould) {
    ListHost host;
    DriveList made, empty;
    testsupport::CurrentFolderScope here(L"C:\\");
    ASSERT_TRUE(made.Create(host.hwnd(), kId, RECT{10, 10, 200, 31}));
    ASSERT_TRUE(empty.CreateEmpty(host.hwnd(), kId + 1, RECT{10, 40, 200, 61}));
    EXPECT_EQ(::SendMessageW(empty.hwnd(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(empty.Drive(), L"");
    empty.SetDrive(L"C:\\");  // nothing to show yet: no harm
    for (int fill = 0; fill < 2; ++fill) {
        empty.Fill();
        const LRESULT count = ::SendMessageW(made.hwnd(), CB_GETCOUNT, 0, 0);
        ASSERT_EQ(::SendMessageW(empty.hwnd(), CB_GETCOUNT, 0, 0), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(EntryText(empty.hwnd(), i), EntryText(made.hwnd(), i));
        EXPECT_EQ(empty.Drive(), L"C:\\");
    }
    RECT r;
    ::GetWindowRect(empty.hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, 21);
    EXPECT_TRUE(host.commands.empty());
}
