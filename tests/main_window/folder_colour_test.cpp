// The Folder Colour window driven by keys as a user would: a colour chosen with the arrows
// and Enter fills the icon measure, Apply keeps the icon in the folder by its content name;
// Esc, Cancel and the close box change nothing.
#include <windows.h>

#include "extras_support.h"
#include "form1_fixture.h"
#include "icon_maker/icon_maker.h"
#include "main_window/folder_colour.h"

using namespace main_window;

namespace testsupport {
namespace {

struct Seen {
    bool shown = false;
    std::wstring title;
    HWND owner = nullptr;
    bool swatchesFocused = false;
    bool okEnabled = true;
    int selected = -2;
};

class FolderColourTest : public Form1Test {
  protected:
    // The next Folder Colour window gets `keys` on its focused control, then `last` (a key
    // or a way to close it).
    void Drive(std::vector<UINT> keys, std::function<void(HWND)> last) {
        seen = {};
        answerer.OnActivate(kFolderColourClass, [this, keys, last](HWND window) {
            HWND swatches = ::GetDlgItem(window, kSwatchRow);
            seen.shown = true;
            seen.title = platform::WindowText(window);
            seen.owner = ::GetWindow(window, GW_OWNER);
            seen.swatchesFocused = ::GetFocus() == swatches;
            seen.okEnabled = ::IsWindowEnabled(::GetDlgItem(window, IDOK));
            for (UINT key : keys)
                ::SendMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
            seen.selected = static_cast<int>(::SendMessageW(swatches, kSwatchGetSelection, 0, 0));
            last(window);
        });
        Command(form->hwnd(), kFolderColour);
    }
    bool Checked(int id) { return ::SendMessageW(Ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool KeepCopy() {
        return ::GetMenuState(::GetSystemMenu(form->hwnd(), FALSE), kKeepIconCopy, MF_BYCOMMAND) &
               MF_CHECKED;
    }

    Seen seen;
};

void PressEnter(HWND) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(FolderColourTest, ArrowsAndEnterMakeTheIconAndApplyKeepsItInTheFolder) {
    Open();
    // Right seven times from none: Red, the eighth colour.
    Drive({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT},
          PressEnter);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, L"Folder Colour");
    EXPECT_EQ(seen.owner, form->hwnd());
    EXPECT_TRUE(seen.swatchesFocused);
    EXPECT_FALSE(seen.okEnabled);  // nothing chosen yet
    EXPECT_EQ(seen.selected, 7);

    const auto red = icon_maker::MakeColouredFolder(*icon_maker::ParseColour(L"Red"));
    const std::wstring name = icon_maker::ContentName(red.bytes);
    const std::wstring icon = Text(kTxtDirICO);
    EXPECT_EQ(icon.substr(icon.rfind(L'\\') + 1), name);
    EXPECT_EQ(ReadBytes(icon), red.bytes);
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_TRUE(Checked(kCheck2));
    EXPECT_TRUE(KeepCopy());

    answerer.Answer(IDYES);
    Click(kCmdYes);
    EXPECT_EQ(ReadBytes(temp / name), red.bytes);
    EXPECT_NE(
        ReadBytes(temp / L"desktop.ini").find("IconFile=" + std::string(name.begin(), name.end())),
        std::string::npos);

    // End, then Enter: Dark Green, a new file; Apply leaves only the new one in the folder.
    Drive({VK_END}, PressEnter);
    EXPECT_EQ(seen.selected, 10);
    answerer.Answer(IDYES);
    Click(kCmdYes);
    EXPECT_FALSE(Exists(temp / name));
    const std::wstring green = Text(kTxtDirICO);
    EXPECT_TRUE(Exists(temp / green.substr(green.rfind(L'\\') + 1)));
}

// The marks' row: a tab stop after the colour buttons, No Mark and the eight, No Mark chosen
// at first; a mark chosen there by its keys goes on the chosen colour's icon.
TEST_F(FolderColourTest, AMarkFromTheRowGoesOnTheColour) {
    Open();
    bool tabStop = false, reachedByTab = false;
    int first = -2, items = 0;
    Drive({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT},
          [&](HWND window) {
              HWND row = ::GetDlgItem(window, kMarkRow);
              tabStop = ::GetWindowLongPtrW(row, GWL_STYLE) & WS_TABSTOP;
              reachedByTab =
                  ::GetNextDlgTabItem(window, ::GetDlgItem(window, kFromPicture), FALSE) == row;
              first = static_cast<int>(::SendMessageW(row, kSwatchGetSelection, 0, 0));
              // End reaches the last mark and Right stays there: nine cells.
              ::SetFocus(row);
              ::SendMessageW(row, WM_KEYDOWN, VK_END, 0);
              ::SendMessageW(row, WM_KEYDOWN, VK_RIGHT, 0);
              items = 1 + static_cast<int>(::SendMessageW(row, kSwatchGetSelection, 0, 0));
              EXPECT_EQ(platform::WindowText(::GetDlgItem(window, kChosenText)), L"Red, question");
              // Home is No Mark, Right the first mark.
              ::SendMessageW(row, WM_KEYDOWN, VK_HOME, 0);
              EXPECT_EQ(platform::WindowText(::GetDlgItem(window, kChosenText)), L"Red");
              ::SendMessageW(row, WM_KEYDOWN, VK_RIGHT, 0);
              EXPECT_EQ(platform::WindowText(::GetDlgItem(window, kChosenText)), L"Red, done");
              PressEnter(window);
          });
    EXPECT_TRUE(tabStop);
    EXPECT_TRUE(reachedByTab);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(items, 9);
    const auto marked =
        icon_maker::MakeColouredFolder(*icon_maker::ParseColour(L"Red"), icon_maker::Mark::Done);
    EXPECT_EQ(ReadBytes(Text(kTxtDirICO)), marked.bytes);
}

TEST_F(FolderColourTest, EscCancelAndTheCloseBoxChangeNothing) {
    Open();
    const std::function<void(HWND)> ways[] = {
        [](HWND) { ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND window) { ::PostMessageW(::GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND window) { ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& way : ways) {
        SetText(kTxtDirICO, L"C:\\Icons\\app.ico");
        SetText(kTxtIcoIndex, L"3");
        Drive({VK_RIGHT, VK_RIGHT}, way);  // a choice, then no
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.selected, 1);
        EXPECT_EQ(Text(kTxtDirICO), L"C:\\Icons\\app.ico");
        EXPECT_EQ(Text(kTxtIcoIndex), L"3");
        EXPECT_FALSE(Checked(kCheck2));
        EXPECT_FALSE(KeepCopy());
        EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    }
}

}  // namespace
}  // namespace testsupport
