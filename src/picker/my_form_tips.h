// The picker's tooltips: one sentence for each control that takes input.
#pragma once

#include "picker/my_form_layout.h"
#include "platform/ui/tooltips.h"

namespace picker {

// clang-format off
inline constexpr platform::TooltipText kMyFormTips[] = {
    {kDrive1,   L"Choose the drive to look on."},
    {kDir1,     L"Double-click a folder to open it and list its files below."},
    {kFile1,    L"Click a file to see its preview."},
    {kCommand1, L"Hand the clicked file back to the main window and close."},
    {kCommand2, L"Close without handing a file back."},
};
// clang-format on

}  // namespace picker
