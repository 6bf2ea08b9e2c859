#include "main_window/form1_colours.h"

namespace main_window {

using platform::FixedColour;
using platform::SystemColour;

Form1Colours Form1ColoursFor(bool highContrast) {
    if (highContrast)
        return {SystemColour(COLOR_BTNFACE), SystemColour(COLOR_BTNTEXT),
                SystemColour(COLOR_WINDOWTEXT), SystemColour(COLOR_WINDOW),
                SystemColour(COLOR_BTNTEXT)};
    return {FixedColour(RGB(0, 0, 0)), FixedColour(RGB(255, 255, 255)),
            FixedColour(RGB(64, 64, 64)), SystemColour(COLOR_WINDOW),
            SystemColour(COLOR_WINDOWTEXT)};
}

platform::DrawColour Form1LineColour(const platform::LineSpec& line, bool highContrast) {
    return highContrast ? SystemColour(COLOR_BTNTEXT) : FixedColour(line.colour);
}

}  // namespace main_window
