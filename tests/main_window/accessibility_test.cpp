// The main window and its modal windows read as a screen reader reads them: every control
// that takes the focus says what it is for, and the folder list's rows are its items.
#include <windows.h>

#include <set>

#include "extras_support.h"
#include "icon_maker/colour_table.h"
#include "form1_fixture.h"
#include "main_window/folder_colour.h"
#include "main_window/icon_chooser.h"
#include "main_window/input_box.h"
#include "support/screen_reader.h"

using namespace main_window;

namespace testsupport {
namespace {

using AccessibilityTest = Form1Test;

// Every focusable control has a name, and no two share one.
void ExpectNamedAndUnique(HWND window) {
    std::set<std::wstring> names;
    for (HWND control : FocusableControls(window)) {
        std::wstring name = NameOf(control);
        EXPECT_FALSE(name.empty()) << "control " << ::GetDlgCtrlID(control);
        EXPECT_TRUE(names.insert(name).second)
            << "two controls named " << std::string(name.begin(), name.end());
    }
    EXPECT_GE(names.size(), 2u);
}

struct NamedControl {
    int id;
    const wchar_t* name;
};

TEST_F(AccessibilityTest, EachFieldIsNamedForWhatItHolds) {
    Open();
    // The names the labels before them in the tab order would have given were wrong.
    const NamedControl expected[] = {
        {kDrive1, L"Drive"},
        {kDir1, L"Folders"},
        {kTxtPath, L"Target folder path"},
        {kTxtBGImg, L"Background image path"},
        {kTxtDirICO, L"Icon file path"},
        {kTxtIcoIndex, L"Icon index"},
        {kTxtITip, L"Info tip"},
        {kTxtColorCode, L"Colour code"},
        {kCboColor, L"Icon text colour"},
        {kCmdImg, L"Browse for a background image"},
        {kCmdIco, L"Browse for an icon file"},
        {kCmdYes, L"Apply VEL"},
        {kCheck1, L"Background Image For Selected Folder"},
    };
    for (const auto& control : expected)
        EXPECT_EQ(NameOf(Ctl(control.id)), control.name) << control.id;
    // The colour box takes the focus in its edit field, which says the same.
    COMBOBOXINFO combo{sizeof combo};
    ASSERT_TRUE(::GetComboBoxInfo(Ctl(kCboColor), &combo));
    EXPECT_EQ(NameOf(combo.hwndItem), L"Icon text colour");
    ExpectNamedAndUnique(form->hwnd());
    // Captions stay as the window shows them.
    EXPECT_EQ(Text(kCmdImg), L"Browse");
    EXPECT_EQ(Text(kLabel3), L"Color Chooser:");
}

TEST_F(AccessibilityTest, FolderRowsAreItemsNamedByTheirFolders) {
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma"})
        ::CreateDirectoryW((temp / name).c_str(), nullptr);
    Open();
    auto list = ClientObject(Ctl(kDir1));
    ASSERT_TRUE(list);
    EXPECT_EQ(RoleOf(list.get()), ROLE_SYSTEM_LIST);
    const platform::FolderList& dir = form->Dir1();
    ASSERT_EQ(ChildCountOf(list.get()), static_cast<long>(dir.RowCount()));
    size_t open = dir.RowCount() - 4;  // the open folder, then its three subfolders
    for (size_t row = 0; row < dir.RowCount(); ++row) {
        long child = static_cast<long>(row) + 1;
        EXPECT_EQ(NameOf(list.get(), child), dir.RowText(row));
        EXPECT_EQ(RoleOf(list.get(), child), ROLE_SYSTEM_LISTITEM);
        long state = StateOf(list.get(), child);
        EXPECT_EQ((state & STATE_SYSTEM_SELECTED) != 0, row == open) << row;
        EXPECT_EQ((state & STATE_SYSTEM_EXPANDED) != 0, row <= open) << row;
        EXPECT_EQ(DescriptionOf(list.get(), child), row == open ? L"Open folder" : L"");
        EXPECT_EQ(DefaultActionOf(list.get(), child), L"Open");
    }
    EXPECT_EQ(NameOf(list.get(), static_cast<long>(open) + 2), L"Alpha");
    // Its default action opens the folder, as Enter does.
    EXPECT_EQ(list->accDoDefaultAction(Child(static_cast<long>(open) + 3)), S_OK);
    EXPECT_EQ(dir.Path(), temp / L"Beta");
    EXPECT_EQ(ChildCountOf(list.get()), static_cast<long>(dir.RowCount()));
}

// Windows' list box announces its rows' focus and selection itself, by the child ids the
// rows have here; Wine's announces nothing, so only what a screen reader then reads is checked.
TEST_F(AccessibilityTest, TheFocusedRowIsTheOneTheKeysMovedTo) {
    for (const wchar_t* name : {L"Alpha", L"Beta"})
        ::CreateDirectoryW((temp / name).c_str(), nullptr);
    Open();
    HWND list = Ctl(kDir1);
    ::SetFocus(list);
    long open = static_cast<long>(form->Dir1().RowCount()) - 3;
    ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    auto object = ClientObject(list);
    VARIANT focus, selection;
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, open + 2);
    ASSERT_EQ(object->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.lVal, open + 2);
    EXPECT_EQ(NameOf(object.get(), open + 2), L"Alpha");
    EXPECT_TRUE(StateOf(object.get(), open + 2) & STATE_SYSTEM_FOCUSED);
    EXPECT_FALSE(StateOf(object.get(), open + 1) & STATE_SYSTEM_FOCUSED);
    // Away from the list no row has the focus.
    ::SetFocus(Ctl(kTxtPath));
    EXPECT_FALSE(StateOf(object.get(), open + 2) & STATE_SYSTEM_FOCUSED);
}

TEST_F(AccessibilityTest, ARowsPlaceIsWhereItIsDrawn) {
    Open();
    auto list = ClientObject(Ctl(kDir1));
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(list->accLocation(&x, &y, &w, &h, Child(1)), S_OK);
    RECT row{};
    ::SendMessageW(Ctl(kDir1), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    ::MapWindowPoints(Ctl(kDir1), nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_EQ(x, row.left);
    EXPECT_EQ(y, row.top);
    EXPECT_EQ(h, row.bottom - row.top);
    VARIANT hit;
    ::VariantInit(&hit);
    ASSERT_EQ(list->accHitTest(x + 2, y + 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 1);
}

TEST_F(AccessibilityTest, TheInputBoxIsNamedByItsPrompt) {
    Open();
    std::vector<std::wstring> names;
    answerer.OnActivate(kInputBoxClass, [&](HWND box) {
        ExpectNamedAndUnique(box);
        names.push_back(NameOf(::GetDlgItem(box, kInputBoxEdit)));
        ::SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    Click(kCmdCurrDir);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], L"Enter Name for New Folder:");
}

TEST_F(AccessibilityTest, TheIconChoosersIconsSayTheirPlaceAndResource) {
    Open();
    SetText(kTxtDirICO, VELQUIN_ICONS3);
    SetText(kTxtIcoIndex, L"1");
    std::vector<std::wstring> names, descriptions;
    answerer.OnActivate(kIconChooserClass, [&](HWND window) {
        ExpectNamedAndUnique(window);
        HWND icons = ::GetDlgItem(window, kIconList);
        auto list = ClientObject(icons);
        names.push_back(NameOf(list.get()));
        EXPECT_EQ(ChildCountOf(list.get()), 3);
        for (long child = 1; child <= 3; ++child) {
            names.push_back(NameOf(list.get(), child));
            descriptions.push_back(DescriptionOf(list.get(), child));
        }
        EXPECT_TRUE(StateOf(list.get(), 2) & STATE_SYSTEM_SELECTED);
        EXPECT_TRUE(StateOf(list.get(), 2) & STATE_SYSTEM_FOCUSED);
        ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    Command(form->hwnd(), kChooseIcon);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], L"Icons");
    EXPECT_EQ(names[1], L"Icon 1 of 3");
    EXPECT_EQ(names[3], L"Icon 3 of 3");
    EXPECT_EQ(descriptions[0], L"Index 0, resource id 1");
    EXPECT_EQ(descriptions[2], L"Index 2, resource id 3");
}

// The swatch and mark rows read alike: radio buttons named by their colours or marks, one
// checked, whose default action chooses, as a click does.
struct RadioRowCase {
    int id;
    const wchar_t* rowName;
    std::vector<std::wstring> names;
    int checkedFirst;  // -1: none
};

std::vector<RadioRowCase> RadioRows() {
    std::vector<std::wstring> colours;
    for (const auto& colour : icon_maker::kColours)
        colours.emplace_back(colour.name);
    return {{kSwatchRow, L"Folder colours", colours, -1},
            {kMarkRow,
             L"Folder marks",
             {L"No Mark", L"Done", L"Important", L"Waiting", L"Cancelled", L"Star", L"Heart",
              L"Private", L"Question"},
             0}};
}

TEST_F(AccessibilityTest, TheSwatchesAndMarksAreRadioButtonsNamedByWhatTheyChoose) {
    Open();
    struct Read {
        std::wstring name, action;
        long role = 0, state = 0;
    };
    for (const auto& row : RadioRows()) {
        std::vector<Read> before, after;
        std::wstring rowName;
        bool keyAnnounced = false;
        answerer.OnActivate(kFolderColourClass, [&](HWND window) {
            ExpectNamedAndUnique(window);
            HWND control = ::GetDlgItem(window, row.id);
            auto object = ClientObject(control);
            rowName = NameOf(object.get());
            auto read = [&](std::vector<Read>& into) {
                for (long child = 1; child <= ChildCountOf(object.get()); ++child)
                    into.push_back({NameOf(object.get(), child),
                                    DefaultActionOf(object.get(), child),
                                    RoleOf(object.get(), child), StateOf(object.get(), child)});
            };
            read(before);
            // A screen reader's default action chooses the third cell, as a click does.
            EXPECT_EQ(object->accDoDefaultAction(Child(3)), S_OK);
            read(after);
            // A key moves the choice, and the screen reader hears the new cell.
            WinEvents events;
            ::SetFocus(control);
            ::SendMessageW(control, WM_KEYDOWN, VK_RIGHT, 0);
            Pump();
            keyAnnounced = events.Saw(EVENT_OBJECT_FOCUS, control, 4) &&
                           events.Saw(EVENT_OBJECT_SELECTION, control, 4);
            ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
        });
        Command(form->hwnd(), kFolderColour);
        EXPECT_EQ(rowName, row.rowName);
        EXPECT_TRUE(keyAnnounced) << row.id;
        ASSERT_EQ(before.size(), row.names.size()) << row.id;
        ASSERT_EQ(after.size(), row.names.size()) << row.id;
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].name, row.names[i]);
            EXPECT_EQ(before[i].role, ROLE_SYSTEM_RADIOBUTTON);
            EXPECT_EQ(before[i].action, L"Select");
            EXPECT_EQ((before[i].state & STATE_SYSTEM_CHECKED) != 0,
                      static_cast<int>(i) == row.checkedFirst)
                << row.id << " " << i;
            EXPECT_EQ((after[i].state & STATE_SYSTEM_CHECKED) != 0, i == 2) << row.id << " " << i;
        }
    }
}

}  // namespace
}  // namespace testsupport
