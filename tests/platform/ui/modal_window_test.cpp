// The base of the modal windows: opened centred with its table's controls, shown over an
// owner that takes no input until it closes, the close box taken as Cancel.
#include "platform/ui/modal.h"

#include <gtest/gtest.h>

namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr ControlSpec kTable[] = {
    {IDOK, L"cmdOK", ControlKind::Button, 0, L"OK", 120, 120, 1200, 375, 0},
    {IDCANCEL, L"cmdCancel", ControlKind::Button, 0, L"Cancel", 1440, 120, 1200, 375, 1},
};
constexpr platform::ModalWindow::Frame kFrame = {L"VelquinModalTest",
                                                 L"modal",
                                                 WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                                 WS_EX_DLGMODALFRAME,
                                                 {3000, 1200}};

// The table holds only buttons: nothing of the window's own to make.
struct NoOwnControls final : platform::OwnControls {
    bool CreateOwnControl(HWND, const ControlSpec&, const RECT&, UINT) override { return true; }
    void PlaceOwnControl(const ControlSpec&, const RECT&, UINT) override {}
};

class Sample : public platform::ModalWindow {
  public:
    DWORD OpenOver(HWND owner) { return Open(kFrame, owner, kTable, controls_); }
    void Run(HWND owner) { RunModal(owner); }
    int cancels = 0;
    bool ownerEnabledWhileOpen = true;

  protected:
    void OnCancel() override {
        ++cancels;
        ownerEnabledWhileOpen = ::IsWindowEnabled(::GetWindow(hwnd(), GW_OWNER)) != FALSE;
        Close();
    }

  private:
    NoOwnControls controls_;
};

TEST(ModalWindow, OpensWithItsTableAndClosesBackToTheOwner) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    Sample sample;
    ASSERT_EQ(sample.OpenOver(owner), DWORD{ERROR_SUCCESS});
    ASSERT_TRUE(sample.hwnd());
    EXPECT_EQ(::GetWindow(sample.hwnd(), GW_OWNER), owner);
    for (const ControlSpec& control : kTable)
        EXPECT_TRUE(::GetDlgItem(sample.hwnd(), control.id)) << control.name;

    // The close box, once the loop runs: Cancel closes, the owner takes input again.
    ::PostMessageW(sample.hwnd(), WM_CLOSE, 0, 0);
    sample.Run(owner);
    EXPECT_EQ(sample.cancels, 1);
    EXPECT_FALSE(sample.ownerEnabledWhileOpen);
    EXPECT_FALSE(sample.hwnd());
    EXPECT_TRUE(::IsWindowEnabled(owner));
    sample.Close();  // closed already: nothing happens
    ::DestroyWindow(owner);
}

}  // namespace
