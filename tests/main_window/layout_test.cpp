// The main window as laid out: captions, places at two DPIs, colours, tab order.
#include "form1_fixture.h"

#include <vector>

#include "platform/ui/dpi_layout.h"

using main_window::Form1Controls;
using namespace main_window;

namespace testsupport {
namespace {

RECT ClientRectOf(HWND parent, HWND child) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(const RECT& actual, int left, int top, int width, int height, const wchar_t* name) {
    EXPECT_EQ(actual.left, left) << name;
    EXPECT_EQ(actual.top, top) << name;
    EXPECT_EQ(actual.right - actual.left, width) << name;
    EXPECT_EQ(actual.bottom - actual.top, height) << name;
}

using LayoutTest = Form1Test;

TEST_F(LayoutTest, WindowIsFixedBlackCentredWithTheTitle) {
    Open();
    HWND hwnd = form->hwnd();
    EXPECT_EQ(platform::WindowText(hwnd), L"     -=[QRX]=- Velquin v1.0");
    RECT client;
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 665);
    EXPECT_EQ(client.bottom, 298);
    LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));

    RECT window, work;
    ::GetWindowRect(hwnd, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);

    // The background is black, also under the frames' interior.
    HDC dc = ::GetDC(hwnd);
    EXPECT_EQ(::GetPixel(dc, 600, 200), RGB(0, 0, 0));
    ::ReleaseDC(hwnd, dc);
}

TEST_F(LayoutTest, EveryControlHasItsCaptionAndPlaceAt96Dpi) {
    Open();
    ASSERT_EQ(form->Dpi(), 96u);
    for (const auto& control : Form1Controls()) {
        HWND child = Ctl(control.id);
        ASSERT_TRUE(child) << control.name;
        RECT r = ClientRectOf(form->hwnd(), child);
        RECT expected = platform::ControlRect(Form1Controls(), control, 96);
        EXPECT_EQ(r.left, expected.left) << control.name;
        EXPECT_EQ(r.top, expected.top) << control.name;
        EXPECT_EQ(r.right, expected.right) << control.name;
        EXPECT_EQ(r.bottom, expected.bottom) << control.name;
        if (control.text && control.id != kTxtPath) {
            EXPECT_EQ(Text(control.id), control.text) << control.name;
        }
    }
    // A few places worked out by hand: twips / 15 at 96 DPI, frames add their offset.
    ExpectRect(ClientRectOf(form->hwnd(), Ctl(kFrame2)), 336, 8, 321, 281, L"Frame2");
    ExpectRect(ClientRectOf(form->hwnd(), Ctl(kCmdYes)), 432, 256, 81, 25, L"cmdYes");
    ExpectRect(ClientRectOf(form->hwnd(), Ctl(kTxtPath)), 56, 255, 257, 19, L"txtPath");
    ExpectRect(ClientRectOf(form->hwnd(), Ctl(kCboColor)), 416, 165, 121, 21, L"cboColor");

    EXPECT_EQ(Text(kCheck3), L"Icon Text Color For Content of  Selected Folder");
    EXPECT_EQ(Text(kTxtDirICO), L"%SystemRoot%\\system32\\SHELL32.dll");
    EXPECT_EQ(Text(kTxtIcoIndex), L"38");
    EXPECT_EQ(Text(kTxtColorCode), L"0x000000");
    EXPECT_EQ(Text(kTxtITip), L"This text shown when mouse is over folder.");
    EXPECT_EQ(Text(kTxtBGImg), L"");
    EXPECT_EQ(Text(kCboColor), L"Choose Your Color");
    for (int id : {kCheck1, kCheck2, kCheck3, kCheck4})
        EXPECT_EQ(::SendMessageW(Ctl(id), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // No default or cancel button.
    for (int id : {kCmdYes, kCmdRem, kCmdQit, kCmdAbout, kCmdCurrDir, kCmdImg, kCmdIco})
        EXPECT_FALSE(::SendMessageW(Ctl(id), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
}

TEST_F(LayoutTest, RelaysOutInProportionAt144Dpi) {
    Open();
    RECT suggested;
    ::GetWindowRect(form->hwnd(), &suggested);
    suggested.right = suggested.left + 1100;
    suggested.bottom = suggested.top + 520;
    ::SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    for (const auto& control : Form1Controls()) {
        RECT r = ClientRectOf(form->hwnd(), Ctl(control.id));
        RECT expected = platform::ControlRect(Form1Controls(), control, 144);
        EXPECT_EQ(r.left, expected.left) << control.name;
        EXPECT_EQ(r.top, expected.top) << control.name;
        EXPECT_EQ(r.right - r.left, expected.right - expected.left) << control.name;
        // A combo box's closed height can't go below what its font needs.
        int slack = control.kind == platform::ControlKind::ComboBox ? 2 : 0;
        EXPECT_NEAR(r.bottom - r.top, expected.bottom - expected.top, slack) << control.name;
    }
    ExpectRect(ClientRectOf(form->hwnd(), Ctl(kCmdYes)), 648, 384, 122, 38, L"cmdYes");
    // Fonts follow: the frame caption's font is larger than at 96 DPI.
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Ctl(kFrame1), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -17);  // 8.25 pt at 144 DPI
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST_F(LayoutTest, FrameCaptionsUseBoldSansSerif) {
    Open();
    for (int id : {kFrame1, kFrame2}) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Ctl(id), WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        ASSERT_TRUE(::GetObjectW(font, sizeof(lf), &lf));
        EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(lf.lfHeight, -11);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
    }
}

TEST_F(LayoutTest, ControlsAskForWhiteOnBlackAndGreyCode) {
    Open();
    HDC dc = ::GetDC(form->hwnd());
    for (int id : {kFrame1, kLabel3, kCheck2}) {
        ::SendMessageW(form->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(Ctl(id)));
        EXPECT_EQ(::GetTextColor(dc), RGB(255, 255, 255)) << id;
        EXPECT_EQ(::GetBkColor(dc), RGB(0, 0, 0)) << id;
    }
    ::SendMessageW(form->hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Ctl(kTxtColorCode)));
    EXPECT_EQ(::GetTextColor(dc), RGB(64, 64, 64));
    ::ReleaseDC(form->hwnd(), dc);
}

TEST_F(LayoutTest, TabWalksTheTabOrderFromTheDriveList) {
    Open();
    EXPECT_EQ(::GetFocus(), Ctl(kDrive1));
    const int order[] = {kDrive1,       kDir1,     kTxtPath, kCmdCurrDir, kTxtBGImg, kCheck1,
                         kTxtDirICO,    kCheck2,   kCheck3,  kTxtITip,    kCheck4,   kCboColor,
                         kCmdYes,       kCmdQit,   kCmdRem,  kCmdImg,     kCmdIco,   kTxtIcoIndex,
                         kTxtColorCode, kCmdAbout, kDrive1};
    HWND at = Ctl(kDrive1);
    for (size_t i = 1; i < std::size(order); ++i) {
        at = ::GetNextDlgTabItem(form->hwnd(), at, FALSE);
        EXPECT_EQ(::GetDlgCtrlID(at), order[i]) << "step " << i;
    }
}

TEST_F(LayoutTest, BrowseButtonsAreWholeAndClickableOverTheirCheckBoxes) {
    Open();
    // Hit testing is screen-wide: keep other windows from covering the points.
    ::SetWindowPos(form->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (auto [check, button] : {std::pair{kCheck1, kCmdImg}, std::pair{kCheck2, kCmdIco}}) {
        RECT b;
        ::GetWindowRect(Ctl(button), &b);
        // Corners and centre of the button all hit the button, not the check box.
        for (POINT p : {POINT{b.left + 1, b.top + 1}, POINT{b.right - 2, b.bottom - 2},
                        POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2}})
            EXPECT_EQ(::WindowFromPoint(p), Ctl(button)) << button;
        // Left of the button the row still belongs to the check box.
        RECT c;
        ::GetWindowRect(Ctl(check), &c);
        EXPECT_EQ(::WindowFromPoint(POINT{c.left + 5, (c.top + c.bottom) / 2}), Ctl(check));
    }
}

}  // namespace
}  // namespace testsupport
