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

// The marks' list: reached by Tab, named by its label, No Mark and the eight; a mark chosen
// there goes on the chosen colour's icon.
TEST_F(FolderColourTest, AMarkFromTheListGoesOnTheColour) {
    Open();
    std::vector<std::wstring> items;
    bool tabStop = false, labelled = false;
    Drive({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT},
          [&](HWND window) {
              HWND list = ::GetDlgItem(window, kMarkList);
              tabStop = ::GetWindowLongPtrW(list, GWL_STYLE) & WS_TABSTOP;
              labelled = ::GetWindow(list, GW_HWNDPREV) == ::GetDlgItem(window, kMarkLabel) &&
                         platform::WindowText(::GetDlgItem(window, kMarkLabel)) == L"Mark:";
              const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
              for (int i = 0; i < count; ++i) {
                  wchar_t text[64] = {};
                  ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                  items.push_back(text);
              }
              // As a user's choice: the list's selection, then its notice to the window.
              ::SendMessageW(list, CB_SETCURSEL, 1, 0);
              ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kMarkList, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(list));
              EXPECT_EQ(platform::WindowText(::GetDlgItem(window, kChosenText)), L"Red, done");
              PressEnter(window);
          });
    EXPECT_TRUE(tabStop);
    EXPECT_TRUE(labelled);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0], L"No Mark");
    EXPECT_EQ(items[1], L"Done");
    EXPECT_EQ(items[8], L"Question");
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
