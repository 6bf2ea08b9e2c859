// Tooltips on every control that takes input, in both windows, with their texts; they
// follow the DPI and are placed beside the control, never over it.
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "form1_fixture.h"
#include "main_window/form1_extras.h"
#include "picker/my_form_layout.h"
#include "platform/ui/tooltips.h"

using namespace main_window;

namespace testsupport {
namespace {

using TooltipsTest = Form1Test;

// Every tool of a tooltip control: the control it describes and its text.
std::map<HWND, std::wstring> Tools(HWND tip) {
    std::map<HWND, std::wstring> tools;
    int count = static_cast<int>(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.lpszText = text;
        if (!::SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)))
            continue;
        tools[reinterpret_cast<HWND>(tool.uId)] = text;
    }
    return tools;
}

HWND OwnedTooltip(HWND owner) {
    HWND found = nullptr;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w && !found;
         w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
        if (::GetWindow(w, GW_OWNER) == owner)
            found = w;
    return found;
}

constexpr wchar_t kClassicOnly[] =
    L"honoured only by the classic folder view of Windows XP and earlier and ignored by "
    L"Explorer in Windows Vista and later";

TEST_F(TooltipsTest, EveryInputControlOfTheMainWindowHasItsSentence) {
    Open();
    HWND tip = form->Extras()->Tips().hwnd();
    ASSERT_TRUE(tip);
    std::map<HWND, std::wstring> tools = Tools(tip);
    int inputs = 0;
    for (const auto& control : Form1Controls()) {
        if (control.kind == platform::ControlKind::Frame ||
            control.kind == platform::ControlKind::Label)
            continue;  // they take no input
        ++inputs;
        auto it = tools.find(Ctl(control.id));
        ASSERT_NE(it, tools.end()) << control.name;
        const std::wstring& text = it->second;
        EXPECT_GT(text.size(), 10u) << control.name;
        EXPECT_EQ(text.back(), L'.') << control.name;
        bool classic = control.id == kCheck1 || control.id == kTxtBGImg || control.id == kCheck3 ||
                       control.id == kCboColor || control.id == kTxtColorCode;
        EXPECT_EQ(text.find(kClassicOnly) != std::wstring::npos, classic) << control.name;
    }
    EXPECT_EQ(inputs, 20);
    // The colour box's typing field is covered too.
    HWND field = ::FindWindowExW(Ctl(kCboColor), nullptr, WC_EDITW, nullptr);
    ASSERT_TRUE(field);
    EXPECT_EQ(tools[field], tools[Ctl(kCboColor)]);
    EXPECT_EQ(tools[Ctl(kCmdQit)], L"Close Velquin.");
}

TEST_F(TooltipsTest, ThePickerHasItsOwnAndTheyGoWithIt) {
    Open();
    std::map<HWND, std::wstring> tools;
    std::map<int, HWND> controls;
    HWND picker = nullptr;
    answerer.OnActivate(picker::kMyFormClass, [&](HWND window) {
        picker = window;
        HWND tip = OwnedTooltip(window);
        if (tip)
            tools = Tools(tip);
        for (int id :
             {picker::kDrive1, picker::kDir1, picker::kFile1, picker::kCommand1, picker::kCommand2})
            controls[id] = ::GetDlgItem(window, id);
        ::PostMessageW(::GetDlgItem(window, picker::kCommand2), BM_CLICK, 0, 0);
    });
    Click(kCmdIco);
    ASSERT_TRUE(picker);
    EXPECT_EQ(tools.size(), 5u);
    EXPECT_EQ(tools[controls[picker::kFile1]], L"Click a file to see its preview.");
    EXPECT_EQ(tools[controls[picker::kCommand2]], L"Close without handing a file back.");
    for (const auto& [id, hwnd] : controls)
        EXPECT_FALSE(tools[hwnd].empty()) << id;
    EXPECT_FALSE(OwnedTooltip(picker));  // closed with its window
}

TEST_F(TooltipsTest, TheMainWindowMakesItsTipsWhenTheMouseFirstComes) {
    Open();
    EXPECT_FALSE(OwnedTooltip(form->hwnd())) << "made before any tip can show";
    // The mouse over a control: the control's default handling asks its parent first.
    ::SendMessageW(Ctl(kCmdQit), WM_SETCURSOR, reinterpret_cast<WPARAM>(Ctl(kCmdQit)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND tip = OwnedTooltip(form->hwnd());
    ASSERT_TRUE(tip);
    EXPECT_EQ(Tools(tip).size(), 21u);  // the 20 input controls and the colour box's field
    EXPECT_EQ(form->Extras()->Tips().hwnd(), tip);
}

TEST_F(TooltipsTest, FontFollowsTheDpiAndTipsSitBesideTheirControl) {
    Open();
    HWND tip = form->Extras()->Tips().hwnd();
    auto height = [tip] {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)), sizeof(lf),
                     &lf);
        return std::abs(lf.lfHeight);
    };
    int at96 = height();
    RECT r;
    ::GetWindowRect(form->hwnd(), &r);
    ::SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&r));
    int at192 = height();
    ::SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(at96, 0);
    EXPECT_NEAR(at192, 2 * at96, 1);
    EXPECT_EQ(height(), at96);

    // Below the control, above it near the bottom of the screen, inside the work area.
    const RECT work{0, 0, 1024, 768};
    const SIZE size{300, 40};
    for (RECT control :
         {RECT{100, 100, 300, 125}, RECT{900, 740, 1000, 765}, RECT{0, 700, 200, 730}}) {
        POINT p = platform::Tooltips::Placement(control, size, work, 96);
        RECT placed{p.x, p.y, p.x + size.cx, p.y + size.cy}, overlap;
        EXPECT_FALSE(::IntersectRect(&overlap, &placed, &control));
        EXPECT_GE(placed.left, work.left);
        EXPECT_LE(placed.right, work.right);
        EXPECT_GE(placed.top, work.top);
        EXPECT_LE(placed.bottom, work.bottom);
    }
}

}  // namespace
}  // namespace testsupport
