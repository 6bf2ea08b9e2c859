// The picker window's design: its caption, client size and controls, in twips.
#pragma once

#include "platform/ui/dpi_layout.h"

namespace picker {

inline constexpr wchar_t kMyFormClass[] = L"VelquinMyForm";
inline constexpr wchar_t kMyFormCaption[] = L"Browse Your Content.......";
inline constexpr int kMyFormWidthTwips = 6990;
inline constexpr int kMyFormHeightTwips = 4215;
// Fixed border, close box only; owned by the main window, so no taskbar button.
inline constexpr DWORD kMyFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kMyFormExStyle = 0;

// Ids stay clear of IDOK and IDCANCEL, so Enter and Esc press no button by themselves.
enum MyFormControl : int {
    kCommand1 = 101,
    kFile1,
    kDrive1,
    kDir1,
    kCommand2,
    kMyImage,
};

using platform::ControlKind;
// Created in tab order, so the dialog manager's Tab follows it.
inline constexpr platform::ControlSpec kMyFormControls[] = {
    {kDrive1, L"Drive1", ControlKind::DriveList, 0, nullptr, 120, 120, 2055, 315, 2, L"Drive"},
    {kDir1, L"Dir1", ControlKind::FolderList, 0, nullptr, 120, 480, 2055, 990, 3, L"Folders"},
    {kFile1, L"File1", ControlKind::FileList, 0, nullptr, 120, 1560, 2055, 2235, 1, L"Files"},
    {kCommand1, L"Command1", ControlKind::Button, 0, L"OK", 120, 3840, 855, 255, 0},
    {kCommand2, L"Command2", ControlKind::Button, 0, L"Cancel", 1080, 3840, 855, 255, 4},
    {kMyImage, L"MyImage", ControlKind::Image, 0, nullptr, 2280, 120, 4575, 3975,
     platform::kNoTabIndex, L"Preview"},
};

}  // namespace picker
