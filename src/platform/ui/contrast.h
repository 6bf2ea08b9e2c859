// High contrast: with a high-contrast theme on, everything the program draws itself takes
// the system's colour pairs, so the user's theme decides; off, the designed colours stay.
// Colours are chosen as data (a system colour or a fixed one), so that the choice for
// each state can be checked without drawing.
#pragma once

#include <windows.h>

namespace platform {

struct DrawColour {
    int system;      // a COLOR_* index for GetSysColor, or -1
    COLORREF fixed;  // used when system is -1
    bool IsSystem() const { return system >= 0; }
    bool operator==(const DrawColour&) const = default;
};
constexpr DrawColour SystemColour(int index) {
    return {index, 0};
}
constexpr DrawColour FixedColour(COLORREF colour) {
    return {-1, colour};
}
// The colour to draw with now.
COLORREF Resolve(DrawColour colour);

// True while a high-contrast theme is on. Read again each time: the theme can change while
// the program runs (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE).
bool HighContrastOn();

}  // namespace platform
