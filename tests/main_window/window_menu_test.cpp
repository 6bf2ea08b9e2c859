// The window menu's own items: their place, texts and keys, the checked item, the greyed
// restore, and opening the folder in Explorer when it is gone.
#include "extras_support.h"
#include "form1_fixture.h"
#include "main_window/form1_extras.h"
#include "main_window/icon_chooser.h"
#include "platform/ui/modal.h"

#include <algorithm>

using namespace main_window;

namespace testsupport {
namespace {

using WindowMenuTest = Form1Test;

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

TEST_F(WindowMenuTest, ItemsFollowASeparatorWithTheirKeysShown) {
    Open();
    HMENU menu = ::GetSystemMenu(form->hwnd(), FALSE);
    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {kChooseIcon, L"Choose Icon from File...\tCtrl+I"},
        {kShowSettings, L"Show Current Settings...\tCtrl+D"},
        {kRestoreSettings, L"Restore Previous Settings...\tCtrl+R"},
        {kOpenInExplorer, L"Open Folder in Explorer\tCtrl+E"},
        {kKeepIconCopy, L"Keep a Copy of the Icon in the Folder\tCtrl+K"},
        {kFolderColour, L"Colour the Folder Icon...\tCtrl+L"},
    };
    int count = ::GetMenuItemCount(menu);
    int first = count - static_cast<int>(expected.size());
    ASSERT_GT(first, 1);
    MENUITEMINFOW separator{sizeof(separator), MIIM_FTYPE};
    ASSERT_TRUE(::GetMenuItemInfoW(menu, first - 1, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    for (size_t i = 0; i < expected.size(); ++i) {
        int position = first + static_cast<int>(i);
        EXPECT_EQ(::GetMenuItemID(menu, position), expected[i].first);
        EXPECT_EQ(MenuText(menu, position), expected[i].second);
    }
    // The system's own items are still there, above ours.
    EXPECT_NE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(WindowMenuTest, KeepACopyIsOffAtStartAndTogglesByMenuAndKey) {
    Open();
    HMENU menu = ::GetSystemMenu(form->hwnd(), FALSE);
    EXPECT_FALSE(form->KeepIconCopy());
    EXPECT_FALSE(::GetMenuState(menu, kKeepIconCopy, MF_BYCOMMAND) & MF_CHECKED);
    Command(form->hwnd(), kKeepIconCopy);
    EXPECT_TRUE(form->KeepIconCopy());
    EXPECT_TRUE(::GetMenuState(menu, kKeepIconCopy, MF_BYCOMMAND) & MF_CHECKED);

    // Ctrl+K typed in a field goes through the program's message loop translation.
    BYTE keys[256] = {}, saved[256] = {};
    ::GetKeyboardState(saved);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{Ctl(kTxtITip), WM_KEYDOWN, 'K', 0};
    bool translated = platform::TranslateDialogKeys(msg);
    ::SetKeyboardState(saved);
    EXPECT_TRUE(translated);
    EXPECT_FALSE(form->KeepIconCopy());

    // A new window starts with it off again.
    Command(form->hwnd(), kKeepIconCopy);
    Open();
    EXPECT_FALSE(form->KeepIconCopy());
}

TEST_F(WindowMenuTest, CtrlIOpensTheChooserAndOpenInExplorerNamesAMissingFolder) {
    Open();
    bool opened = false;
    BYTE keys[256] = {}, saved[256] = {};
    ::GetKeyboardState(saved);
    answerer.OnActivate(kIconChooserClass, [&](HWND chooser) {
        ::SetKeyboardState(saved);  // Ctrl is up again once the chooser shows
        opened = ::GetWindow(chooser, GW_OWNER) == form->hwnd();
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{Ctl(kTxtPath), WM_KEYDOWN, 'I', 0};
    bool translated = platform::TranslateDialogKeys(msg);
    ::SetKeyboardState(saved);
    EXPECT_TRUE(translated);
    EXPECT_TRUE(opened);

    std::wstring missing = temp / L"gone\\";
    SetText(kTxtPath, missing);
    Command(form->hwnd(), kOpenInExplorer);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text.find(L"Could not open the folder in Explorer.\r\n\r\n" +
                                           missing + L"\r\n\r\n"),
              0u);
    EXPECT_FALSE(Exists(temp / L"gone"));
}

}  // namespace
}  // namespace testsupport

namespace testsupport {
namespace {

// With the item ticked, Apply says so and keeps the icon file inside the folder.
TEST_F(WindowMenuTest, KeepACopyMakesApplyCopyTheIconIntoTheFolder) {
    WriteBytes(temp / L"source.ico", ReadBytes(HostPath(VELQUIN_ICON_DATA) + L"\\one.ico"));
    ::CreateDirectoryW((temp / L"Target").c_str(), nullptr);
    Open();
    SetText(kTxtPath, temp / L"Target\\");
    Tick(kCheck2);
    SetText(kTxtDirICO, temp / L"source.ico");
    SetText(kTxtIcoIndex, L"0");
    Click(kCmdYes);  // answered No: the summary without the line
    Command(form->hwnd(), kKeepIconCopy);
    answerer.Answer(IDYES);
    Click(kCmdYes);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    auto lines = [](const std::wstring& text) {
        return std::count(text.begin(), text.end(), L'\n');
    };
    EXPECT_EQ(lines(answerer.Seen()[1].text), lines(answerer.Seen()[0].text) + 1);
    EXPECT_EQ(ReadBytes(temp / L"Target\\source.ico"), ReadBytes(temp / L"source.ico"));
    EXPECT_NE(ReadBytes(temp / L"Target\\desktop.ini").find("IconFile=source.ico\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace testsupport
