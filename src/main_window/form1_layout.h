// The main window's design: its controls in twips, in the order of their tab index.
#pragma once

#include <span>

#include "platform/ui/dpi_layout.h"

namespace main_window {

// Control ids are 100 + tab index, so creation in id order is the tab order.
enum Form1Control : int {
    kFrame1 = 100,
    kDrive1,
    kDir1,
    kLblPath,
    kTxtPath,
    kCmdCurrDir,
    kFrame2,
    kTxtBGImg,
    kCheck1,
    kLabel1,
    kTxtDirICO,
    kCheck2,
    kLabel2,
    kCheck3,
    kLabel3,
    kTxtITip,
    kCheck4,
    kLabel4,
    kCboColor,
    kCmdYes,
    kCmdQit,
    kCmdRem,
    kCmdImg,
    kCmdIco,
    kLabel5,
    kTxtIcoIndex,
    kTxtColorCode,
    kCmdAbout,
};

inline constexpr wchar_t kForm1Caption[] = L"     -=[QRX]=- Velquin v1.0";
inline constexpr int kForm1WidthTwips = 9975;
inline constexpr int kForm1HeightTwips = 4470;

std::span<const platform::ControlSpec> Form1Controls();
std::span<const platform::LineSpec> Form1Lines();
// Shape1: the outline framing the path row, in Frame1's twips.
const platform::ControlSpec& Form1Shape();

}  // namespace main_window
