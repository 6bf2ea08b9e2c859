// The main window's own colours: white on black by design; with a high-contrast theme on,
// the system's pairs (button face and text for the window's surface, window and window text
// for the colour code's box).
#pragma once

#include "platform/ui/contrast.h"
#include "platform/ui/dpi_layout.h"

namespace main_window {

struct Form1Colours {
    platform::DrawColour back;  // the window, its frames, labels and check boxes
    platform::DrawColour text;
    platform::DrawColour codeText;  // txtColorCode
    platform::DrawColour codeBack;
    platform::DrawColour outline;  // Shape1
};

Form1Colours Form1ColoursFor(bool highContrast);
// A separator line's colour: its own by design, the surface's text colour in high contrast.
platform::DrawColour Form1LineColour(const platform::LineSpec& line, bool highContrast);

}  // namespace main_window
