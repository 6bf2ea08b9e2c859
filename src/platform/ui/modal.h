// Message loops: the program's main loop and the nested loop of a modal window, and the base
// of the program's modal windows.
#pragma once

#include <windows.h>

#include <span>

#include "platform/ui/control_table.h"
#include "platform/ui/window.h"

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

// A window of our own shown over an owner that takes no input meanwhile, living for one
// opening. What the icon chooser and the picker do alike lives here once: opening centred
// with the controls of a table (nothing left open on failure), the nested loop, closing back
// to the owner, and the close box (and Alt+F4) taken as Cancel.
class ModalWindow : public Window {
  public:
    // The window's class and frame; the client area is in twips.
    struct Frame {
        const wchar_t* className;
        const wchar_t* caption;
        DWORD style;
        DWORD exStyle;
        SIZE clientTwips;
    };

    // Closes the window if it is open: the owner takes input and the activation again.
    void Close();

  protected:
    // Creates the window centred over `owner` and its controls from `table`, made and placed
    // through `controls`. ERROR_SUCCESS, or the system's reason with no window left.
    DWORD Open(const Frame& frame, HWND owner, std::span<const ControlSpec> table,
               OwnControls& controls);
    // Shows the window and waits until it is closed (see RunModal).
    void RunModal(HWND owner);
    // The close box: Cancel, unless the window says otherwise.
    virtual void OnCancel() { Close(); }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace platform
