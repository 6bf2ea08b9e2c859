// The folder glyph's colours in high contrast are the row's own system pair.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/ui/folder_list.h"

namespace {

TEST(FolderGlyphColoursTest, HighContrastDrawsInTheRowsSystemPair) {
    for (bool selected : {false, true}) {
        const auto on = platform::FolderGlyphColoursFor(true, selected);
        for (const auto& colour : {on.outline, on.body, on.openBody, on.flap})
            EXPECT_TRUE(colour.IsSystem()) << selected;
        EXPECT_EQ(on.outline.system, selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        EXPECT_EQ(on.body.system, selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        // Off, the designed amber folder whatever the row's state.
        const auto off = platform::FolderGlyphColoursFor(false, selected);
        EXPECT_EQ(off.body, platform::FixedColour(RGB(235, 190, 75)));
        EXPECT_EQ(off.outline, platform::FixedColour(RGB(150, 110, 30)));
    }
}

}  // namespace
