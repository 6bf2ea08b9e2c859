#include "main_window/form1_layout.h"

namespace main_window {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::LineSpec;

// clang-format off
constexpr ControlSpec kControls[] = {
    // id            name            kind                      container text                                                  left  top   width height tab  screen reader's name
    {kFrame1,       L"Frame1",       ControlKind::Frame,       0,       L"Browse Folder To VEL",                               120,  120,  4815, 4215,  0,  nullptr},
    {kDrive1,       L"Drive1",       ControlKind::DriveList,   kFrame1, nullptr,                                               120,  240,  1935, 315,   1,  L"Drive"},
    {kDir1,         L"Dir1",         ControlKind::FolderList,  kFrame1, nullptr,                                               120,  600,  4575, 2790,  2,  L"Folders"},
    {kLblPath,      L"lblPath",      ControlKind::Label,       kFrame1, L"Path:",                                              240,  3720, 375,  255,   3,  nullptr},
    {kTxtPath,      L"txtPath",      ControlKind::TextBox,     kFrame1, L"",                                                   720,  3700, 3855, 285,   4,  L"Target folder path"},
    {kCmdCurrDir,   L"cmdCurrDir",   ControlKind::Button,      kFrame1, L"Make Folder @ Current Folder",                       2160, 240,  2415, 255,   5,  nullptr},
    {kFrame2,       L"Frame2",       ControlKind::Frame,       0,       L"The VEL Methods",                                    5040, 120,  4815, 4215,  6,  nullptr},
    {kTxtBGImg,     L"txtBGImg",     ControlKind::TextBox,     kFrame2, L"",                                                   600,  700,  3975, 285,   7,  L"Background image path"},
    {kCheck1,       L"Check1",       ControlKind::CheckBox,    kFrame2, L"Background Image For Selected Folder",               120,  360,  4575, 255,   8,  nullptr},
    {kLabel1,       L"Label1",       ControlKind::Label,       kFrame2, L"Path:",                                              120,  720,  615,  255,   9,  nullptr},
    {kTxtDirICO,    L"txtDirICO",    ControlKind::TextBox,     kFrame2, L"%SystemRoot%\\system32\\SHELL32.dll",               600,  1545, 2775, 285,   10, L"Icon file path"},
    {kCheck2,       L"Check2",       ControlKind::CheckBox,    kFrame2, L"Folder Icon For Selected Folder",                    120,  1200, 4575, 255,   11, nullptr},
    {kLabel2,       L"Label2",       ControlKind::Label,       kFrame2, L"Path:",                                              120,  1560, 615,  255,   12, nullptr},
    {kCheck3,       L"Check3",       ControlKind::CheckBox,    kFrame2, L"Icon Text Color For Content of  Selected Folder",    120,  2040, 4575, 255,   13, nullptr},
    {kLabel3,       L"Label3",       ControlKind::Label,       kFrame2, L"Color Chooser:",                                     120,  2400, 1095, 255,   14, nullptr},
    {kTxtITip,      L"txtITip",      ControlKind::TextBox,     kFrame2, L"This text shown when mouse is over folder.",         600,  3240, 4095, 285,   15, L"Info tip"},
    {kCheck4,       L"Check4",       ControlKind::CheckBox,    kFrame2, L"InfoTip To Be Shown For Selected Folder",            120,  2880, 3255, 255,   16, nullptr},
    {kLabel4,       L"Label4",       ControlKind::Label,       kFrame2, L"Tip:",                                               120,  3240, 615,  255,   17, nullptr},
    {kCboColor,     L"cboColor",     ControlKind::ComboBox,    kFrame2, L"Choose Your Color",                                  1200, 2360, 1815, 315,   18, L"Icon text colour"},
    {kCmdYes,       L"cmdYes",       ControlKind::Button,      kFrame2, L"Apply VEL",                                          1440, 3720, 1215, 375,   19, nullptr},
    {kCmdQit,       L"cmdQit",       ControlKind::Button,      kFrame2, L"Exit",                                               3960, 3720, 735,  375,   20, nullptr},
    {kCmdRem,       L"cmdRem",       ControlKind::Button,      kFrame2, L"Remove VEL",                                         120,  3720, 1215, 375,   21, nullptr},
    {kCmdImg,       L"cmdImg",       ControlKind::Button,      kFrame2, L"Browse",                                             3840, 360,  735,  255,   22, L"Browse for a background image"},
    {kCmdIco,       L"cmdIco",       ControlKind::Button,      kFrame2, L"Browse",                                             3840, 1200, 735,  255,   23, L"Browse for an icon file"},
    {kLabel5,       L"Label5",       ControlKind::Label,       kFrame2, L"Index:",                                             3600, 1560, 495,  255,   24, nullptr},
    {kTxtIcoIndex,  L"txtIcoIndex",  ControlKind::TextBox,     kFrame2, L"38",                                                 4080, 1545, 495,  285,   25, L"Icon index"},
    {kTxtColorCode, L"txtColorCode", ControlKind::TextBox,     kFrame2, L"0x000000",                                           3600, 2360, 1095, 285,   26, L"Colour code"},
    {kCmdAbout,     L"cmdAbout",     ControlKind::Button,      kFrame2, L"About!",                                             3120, 3720, 735,  375,   27, nullptr},
};

constexpr COLORREF kLightGrey = RGB(224, 224, 224);
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr LineSpec kLines[] = {
    {L"Line1", kFrame2, 120,  1080, 4680, 1080, kLightGrey},
    {L"Line2", kFrame2, 120,  1920, 4680, 1920, kLightGrey},
    {L"Line3", kFrame2, 120,  2760, 4680, 2760, kLightGrey},
    {L"Line4", kFrame2, 120,  3600, 4680, 3600, kLightGrey},
    {L"Line5", kFrame2, 2800, 3750, 2800, 4080, kWhite},
    {L"Line6", kFrame2, 2880, 3750, 2880, 4080, kWhite},
};

constexpr ControlSpec kShape1 =
    {0, L"Shape1", ControlKind::Label, kFrame1, nullptr, 120, 3600, 4575, 495, platform::kNoTabIndex};
// clang-format on

}  // namespace

std::span<const ControlSpec> Form1Controls() {
    return kControls;
}
std::span<const LineSpec> Form1Lines() {
    return kLines;
}
const ControlSpec& Form1Shape() {
    return kShape1;
}

}  // namespace main_window
