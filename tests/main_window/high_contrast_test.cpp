// High contrast: the main window's own colours come from the system's pairs while a
// high-contrast theme is on, and stay as designed while it is off.
#include <windows.h>

#include "form1_fixture.h"
#include "main_window/form1_colours.h"
#include "platform/ui/contrast.h"

using namespace main_window;
using platform::DrawColour;

namespace testsupport {
namespace {

std::vector<DrawColour> All(const Form1Colours& c) {
    return {c.back, c.text, c.codeText, c.codeBack, c.outline};
}

TEST(Form1ColoursTest, HighContrastReadsOnlySystemColourPairs) {
    const Form1Colours on = Form1ColoursFor(true);
    for (const DrawColour& colour : All(on))
        EXPECT_TRUE(colour.IsSystem());
    // Each text colour goes with its own background.
    EXPECT_EQ(on.back.system, COLOR_BTNFACE);
    EXPECT_EQ(on.text.system, COLOR_BTNTEXT);
    EXPECT_EQ(on.codeBack.system, COLOR_WINDOW);
    EXPECT_EQ(on.codeText.system, COLOR_WINDOWTEXT);
    for (const auto& line : Form1Lines())
        EXPECT_EQ(Form1LineColour(line, true), platform::SystemColour(COLOR_BTNTEXT));
}

TEST(Form1ColoursTest, WithoutHighContrastTheDesignedColoursStay) {
    const Form1Colours off = Form1ColoursFor(false);
    EXPECT_EQ(off.back, platform::FixedColour(RGB(0, 0, 0)));
    EXPECT_EQ(off.text, platform::FixedColour(RGB(255, 255, 255)));
    EXPECT_EQ(off.codeText, platform::FixedColour(RGB(64, 64, 64)));
    EXPECT_EQ(off.codeBack, platform::SystemColour(COLOR_WINDOW));
    EXPECT_EQ(off.outline, platform::SystemColour(COLOR_WINDOWTEXT));
    for (const auto& line : Form1Lines())
        EXPECT_EQ(Form1LineColour(line, false), platform::FixedColour(line.colour));
}

// Turns the system's high-contrast flag on for one test, where the system lets it be set.
class HighContrastOn {
  public:
    HighContrastOn() {
        HIGHCONTRASTW contrast{sizeof contrast};
        ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0);
        was_ = contrast.dwFlags;
        contrast.dwFlags |= HCF_HIGHCONTRASTON;
        contrast.lpszDefaultScheme = nullptr;
        set_ = ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
               platform::HighContrastOn();
    }
    ~HighContrastOn() {
        HIGHCONTRASTW contrast{sizeof contrast};
        contrast.dwFlags = was_;
        ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    }
    bool Set() const { return set_; }

  private:
    DWORD was_ = 0;
    bool set_ = false;
};

using HighContrastWindowTest = Form1Test;

TEST_F(HighContrastWindowTest, TheWindowTakesTheThemeWhenTheSettingChanges) {
    Open();
    HighContrastOn contrast;
    if (!contrast.Set())
        GTEST_SKIP() << "this system does not let the high-contrast flag be set";
    ::SendMessageW(form->hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    HDC dc = ::GetDC(form->hwnd());
    ::SendMessageW(form->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Ctl(kLabel3)));
    EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(::GetBkColor(dc), ::GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(form->hwnd(), dc);
}

}  // namespace
}  // namespace testsupport
