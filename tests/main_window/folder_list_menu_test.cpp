// The folder list's right-click menu: the window menu's folder commands for the folder under
// the pointer, opened by the mouse or by the keys (Shift+F10, the context-menu key).
#include <windows.h>
#include <commctrl.h>

#include "customise/folder_tools.h"
#include "extras_support.h"
#include "form1_fixture.h"
#include "main_window/folder_list_menu.h"
#include "main_window/folder_menu.h"

using namespace main_window;

namespace testsupport {
namespace {

struct MenuItem {
    std::wstring text;
    UINT id;
    bool grayed;
    bool submenu;
};

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        items.push_back({text, ::GetMenuItemID(menu, i), (state & MF_GRAYED) != 0,
                         ::GetSubMenu(menu, i) != nullptr});
    }
    return items;
}

// Watches the form for the menu it opens: records its items, then presses `keys` in it
// (none: closes it unchosen).
class FolderListMenuTest : public Form1Test {
  protected:
    void WatchMenus(std::vector<UINT> keys) {
        keys_ = std::move(keys);
        ::SetWindowSubclass(form->hwnd(), Watch, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void TearDown() override {
        if (form && form->hwnd())
            ::RemoveWindowSubclass(form->hwnd(), Watch, 1);
        Form1Test::TearDown();
    }
    void RightClickRow(int row) {
        HWND list = Ctl(kDir1);
        RECT r{};
        ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 30, r.top + 2};
        ::ClientToScreen(list, &p);
        ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(p.x, p.y));
    }
    int RowOf(const std::wstring& name) {
        for (size_t i = 0; i < form->Dir1().RowCount(); ++i)
            if (form->Dir1().RowText(i) == name)
                return static_cast<int>(i);
        return -1;
    }

    std::vector<std::vector<MenuItem>> opened;
    std::vector<POINT> openedAt;

  private:
    static LRESULT CALLBACK Watch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR ref) {
        auto* self = reinterpret_cast<FolderListMenuTest*>(ref);
        if (msg == WM_INITMENUPOPUP && !HIWORD(lParam) && LOWORD(lParam) == 0 &&
            ::GetMenuItemCount(reinterpret_cast<HMENU>(wParam)) == 6) {
            self->opened.push_back(ReadMenu(reinterpret_cast<HMENU>(wParam)));
            POINT cursor{};
            ::GetCursorPos(&cursor);
            self->openedAt.push_back(cursor);
            if (self->keys_.empty())
                ::EndMenu();
            for (UINT key : self->keys_)
                ::PostMessageW(hwnd, WM_KEYDOWN, key, 0);
        }
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    std::vector<UINT> keys_;
};

TEST_F(FolderListMenuTest, ARightClickOffersTheFolderCommandsOfTheWindowMenu) {
    ::CreateDirectoryW((temp / L"Sub").c_str(), nullptr);
    Open();
    WatchMenus({});
    RightClickRow(RowOf(L"Sub"));
    ASSERT_EQ(opened.size(), 1u);
    const auto& items = opened[0];
    const wchar_t* texts[] = {L"Colour the Folder Icon...", kFolderTypeMenuText,
                              L"Show Current Settings...",  L"Restore Previous Settings...",
                              L"Open Folder in Explorer",   kRefreshMenuText};
    ASSERT_EQ(items.size(), std::size(texts));
    auto commands = FolderListMenuCommands();
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].text, texts[i]);
        EXPECT_EQ(items[i].submenu, commands[i] == kFolderTypeFirst);
        if (!items[i].submenu) {
            EXPECT_EQ(items[i].id, commands[i]);
        }
        // The same command in the window menu has the same id and text before its keys.
        if (const WindowMenuItem* item = FindWindowMenuItem(commands[i])) {
            EXPECT_EQ(std::wstring(item->text), items[i].text);
        }
    }
    // Sub has no backup to restore; the row under the pointer is selected.
    EXPECT_TRUE(items[3].grayed);
    EXPECT_FALSE(items[1].grayed);
    EXPECT_EQ(::SendMessageW(Ctl(kDir1), LB_GETCURSEL, 0, 0), RowOf(L"Sub"));
}

TEST_F(FolderListMenuTest, ACommandActsOnTheFolderUnderThePointer) {
    ::CreateDirectoryW((temp / L"Sub").c_str(), nullptr);
    Open();
    // Down three times: Show Current Settings..., whose box is titled with the folder.
    WatchMenus({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    RightClickRow(RowOf(L"Sub"));
    Pump();
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title, temp / L"Sub");
    // The open folder stays where it was.
    EXPECT_EQ(form->Dir1().Path(), temp.path());
}

TEST_F(FolderListMenuTest, ShiftF10OpensItAtTheHighlightedRow) {
    ::CreateDirectoryW((temp / L"Sub").c_str(), nullptr);
    Open();
    HWND list = Ctl(kDir1);
    ::SetFocus(list);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(RowOf(L"Sub")), 0);
    // What the keys send: a context menu without a point.
    const MenuPlace place = FolderListMenuPlace(list, -1);
    EXPECT_EQ(place.row, RowOf(L"Sub"));
    RECT shown{};
    ::GetWindowRect(list, &shown);
    EXPECT_TRUE(::PtInRect(&shown, place.at));
    WatchMenus({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    Pump();
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title, temp / L"Sub");
}

TEST_F(FolderListMenuTest, RestoreIsOfferedForAFolderWithABackup) {
    ::CreateDirectoryW((temp / L"Kept").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(VELQUIN_ICON_DATA L"\\one.ico",
                            (temp / L"Kept\\desktop.ini.bak").c_str(), FALSE));
    ASSERT_TRUE(customise::HasBackup(temp / L"Kept"));
    auto menu = BuildFolderListMenu(temp / L"Kept");
    EXPECT_FALSE(ReadMenu(menu.get())[3].grayed);
    // Something that is no folder gets no types to choose from.
    auto none = BuildFolderListMenu(temp / L"missing");
    EXPECT_TRUE(ReadMenu(none.get())[1].grayed);
    EXPECT_TRUE(ReadMenu(none.get())[3].grayed);
}

}  // namespace
}  // namespace testsupport
