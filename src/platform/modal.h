// Message loops: the program's main loop and the nested loop of a modal window.
#pragma once

#include <windows.h>

namespace platform {

// Translates the accelerators of the top-level window the message is for, or gives it
// keyboard navigation (Tab, arrows).
bool TranslateDialogKeys(MSG& msg);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Shows `dialog` and runs a nested loop until it is destroyed. `owner` takes no input
// meanwhile. Returns false when WM_QUIT arrived first (it is posted again for the outer loop).
bool RunModal(HWND dialog, HWND owner);

// Closes a modal window: enables the owner first so that activation returns to it.
void EndModal(HWND dialog);

}  // namespace platform
