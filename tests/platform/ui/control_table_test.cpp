#include "platform/ui/control_table.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

#include "list_host.h"

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::kNoTabIndex;

// A frame with a label inside, then the image (the window's own kind) first in tab order.
constexpr ControlSpec kTable[] = {
    {1, L"Frame1", ControlKind::Frame, 0, L"Frame", 120, 120, 3000, 1500, kNoTabIndex},
    {2, L"Label1", ControlKind::Label, 1, L"Label", 60, 240, 900, 240, kNoTabIndex},
    {3, L"Command1", ControlKind::Button, 0, L"OK", 120, 1800, 855, 255, 1},
    {4, L"Image1", ControlKind::Image, 0, nullptr, 3300, 120, 1500, 1500, 0},
    {5, L"Check1", ControlKind::CheckBox, 0, L"Check", 120, 2160, 1500, 255, 2},
};

using Host = listtest::ListHost;  // a plain window to hold the controls

// Makes the image as a plain static, or fails as told; records what it is asked.
struct Own final : platform::OwnControls {
    bool CreateOwnControl(HWND parent, const ControlSpec& control, const RECT& rect,
                          UINT) override {
        created.push_back(rect);
        if (failWith) {
            ::SetLastError(failWith);
            return false;
        }
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), nullptr,
                                 nullptr) != nullptr;
    }
    void PlaceOwnControl(const ControlSpec&, const RECT& rect, UINT dpi) override {
        placed.push_back(rect);
        placedDpi = dpi;
    }
    DWORD failWith = 0;
    std::vector<RECT> created, placed;
    UINT placedDpi = 0;
};

std::vector<int> ChildIdsInZOrder(HWND parent) {
    std::vector<int> ids;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ids.push_back(::GetDlgCtrlID(c));
    return ids;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ControlTable, CreatesInTabOrderAndPlacesAtADpi) {
    Host host;
    Own own;
    ASSERT_TRUE(platform::CreateTableControls(host.hwnd(), kTable, 96, own));
    EXPECT_EQ(ChildIdsInZOrder(host.hwnd()), (std::vector<int>{1, 2, 4, 3, 5}));
    ASSERT_EQ(own.created.size(), 1u);
    EXPECT_TRUE(SameRect(own.created[0], platform::ControlRect(kTable, kTable[3], 96)));

    platform::PlaceControls(host.hwnd(), kTable, 192, &own);
    ASSERT_EQ(own.placed.size(), 1u);
    EXPECT_EQ(own.placedDpi, 192u);
    EXPECT_TRUE(SameRect(own.placed[0], platform::ControlRect(kTable, kTable[3], 192)));
    RECT label;
    ::GetWindowRect(::GetDlgItem(host.hwnd(), 2), &label);
    ::MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&label), 2);
    EXPECT_TRUE(SameRect(label, platform::ControlRect(kTable, kTable[1], 192)));
}

// Counts the moves a control is given.
LRESULT CALLBACK CountMoves(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR moves) {
    if (msg == WM_WINDOWPOSCHANGING)
        ++*reinterpret_cast<int*>(moves);
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST(ControlTable, PlacingLeavesControlsThatAreInPlaceAlone) {
    Host host;
    Own own;
    ASSERT_TRUE(platform::CreateTableControls(host.hwnd(), kTable, 96, own));
    HWND button = ::GetDlgItem(host.hwnd(), 3);
    int moves = 0;
    ::SetWindowSubclass(button, CountMoves, 1, reinterpret_cast<DWORD_PTR>(&moves));
    platform::PlaceControls(host.hwnd(), kTable, 96, &own);
    EXPECT_EQ(moves, 0);
    // Moved away by hand, it goes back with one move.
    ::SetWindowPos(button, nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    moves = 0;
    platform::PlaceControls(host.hwnd(), kTable, 96, &own);
    EXPECT_EQ(moves, 1);
    RECT r;
    ::GetWindowRect(button, &r);
    ::MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(SameRect(r, platform::ControlRect(kTable, kTable[2], 96)));
    ::RemoveWindowSubclass(button, CountMoves, 1);
}

TEST(ControlTable, AFailedControlStopsTheLoopWithItsError) {
    Host host;
    Own own;
    own.failWith = ERROR_NOT_ENOUGH_MEMORY;
    EXPECT_FALSE(platform::CreateTableControls(host.hwnd(), kTable, 96, own));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(ChildIdsInZOrder(host.hwnd()), (std::vector<int>{1, 2}));
}

TEST(ControlTable, FramesTakeTheirFontAndOldFontsGoOnlyAfter) {
    Host host;
    Own own;
    ASSERT_TRUE(platform::CreateTableControls(host.hwnd(), kTable, 96, own));
    auto fontOf = [&](int id) {
        return reinterpret_cast<HFONT>(
            ::SendMessageW(::GetDlgItem(host.hwnd(), id), WM_GETFONT, 0, 0));
    };
    platform::TableFonts held;
    platform::TableFonts first{platform::CreateDefaultFont(96),
                               platform::CreatePointFont(L"Arial", 900, FW_BOLD, 96)};
    HFONT text = first.text.get(), frame = first.frame.get();
    platform::ApplyTableFonts(host.hwnd(), kTable, std::move(first), held);
    EXPECT_EQ(fontOf(1), frame);
    EXPECT_EQ(fontOf(3), text);
    EXPECT_EQ(held.text.get(), text);

    // Without a frame font, frames take the text font; the first fonts are freed.
    platform::TableFonts second{platform::CreateDefaultFont(120), {}};
    HFONT secondText = second.text.get();
    platform::ApplyTableFonts(host.hwnd(), kTable, std::move(second), held);
    EXPECT_EQ(fontOf(1), secondText);
    EXPECT_EQ(fontOf(5), secondText);
    EXPECT_EQ(::GetObjectType(text), 0u);
    EXPECT_EQ(::GetObjectType(frame), 0u);
}

}  // namespace
