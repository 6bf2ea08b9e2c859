// One loop for every window built from a control table: create the controls in tab order,
// give them their fonts, and place them at a DPI. The kinds a window makes from its own
// classes (its lists and image) are handed back to the window through OwnControls.
#pragma once

#include <windows.h>

#include <span>

#include "platform/ui/dpi_layout.h"
#include "platform/core/unique_handle.h"

namespace platform {

// What a window does for the kinds StandardControlClass does not know.
class OwnControls {
  public:
    // Creates `control` as a child of `parent` at `rect` (client pixels at `dpi`);
    // false with the last error set when it could not.
    virtual bool CreateOwnControl(HWND parent, const ControlSpec& control, const RECT& rect,
                                  UINT dpi) = 0;
    // Moves `control` to `rect` for `dpi`.
    virtual void PlaceOwnControl(const ControlSpec& control, const RECT& rect, UINT dpi) = 0;

  protected:
    ~OwnControls() = default;
};

enum class CheckBoxLook {
    Themed,
    Classic,  // unthemed, so the parent's WM_CTLCOLORBTN colours show
};

// Creates every control of the table in tab order, so that the z-order is the order the
// dialog manager's Tab follows. Stops at the first control that fails, with the last
// error set, and returns false; the controls made so far stay.
bool CreateTableControls(HWND parent, std::span<const ControlSpec> table, UINT dpi,
                         OwnControls& own, CheckBoxLook checkBoxes = CheckBoxLook::Themed);

// A table's fonts: frames take `frame` when there is one, every other control `text`.
struct TableFonts {
    UniqueFont text;
    UniqueFont frame;
};

// Sends `fresh` to every control of the table, then lets the fonts `held` had go: a
// control must never be left holding a freed font.
void ApplyTableFonts(HWND parent, std::span<const ControlSpec> table, TableFonts fresh,
                     TableFonts& held);

// Moves every child listed in the table to its place for `dpi`. With `own`, the window's
// own kinds are placed by it; without, they are moved like any other child.
void PlaceControls(HWND parent, std::span<const ControlSpec> table, UINT dpi,
                   OwnControls* own = nullptr);

}  // namespace platform
