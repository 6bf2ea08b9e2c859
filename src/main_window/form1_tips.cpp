#include "main_window/form1_extras.h"
#include "main_window/form1_layout.h"

namespace main_window {
namespace {

// clang-format off
constexpr platform::TooltipText kTips[] = {
    {kDrive1,       L"Choose the drive that holds the folder to customise."},
    {kDir1,         L"Double-click a folder to open it; the open folder is the one Apply and Remove change."},
    {kTxtPath,      L"The folder whose desktop.ini Apply and Remove write; you may also type a full path here."},
    {kCmdCurrDir,   L"Make a new folder inside the open folder and move into it."},
    {kCheck1,       L"Give the folder a background image, a setting honoured only by the classic folder view of Windows XP and earlier and ignored by Explorer in Windows Vista and later."},
    {kTxtBGImg,     L"The picture shown behind the folder's contents, honoured only by the classic folder view of Windows XP and earlier and ignored by Explorer in Windows Vista and later."},
    {kCmdImg,       L"Choose the background picture from your files."},
    {kCheck2,       L"Give the folder an icon of its own."},
    {kTxtDirICO,    L"The icon, library or program file that holds the folder's icon."},
    {kCmdIco,       L"Choose the icon, library or program file from your files."},
    {kTxtIcoIndex,  L"The position of the icon in its file, counted from 0; double-click here to pick it from the file's icons."},
    {kCheck3,       L"Colour the captions of the icons inside the folder, a setting honoured only by the classic folder view of Windows XP and earlier and ignored by Explorer in Windows Vista and later."},
    {kCboColor,     L"Pick or type a colour name to fill in its code, for a setting honoured only by the classic folder view of Windows XP and earlier and ignored by Explorer in Windows Vista and later."},
    {kTxtColorCode, L"The caption colour as 0x and six hex digits (blue, green, red), honoured only by the classic folder view of Windows XP and earlier and ignored by Explorer in Windows Vista and later."},
    {kCheck4,       L"Show a text of your own when the mouse rests on the folder."},
    {kTxtITip,      L"The text shown when the mouse rests on the folder."},
    {kCmdRem,       L"Rewrite the folder's desktop.ini with the default settings."},
    {kCmdYes,       L"Write the ticked settings into the folder's desktop.ini after showing a summary."},
    {kCmdAbout,     L"Show what this program does and who made it."},
    {kCmdQit,       L"Close Velquin."},
};
// clang-format on

}  // namespace

std::span<const platform::TooltipText> Form1Tips() {
    return kTips;
}

}  // namespace main_window
