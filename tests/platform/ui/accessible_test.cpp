// The accessibility layer on plain controls: names given over the label before them, a row
// of choices read as radio buttons with their events, and objects that outlive their window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/ui/accessible.h"
#include "platform/ui/accessible_radio_row.h"
#include "platform/ui/window.h"
#include "platform/ui/list_host.h"
#include "support/screen_reader.h"

using namespace testsupport;

namespace {

constexpr UINT kGet = WM_USER + 1, kSet = WM_USER + 2;

// A row of three cells that remembers its choice, as the swatch rows do.
LRESULT CALLBACK RowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kGet)
        return ::GetWindowLongPtrW(hwnd, GWLP_USERDATA) - 1;
    if (msg == kSet) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam) + 1);
        platform::NotifyRadioRowChoice(hwnd, static_cast<int>(wParam));
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

class AccessibleTest : public ::testing::Test {
  protected:
    HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int y) {
        return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 300, 24,
                                 host.hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    HWND Row() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelquinTestRadioRow";
        ::RegisterClassW(&wc);
        HWND row = Child(wc.lpszClassName, L"", WS_TABSTOP, 60);
        platform::SetAccessibleRadioRow(row, {L"One", L"Two", L"Three"}, {kGet, kSet});
        return row;
    }
    listtest::ListHost host;
};

TEST_F(AccessibleTest, AGivenNameWinsOverTheLabelBefore) {
    Child(L"STATIC", L"Path:", 0, 10);
    HWND edit = Child(L"EDIT", L"C:\\", WS_TABSTOP | WS_BORDER, 30);
    std::wstring before = NameOf(edit);
    platform::SetAccessibleName(edit, L"Icon file path");
    EXPECT_EQ(NameOf(edit), L"Icon file path");
    EXPECT_EQ(platform::AccessibleNameOf(edit), L"Icon file path");
    EXPECT_NE(before, L"Icon file path");
    // The rest is still the system's: the edit's value is its text.
    auto object = ClientObject(edit);
    BSTR value = nullptr;
    ASSERT_EQ(object->get_accValue(testsupport::Child(CHILDID_SELF), &value), S_OK);
    EXPECT_STREQ(value, L"C:\\");
    ::SysFreeString(value);
}

LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// The name's hook sits among the common controls' subclasses, made before or after it, and
// stays when they go; the control keeps working and its name goes with it.
TEST_F(AccessibleTest, TheNameStaysAmongOtherSubclasses) {
    HWND before = Child(L"EDIT", L"", WS_TABSTOP, 30);
    HWND after = Child(L"EDIT", L"", WS_TABSTOP, 60);
    ASSERT_TRUE(::SetWindowSubclass(before, PassOn, 1, 0));
    platform::SetAccessibleName(before, L"Made after a subclass");
    platform::SetAccessibleName(after, L"Made before a subclass");
    ASSERT_TRUE(::SetWindowSubclass(after, PassOn, 1, 0));
    ASSERT_TRUE(::RemoveWindowSubclass(after, PassOn, 1));
    EXPECT_EQ(NameOf(before), L"Made after a subclass");
    EXPECT_EQ(NameOf(after), L"Made before a subclass");
    ::SetWindowTextW(after, L"typed");
    EXPECT_EQ(platform::WindowText(after), L"typed");
    ::DestroyWindow(before);
    ::DestroyWindow(after);
    EXPECT_EQ(platform::AccessibleNameOf(after), L"");
}

TEST_F(AccessibleTest, ARenameIsAnnounced) {
    HWND edit = Child(L"EDIT", L"", WS_TABSTOP, 30);
    platform::SetAccessibleName(edit, L"First");
    WinEvents events;
    platform::SetAccessibleName(edit, L"Second");
    listtest::Pump();
    ASSERT_TRUE(events.Hooked());
    EXPECT_TRUE(events.Saw(EVENT_OBJECT_NAMECHANGE, edit, CHILDID_SELF));
}

TEST_F(AccessibleTest, ARowOfChoicesReadsAsRadioButtons) {
    HWND row = Row();
    auto object = ClientObject(row);
    ASSERT_TRUE(object);
    EXPECT_EQ(RoleOf(object.get()), ROLE_SYSTEM_GROUPING);
    ASSERT_EQ(ChildCountOf(object.get()), 3);
    EXPECT_EQ(NameOf(object.get(), 2), L"Two");
    EXPECT_EQ(RoleOf(object.get(), 2), ROLE_SYSTEM_RADIOBUTTON);
    // Each cell is a third of the row, left to right.
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(object->accLocation(&x, &y, &w, &h, testsupport::Child(3)), S_OK);
    RECT r{};
    ::GetWindowRect(row, &r);
    EXPECT_EQ(x, r.left + 2 * w);
    EXPECT_EQ(w, (r.right - r.left) / 3);

    ::SetFocus(row);
    WinEvents events;
    ASSERT_EQ(object->accSelect(SELFLAG_TAKESELECTION, testsupport::Child(2)), S_OK);
    EXPECT_EQ(::SendMessageW(row, kGet, 0, 0), 1);
    EXPECT_TRUE(StateOf(object.get(), 2) & STATE_SYSTEM_CHECKED);
    EXPECT_FALSE(StateOf(object.get(), 1) & STATE_SYSTEM_CHECKED);
    VARIANT selected;
    ASSERT_EQ(object->get_accSelection(&selected), S_OK);
    EXPECT_EQ(selected.lVal, 2);
    listtest::Pump();
    ASSERT_TRUE(events.Hooked());
    EXPECT_TRUE(events.Saw(EVENT_OBJECT_SELECTION, row, 2));
    EXPECT_TRUE(events.Saw(EVENT_OBJECT_FOCUS, row, 2));
}

TEST_F(AccessibleTest, NavigationWalksTheItemsInOrder) {
    auto object = ClientObject(Row());
    struct Step {
        long from, direction, to;  // to 0: no item there
    };
    const Step steps[] = {{CHILDID_SELF, NAVDIR_FIRSTCHILD, 1},
                          {CHILDID_SELF, NAVDIR_LASTCHILD, 3},
                          {1, NAVDIR_NEXT, 2},
                          {3, NAVDIR_NEXT, 0},
                          {2, NAVDIR_PREVIOUS, 1},
                          {1, NAVDIR_LEFT, 0}};
    for (const auto& step : steps) {
        VARIANT end;
        ::VariantInit(&end);
        HRESULT hr = object->accNavigate(step.direction, testsupport::Child(step.from), &end);
        if (step.to) {
            EXPECT_EQ(hr, S_OK) << step.from << " " << step.direction;
            EXPECT_EQ(end.lVal, step.to);
        } else {
            EXPECT_EQ(hr, S_FALSE) << step.from << " " << step.direction;
        }
    }
}

TEST_F(AccessibleTest, AnObjectHeldPastItsWindowSaysItIsGone) {
    HWND row = Row();
    auto object = ClientObject(row);
    ASSERT_EQ(NameOf(object.get(), 1), L"One");
    ::DestroyWindow(row);
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(NameOf(object.get(), 1), L"");
}

}  // namespace
