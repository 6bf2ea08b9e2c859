// Keyboard accelerators for the program's top-level windows: a window registers its table,
// and the message loops translate its keys before the dialog keys.
#pragma once

#include <windows.h>

namespace platform {

// Makes `table` the accelerators of top-level `window` (nullptr removes them). The caller
// keeps owning the table and removes it before destroying it.
void SetWindowAccelerators(HWND window, HACCEL table);

// Translates msg when it is an accelerator key of the top-level window it is for.
bool TranslateWindowAccelerator(MSG& msg);

}  // namespace platform
