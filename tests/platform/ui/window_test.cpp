// What every top-level window gets from platform::Window: centred creation at its DPI, the
// move to a new DPI before its relayout, and its focused control kept across deactivation.
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/dpi_layout.h"

namespace {

constexpr SIZE kClientTwips{4800, 2400};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

class Sample : public platform::Window {
  public:
    bool Create(HWND owner) {
        RegisterOnce(L"VelquinWindowTest", ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
        if (!CreateCentred(L"VelquinWindowTest", L"sample", kStyle, 0, kClientTwips, owner))
            return false;
        for (int id : {1, 2})
            ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10 + id * 30,
                              100, 24, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              nullptr, nullptr);
        return true;
    }
    void Keep(int id) { SetFocusOnActivate(::GetDlgItem(hwnd(), id)); }

    // What the window looked like when asked to lay itself out again.
    struct Relayout {
        UINT dpi;
        RECT window;
    };
    std::vector<Relayout> relayouts;

  protected:
    void OnDpiChanged() override {
        RECT r;
        ::GetWindowRect(hwnd(), &r);
        relayouts.push_back({Dpi(), r});
    }
};

RECT WindowRect(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    return r;
}

TEST(PlatformWindow, OpensCentredOnTheWorkAreaWithTheClientItAskedFor) {
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Sample owner, owned;
    ASSERT_TRUE(owner.Create(nullptr));
    ASSERT_TRUE(owned.Create(owner.hwnd()));
    for (const Sample* sample : {&owner, &owned}) {
        EXPECT_EQ(sample->Dpi(), platform::WindowDpi(sample->hwnd()));
        RECT client, r = WindowRect(sample->hwnd());
        ::GetClientRect(sample->hwnd(), &client);
        EXPECT_EQ(client.right, platform::TwipsToPixels(kClientTwips.cx, sample->Dpi()));
        EXPECT_EQ(client.bottom, platform::TwipsToPixels(kClientTwips.cy, sample->Dpi()));
        EXPECT_NEAR(r.left + r.right, work.left + work.right, 1);
        EXPECT_NEAR(r.top + r.bottom, work.top + work.bottom, 1);
    }
    EXPECT_EQ(::GetWindow(owned.hwnd(), GW_OWNER), owner.hwnd());
}

TEST(PlatformWindow, ADpiChangeTakesTheSuggestedRectangleBeforeTheRelayout) {
    Sample sample;
    ASSERT_TRUE(sample.Create(nullptr));
    for (UINT dpi : {144u, 96u}) {
        RECT suggested{50, 60, 50 + static_cast<LONG>(dpi) * 4, 60 + static_cast<LONG>(dpi) * 2};
        ::SendMessageW(sample.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        ASSERT_FALSE(sample.relayouts.empty());
        EXPECT_EQ(sample.relayouts.back().dpi, dpi);
        EXPECT_TRUE(::EqualRect(&sample.relayouts.back().window, &suggested));
        EXPECT_EQ(sample.Dpi(), dpi);
    }
    EXPECT_EQ(sample.relayouts.size(), 2u);
}

TEST(PlatformWindow, TheFocusedControlComesBackWithTheWindow) {
    Sample sample, other;
    ASSERT_TRUE(sample.Create(nullptr));
    ASSERT_TRUE(other.Create(nullptr));
    ::ShowWindow(sample.hwnd(), SW_SHOW);
    ::ShowWindow(other.hwnd(), SW_SHOW);
    // The control named to start with, then the one the user moved to.
    sample.Keep(1);
    for (int id : {1, 2}) {
        ::SetActiveWindow(sample.hwnd());
        if (id == 2)
            ::SetFocus(::GetDlgItem(sample.hwnd(), 2));
        ::SetActiveWindow(other.hwnd());
        ::SetActiveWindow(sample.hwnd());
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(sample.hwnd(), id));
    }
}

}  // namespace
