// A window's title-bar and taskbar icons, loaded from one icon resource at the sizes the
// window's DPI asks for, and freed only after the window holds their replacements.
#pragma once

#include <windows.h>

#include "platform/core/unique_handle.h"

namespace platform {

class WindowIcons {
  public:
    // Gives `hwnd` the big and small icon of resource `id` for `dpi`.
    void Apply(HWND hwnd, int id, UINT dpi);

  private:
    UniqueIcon big_;
    UniqueIcon small_;
};

}  // namespace platform
