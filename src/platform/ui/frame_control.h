// A frame: an etched border with a caption that groups controls. Unlike the system's
// group box it draws its caption in the colours its parent gives through
// WM_CTLCOLORSTATIC, whatever the theme, and is transparent to the mouse.
#pragma once

#include <windows.h>

namespace platform {

inline constexpr wchar_t kFrameClass[] = L"VelquinFrame";

// Registers the class once; CreateStandardControl calls it for ControlKind::Frame.
void RegisterFrameClass();

}  // namespace platform
