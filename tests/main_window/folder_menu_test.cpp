// The window menu's "Optimise Folder For" and "Refresh Explorer's View of the Folder" on a
// real main window: what the menu shows when it opens, and what a choice writes.
#include "form1_fixture.h"
#include "main_window/folder_menu.h"

using namespace main_window;

namespace testsupport {
namespace {

using FolderMenuTest = Form1Test;

constexpr char kOther[] =
    "; mine\r\n[.ShellClassInfo]\r\nInfoTip=kept\r\n[ViewState]\r\n"
    "FolderType=Music\r\n";

// The menu as it opens: its items' states after WM_INITMENU.
HMENU OpenedMenu(HWND form) {
    HMENU menu = ::GetSystemMenu(form, FALSE);
    ::SendMessageW(form, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    return menu;
}

int SubmenuPosition(HMENU menu) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        if (::GetSubMenu(menu, i))
            return i;
    return -1;
}

// The types checked in the submenu, by their text.
std::wstring Checked(HMENU types) {
    std::wstring checked;
    for (int i = 0; i < ::GetMenuItemCount(types); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(types, i, text, 64, MF_BYPOSITION);
        MENUITEMINFOW info{sizeof(info), MIIM_FTYPE | MIIM_STATE};
        ::GetMenuItemInfoW(types, i, TRUE, &info);
        if (info.fState & MFS_CHECKED)
            checked += std::wstring(text) + ((info.fType & MFT_RADIOCHECK) ? L"(radio)" : L"");
    }
    return checked;
}

TEST_F(FolderMenuTest, SubmenuShowsTheFolderTypeAndIsGreyedWithoutAFolder) {
    WriteBytes(temp / L"desktop.ini", kOther);
    Open();
    SetText(kTxtPath, temp.path() + L"\\");
    HMENU menu = OpenedMenu(form->hwnd());
    const int position = SubmenuPosition(menu);
    ASSERT_GT(position, 0);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Optimise Folder For");
    ::GetMenuStringW(menu, position + 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Refresh Explorer's View of the Folder");
    HMENU types = ::GetSubMenu(menu, position);
    ASSERT_EQ(::GetMenuItemCount(types), 5);
    EXPECT_EQ(Checked(types), L"Music(radio)");
    EXPECT_FALSE(::GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED);

    SetText(kTxtPath, temp / L"gone\\");
    OpenedMenu(form->hwnd());
    EXPECT_TRUE(::GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(Checked(types), L"");
}

// A choice writes in place at once, asking nothing and changing nothing on the form; a
// failure gets a message naming the file; refresh writes nothing.
TEST_F(FolderMenuTest, ChoosingATypeWritesItInPlaceAtOnce) {
    ::CreateDirectoryW((temp / L"Target").c_str(), nullptr);
    WriteBytes(temp / L"Target\\desktop.ini", kOther);
    Open();
    SetText(kTxtPath, temp / L"Target\\");
    SetText(kTxtITip, L"typed");
    ::SendMessageW(form->hwnd(), WM_SYSCOMMAND, kFolderTypeFirst + 0x20, 0);  // Pictures
    EXPECT_EQ(ReadBytes(temp / L"Target\\desktop.ini"),
              "; mine\r\n[.ShellClassInfo]\r\nInfoTip=kept\r\n[ViewState]\r\n"
              "FolderType=Pictures\r\n");
    EXPECT_EQ(Checked(::GetSubMenu(OpenedMenu(form->hwnd()),
                                   SubmenuPosition(::GetSystemMenu(form->hwnd(), FALSE)))),
              L"Pictures(radio)");
    EXPECT_EQ(Text(kTxtITip), L"typed");
    EXPECT_EQ(Text(kTxtPath), temp / L"Target\\");

    // Another tool's value was changed: its file is kept.
    EXPECT_EQ(ReadBytes(temp / L"Target\\desktop.ini.bak"), kOther);

    const std::vector<std::wstring> entries = FolderEntries(temp / L"Target");
    const std::string bytes = ReadBytes(temp / L"Target\\desktop.ini");
    ::SendMessageW(form->hwnd(), WM_SYSCOMMAND, kRefreshExplorer, 0);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(FolderEntries(temp / L"Target"), entries);
    EXPECT_EQ(ReadBytes(temp / L"Target\\desktop.ini"), bytes);

    // desktop.ini is a folder here: the write fails with a message and nothing changes.
    ::CreateDirectoryW((temp / L"Odd").c_str(), nullptr);
    ::CreateDirectoryW((temp / L"Odd\\desktop.ini").c_str(), nullptr);
    SetText(kTxtPath, temp / L"Odd\\");
    ::SendMessageW(form->hwnd(), WM_SYSCOMMAND, kFolderTypeFirst, 0);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find(temp / L"Odd\\desktop.ini"), std::wstring::npos)
        << answerer.Seen()[0].text;
    EXPECT_EQ(FolderEntries(temp / L"Odd"), std::vector<std::wstring>{L"desktop.ini"});
}

}  // namespace
}  // namespace testsupport
